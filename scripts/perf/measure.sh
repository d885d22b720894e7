#!/usr/bin/env bash
# Whole-process figures of steady play in a window under Xvfb, side by side with a minimal SDL2
# loop (a picture every 15 ms, 1 ms sleeps) and the naive busy-polling loop, all in the same Xvfb
# and taken in turns, run after run:
#   CPU share of one core   utime+stime from /proc/PID/stat over 15 s of steady play
#   frames per second       the 1200 frames after the first 100, from their start times
#   lateness p99            how late each of those frames started after it was due
#   resident memory         "Maximum resident set size" of /usr/bin/time -v
#   window mapped           launch to the MapNotify of the window (an X client watching the root)
#   first frame             launch to the end of the first frame (its picture handed to the window)
# Frame start and end times come from the frame log both programs write when PLINKWELL_FRAME_LOG
# names a file (kept in memory, written at exit).
#
# Usage: scripts/perf/measure.sh [RUNS] [OUT_DIR]     (default 5 runs, build-perf/results)
# Environment: PERF_DISPLAY (default :97); PERF_GAME_ENV, extra environment for the game (default
# SDL_AUDIODRIVER=dummy: a machine without a sound card still gets an audio device, with SDL's audio
# thread calling our mixer at the real rate, instead of the game's "no sound" message box);
# PERF_GAME_ARGS, extra options for the game (e.g. --mute, --renderer accelerated, --whole-frames);
# PERF_GAME_MODE, how the game shows itself (default --windowed; empty: full screen); PERF_SCREEN,
# Xvfb's screen size (default 1280x1024).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
runs=${1:-5}
out=$(realpath -m "${2:-$root/build-perf/results}")  # absolute: the game changes directory
display=${PERF_DISPLAY:-:97}
screen=${PERF_SCREEN:-1280x1024}
game_mode=${PERF_GAME_MODE---windowed}
build=$root/build-perf
tools=$build/perf-tools
frames=1320  # as long as the demo script
game_env=${PERF_GAME_ENV-SDL_AUDIODRIVER=dummy}

echo "== building (RelWithDebInfo, as run.sh builds the game)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKWELL_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target plinkwell >/dev/null
mkdir -p "$tools"
gcc -O2 -Wall -Wextra -o "$tools/stamp_exec" "$here/stamp_exec.c"
gcc -O2 -Wall -Wextra -o "$tools/xmapwatch" "$here/xmapwatch.c" -lX11
# shellcheck disable=SC2046
g++ -O2 -Wall -Wextra -o "$tools/minimal_loop" "$here/minimal_loop.cpp" $(sdl2-config --cflags --libs)

if [ -e "$out" ] && [ ! -e "$out/machine.txt" ] && [ -n "$(ls -A "$out")" ]; then
    echo "$out is not empty and holds no earlier results: not overwriting it" >&2
    exit 2
fi
rm -rf "$out"
mkdir -p "$out"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

echo "== Xvfb $display"
Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
pids+=("$xvfb")
export DISPLAY=$display
for _ in $(seq 100); do
    "$tools/xmapwatch" >"$out/maps.log" 2>/dev/null &
    watch=$!
    sleep 0.1
    if grep -q ready "$out/maps.log" 2>/dev/null; then break; fi
    kill "$watch" 2>/dev/null || true
done
pids+=("$watch")

# CPU clock ticks (utime + stime) of a process so far.
ticks() {
    local stat
    read -r stat <"/proc/$1/stat" || return 1
    stat=${stat##*) }  # the fields after the command name
    local -a f
    read -r -a f <<<"$stat"
    echo $((f[11] + f[12]))  # utime and stime are fields 14 and 15 of the whole line
}

# run_one NAME COMMAND...: one measured launch; everything lands in $out/NAME-$run/.
run_one() {
    local name=$1
    shift
    local dir=$out/$name-$run
    mkdir -p "$dir"
    cut -d' ' -f1 /proc/loadavg >"$dir/load"
    /usr/bin/time -v -o "$dir/time.txt" "$tools/stamp_exec" "$dir/launch" \
        env PLINKWELL_FRAME_LOG="$dir/frames.log" "$@" \
        >"$dir/stdout" 2>"$dir/stderr" &
    local timer=$!
    while [ ! -s "$dir/launch" ]; do sleep 0.01; done
    local pid
    read -r pid _ <"$dir/launch"
    # Steady play: from 2.5 s after launch (the title is left and the first items are bought by
    # then) for 15 s, well before the demo's last frame at 19.8 s.
    sleep 2.5
    local c0 x0 w0 c1 x1 w1
    c0=$(ticks "$pid") x0=$(ticks "$xvfb") w0=$EPOCHREALTIME
    sleep 15
    c1=$(ticks "$pid") x1=$(ticks "$xvfb") w1=$EPOCHREALTIME
    grep VmHWM "/proc/$pid/status" | awk '{print $2}' >"$dir/vmhwm_kb"
    # A program held up (by a message box, say) would never end by itself.
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "   $name still running 30 s after its last frame was due: stopped" >&2
        local children
        children=$(cat "/proc/$pid/task/"*/children 2>/dev/null || true)
        # shellcheck disable=SC2086
        kill -9 "$pid" $children 2>/dev/null || true
    fi
    wait "$timer" || echo "   $name exited with status $?" >&2
    echo "$c0 $c1 $x0 $x1 $w0 $w1 $(getconf CLK_TCK)" >"$dir/cpu"
}

{
    echo "date: $(date -u +%FT%TZ)"
    echo "commit: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD -- src || echo ' (modified)')"
    echo "nproc: $(nproc)"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
    echo "kernel: $(uname -r)"
    echo "sdl: $(sdl2-config --version)"
    echo "xvfb: package $(dpkg-query -W -f='${Version}' xvfb 2>/dev/null), Xvfb $display -screen 0 ${screen}x24"
    echo "memory: $(grep MemTotal /proc/meminfo | awk '{print $2 / 1024 " MB"}')"
    echo "game env: $game_env; game options: ${PERF_GAME_ARGS:-}"
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.txt"
cat "$out/machine.txt"

for run in $(seq "$runs"); do
    echo "== run $run of $runs"
    # shellcheck disable=SC2086
    run_one game env $game_env "$build/plinkwell" $game_mode --verbose \
        --input "$here/steady_play.txt" ${PERF_GAME_ARGS:-}
    run_one minimal "$tools/minimal_loop" --frames "$frames"
    run_one busy "$tools/minimal_loop" --busy --frames "$frames"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"

python3 "$here/analyse.py" "$out" | tee "$out/summary.txt"
