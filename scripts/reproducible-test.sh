#!/usr/bin/env bash
# Checks that the checked-out commit rebuilds to the same bytes: it is cloned
# twice under /tmp, into folders of different names and depths, and
# scripts/release.sh runs in each clone, one after the other (so a minute or
# more apart) and in two time zones. The
# two dist/ folders must be identical, file for file; on a difference the
# test names the files that differ, down to the files inside the package or
# tarball, and fails. CI runs it.
#
#   bash scripts/reproducible-test.sh
#
# It checks the commit: uncommitted changes are not in the clones.
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "reproducible-test: $*"; }
fail() {
  say "FAILED: $*" >&2
  exit 1
}

commit=$(git rev-parse HEAD)
work=$(mktemp -d /tmp/getzorbi-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
first=$work/first
second=$work/elsewhere/second-clone

# release TREE [VARIABLE=VALUE...]: a fresh clone of the commit in TREE,
# released with those variables set.
release() {
  local tree=$1
  shift
  git clone -q --no-checkout "$PWD" "$tree"
  git -C "$tree" checkout -q --detach "$commit"
  say "releasing $commit in $tree at $(date -u +%T)"
  (cd "$tree" && env "$@" bash scripts/release.sh) >"$tree.log" 2>&1 ||
    fail "scripts/release.sh failed in $tree: $(tail -n 30 "$tree.log")"
}
release "$first" TZ=UTC
release "$second" TZ=Asia/Kathmandu

# unpack ARCHIVE FOLDER: the files inside a package or tarball, with a
# listing of its members' names, modes, owners and times.
unpack() {
  mkdir -p "$2/files"
  case $1 in
    *.deb)
      dpkg-deb -R "$1" "$2/files"
      { ar tv "$1" && dpkg-deb -c "$1"; } >"$2/members"
      ;;
    *.tar.gz)
      tar -xzf "$1" -C "$2/files"
      tar -tvzf "$1" >"$2/members"
      ;;
  esac
}

names() { (cd "$1" && ls); }
[ "$(names "$first/dist")" = "$(names "$second/dist")" ] ||
  fail "the releases hold different files: $(names "$first/dist" | tr '\n' ' ')and $(names "$second/dist" | tr '\n' ' ')"
differing=0
for file in $(names "$first/dist"); do
  cmp -s "$first/dist/$file" "$second/dist/$file" && continue
  differing=$((differing + 1))
  say "$file differs"
  [ "$file" != SHA256SUMS ] || continue
  unpack "$first/dist/$file" "$work/unpacked/first/$file"
  unpack "$second/dist/$file" "$work/unpacked/second/$file"
  inside=$(cd "$work/unpacked" && diff -rq "first/$file/files" "second/$file/files" || true)
  if [ -n "$inside" ]; then
    sed 's/^/  /' <<<"$inside"
  else
    say "  the files inside are the same: the archive's members differ in order, mode, owner or time"
  fi
  (cd "$work/unpacked" && diff "first/$file/members" "second/$file/members") | sed 's/^/  members: /' || true
done
[ "$differing" -eq 0 ] || fail "$differing of the release's files differ between two builds of $commit"
say "passed: two releases of $commit, built in two folders at two times, are identical:"
cat "$first/dist/SHA256SUMS"
