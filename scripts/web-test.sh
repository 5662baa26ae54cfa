#!/usr/bin/env bash
# The browser tests: builds the site (scripts/web.sh build), makes the
# desktop capture tool's stills of the same moments to compare with, and
# runs web/tests in Debian's Chromium, headless, with software WebGL. CI runs
# it; installs what it needs first (scripts/bootstrap.sh web-test).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh web-test
bash scripts/web.sh build
# The desktop's side: the capture tool of a desktop build (CI's, or one made here).
bash scripts/build.sh headless
stills=$(mktemp -d)
trap 'rm -rf "$stills"' EXIT
(cd build/run && bash ../../scripts/with-x-server.sh ./getzorbi-capture --out "$stills" \
  --still 1 --still 6 --still 10 --still 25.4 --still 31.7 --still 39 >/dev/null)

npm ci --prefix web/tests --no-audit --no-fund --silent
SITE=build-web/site DESKTOP_STILLS="$stills" node --test web/tests/
