#!/usr/bin/env bash
# Golden replays: plays our whole-game scripts headless and compares each run's trace with the
# committed one (NAME.trace.jsonl.xz) and the SHA-256 of the frame shown at a few fixed frames with
# golden.sha256. Any change to play or to the picture shows up here, a trace's as the first frame and
# field that differ; a deliberate one updates the traces and sums (--update) in a commit of its own.
# Usage: replay.sh GAME DATADIR TRACEDIFF [--update]
set -euo pipefail
game=$1 data=$2 tracediff=$3 update=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sums="$here/golden.sha256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The whole-game stages of the tests use the build's pictures and sounds with their own Map.dat.
mkdir "$work/fullgame"
ln -s "$(cd "$data" && pwd)/sprite" "$(cd "$data" && pwd)/sound" "$work/fullgame/"
cp "$here/fullgame/Map.dat" "$work/fullgame/"

# name script data-dir screenshot-frames (the trace is taken from the last, longest run)
cases=(
  "play|$root/docs/screenshots/play.txt|$data|5 1720 1987"
  "steady|$root/scripts/perf/steady_play.txt|$data|400 1321"
  "fullgame|$here/fullgame.txt|$work/fullgame|300 636 960"
)

names=()
for entry in "${cases[@]}"; do
  IFS='|' read -r name script dir frames <<<"$entry"
  names+=("$name")
  last=${frames##* }
  for n in $frames; do
    trace=()
    [ "$n" = "$last" ] && trace=(--trace "$work/$name.trace.jsonl")
    "$game" --headless --data "$dir" --input "$script" --frames "$n" \
      --screenshot "$work/$name.frame$n.bmp" "${trace[@]}" >/dev/null
    (cd "$work" && sha256sum "$name.frame$n.bmp") >>"$work/actual"
  done
done

if [ "$update" = --update ]; then
  for name in "${names[@]}"; do xz -9 -c "$work/$name.trace.jsonl" >"$here/$name.trace.jsonl.xz"; done
  cp "$work/actual" "$sums"
  exit 0
fi
failed=0
for name in "${names[@]}"; do
  golden="$work/$name.golden.jsonl"
  xz -dc "$here/$name.trace.jsonl.xz" >"$golden"
  "$tracediff" "$golden" "$work/$name.trace.jsonl" "$name trace" || failed=1
  rm "$golden"
done
if ! diff -u "$sums" "$work/actual"; then
  echo "golden pictures differ from $sums (lines with - are expected, + are what this build showed)" >&2
  failed=1
fi
[ "$failed" = 0 ] || exit 1
echo "golden replays: ${#names[@]} traces and $(wc -l <"$sums") picture sums match"
