#!/usr/bin/env bash
# Remakes the stills of the show that README.md shows, in docs/stills.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
run=(build/run/getzorbi-capture --data build/run --size 640x480 --out docs/stills
     --still 1 --still 6 --still 10 --still 20 --still 31 --still 39)
if [ -z "${DISPLAY:-}" ]; then
  bash scripts/with-x-server.sh "${run[@]}"
else
  "${run[@]}"
fi
ls docs/stills
