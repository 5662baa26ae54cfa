#!/usr/bin/env bash
# Installs and builds everything (tests, hardening and benchmark tools
# included), then runs every test. Tests that draw need an X display: without
# one, the tests run under an X server of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh test

run_ctest=(ctest --test-dir build --output-on-failure -j"$(nproc)")
if [ -z "${DISPLAY:-}" ]; then
  bash scripts/with-x-server.sh "${run_ctest[@]}"
else
  "${run_ctest[@]}"
fi
