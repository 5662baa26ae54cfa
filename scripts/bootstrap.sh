#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing,
# so a second run on a set-up machine costs a few dpkg queries and nothing else.
#
#   bash scripts/bootstrap.sh [SET]
# SET is one of
#   show      what builds the demo, its content and runs it in a window
#   headless  show, plus what renders the show to a video without a display
#             (the capture tool, Xvfb, ffmpeg)
#   package   headless, plus what builds and checks the Debian package
#             and makes a release (scripts/package.sh, scripts/package-test.sh,
#             scripts/release.sh, scripts/reproducible-test.sh)
#   test      everything: headless, plus the tests, the hardening (sanitisers,
#             fuzzing) and the benchmarks (the default)
#   perf      test, plus Linux perf for the performance report's start-up
#             probes (scripts/perf-report.sh)
#   web       show, plus what builds the browser's site (scripts/web.sh):
#             emscripten, and Python to serve it
#   web-test  web and headless, plus what drives the site in a real browser
#             (scripts/web-test.sh): Chromium, Node.js and npm, ImageMagick
set -euo pipefail

SHOW=(
  # build
  g++ make cmake pkg-config
  # window, GL and its helpers
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl-dev
  # audio layer
  libsdl2-dev libsndfile1-dev libasound2-dev libmpg123-dev
  # content generator: raw speech for the voice cues
  espeak-ng
)
HEADLESS=(
  # capture tool: PNG writing, an X server without a screen, video encoding
  libstb-dev xvfb xauth ffmpeg
)
PACKAGE=(
  # the Debian package: dependencies worked out from the programs, and the
  # checks of the package, its menu entry and its metadata
  dpkg-dev lintian desktop-file-utils appstream
  # the package test drives the installed show's window and looks at it
  xdotool x11-utils imagemagick
  # a release's source tarball is the commit's, written by git archive
  git
)
TEST=(
  # tests (pocketsphinx: keyword spotting in the voice cues)
  libgtest-dev xdotool x11-utils pocketsphinx pocketsphinx-en-us libpocketsphinx-dev
  # formatting check, hardening and benchmarks
  clang-format clang libclang-rt-14-dev libbenchmark-dev libassimp-dev imagemagick
  # the mutation check's text replacement and the performance report's benchmark tables
  python3
)
PERF=(linux-perf)
WEB=(
  # the show compiled for the browser; Python packs its files and serves the site
  emscripten python3
)
WEB_TEST=(
  # the browser tests: Chromium (software WebGL through SwiftShader), driven
  # from Node.js by the npm packages pinned in web/tests/package-lock.json;
  # ImageMagick compares its stills with the desktop's
  chromium nodejs npm imagemagick
)

set_name=${1:-test}
case "$set_name" in
  show) PACKAGES=("${SHOW[@]}") ;;
  headless) PACKAGES=("${SHOW[@]}" "${HEADLESS[@]}") ;;
  package) PACKAGES=("${SHOW[@]}" "${HEADLESS[@]}" "${PACKAGE[@]}") ;;
  test) PACKAGES=("${SHOW[@]}" "${HEADLESS[@]}" "${TEST[@]}") ;;
  perf) PACKAGES=("${SHOW[@]}" "${HEADLESS[@]}" "${TEST[@]}" "${PERF[@]}") ;;
  web) PACKAGES=("${SHOW[@]}" "${WEB[@]}") ;;
  web-test) PACKAGES=("${SHOW[@]}" "${HEADLESS[@]}" "${WEB[@]}" "${WEB_TEST[@]}") ;;
  *) echo "usage: bootstrap.sh [show|headless|package|test|perf|web|web-test]" >&2; exit 2 ;;
esac

missing=()
for package in "${PACKAGES[@]}"; do
  # A Node.js package that carries its own npm (one that "Provides: npm")
  # conflicts with Debian's npm; its npm serves the same.
  [ "$package" = npm ] && command -v npm >/dev/null && continue
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_prefix=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_prefix=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Quiet (-q: no redrawn progress bars, which fill a log) but not silent: a
# first install takes minutes, and each package fetched and set up shows.
"${sudo_prefix[@]}" apt-get update -q
"${sudo_prefix[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
