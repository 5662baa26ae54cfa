#!/usr/bin/env bash
# Soak run: the capture tool plays SECONDS of show (default 600) on its
# virtual clock as fast as it can, without writing anything, while this
# script samples its resident memory every few seconds. Memory must stay flat
# once everything is loaded; the script prints the samples, the growth after
# the first minute of real time and the timedemo report (peak included).
#
#   bash scripts/soak.sh [SECONDS] [RUN_FOLDER]
# RUN_FOLDER holds getzorbi-capture and the ready-to-run data (default build/run).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
run_folder=$(realpath "${2:-build/run}")
capture=$run_folder/getzorbi-capture
interval=5
report=$(mktemp)
samples=$(mktemp)

bash scripts/with-x-server.sh "$capture" --data "$run_folder" --size 800x600 \
  --timedemo --end "$seconds" >"$report" 2>&1 &
runner=$!

# with-x-server.sh starts the capture tool as its own child.
pid=""
for _ in $(seq 1 100); do
  pid=$(pgrep -f -P "$runner" getzorbi-capture || true)
  [ -n "$pid" ] && break
  sleep 0.1
done
[ -n "$pid" ] || { echo "the capture tool did not start" >&2; cat "$report" >&2; exit 1; }

elapsed=0
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$rss" ] && echo "$elapsed $rss" >>"$samples"
  sleep "$interval"
  elapsed=$((elapsed + interval))
done
wait "$runner"

echo "resident memory (MiB) every ${interval} s of real time:"
awk '{ printf "%s%.1f", (NR > 1 ? " " : ""), $2 / 1024 } END { print "" }' "$samples"
awk -v settle=60 '
  $1 >= settle { if (first == "") first = $2; last = $2; if ($2 > high) high = $2; if (low == "" || $2 < low) low = $2 }
  END { if (first == "") { print "run too short to judge growth"; exit }
        printf "after the first %d s: from %.1f to %.1f MiB (lowest %.1f, highest %.1f)\n", settle, first / 1024, last / 1024, low / 1024, high / 1024 }
' "$samples"
cat "$report"
rm -f "$report" "$samples"
