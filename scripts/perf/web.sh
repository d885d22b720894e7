#!/usr/bin/env bash
# The browser version's figures on this machine as it is: how soon the page shows the title, how long
# 1200 frames take in real time (18.0 s at 66.7 a second) and how busy the page's main thread is
# meanwhile. Builds the site with scripts/web.sh, serves it and plays it in headless Chromium as the
# browser tests do. The tests never run it: its figures depend on the machine's load.
# Usage: scripts/perf/web.sh [RUNS]     (default 3)
# Environment: CHROMIUM (default /usr/bin/chromium); PLINKWELL_WEB_DATA as for scripts/web.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
"$root/scripts/web.sh"
# playwright-core comes from the browser tests' packages.
[ -d "$root/tests/web/node_modules/playwright-core" ] ||
  (cd "$root/tests/web" && npm ci --no-audit --no-fund >/dev/null)
node "$here/web.mjs" "$root/build-web" "${1:-3}"
