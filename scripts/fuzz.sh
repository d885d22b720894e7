#!/usr/bin/env bash
# Runs the libFuzzer targets (clang, address and undefined-behaviour sanitizers), two at a time.
# Usage: scripts/fuzz.sh [seconds per target (default 60)] [target ...(default: every fuzz/*.cpp)]
# The corpora start from seeds made here from the build's own game data (pictures, sounds, the stage
# file) and from an input script the game records; they grow in build-fuzz/corpus/<target>. A crash
# leaves its input in build-fuzz/crashes/<target>/ and makes the script fail. PLINKWELL_FUZZ_BUILD
# names the build directory (default build-fuzz; made when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
build=${PLINKWELL_FUZZ_BUILD:-build-fuzz}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKWELL_FUZZ=ON \
    -DPLINKWELL_TESTS=OFF -DPLINKWELL_SANITIZE=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target plinkwell gamedata "${targets[@]}"
build=$(realpath "$build")  # the stage target works in a directory of its own

data=$build/data
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{fuzz_bmp,fuzz_wav,fuzz_stage,fuzz_input_script}
cp "$data"/sprite/*.bmp tests/gfx/regress/*.bmp "$seeds/fuzz_bmp/"
cp "$data"/sound/*.wav "$seeds/fuzz_wav/"

# A stage input is a little-endian stage number followed by the whole stage file.
le32() {
  local v=$(($1 & 0xFFFFFFFF))
  # shellcheck disable=SC2059  # the format is the four bytes as octal escapes
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))"
}
for n in 1 2 3 14 15 0 -1 2147483647; do
  { le32 "$n"; cat "$data/Map.dat"; } >"$seeds/fuzz_stage/stage-$n"
done
{ le32 1; head -c 700 "$data/Map.dat"; } >"$seeds/fuzz_stage/cut-record"
{ le32 1; head -c 7 "$data/Map.dat"; } >"$seeds/fuzz_stage/cut-header"

cat >"$seeds/fuzz_input_script/written" <<'SCRIPT'
# plinkwell input 1
1 key SPACE down
2 key SPACE up
3 mouse -40
3 button down
5 button up
9 key LCONTROL down
9 key S down
12 key S up
12 key PRIOR down
14 key 0x1D up
14 key PRIOR up
20 key 6 down
21 mouse +2000
24 key 6 up
30 key 7 down
31 key 7 up
31 button down
SCRIPT
"$build/plinkwell" --headless --frames 60 --data "$data" --input "$seeds/fuzz_input_script/written" \
  --record "$seeds/fuzz_input_script/recorded" 2>/dev/null

# Inputs from earlier crashes, kept with the tests that replay them.
for t in "${targets[@]}"; do
  if [ -d "tests/fuzz/regress/$t" ]; then cp tests/fuzz/regress/"$t"/* "$seeds/$t/" 2>/dev/null || true; fi
done

run() {
  local t=$1
  mkdir -p "$build/corpus/$t" "$build/crashes/$t" "$build/logs"
  nice "$build/fuzz/$t" "$build/corpus/$t" "$seeds/$t" -max_total_time="$secs" -max_len=65536 -timeout=5 \
    -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$build/crashes/$t/" >"$build/logs/$t.log" 2>&1
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for t in "${targets[@]:i:2}"; do
    run "$t" &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || status=1; done
done

# Crashes, leaks, inputs slower than 5 s and memory past 1 GiB fail the run.
for t in "${targets[@]}"; do
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)
  crashes=$(find "$build/crashes/$t" -type f | wc -l)
  echo "$t: ${execs:-?} executions in ${secs} s, $crashes failing inputs in $build/crashes/$t"
  [ "$crashes" -eq 0 ] || status=1
done
exit $status
