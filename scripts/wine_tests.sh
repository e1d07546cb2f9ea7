#!/bin/bash
# Runs the end-to-end tests (the real gen_spinox.dll in the test player) under Wine in Xvfb,
# then plays a small playlist with spinox-player.exe (and again as an older player) and checks
# that the plays were recorded.
# An i686 build runs in 32-bit Wine (the DLL users install), an x86_64 build in wine64.
#
#   scripts/wine_tests.sh [BUILD_FOLDER] [gtest options]
#
# The build folder (default $SPINOX_WIN_BUILD, else build/win-i686) is configured here when
# missing, for x86_64 when its name holds "64". SPINOX_TOOL, a native spinox tool, lists the
# demo's plays when given; KEEP_RUN=1 keeps the run folder; SPINOX_E2E_TIMEOUT (300) bounds
# the tests' run in seconds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${SPINOX_WIN_BUILD:-$root/build/win-i686}
if [ $# -gt 0 ] && [ -d "$1" ]; then
  build=$(cd "$1" && pwd)
  shift
fi
. "$root/scripts/wine_session.sh"

"$root/scripts/deps.sh" test

wine_build_configure "$build"
ninja -C "$build" gen_spinox spinox-player spinox_e2e_tests spinox
echo "wine_tests: $build under $wine ($wine_arch)"

run=$(mktemp -d /tmp/spinox-e2e.XXXXXX)
cleanup() {
  wine_session_stop
  [ "${KEEP_RUN:-0}" = 1 ] && echo "wine_tests: run folder kept: $run" || rm -rf "$run"
}
trap cleanup EXIT

wine_session_start "$run"

# The tests find the DLL beside them and use the folder as the player's; the track files named
# in several scripts are copied from tags\. The folder's name mixes scripts that no one ANSI
# code page holds (C:\Spinox テスト Żółć Ωμέγα\tests): every path the test player, the tests and
# the plug-in pass to the system must go by its wide name.
tests="$WINEPREFIX/drive_c/Spinox テスト Żółć Ωμέγα/tests"
mkdir -p "$tests/tags"
cp "$build/gen_spinox.dll" "$build/tests/e2e/spinox_e2e_tests.exe" "$tests/"
cp "$root"/tests/data/tags/scripts_* "$tests/tags/"
status=0
# In a zone with daylight saving, in which local days and UTC days differ. A test left waiting
# (a dialog no step closes, as when the database cannot be locked) ends the run as a failure
# after SPINOX_E2E_TIMEOUT seconds (the suite takes about 20).
TZ=Europe/Berlin timeout "${SPINOX_E2E_TIMEOUT:-300}" "$wine" "$tests/spinox_e2e_tests.exe" "$@" ||
  status=$?
[ "$status" = 124 ] && echo "wine_tests: the tests did not end within ${SPINOX_E2E_TIMEOUT:-300} s" >&2

# The tool, from the same folder: a play of a track there, then the hit list as an .m3u, which
# names the track by its short name (the code page holds no other), as the plug-in's does.
cp "$build/spinox.exe" "$tests/"
wtests='C:\Spinox テスト Żółć Ωμέγα\tests'
track=$(cd "$tests/tags" && ls scripts_* | head -1)
"$wine" "$tests/spinox.exe" play --db "$wtests" "$wtests\\tags\\$track" >/dev/null || status=1
"$wine" "$tests/spinox.exe" m3u --db "$wtests" --period all -o "$wtests\\tool.m3u" || status=1
line=$(tr -d '\r' < "$tests/tool.m3u" 2>/dev/null || true)
if ! [[ "$line" =~ ^C:\\[!-~]+\\tests\\tags\\[!-~]+$ ]]; then
  echo "wine_tests: the tool's .m3u names the track as '$line', not by its short name" >&2
  status=1
fi

# The demo: a playlist of three tagged tracks played 100 times faster than real time, from a
# folder the ANSI code page names, which the older player needs.
demo="$run/player"
mkdir -p "$demo/plugins" "$demo/music"
cp "$build/tests/e2e/spinox-player.exe" "$demo/"
cp "$build/gen_spinox.dll" "$demo/plugins/"
python3 "$root/scripts/make_demo_tracks.py" "$demo/music" 70 1
# The player has ended, and with it every write of the plug-in (the server stays up: -p).
"$wine" "$demo/spinox-player.exe" --speed 100 "$demo/music/demo.m3u" || status=1
# Again as an older player, which gives the names in the ANSI code page only: the same songs.
"$wine" "$demo/spinox-player.exe" --speed 100 --older "$demo/music/demo.m3u" || status=1
hits=$(stat -c %s "$demo/plugins/gen_spinox.hit" 2>/dev/null || echo 0)
songs=$(stat -c %s "$demo/plugins/gen_spinox.sng" 2>/dev/null || echo 0)
if [ "$hits" != 96 ] || [ "$songs" != $((3 * 416)) ]; then
  echo "wine_tests: the demo recorded $hits bytes of plays and $songs of songs, not 6 plays" \
    "(96 bytes) of 3 songs" >&2
  status=1
else
  echo "wine_tests: the demo recorded 6 plays of 3 songs in $demo/plugins, as either player"
fi
if [ -n "${SPINOX_TOOL:-}" ]; then
  "$SPINOX_TOOL" chart --db "$demo/plugins" --period all || status=1
  "$SPINOX_TOOL" dump --db "$demo/plugins" hits || status=1
fi
exit $status
