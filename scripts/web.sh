#!/usr/bin/env bash
# The browser version. `scripts/web.sh` builds the site into build-web/ (index.html, plinkwell.js,
# plinkwell.wasm, plinkwell.data, sw.js, manifest.webmanifest and the icons); `scripts/web.sh serve`
# builds it and serves it on http://127.0.0.1:8000 for playing. Run as root, it installs what it needs (Debian's emscripten).
# PLINKWELL_WEB_DATA names the data a native build has already made (e.g. build/data) for the site to
# use; without it the script makes its own in build-web/.native.
set -euo pipefail
data=${PLINKWELL_WEB_DATA:+$(realpath "$PLINKWELL_WEB_DATA")}  # before the cd: relative to the caller
cd "$(dirname "$0")/.."
scripts/deps.sh emscripten
# emscripten's own JavaScript tools look for their modules here when node is not Debian's.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
site="$PWD/build-web"
jobs=$(nproc)

# Our art, sounds and stages come from assetgen, built for this machine: a native build's, or our own.
if [ -n "$data" ]; then
  [ -f "$data/Map.dat" ] || { echo "web.sh: no game data in $data (PLINKWELL_WEB_DATA)" >&2; exit 1; }
else
  data="$site/.native/data"
  cmake -S . -B "$site/.native" -DCMAKE_BUILD_TYPE=Release -DPLINKWELL_TESTS=OFF >/dev/null
  cmake --build "$site/.native" --target gamedata -j"$jobs"
fi
emcmake cmake -S . -B "$site/.wasm" -DCMAKE_BUILD_TYPE=Release \
  -DPLINKWELL_WEB_DATA="$data" -DPLINKWELL_WEB_SITE="$site" >/dev/null
cmake --build "$site/.wasm" --target plinkwell_site -j"$jobs"
echo "web.sh: the site is in $site"

if [ "${1:-}" = serve ]; then
  echo "web.sh: play at http://127.0.0.1:8000/"
  exec python3 - "$site" <<'PY'
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
handler.func.extensions_map = {**handler.func.extensions_map, ".wasm": "application/wasm",
                               ".js": "text/javascript", ".data": "application/octet-stream",
                               ".webmanifest": "application/manifest+json"}
http.server.ThreadingHTTPServer(("127.0.0.1", 8000), handler).serve_forever()
PY
fi
