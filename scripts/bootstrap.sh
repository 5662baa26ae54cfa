#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing,
# so a second run on a set-up machine costs a few dpkg queries and nothing else.
set -euo pipefail

PACKAGES=(
  # build
  g++ cmake pkg-config
  # window, GL and its helpers
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl-dev
  # audio layer
  libsdl2-dev libsndfile1-dev libasound2-dev libmpg123-dev
  # tests (pocketsphinx: keyword spotting in the voice cues)
  libgtest-dev xvfb xauth xdotool x11-utils pocketsphinx pocketsphinx-en-us libpocketsphinx-dev
  # content generator: raw speech for the voice cues
  espeak-ng
  # capture tool: video encoding
  ffmpeg
  # hardening and benchmarks
  clang libclang-rt-14-dev libbenchmark-dev libstb-dev libassimp-dev imagemagick
)

missing=()
for package in "${PACKAGES[@]}"; do
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
"${sudo_prefix[@]}" apt-get update -qq
"${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
