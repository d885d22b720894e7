#!/usr/bin/env bash
# The browser version's figures on this machine as it is: the steady-play demo played through
# ?replay= against a minimal page that only paints an 800 x 600 frame each 15 ms tick, the two in
# turns in one headless Chromium: main-thread CPU a frame (ThreadTime, TaskDuration), the CPU of all
# the browser's processes, frames drawn, late frames and how long 1200 frames take (18.0 s at 66.7
# a second). Builds the site with scripts/web.sh and serves it. The tests never run it: its figures
# depend on the machine's load.
# Usage: scripts/perf/web.sh [RUNS] [title]     (RUNS default 5; title: the title screen, not the demo)
# Environment: CHROMIUM (default /usr/bin/chromium); PLINKWELL_WEB_DATA as for scripts/web.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
"$root/scripts/web.sh"
# playwright-core comes from the browser tests' packages.
[ -d "$root/tests/web/node_modules/playwright-core" ] ||
  (cd "$root/tests/web" && npm ci --no-audit --no-fund >/dev/null)
node "$here/web.mjs" "$root/build-web" "${1:-5}" ${2:+"$2"}
