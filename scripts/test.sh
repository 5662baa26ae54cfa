#!/usr/bin/env bash
# Installs and builds everything (tests, hardening and benchmark tools
# included), then runs every test. Tests that draw need an X display: the
# current one, or without one an X server of their own (with-x-server.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh test

bash scripts/with-x-server.sh ctest --test-dir build --output-on-failure -j"$(nproc)"
