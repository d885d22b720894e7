#!/usr/bin/env bash
# The Windows build's proof, under Wine (scripts/windows.sh --test runs it, and .ci/run that):
#  1. the test programs of the layers that run on Windows (platform, gfx, audio, game, the SDL
#     backend on its dummy drivers) and the Windows-only ones (the console handler, the replaced
#     output), all in-process;
#  2. the golden replays played by plinkwell-cli.exe: the same traces and pictures as on Linux, and
#     the same --state bytes as the native build;
#  3. the file gateway from the command line: data and outputs in Korean and accented folders, an
#     output naming the input refused with exit 2;
#  4. in a window under Xvfb: the end-session hook called in-process; a message box over the game,
#     dismissed; and plinkwell.exe started as a player starts it: the title screen shows, Escape
#     quits with 0.
# Usage: tests/windows/run.sh WINDOWS_BUILD NATIVE_BUILD
set -euo pipefail
build=$(realpath "$1") native=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine=$(dpkg -L wine64 | grep '/wine/wine64$')  # Debian puts no wine on PATH
wineserver=$(dpkg -L wine64 | grep '/wine/wineserver64$')
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all SDL_AUDIODRIVER=dummy LC_ALL=C.UTF-8
unset DISPLAY  # steps 1 to 3 need none; step 4 has its own
work=$(mktemp -d)
xvfb=
finish() {
  "$wineserver" -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "windows tests: $*" >&2; exit 1; }
# The title screen stays until Space, and reads the keys once drawn: look until it has been.
await_title() {
  for _ in $(seq 60); do
    import -window root "$work/window.png"
    colours=$(identify -format '%k' "$work/window.png")
    [ "$colours" -gt 50 ] && return
    sleep 0.5
  done
  fail "the window showed $colours colours: not the title screen"
}
# Escape on the title quits. A key sent while Wine is still handing the focus over can be lost, so
# it is sent again each second until the game has ended (a minute at most); the game's exit status.
quit_with_escape() {
  for _ in $(seq 60); do
    xdotool windowfocus --sync "$1" key Escape 2>/dev/null || true
    timeout 1 tail --pid="$2" -f /dev/null && break
  done
  kill -0 "$2" 2>/dev/null && { kill "$2"; fail "the game did not end within a minute"; }
  wait "$2"
}

echo "== 1. test programs"
for program in platform gfx audio game sdl windows; do
  SDL_VIDEODRIVER=dummy timeout 600 "$wine" "$build/tests/plinkwell_${program}_tests.exe" --gtest_brief=1 |
    grep -E '^\[  (PASSED|FAILED|SKIPPED) |Failure' || fail "plinkwell_${program}_tests failed"
done

echo "== 2. golden replays"
cat >"$work/cli" <<EOF
#!/bin/sh
exec "$wine" "$build/plinkwell-cli.exe" "\$@"
EOF
chmod +x "$work/cli"
export SDL_VIDEODRIVER=dummy
"$root/tests/golden/replay.sh" "$work/cli" "$build/data" "$native/tests/tracediff"
for game in "$native/plinkwell" "$work/cli"; do
  "$game" --headless --data "$build/data" --input "$root/docs/screenshots/play.txt" --frames 1987 \
    --state "$work/state.$(basename "$game").json"
done
cmp "$work/state.plinkwell.json" "$work/state.cli.json" || fail "--state differs from the native build's"
echo "the same --state bytes as the native build"

echo "== 3. file gateway"
data="$work/데이터 é" out="$work/출력 – café"
mkdir "$data" "$out"
cp -r "$build/data/sprite" "$build/data/sound" "$build/data/Map.dat" "$data/"
cp "$root/docs/screenshots/play.txt" "$out/입력.txt"
echo "older" >"$out/상태.json"
"$work/cli" --headless --data "$data" --input "$out/입력.txt" --frames 1987 --state "$out/상태.json" \
  --screenshot "$out/화면 è.bmp"
cmp "$out/상태.json" "$work/state.plinkwell.json" || fail "the state in a Korean folder differs"
[ "$(ls -A "$out" | wc -l)" = 3 ] || fail "more than the outputs in $out: $(ls -A "$out")"
status=0
"$work/cli" --headless --data "$data" --input "$out/입력.txt" --state "$out/입력.txt" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "an output naming the input gave exit $status, not 2"
grep -q "name the same file" "$work/err" || fail "no reason given: $(cat "$work/err")"
cmp "$out/입력.txt" "$root/docs/screenshots/play.txt" || fail "the input was touched"
echo "Korean and accented paths read and written; an output naming the input: exit 2, input untouched"

echo "== 4. windows"
# Wine's desktop process keeps the display of the first program of a session: a new session for X.
"$wineserver" -w
for n in $(seq 170 199); do
  [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  display=":$n"
  break
done
[ -n "$xvfb" ] || fail "no free X display number"
export DISPLAY=$display
unset SDL_VIDEODRIVER  # SDL's own Windows video driver, on Wine's X11
timeout 300 "$wine" "$build/tests/plinkwell_windows_tests.exe" --gtest_brief=1 \
  --gtest_filter='WindowsShutdown.EndingTheSession*' | grep -E '^\[  (PASSED|FAILED|SKIPPED) |Failure' ||
  fail "the end-session hook failed in a window"
# A message box (a sound with no channels) shows while the game waits for its click, and OK goes on.
broken="$work/broken"
mkdir "$broken"
cp -r "$build/data/sprite" "$build/data/sound" "$build/data/Map.dat" "$broken/"
printf 'RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\0\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0data\0\0\0\0' \
  >"$broken/sound/Block.wav"
"$wine" "$build/plinkwell.exe" --windowed --data "$broken" &
game=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Plinkwell$' >/dev/null || fail "no message box within a minute"
for _ in $(seq 60); do  # OK, until the box has taken it
  box=$(xdotool search --onlyvisible --name '^Plinkwell$' | head -1) || break
  xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
  sleep 0.5
done
window=$(timeout 60 xdotool search --sync --onlyvisible --name Tarvik | head -1) || fail "no game after the box"
await_title
quit_with_escape "$window" "$game" || fail "the game with a message box did not end with 0"
echo "a message box shown in front of the game, OK went on, Escape quit with 0"
status=0
"$wine" "$build/plinkwell.exe" --windowed --mute --data "$build/data" &
game=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name Tarvik | head -1) ||
  fail "no window titled Tarvik within a minute"
await_title
quit_with_escape "$window" "$game" || status=$?
[ "$status" = 0 ] || fail "Escape ended plinkwell.exe with exit $status"
cp "$work/window.png" "$build/window.png"
echo "title screen shown ($colours colours, $build/window.png); Escape quit with 0"
"$wineserver" -w
