#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything into build/.
# The ready-to-run folder is build/run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
cmake -S . -B build -DZORBI_WERROR="$werror" >/dev/null
cmake --build build -j"$(nproc)"
