#!/bin/bash
# Checks the plug-in DLL the player loads: exactly one export, the undecorated
# winampGetGeneralPurposePlugin; imports from system DLLs only (so the C and C++ run-times are
# linked in); no user-interface import in its ANSI form.
# Usage: scripts/check_dll.sh [DLL or build folder]  (default: build-win32)
set -euo pipefail
dll=${1:-build-win32}
[ -d "$dll" ] && dll=$dll/gen_spinox.dll
[ -f "$dll" ] || { echo "check_dll: $dll not found" >&2; exit 1; }
dump=
for objdump in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump objdump; do
  command -v "$objdump" >/dev/null || continue
  dump=$("$objdump" -p "$dll" 2>/dev/null) && break
done
[ -n "$dump" ] || { echo "check_dll: no objdump reads $dll" >&2; exit 1; }
fail=0

exports=$(echo "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s+\[' |
          awk '{print $NF}')
if [ "$exports" != "winampGetGeneralPurposePlugin" ]; then
  echo "check_dll: exports must be exactly winampGetGeneralPurposePlugin, found:" >&2
  echo "${exports:-(none)}" >&2
  fail=1
fi

system='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|msvcrt|advapi32)\.dll$'
imports=$(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}')
for name in $imports; do
  if ! [[ $name =~ $system ]]; then
    echo "check_dll: imports a non-system DLL: $name" >&2
    fail=1
  fi
done

# The windows take and show every script: no user-interface call may pass text through the ANSI
# code page. SendMessageA stays for the player's numeric queries and its ANSI fallback.
ansi=$(echo "$dump" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  dll ~ /^(user32|gdi32|comdlg32|shell32|comctl32)\.dll$/ && NF == 3 && $3 ~ /[a-z0-9]A$/ {
    print $3 }' | grep -vx 'SendMessageA' || true)
if [ -n "$ansi" ]; then
  echo "check_dll: user-interface calls through the ANSI code page (use the W forms):" $ansi >&2
  fail=1
fi

if [ $fail -eq 0 ]; then
  echo "check_dll: $dll exports winampGetGeneralPurposePlugin only; imports:" $imports
fi
exit $fail
