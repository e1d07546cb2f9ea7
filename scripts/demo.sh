#!/usr/bin/env bash
# The demo. First the spinox tool alone: a few dozen plays of the bundled sample tracks (the
# first ones named in several scripts) at chosen times, then the database, a chart and one
# track's statistics. Then the plug-in itself in the test player under Wine: months of listening
# on a sample library with names in several scripts, the hit list window and options panel
# (screenshot), the chart as HTML and M3U, the HTML dialog's page and the on-screen display;
# last the installer, page by page.
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
tracks=(tests/data/tags/scripts_*)
for f in tests/data/tags/*.mp3 tests/data/tags/*.ogg; do
  [[ $f == */scripts_* ]] || tracks+=("$f")
done

echo "== the sample tracks' tags"
$spinox tags "${tracks[@]}" | sed -n 's|^file: tests/data/tags/|file: |; /^title\|^artist\|^album\|^file/p' |
  paste - - - -

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

for kind in artists albums; do
  echo
  echo "== $kind"
  $spinox dump "$kind"
done
echo
echo "== songs (without their paths)"
$spinox dump songs | cut -f1-7,9
echo
echo "== the chart of the two weeks"
$spinox chart --period range --from 2026-11-01 --to 2026-11-14T23:59 --top 15
echo
echo "== the last five hits"
$spinox dump hits | tail -n 5
echo
echo "== statistics of ${tracks[0]} on 2026-11-15 at noon"
$spinox info --at 2026-11-15T12:00 "${tracks[0]}"

export SPINOX_WIN_BUILD=$PWD/build/win-i686 SPINOX_NATIVE_BUILD=$PWD/build/release
echo
scripts/demo_wine.sh demo-out/hitlist
echo
scripts/demo_wine_osd.sh demo-out/wine
echo
scripts/demo_installer.sh demo-out/installer
echo
echo "== the demo's files"
echo "native database:          demo-out/db"
echo "hit list screenshot:      demo-out/hitlist/hitlist.png"
echo "charts shown:             demo-out/hitlist/charts.txt"
echo "chart as HTML and M3U8:   demo-out/hitlist/chart.html demo-out/hitlist/chart.m3u8"
echo "HTML dialog's page:       demo-out/wine/chart.htm"
echo "on-screen display:        demo-out/wine/osd.png demo-out/wine/osd-crop.png"
echo "settings and HTML dialog: demo-out/wine/settings.png demo-out/wine/html.png"
echo "installer's pages:        demo-out/installer/*.png"
