#!/usr/bin/env bash
# Runs the whole CTest suite RUNS times in a row (default 10), each under an X
# server of its own, while two CPU burners at the lowest priority (nice 19)
# keep both cores busy: a test that fails only when the machine is loaded,
# or only now and then, shows up here. Every failure is printed with its
# output; each run's full log stays in build/stress/run-N.log. With "web",
# each run also runs scripts/web-test.sh (the browser tests, with what they
# need built first), whose log is build/stress/web-N.log.
#
#   bash scripts/stress-tests.sh [RUNS] [web]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
with_web=${2:-}
logs=build/stress
# Each run gets a server of its own from with-x-server.sh, never the desktop's.
unset DISPLAY

bash scripts/build.sh
mkdir -p "$logs"
rm -f "$logs"/run-*.log "$logs"/web-*.log

# The burners die with this script, however it ends.
burners=()
for _ in 1 2; do
  setpriv --pdeathsig KILL nice -n 19 sh -c 'while :; do :; done' &
  burners+=($!)
done
trap 'kill "${burners[@]}" 2>/dev/null || true' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

failed=0
started=$SECONDS
for run in $(seq 1 "$runs"); do
  run_started=$SECONDS
  log=$logs/run-$run.log
  if bash scripts/with-x-server.sh ctest --test-dir build --output-on-failure -j"$(nproc)" >"$log" 2>&1; then
    echo "run $run of $runs: passed in $((SECONDS - run_started)) s"
  else
    failed=$((failed + 1))
    echo "run $run of $runs: FAILED in $((SECONDS - run_started)) s; what failed, with its output ($log):"
    grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' "$log" | sed 's/^/  | /'
  fi
  if [ "$with_web" = web ]; then
    web_log=$logs/web-$run.log
    web_started=$SECONDS
    if bash scripts/web-test.sh >"$web_log" 2>&1; then
      echo "run $run of $runs: browser tests passed in $((SECONDS - web_started)) s"
    else
      failed=$((failed + 1))
      echo "run $run of $runs: browser tests FAILED in $((SECONDS - web_started)) s ($web_log):"
      grep -E '^not ok|error|Error' "$web_log" | sed 's/^/  | /'
    fi
  fi
done

echo "$runs runs in $((SECONDS - started)) s with both cores kept busy"
suites=$runs
[ "$with_web" = web ] && suites=$((runs * 2))
echo "stress: $((suites - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
