#!/usr/bin/env bash
# Makes the release of the checked-out commit in dist/:
#
#   getzorbi_VERSION_ARCH.deb     the Debian package
#   getzorbi-VERSION-web.tar.gz   the web site, under getzorbi-VERSION-web/, for any static host
#   getzorbi-VERSION-src.tar.gz   the commit's source (git archive) with its SOURCE_DATE_EPOCH file
#   SHA256SUMS                    their checksums, for sha256sum -c
#
#   bash scripts/release.sh
#
# VERSION is the first line of the VERSION file. The package and the site are
# built from the source tarball, unpacked in build-release/ where there is no
# git, as a person who downloads it would build them: so the tarball is known
# to build, and it rebuilds the very bytes in dist/. Every file is dated
# SOURCE_DATE_EPOCH, the commit's time, and the tarballs hold their members in
# name order, owned by root, in gzip streams without a name or time: the same
# commit gives the same dist/ anywhere, at any time
# (scripts/reproducible-test.sh checks it). Uncommitted changes are not in it.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
export LC_ALL=C.UTF-8

say() { echo "release: $*" >&2; }
fail() {
  say "FAILED: $*"
  exit 1
}

bash scripts/bootstrap.sh package >&2
root=$(pwd)
version=$(head -n 1 VERSION)
name=getzorbi-$version
commit=$(git rev-parse HEAD) || fail "a release is made from a git clone: git archive writes its source"
SOURCE_DATE_EPOCH=$(bash scripts/source-date-epoch.sh)
export SOURCE_DATE_EPOCH
[ -z "$(git status --porcelain --untracked-files=no)" ] || say "uncommitted changes are left out: the release is of $commit"
work=$root/build-release
dist=$root/dist
rm -rf "$work" "$dist"
mkdir -p "$work" "$dist"
# A release that fails leaves no dist/ that could pass for one.
trap '[ $? -eq 0 ] || rm -rf "$dist"' EXIT

# pack ARCHIVE FOLDER: FOLDER and everything in it as a .tar.gz whose bytes
# depend only on the files' names, contents and executable bits.
pack() {
  tar --create --format=gnu --sort=name --owner=0 --group=0 --numeric-owner \
    --mtime="@$SOURCE_DATE_EPOCH" --mode=u=rwX,go=rX \
    -C "$(dirname "$2")" "$(basename "$2")" | gzip -9 -n >"$1"
}

# refuse_build_paths FOLDER: a file that names the folder it was built in
# would differ in every other folder.
refuse_build_paths() {
  local found
  found=$(grep -rlF "$root" "$1" || true)
  [ -z "$found" ] || fail "these files hold the build folder's path $root: $found"
}

# The commit's source, and the moment its files are dated with for a build
# without git (scripts/source-date-epoch.sh reads it).
make_source_tarball() {
  mkdir "$work/source"
  git archive --format=tar --prefix="$name/" "$commit" | tar -x -C "$work/source"
  echo "$SOURCE_DATE_EPOCH" >"$work/source/$name/SOURCE_DATE_EPOCH"
  pack "$dist/$name-src.tar.gz" "$work/source/$name"
  say "source: $name-src.tar.gz"
}

# The Debian package, built by scripts/package.sh in the unpacked tarball.
build_package() {
  local tree=$1 deb
  deb=$(bash "$tree/scripts/package.sh" | tail -n 1)
  dpkg-deb -x "$deb" "$work/package-contents"
  refuse_build_paths "$work/package-contents"
  cp "$deb" "$dist/"
  say "package: $(basename "$deb")"
}

# The web site: `bash scripts/web.sh build` writes it to build-web/site/ of
# the tree it is run in, index.html at its top, from files of the tree alone
# (no git, no download), the same bytes for the same SOURCE_DATE_EPOCH.
# A commit without scripts/web.sh has no site, and its release no web tarball.
build_web_site() {
  local tree=$1
  if [ ! -f "$tree/scripts/web.sh" ]; then
    say "web site: none, this commit has no scripts/web.sh"
    return 0
  fi
  (cd "$tree" && bash scripts/web.sh build) >&2 || fail "scripts/web.sh build failed"
  [ -f "$tree/build-web/site/index.html" ] || fail "scripts/web.sh build left no build-web/site/index.html"
  cp -R "$tree/build-web/site" "$work/$name-web"
  refuse_build_paths "$work/$name-web"
  pack "$dist/$name-web.tar.gz" "$work/$name-web"
  say "web site: $name-web.tar.gz"
}

make_source_tarball
mkdir "$work/unpacked"
tar -xzf "$dist/$name-src.tar.gz" -C "$work/unpacked"
build_package "$work/unpacked/$name"
build_web_site "$work/unpacked/$name"

cd "$dist"
sha256sum -- *.deb *.tar.gz >SHA256SUMS
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not check"
say "dist/ holds the release of $commit, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T UTC') (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
cat SHA256SUMS >&2
