#!/bin/bash
# Tests Spinox-<version>-setup.exe under Wine: silent installs (/S, /D=) into folders laid out
# like the player's, the player's folder found from its registry entries or Program Files, a
# running player closed first (and one that will not close stopping the install), and the
# registered uninstaller removing the DLL but not the user's database, settings and backups.
#
#   scripts/installer_tests.sh [I686_BUILD_FOLDER]     (default build/win-i686)
#
# KEEP_RUN=1 keeps the run folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/win-i686}")
. "$root/scripts/wine_session.sh"

"$root/scripts/deps.sh" test
wine_installer_build "$build"

run=$(mktemp -d /tmp/spinox-installer.XXXXXX)
cleanup() {
  wine_session_stop
  [ "${KEEP_RUN:-0}" = 1 ] && echo "installer_tests: run folder kept: $run" || rm -rf "$run"
}
trap cleanup EXIT
wine_session_start "$run"

failures=0
fail() { echo "installer_tests: FAIL: $*" >&2; failures=$((failures + 1)); }
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
# /D= and _?= take the rest of the command line, unquoted: Wine would quote a word with blanks.
rest_of_line() { local p=$1; read -ra words <<< "$p"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Spinox'
# The installer is a 32-bit program: its machine-wide keys are in the 32-bit registry view.
reg() { "$wine" reg "$@" /reg:32 >/dev/null 2>&1; }
reg_value() {
  "$wine" reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# A player's folder: the player (the probe, which holds plugins\gen_spinox.dll when running as
# the player), another plug-in, and the user's Spinox files: database, settings, a backup and an
# edited page template.
make_player() {
  local dir=$1
  mkdir -p "$dir/Plugins"
  cp "$probe" "$dir/winamp.exe"
  echo "another plug-in" > "$dir/Plugins/gen_other.dll"
  for ext in sng alb art hit dat; do head -c 300 /dev/urandom > "$dir/Plugins/gen_spinox.$ext"; done
  head -c 1000 /dev/urandom > "$dir/Plugins/Spinox-Mar 03, 25,0907.bak"
  echo "<html>my own page %table</html>" > "$dir/Plugins/spinoxsampletemplate.htm"
  (cd "$dir/Plugins" && md5sum gen_other.dll gen_spinox.{sng,alb,art,hit,dat} Spinox-*.bak \
    spinoxsampletemplate.htm > ../user-files.md5)
}
user_files_kept() {  # FOLDER STEP
  (cd "$1/Plugins" && md5sum --quiet -c ../user-files.md5 >/dev/null 2>&1) ||
    fail "$2: the user's files in $1/Plugins changed"
}
# FOLDER STEP [WINDOWS_FOLDER]: the DLL as built, the uninstaller, the Add/Remove Programs entry.
installed() {
  local dir=$1 step=$2 windows=${3:-$(winpath "$1")}
  cmp -s "$build/gen_spinox.dll" "$dir/Plugins/gen_spinox.dll" ||
    fail "$step: $dir/Plugins/gen_spinox.dll is not the DLL built"
  [ -f "$dir/Plugins/Spinox-uninstall.exe" ] || fail "$step: no uninstaller in $dir/Plugins"
  local location
  location=$(reg_value "$uninstall_key" InstallLocation)
  [ "$location" = "$windows\Plugins" ] ||
    fail "$step: Add/Remove Programs names '$location', not $windows\Plugins"
  user_files_kept "$dir" "$step"
}
start_player() {  # FOLDER [stubborn]: the player runs until closed, or for 40 s
  rm -f "$run/player-up"
  "$wine" "$1/winamp.exe" player "$(winpath "$run/player-up")" 40 ${2:-} &
  player_pid=$!
  for _ in $(seq 100); do [ -f "$run/player-up" ] && return 0; sleep 0.1; done
  fail "the stand-in player did not start"
}
wait_player() { player_exit=0; wait "$player_pid" || player_exit=$?; }
install() {  # FOLDER or "": a silent install, /D= the folder when given; prints the exit code
  local s=0
  if [ -n "$1" ]; then rest_of_line "/D=$(winpath "$1")"; "$wine" "$setup" /S "${words[@]}" || s=$?
  else "$wine" "$setup" /S || s=$?; fi
  echo "$s"
}

echo "$SECONDS s == a running player that will not close: nothing is installed"
player="$run/Program Files/Winamp"
make_player "$player"
start_player "$player" stubborn
status=$(install "$player")
[ "$status" = 2 ] || fail "install beside a stubborn player: exit code $status, not 2"
[ ! -e "$player/Plugins/gen_spinox.dll" ] || fail "a DLL was installed beside a stubborn player"
reg query "$uninstall_key" && fail "an uninstaller was registered beside a stubborn player"
kill "$player_pid" 2>/dev/null || true
wait_player
user_files_kept "$player" "stubborn player"

echo "$SECONDS s == silent install with /D= into a player's folder"
status=$(install "$player")
[ "$status" = 0 ] || fail "install: exit code $status"
installed "$player" "install"

echo "$SECONDS s == reinstall with the player running: the player is closed first"
start_player "$player"
status=$(install "$player")
[ "$status" = 0 ] || fail "reinstall: exit code $status"
wait_player
[ "$player_exit" = 0 ] || fail "reinstall: the player was not closed"
installed "$player" "reinstall"

echo "$SECONDS s == uninstall through Add/Remove Programs' entry, with the player running"
start_player "$player"
command=$(reg_value "$uninstall_key" QuietUninstallString)
[ "$command" = "\"$(winpath "$player/Plugins")\\Spinox-uninstall.exe\" /S" ] ||
  fail "the quiet uninstall command is '$command'"
uninstaller=$(winpath "$player/Plugins/Spinox-uninstall.exe")
# The uninstaller runs from a copy of itself and returns at once: wait for it to finish.
"$wine" "$uninstaller" /S || fail "uninstall: exit code $?"
for _ in $(seq 100); do
  [ -e "$player/Plugins/Spinox-uninstall.exe" ] || reg query "$uninstall_key" || break
  sleep 0.2
done
wait_player
[ "$player_exit" = 0 ] || fail "uninstall: the player was not closed"
[ ! -e "$player/Plugins/gen_spinox.dll" ] || fail "uninstall left gen_spinox.dll"
[ ! -e "$player/Plugins/Spinox-uninstall.exe" ] || fail "uninstall left its uninstaller"
reg query "$uninstall_key" && fail "uninstall left the Add/Remove Programs entry"
user_files_kept "$player" "uninstall"

echo "$SECONDS s == the player's folder found without /D="
# The player's installer records its folder as its key's default value, and registers its own
# uninstaller; without either the folder is the usual one under Program Files.
found_in() {  # FOLDER HOW [WINDOWS_FOLDER]
  local s
  s=$(install "")
  [ "$s" = 0 ] || fail "$2: exit code $s"
  installed "$@"
  rest_of_line "_?=$(winpath "$1/Plugins")"
  "$wine" "$1/Plugins/Spinox-uninstall.exe" /S "${words[@]}" ||
    fail "$2: uninstall in place failed"
  [ ! -e "$1/Plugins/gen_spinox.dll" ] || fail "$2: uninstall left gen_spinox.dll"
  user_files_kept "$1" "$2: uninstall"
}
by_key="$run/Music Player"
make_player "$by_key"
reg add 'HKCU\Software\Winamp' /ve /t REG_SZ /d "$(winpath "$by_key")" /f
found_in "$by_key" "found by the player's key"
reg delete 'HKCU\Software\Winamp' /f

by_uninstaller="$run/Apps/Winamp 5"
make_player "$by_uninstaller"
reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp' /v UninstallString \
  /t REG_SZ /d "\"$(winpath "$by_uninstaller")\\UninstWA.exe\" /x" /f
found_in "$by_uninstaller" "found by the player's uninstaller"
reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp' /f

# Program Files of 32-bit programs: "Program Files (x86)" in a 64-bit prefix.
program_files="Program Files"
[ -d "$WINEPREFIX/drive_c/Program Files (x86)" ] && program_files="Program Files (x86)"
default="$WINEPREFIX/drive_c/$program_files/Winamp"
make_player "$default"
found_in "$default" "found under Program Files" "C:\\$program_files\\Winamp"

if [ $failures -ne 0 ]; then
  echo "installer_tests: $failures failures" >&2
  exit 1
fi
echo "installer_tests: $(basename "$setup") ($(stat -c %s "$setup") bytes) installs and uninstalls"
