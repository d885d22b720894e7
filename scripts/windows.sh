#!/usr/bin/env bash
# The Windows game, cross-built on Debian with mingw-w64 from the same CMake lists: SDL 2 built from
# Debian's own source package (once: it is kept in build-windows/sdl2 and rebuilt only when missing),
# the game's data from a native build's assetgen, then plinkwell.exe (no console window, for players)
# and plinkwell-cli.exe (console: scripts, replays, CI), linked statically, and the zip.
#   scripts/windows.sh           builds into build-windows/ (the zip: build-windows/plinkwell-*-windows-x86_64.zip)
#   scripts/windows.sh --test    then runs the Windows tests under Wine (tests/windows/run.sh)
# Run as root, it installs what it needs. PLINKWELL_NATIVE_BUILD names a native build folder to take
# the data and tools from (default build-windows/native, made here).
set -euo pipefail
native=${PLINKWELL_NATIVE_BUILD:+$(realpath "$PLINKWELL_NATIVE_BUILD")}  # before the cd: relative to the caller
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-windows
native=${native:-$build/native}
sdl=$build/sdl2
sdl_source=libsdl2=2.26.5+dfsg-1  # the SDL of Debian 12's own libsdl2-dev
jobs=$(nproc)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
scripts/deps.sh g++-mingw-w64-x86-64-posix dpkg-dev zip wine64 imagemagick xdotool  # the last two: the window test

# SDL 2 for Windows, from Debian's source package through a source list of our own: the machine's
# apt configuration is left as it was.
build_sdl() {
  local work=$build/.sdl-source
  rm -rf "$work" && mkdir -p "$work/lists/partial"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$work/sources.list"
  local apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=-
    -o Dir::State::Lists="$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    -o APT::Sandbox::User="$(id -un)")
  "${apt[@]}" update >/dev/null
  (cd "$work" && "${apt[@]}" source --download-only "$sdl_source" >/dev/null &&
    dpkg-source --no-check -x ./*.dsc src >/dev/null)
  cmake -S "$work/src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF >/dev/null
  cmake --build "$work/build" -j"$jobs" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
}
[ -f "$sdl/lib/cmake/SDL2/SDL2Config.cmake" ] || build_sdl

testing=OFF native_targets=(gamedata)
if [ "${1:-}" = --test ]; then
  testing=ON native_targets+=(plinkwell tracediff)  # the native game and trace checker to compare with
fi

# Our pictures, sounds, stages and icons come from assetgen, built for this machine.
if [ "$native" = "$build/native" ]; then
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DPLINKWELL_TESTS="$testing" >/dev/null
fi
cmake --build "$native" --target "${native_targets[@]}" -j"$jobs"

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DSDL2_DIR="$sdl/lib/cmake/SDL2" -DPLINKWELL_NATIVE_DATA="$native/data" -DPLINKWELL_TESTS="$testing" >/dev/null
cmake --build "$build" -j"$jobs"
rm -f "$build"/plinkwell-*-windows-x86_64.zip
(cd "$build" && cpack -G ZIP >/dev/null)
echo "windows.sh: $(ls "$build"/plinkwell-*-windows-x86_64.zip)"

if [ "$testing" = ON ]; then
  tests/windows/run.sh "$build" "$native"
fi
