#!/usr/bin/env bash
# Start-up time of the real demo, with all its data: from the exec of the
# process to the end of its first frame (the return of the first display
# callback, which ends with the buffer swap), with the phases in between.
# Timestamps come from kernel uprobes on the program's own functions (perf
# probe), so the program runs unchanged and unhindered.
# Needs root (or perf_event_paranoid -1) and debug symbols (the default
# RelWithDebInfo build has them).
#
#   sudo bash scripts/startup-time.sh [RUN_FOLDER] [RUNS]
# RUN_FOLDER holds getzorbi, start.ini, the shaders and data/ (default build/run).
# The demo runs on the current display, or without one on an X server of its
# own (with-x-server.sh) whose screen X_SCREEN sets (default 1280x1024x24);
# give it one that holds the window start.ini asks for, as a display would.
set -euo pipefail
cd "$(dirname "$0")/.."

# Everything below runs with the display with-x-server.sh gives.
if [ -z "${STARTUP_UNDER_X:-}" ]; then
  STARTUP_UNDER_X=1 exec bash scripts/with-x-server.sh bash scripts/startup-time.sh "$@"
fi

run_folder=$(realpath "${1:-build/run}")
runs=${2:-5}
exe=$run_folder/getzorbi
group=zorbistart

# Probes: free functions by name, on entry and return; the two loaders' member
# functions by their mangled names, on entry only (perf cannot place return
# probes on them), each lasting until the next probed event.
probe() { perf probe -q -x "$exe" "${@:2}" --add "$group:$1" >/dev/null 2>&1 || { echo "cannot probe $1" >&2; exit 1; }; }
perf probe -q --del "$group:*" 2>/dev/null || true
for function in main assembleScene uploadTexture buildBumpShader initAudio onDisplay; do
  probe "$function=$function"
  [ "$function" = main ] || probe "${function}_end=$function%return"
done
probe "modelLoad=_ZN8Md2Model4loadEPKc" --no-demangle
probe "imageLoad=_ZN8TGAImageC1EPKc" --no-demangle
trap 'perf probe -q --del "$group:*" 2>/dev/null || true' EXIT
export SDL_AUDIODRIVER=dummy

trace=$(mktemp)
for run in $(seq 1 "$runs"); do
  (cd "$run_folder" && perf record -q -o "$trace.data" -e sched:sched_process_exec -e "$group:*" \
     -- ./getzorbi >/dev/null 2>&1) &
  recorder=$!
  # Escape once the window exists and has had time for a few frames.
  for _ in $(seq 1 300); do
    window=$(xdotool search --name '^Get Zorbi$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable' && break
    sleep 0.1
  done
  sleep 3
  xdotool key --window "$window" Escape 2>/dev/null || true
  wait "$recorder" || true
  perf script -i "$trace.data" -F time,event 2>/dev/null | awk -v run="$run" -f scripts/startup-phases.awk
done
rm -f "$trace" "$trace.data"
