#!/usr/bin/env bash
# Builds the demo and starts it in a window from the ready-to-run folder.
# Without a display it renders the show to a video instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what the show needs: the demo and its content, and the capture tool
# when there is no display to open a window on; scripts/test.sh builds the rest.
build_set=show
if [ -z "${DISPLAY:-}" ]; then
  build_set=headless
fi
bash scripts/build.sh "$build_set"

if [ -z "${DISPLAY:-}" ]; then
  video=build/run/getzorbi.mp4
  echo "No display to open a window on: rendering the show to $video instead (about a minute)."
  bash scripts/with-x-server.sh \
    build/run/getzorbi-capture --data build/run --video "$video"
  echo "The show is in $(pwd)/$video: watch it with any video player."
  exit 0
fi
cd build/run
exec ./getzorbi
