#!/usr/bin/env bash
# What CI runs after the main build and tests (scripts/test.sh):
#   1. the whole tree again with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/), and its tests once more, but for the end-to-end runs of
#      the demo itself, which the main test run already covers and which wait
#      on windows and clocks that the sanitisers slow down (the capture
#      tool's tests, which play the whole show, do run);
#   2. each fuzz target for FUZZ_SECONDS (default 60) over its seed corpus
#      (scripts/fuzz.sh, clang, build-fuzz/).
# Each step prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${FUZZ_SECONDS:-60}

step_start=$SECONDS
step_done() {
  echo "== $1: $((SECONDS - step_start)) s"
  step_start=$SECONDS
}

# Without -Werror: the main build already holds the code to it, and GCC's
# flow-based warnings misfire on the instrumented standard library (for
# instance -Wmaybe-uninitialized inside std::regex).
cmake -S . -B build-asan -DZORBI_SANITIZE=ON -DZORBI_WERROR=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
step_done "sanitiser build"

# Leak checking stays off: what it reports comes from the GL driver (Mesa's
# back buffers and contexts, allocated in a module unloaded before the report)
# and from scene objects that live until exit on purpose. Every other
# AddressSanitizer and UndefinedBehaviorSanitizer finding fails its test.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/with-x-server.sh ctest --test-dir build-asan --output-on-failure -j"$(nproc)" \
  -E 'ShowProgram|DemoProgram|WindowRobustness'
step_done "tests under the sanitisers"

bash scripts/fuzz.sh "$fuzz_seconds"
step_done "fuzzing, $fuzz_seconds s a target"
