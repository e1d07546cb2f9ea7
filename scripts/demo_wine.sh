#!/bin/bash
# The chart as a listener sees it: the plug-in in the test player under Wine, on a sample
# library with five months of listening behind it.
#
#   scripts/demo_wine.sh [OUTPUT_FOLDER]     (default demo-out/hitlist)
#
# Builds gen_spinox.dll and spinox-player.exe (i686) and the native spinox tool, generates 46
# tagged tracks (ten of them named in other scripts) and a listening history (scripts/make_sample_library.py), records the history
# with `spinox play --at`, then runs spinox-player.exe with the plug-in under Wine in Xvfb:
# it plays a session of a dozen tracks, refreshes the hit list for several periods (printed
# below), and holds the windows for a screenshot. Writes into OUTPUT_FOLDER:
#   hitlist.png   the player with the hit list window and the options panel
#   charts.txt    the charts the hit list window showed, as text
#   chart.html    the last chart as an HTML page, chart.m3u8 as a UTF-8 playlist (the spinox tool)
#   player/       the player's folder: spinox-player.exe, plugins/ (gen_spinox.dll, the database
#                 and settings the plug-in left behind), music/ (the sample library)
# Environment: SPINOX_WIN_BUILD (default build/win-i686; an x86_64 one runs in wine64),
# SPINOX_NATIVE_BUILD (default build/release) are the build folders, configured here when missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win_build=${SPINOX_WIN_BUILD:-$root/build/win-i686}
native_build=${SPINOX_NATIVE_BUILD:-$root/build/release}
out=$(realpath -m "${1:-$root/demo-out/hitlist}")
. "$root/scripts/wine_session.sh"
# The chart left on the screen, the same for the page and the playlist.
final_chart=(--type songs --period month --top 25 --prev --change)

"$root/scripts/deps.sh" demo
command -v python3 >/dev/null || {
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-minimal
}

echo "== building the plug-in, the test player and the spinox tool"
wine_build_configure "$win_build"
if [ ! -f "$native_build/build.ninja" ]; then
  cmake -S "$root" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
ninja -C "$win_build" gen_spinox spinox-player >/dev/null
ninja -C "$native_build" spinox >/dev/null
spinox=$native_build/spinox

run=$(mktemp -d /tmp/spinox-hitlist-demo.XXXXXX)
player_pid=
cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null || true
  wine_session_stop
  rm -rf "$run"
}
trap cleanup EXIT

echo "== the sample library and five months of plays"
case "$out" in / | "$root" | "$HOME") echo "demo_wine: will not empty $out" >&2; exit 2 ;; esac
rm -rf "$out" && mkdir -p "$out"
player="$out/player"
db="$player/plugins"
mkdir -p "$db"
cp "$win_build/tests/e2e/spinox-player.exe" "$player/"
cp "$win_build/gen_spinox.dll" "$db/"
python3 "$root/scripts/make_sample_library.py" "$player"
while read -r at path; do
  "$spinox" play --db "$db" --at "@$at" "$path" >/dev/null
done < "$player/schedule.txt"
echo "recorded $(( $(stat -c %s "$db/gen_spinox.hit") / 16 )) plays"

wine_session_start "$run" 1280x800x24

# The session stops half a minute before its last track ends: that track is still playing,
# already counted, and its row is marked.
seconds=$(awk -F'[:,]' '/^#EXTINF:/ { s += $2 } END { print s - 30 }' "$player/session.m3u8")
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
marker="$run/screenshot-ready"
echo "== playing tonight's session in spinox-player.exe, then the charts"
"$wine" "$player/spinox-player.exe" --speed 400 --seconds "$seconds" \
  --chart songs,week,10,prev,change \
  --chart songs,week,10,prev,change,back=4 \
  --chart albums,year,10 \
  --chart artists,month,10,prev,change \
  --chart log,all,12 \
  --chart "artists,user,10,from=$(date -d '20 days ago' +%F),to=$(date -d '14 days ago' +%F)" \
  --chart songs,month,25,prev,change \
  --marker "$(winpath "$marker")" "$(winpath "$player/session.m3u8")" \
  > "$run/charts.txt" &
player_pid=$!
for _ in $(seq 1800); do
  [ -f "$marker" ] && break
  kill -0 "$player_pid" 2>/dev/null || break
  sleep 0.1
done
status=0
if [ -f "$marker" ]; then
  sleep 0.5
  read -r _ left top right bottom < <(tr -d "\r" < "$marker")
  xwd -root -display ":$display" -silent |
    convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/hitlist.png"
  rm -f "$marker"
else
  echo "demo_wine: the player never showed its charts" >&2
  status=1
fi
wait "$player_pid" || status=1
player_pid=
tr -d '\r' < "$run/charts.txt" > "$out/charts.txt"
cat "$out/charts.txt"

echo
echo "== the last chart as a page and a playlist (spinox html, spinox m3u)"
# The settings the plug-in saved name its template by a Windows path: the page is written with
# the default settings (the sample template) from a copy of the record files.
pages="$run/pages"
mkdir -p "$pages"
cp "$db"/gen_spinox.{sng,alb,art,hit} "$pages/"
"$spinox" html --db "$pages" "${final_chart[@]}" -o "$out/chart.html"
# Plays recorded under Wine name their files by Wine paths (Z:\...): the playlist gives the
# Linux names of the same files.
"$spinox" m3u --db "$db" "${final_chart[@]}" -o "$run/chart.m3u8"
sed 's|^Z:||; s|\\|/|g' "$run/chart.m3u8" > "$out/chart.m3u8"
[ -s "$out/hitlist.png" ] && [ -s "$out/chart.html" ] && [ -s "$out/chart.m3u8" ] || status=1
echo
echo "screenshot: $out/hitlist.png"
echo "charts:     $out/charts.txt"
echo "page:       $out/chart.html"
echo "playlist:   $out/chart.m3u8"
echo "database:   $db (the library: $player/music)"
exit $status
