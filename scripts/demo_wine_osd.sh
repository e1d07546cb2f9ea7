#!/bin/bash
# The plug-in's own windows under Wine: plays a small playlist in the test player with the
# on-screen display switched on, takes a screenshot of the display from Xvfb, then writes the
# chart page through the "Generate HTML" dialog with the settings it loaded.
#
#   scripts/demo_wine_osd.sh [OUTPUT_FOLDER]     (default demo-out/wine)
#
# Writes into OUTPUT_FOLDER: osd.png (the screen with the display up), osd-crop.png (the
# display's part of it), settings.png and html.png (the two dialogs), chart.htm (the page) and
# gen_spinox.dat (the settings the plug-in saved at shutdown).
# Environment: SPINOX_WIN_BUILD (default build/win-i686) is the Windows build folder:
# i686 runs in 32-bit Wine, x86_64 in wine64.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${SPINOX_WIN_BUILD:-$root/build/win-i686}
out=$(realpath -m "${1:-$root/demo-out/wine}")
. "$root/scripts/wine_session.sh"

"$root/scripts/deps.sh" demo

wine_build_configure "$build"
ninja -C "$build" gen_spinox spinox-osd-demo >/dev/null

run=$(mktemp -d /tmp/spinox-osd-demo.XXXXXX)
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  wine_session_stop
  rm -rf "$run"
}
trap cleanup EXIT

wine_session_start "$run" 1280x800x24

player="$run/player"
mkdir -p "$player/plugins" "$player/music" "$out"
cp "$build/tests/e2e/spinox-osd-demo.exe" "$player/"
cp "$build/gen_spinox.dll" "$player/plugins/"
# Three tagged tracks, played twice.
python3 "$root/scripts/make_demo_tracks.py" "$player/music" 40 2

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
marker="$run/display-up"
rm -f "$out"/*.png "$out/chart.htm"
"$wine" "$player/spinox-osd-demo.exe" "$(winpath "$player/music/demo.m3u")" \
  "$(winpath "$out/chart.htm")" "$(winpath "$marker")" &
demo_pid=$!
# Each marker names a window on show: the screen is taken, the marker removed.
shots=0
for _ in $(seq 1200); do
  kill -0 "$demo_pid" 2>/dev/null || break
  if [ -f "$marker" ]; then
    sleep 0.5
    read -r name left top _ < "$marker"
    xwd -root -display ":$display" -silent | convert xwd:- "$out/$name.png"
    if [ "$name" = osd ]; then
      convert "$out/osd.png" -crop "$((1280 - left))x$((800 - top))+$left+$top" +repage \
        -trim +repage "$out/osd-crop.png" 2>/dev/null || true
    fi
    rm -f "$marker"
    shots=$((shots + 1))
  fi
  sleep 0.1
done
status=0
wait "$demo_pid" || status=$?
demo_pid=
cp "$player/plugins/gen_spinox.dat" "$out/" 2>/dev/null || true
[ -f "$out/osd.png" ] && [ "$shots" = 3 ] || status=1
[ -s "$out/chart.htm" ] || status=1
echo "demo_wine_osd: screenshots $out/osd.png, settings.png, html.png; page $out/chart.htm"
exit $status
