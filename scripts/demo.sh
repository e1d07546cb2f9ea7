#!/usr/bin/env bash
# The demo: records a few dozen plays of the bundled sample tracks at chosen times into a fresh
# database with the spinox tool, then prints the database and one track's statistics.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/release spinox >/dev/null
ln -sf build/release/compile_commands.json compile_commands.json
spinox=build/release/spinox
db=demo-out/db
rm -rf demo-out && mkdir -p "$db"
export SPINOX_DB=$db
tracks=(tests/data/tags/*.mp3 tests/data/tags/*.ogg)

echo "== the sample tracks' tags"
$spinox tags "${tracks[@]}" | sed -n '/^title\|^artist\|^album\|^file/p' | paste - - - - | cut -c1-150

echo
echo "== recording plays over two weeks"
plays=0
for day in $(seq 1 14); do
  for hour in 9 13 20; do
    i=$(( (plays * 5 + day) % ${#tracks[@]} ))
    [ $(( plays % 4 )) -eq 0 ] && i=0   # the first track is a favourite
    $spinox play --at "2026-11-$(printf %02d "$day")T$(printf %02d "$hour"):15" "${tracks[$i]}" >/dev/null
    plays=$((plays + 1))
  done
done
echo "$plays plays recorded in $db"

for kind in artists albums songs; do
  echo
  echo "== $kind"
  $spinox dump "$kind" | cut -c1-150
done
echo
echo "== the last five hits"
$spinox dump hits | tail -n 5
echo
echo "== statistics of ${tracks[0]} on 2026-11-15 at noon"
$spinox info --at 2026-11-15T12:00 "${tracks[0]}"
