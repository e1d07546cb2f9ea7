#!/bin/bash
# The installer as a user sees it: Spinox-<version>-setup.exe run under Wine in Xvfb, page by
# page, with the player running, then the uninstaller. A screenshot of each page:
#
#   scripts/demo_installer.sh [OUTPUT_FOLDER] [I686_BUILD_FOLDER]
#       (defaults demo-out/installer, build/win-i686)
#
# Writes into OUTPUT_FOLDER: 1-welcome.png, 2-folder.png (the player's folder, found from its
# registry entry), 3-installed.png, 4-finish.png, 5-uninstall.png, 6-uninstalled.png, and
# player/ (the player's folder afterwards: the database is still there).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/demo-out/installer}")
build=$(realpath -m "${2:-$root/build/win-i686}")
. "$root/scripts/wine_session.sh"

"$root/scripts/deps.sh" demo
wine_installer_build "$build"
version=$(basename "$setup" | sed 's/^Spinox-\(.*\)-setup\.exe$/\1/')

run=$(mktemp -d /tmp/spinox-installer-demo.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wine_session_stop
  rm -rf "$run"
}
trap cleanup EXIT
wine_session_start "$run" 1024x768x24
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

case "$out" in / | "$root" | "$HOME") echo "demo_installer: will not empty $out" >&2; exit 2 ;; esac
rm -rf "$out" && mkdir -p "$out"
# The player's folder, as its installer recorded it, with a database and a backup in Plugins.
player="$out/player"
mkdir -p "$player/Plugins"
cp "$probe" "$player/winamp.exe"
for ext in sng alb art hit dat; do : > "$player/Plugins/gen_spinox.$ext"; done
: > "$player/Plugins/Spinox-Mar 03, 25,0907.bak"
"$wine" reg add 'HKCU\Software\Winamp' /ve /t REG_SZ /d "$(winpath "$player")" /f >/dev/null
"$wine" "$player/winamp.exe" player "$(winpath "$run/player-up")" 120 &
pids+=($!)

shot() {  # NAME TITLE: the window titled TITLE, once its default button is ready
  local left top right bottom
  read -r left top right bottom < <("$wine" "$probe" rect "$2" | tr -d '\r')
  # A window just shown may not be drawn yet: take the screen again while the crop is black.
  for _ in $(seq 20); do
    sleep 0.5
    xwd -root -display ":$display" -silent |
      convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/$1.png"
    [ "$(convert "$out/$1.png" -format '%[fx:maxima.r>0]' info:)" = 1 ] && break
  done
  echo "$out/$1.png"
}
next() { "$wine" "$probe" next "$1"; sleep 0.5; }

echo "== Spinox-$version-setup.exe, page by page"
title="Spinox $version Setup"
"$wine" "$setup" &
pids+=($!)
shot 1-welcome "$title"; next "$title"
shot 2-folder "$title"; next "$title"
# "Winamp is running ...": OK. (Wine leaves this message box unpainted in Xvfb.)
next "$title"
shot 3-installed "$title"; next "$title"
shot 4-finish "$title"; next "$title"
wait "${pids[1]}"
player_status=0
wait "${pids[0]}" || player_status=$?
[ "$player_status" = 0 ] && echo "the player was asked to close, and closed" ||
  echo "demo_installer: the player is still running (exit $player_status)"

echo "== the uninstaller"
"$wine" "$player/Plugins/Spinox-uninstall.exe" &
title="Spinox $version Uninstall"
shot 5-uninstall "$title"; next "$title"
shot 6-uninstalled "$title"; next "$title"
for _ in $(seq 50); do [ -e "$player/Plugins/Spinox-uninstall.exe" ] || break; sleep 0.2; done
echo "left in $player/Plugins:"
ls "$player/Plugins"
