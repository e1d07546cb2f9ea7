#!/bin/bash
# Runs the end-to-end tests (the real gen_spinox.dll in the test player) under wine64 in Xvfb,
# then plays a small playlist with spinox-player.exe and checks that the plays were recorded.
#
#   scripts/wine_tests.sh [X86_64_BUILD_FOLDER] [gtest options]
#
# The build folder (default $SPINOX_WIN64_BUILD, else build-win64) is configured here when
# missing. SPINOX_TOOL, a native spinox tool, lists the demo's plays when given; KEEP_RUN=1
# keeps the run folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${SPINOX_WIN64_BUILD:-$root/build-win64}
if [ $# -gt 0 ] && [ -d "$1" ]; then
  build=$(cd "$1" && pwd)
  shift
fi
. "$root/scripts/wine_session.sh"

"$root/scripts/deps.sh" test

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
fi
ninja -C "$build" gen_spinox spinox-player spinox_e2e_tests

run=$(mktemp -d /tmp/spinox-e2e.XXXXXX)
cleanup() {
  wine_session_stop
  [ "${KEEP_RUN:-0}" = 1 ] && echo "wine_tests: run folder kept: $run" || rm -rf "$run"
}
trap cleanup EXIT

wine_session_start "$run"

# The tests find the DLL beside them and use the folder as the player's.
mkdir -p "$run/tests"
cp "$build/gen_spinox.dll" "$build/tests/e2e/spinox_e2e_tests.exe" "$run/tests/"
status=0
"$wine" "$run/tests/spinox_e2e_tests.exe" "$@" || status=$?

# The demo: a playlist of three tagged tracks played 100 times faster than real time.
demo="$run/player"
mkdir -p "$demo/plugins" "$demo/music"
cp "$build/tests/e2e/spinox-player.exe" "$demo/"
cp "$build/gen_spinox.dll" "$demo/plugins/"
python3 "$root/scripts/make_demo_tracks.py" "$demo/music" 70 1
# The player has ended, and with it every write of the plug-in (the server stays up: -p).
"$wine" "$demo/spinox-player.exe" --speed 100 "$demo/music/demo.m3u" || status=1
hits=$(stat -c %s "$demo/plugins/gen_spinox.hit" 2>/dev/null || echo 0)
if [ "$hits" != 48 ]; then
  echo "wine_tests: the demo recorded $hits bytes of plays, not 3 plays (48 bytes)" >&2
  status=1
else
  echo "wine_tests: the demo recorded 3 plays in $demo/plugins"
fi
if [ -n "${SPINOX_TOOL:-}" ]; then
  "$SPINOX_TOOL" chart --db "$demo/plugins" --period all || status=1
  "$SPINOX_TOOL" dump --db "$demo/plugins" hits || status=1
fi
exit $status
