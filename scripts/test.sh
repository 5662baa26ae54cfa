#!/usr/bin/env bash
# Builds everything and runs every test. Tests that draw need an X display:
# without one, the tests run under an X server of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh

run_ctest=(ctest --test-dir build --output-on-failure -j"$(nproc)")
if [ -z "${DISPLAY:-}" ]; then
  bash scripts/with-x-server.sh "${run_ctest[@]}"
else
  "${run_ctest[@]}"
fi
