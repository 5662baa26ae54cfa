#!/usr/bin/env bash
# Prints the moment a build of this source tree dates its files with, in
# seconds since 1970, as SOURCE_DATE_EPOCH (the variable Debian's tools, CPack
# and the compiler read in place of the clock): so the same commit gives the
# same bytes whenever and wherever it is built.
#
#   export SOURCE_DATE_EPOCH=$(bash scripts/source-date-epoch.sh)
#
# It is SOURCE_DATE_EPOCH itself when that is set; in a git clone, the time
# of the checked-out commit; in an unpacked source tarball, which has no git,
# the number in its SOURCE_DATE_EPOCH file (scripts/release.sh writes it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  epoch=$SOURCE_DATE_EPOCH
elif [ -e "$root/.git" ]; then
  epoch=$(git -C "$root" log -1 --format=%ct)
elif [ -f "$root/SOURCE_DATE_EPOCH" ]; then
  epoch=$(head -n 1 "$root/SOURCE_DATE_EPOCH")
else
  echo "source-date-epoch.sh: $root is neither a git clone nor a source tarball with a SOURCE_DATE_EPOCH file; set SOURCE_DATE_EPOCH" >&2
  exit 1
fi
if [[ ! $epoch =~ ^[0-9]+$ ]]; then
  echo "source-date-epoch.sh: \"$epoch\" is not a number of seconds since 1970" >&2
  exit 1
fi
echo "$epoch"
