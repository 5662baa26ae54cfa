#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
# The ready-to-run folder is build/run.
#
#   bash scripts/build.sh [show|headless|test]
# show builds only the demo and its content, headless adds the capture tool,
# test (the default) builds everything, tests included. show and headless
# install only the packages they need (scripts/bootstrap.sh) and, in a new
# build folder, leave the tests out of the configuration; a folder that
# already has the tests keeps them.
set -euo pipefail
cd "$(dirname "$0")/.."

set_name=${1:-test}
case "$set_name" in
  show) targets=(getzorbi content) ;;
  headless) targets=(getzorbi getzorbi-capture content) ;;
  test) targets=() ;;
  *) echo "usage: build.sh [show|headless|test]" >&2; exit 2 ;;
esac

bash scripts/bootstrap.sh "$set_name"

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
options=(-DZORBI_WERROR="$werror")
if [ "$set_name" = test ]; then
  options+=(-DZORBI_TESTS=ON)
elif [ ! -f build/CMakeCache.txt ]; then
  options+=(-DZORBI_TESTS=OFF)
fi
cmake -S . -B build "${options[@]}" >/dev/null
if [ ${#targets[@]} -eq 0 ]; then
  cmake --build build -j"$(nproc)"
else
  cmake --build build -j"$(nproc)" --target "${targets[@]}"
fi
