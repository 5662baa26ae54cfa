#!/usr/bin/env bash
# Builds the demo and starts it in a window from the ready-to-run folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X server to watch Get Zorbi in a window." >&2
  exit 1
fi
cd build/run
exec ./getzorbi
