#!/usr/bin/env bash
# Builds Get Zorbi for the browser and serves it on this machine:
#
#   scripts/web.sh          build, then serve build-web/site on 127.0.0.1 until Ctrl+C
#   scripts/web.sh build    build only
#
# Installs what it needs first (scripts/bootstrap.sh web). The show's files
# come from the desktop's content generator (build-web/native); the program
# is the show's src/ with the web layer of web/, compiled by Debian's
# emscripten (build-web/wasm). The site, build-web/site, is static files that
# any web server can host. PORT sets the port (default 8080).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-serve}
case "$mode" in
  serve | build) ;;
  *) echo "usage: web.sh [build]" >&2; exit 2 ;;
esac
port=${PORT:-8080}

bash scripts/bootstrap.sh web
cmake -S . -B build-web/native -DZORBI_TESTS=OFF >/dev/null
cmake --build build-web/native -j"$(nproc)" --target content
# Debian's emscripten runs its JavaScript tools with this Node.js, which
# finds their modules (acorn) only there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S web -B build-web/wasm -DZORBI_RUN_DIR="$PWD/build-web/native/run" \
  -DZORBI_SITE_DIR="$PWD/build-web/site" >/dev/null
cmake --build build-web/wasm -j"$(nproc)"
echo "The site is in build-web/site."

if [ "$mode" = serve ]; then
  echo "Get Zorbi is at http://127.0.0.1:$port/ (Ctrl+C stops serving it)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi
