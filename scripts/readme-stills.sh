#!/usr/bin/env bash
# Remakes the stills of the show that README.md shows, in docs/stills.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh headless >/dev/null
# Each moment is chosen so the picture shows what README's caption says: the
# cast is in view from about 25 s, and the hero points from just after 31.0 s
# to 32.3 s (at 31.0 s itself he still salutes).
run=(build/run/getzorbi-capture --data build/run --size 640x480 --out docs/stills
     --still 1 --still 6 --still 10 --still 25.4 --still 31.7 --still 39)
rm -f docs/stills/still-*.png
if [ -z "${DISPLAY:-}" ]; then
  bash scripts/with-x-server.sh "${run[@]}"
else
  "${run[@]}"
fi
ls docs/stills
