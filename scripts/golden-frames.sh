#!/usr/bin/env bash
# Remakes the golden frames the capture tests compare against, after a change
# that is meant to change what the show looks like. Look at them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh headless >/dev/null
run=(build/run/getzorbi-capture --data build/run --size 320x240 --fps 30 --out tests/capture/golden
     --still 1 --still 6 --still 12 --still 30 --still 39)
if [ -z "${DISPLAY:-}" ]; then
  bash scripts/with-x-server.sh "${run[@]}"
else
  "${run[@]}"
fi
ls tests/capture/golden
