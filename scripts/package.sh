#!/usr/bin/env bash
# Builds Get Zorbi as a Debian package and prints the package's path as its
# last line (progress goes to standard error):
#
#   bash scripts/package.sh [BUILD_FOLDER]
#   sudo apt install ./build-package/package/getzorbi_*.deb
#
# BUILD_FOLDER defaults to build-package, a release build of just what the
# package holds, with Debian's flags for packages (dpkg-buildflags). An
# existing build folder (CI's build/, say) is reused as it stands: only what
# changed is rebuilt, and CPack strips the programs. Either way the folder is
# set to install under /usr, and CPack's DEB generator makes the package, its
# dependencies worked out by dpkg-shlibdeps.
#
# The same commit gives the same bytes, built anywhere at any time, in a new
# build folder inside the source tree (a reused one keeps its own compiler
# flags): every file in the package and the archive's members are dated
# SOURCE_DATE_EPOCH (scripts/source-date-epoch.sh: the commit's time), CPack
# writes the members in name order, owned by root, and its gzip streams
# without a name or time, and Debian's flags map the source folder to "." in
# the programs (-ffile-prefix-map), so no build path is left in them.
# scripts/reproducible-test.sh checks it.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-package}
bash scripts/bootstrap.sh package >&2
umask 022
SOURCE_DATE_EPOCH=$(bash scripts/source-date-epoch.sh)
export SOURCE_DATE_EPOCH
echo "package.sh: files dated SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH ($(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T UTC'))" >&2

options=(-DCMAKE_INSTALL_PREFIX=/usr)
if [ ! -f "$build/CMakeCache.txt" ]; then
  # Debian's own compiler and linker flags for packages, hardening included.
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  options+=(-DCMAKE_BUILD_TYPE=None -DZORBI_TESTS=OFF
            "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
            "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
fi
cmake -S . -B "$build" "${options[@]}" >&2
cmake --build "$build" -j"$(nproc)" --target getzorbi getzorbi-capture content packaging_documents >&2

rm -rf "$build/package"
(cd "$build" && cpack --config CPackConfig.cmake) >&2
packages=("$build"/package/getzorbi_*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
  echo "package.sh: CPack did not make one getzorbi package in $build/package" >&2
  exit 1
fi
realpath "${packages[0]}"
