#!/usr/bin/env bash
# Runs a command with an X display, the one entry every script and person
# uses for one:
#   bash scripts/with-x-server.sh COMMAND [ARGUMENT...]
# With DISPLAY set the command runs on that display. Without it the command
# gets an X server of its own, ended with it: Xvfb with a 1280x1024 screen at
# 24 bits, or the screen X_SCREEN names (for example X_SCREEN=1920x1200x24),
# which picks a free display number itself and reports it once it takes
# clients (-displayfd), so nothing is guessed and no other process's server
# is adopted; it never resets (-noreset), so a client that connects just as
# another left is not refused; and the kernel kills it if this script dies,
# however it dies. Either way the command runs as this script's child, and
# its status is the script's.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: with-x-server.sh COMMAND [ARGUMENT...]" >&2
  exit 2
fi

if [ -z "${DISPLAY:-}" ]; then
  log=$(mktemp)
  exec {ready}< <(exec setpriv --pdeathsig KILL \
    Xvfb -displayfd 1 -noreset -nolisten tcp -screen 0 "${X_SCREEN:-1280x1024x24}" 2>"$log")
  server=$!
  trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$log"' EXIT

  display_number=""
  read -r -u "$ready" display_number || true
  exec {ready}<&-
  if [ -z "$display_number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  export DISPLAY=:$display_number
fi

status=0
"$@" || status=$?
exit "$status"
