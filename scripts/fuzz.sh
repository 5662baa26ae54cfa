#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build-fuzz/ and runs each over its
# committed seed corpus for SECONDS seconds (default 60), as many at once as
# there are cores. New inputs go to build-fuzz/corpus/, never into the tree;
# a crash leaves its input in build-fuzz/artifacts/ and fails the script.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_tga fuzz_md2 fuzz_settings fuzz_shader_text fuzz_audio fuzz_md2_draw)
fi

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DZORBI_FUZZ=ON -DZORBI_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

mkdir -p "$build/artifacts" "$build/logs"

# One target: its own scratch corpus first (new inputs land there), then the
# committed seeds, which also replay every regression input at the start.
run_target() {
  local target=$1
  local seeds=tests/fuzz/corpus/${target#fuzz_}
  local scratch=$build/corpus/${target#fuzz_}
  mkdir -p "$scratch"
  "$build/tests/fuzz/$target" "$scratch" "$seeds" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" >"$build/logs/$target.log" 2>&1
}

declare -A pids
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
    wait -n || true
  done
  run_target "$target" &
  pids[$target]=$!
done

failed=0
for target in "${targets[@]}"; do
  if wait "${pids[$target]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$target.log" | grep -o '[0-9]*$' || echo '?')
    echo "$target: no findings in ${seconds} s ($runs inputs)"
  else
    failed=1
    echo "$target: FAILED, see $build/logs/$target.log" >&2
    tail -n 40 "$build/logs/$target.log" >&2
  fi
done
exit "$failed"
