#!/usr/bin/env bash
# Fails, naming the files, when any C++ source differs from what clang-format
# makes of it with the committed .clang-format. To mend: scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--fix" ]; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
  exit 0
fi
drift=$(mktemp)
trap 'rm -f "$drift"' EXIT
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror 2>"$drift"; then
  grep -o '^[^ :]*\.\(cpp\|h\):' "$drift" | sort -u | sed 's/:$//; s/^/not formatted: /' >&2
  echo "Run scripts/check-format.sh --fix and commit the result." >&2
  exit 1
fi
echo "Formatting: every C++ file is as clang-format writes it."
