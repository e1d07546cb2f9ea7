#!/usr/bin/env bash
# Measures what the end-to-end tests are worth for the Win32 shell: seeds one realistic fault at
# a time into a scratch copy of this tree, rebuilds the plug-in and the end-to-end tests for
# Windows and runs them under Wine (scripts/wine_tests.sh), and reports for each fault whether
# the suite CAUGHT it (a test failed or the run stopped) or it SURVIVED.
#
# usage: scripts/seed_shell_faults.sh [--only NAME[,NAME...]] [--list] [--check]
#
# The caller's files are never touched: the tree as it is checked out (uncommitted edits
# included) is mirrored into $SEED_FAULTS_DIR (default ${TMPDIR:-/tmp}/spinox-seed-shell-faults)
# and built there for $SEED_FAULTS_ARCH (i686, the default, or x86_64). The table's form, the
# options and the seeding are scripts/seed_common.sh's, shared with scripts/seed_faults.sh, which
# does the same for the native unit tests. Exit status: 0 when every fault was caught, 1
# otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

. scripts/seed_common.sh

# --- the faults -------------------------------------------------------------------------------
# fault NAME FILE DESCRIPTION FIND REPLACE
fault settings-field-not-read ui/settings/pages_win.cpp \
  "OK takes the display's Y from the X box (a field not read back from its control)" \
  '_txt_y = ED_GetInt(dlg, IDC_SET_Y);' \
  '_txt_y = ED_GetInt(dlg, IDC_SET_X);'
fault list-column-dropped ui/hitlist/view_win.cpp \
  "the last column of every row is left empty (a wrong list column)" \
  'for (size_t c = 1; c < cells.size(); ++c)' \
  'for (size_t c = 1; c + 1 < cells.size(); ++c)'
fault edit-wrong-row ui/edit/edit_win.cpp \
  "the edit dialog edits the first row's entry, not the focused row's" \
  'return ShownItem(Shell().list, row);' \
  'return ShownItem(Shell().list, row < 0 ? row : 0);'
fault html-browser-ignored ui/html/dialog_win.cpp \
  "the page is opened in the browser even when \"Open in browser\" is unchecked" \
  'if (CHK_IsChecked(dlg, IDC_HTM_OPENBROWSER))' \
  'if (true)'
fault display-never-hides ui/osd/text_win.cpp \
  "the on-screen display is never hidden" \
  'if (window) ShowWindow(window, SW_HIDE);' \
  '(void)window;'
fault hook-kept-at-quit plugin/wndproc_win.cpp \
  "quit leaves the plug-in's procedure on the player window (the hook not restored)" \
  'SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shell.lpWndProcOld));' \
  ''
fault list-cell-ansi ui/toolkit/controls_win.cpp \
  "a list view cell is set with the ANSI message: its UTF-8 bytes show as code page characters" \
  'return static_cast<BOOL>(Send(dlg, id, LVM_SETITEMW, 0, Ptr(&item)));' \
  '(void)item; LVITEMA a = {}; a.mask = LVIF_TEXT; a.iItem = row; a.iSubItem = column; a.pszText = const_cast<char*>(text); return static_cast<BOOL>(SendMessageA(GetDlgItem(dlg, id), LVM_SETITEMA, 0, Ptr(&a)));'
fault edit-read-ansi ui/edit/edit_win.cpp \
  "the edit dialog reads what was typed with GetWindowTextA (through the code page)" \
  'return CaptionOf(GetDlgItem(dlg, id));' \
  'char a[kNameSize] = {}; GetWindowTextA(GetDlgItem(dlg, id), a, sizeof a); return a;'
fault edit-dialog-ansi ui/hitlist/list_win.cpp \
  "the edit dialog is created as an ANSI window, whose controls keep code page text" \
  'DialogBoxParamW(Shell().instance, MAKEINTRESOURCEW(IDD_EDIT)' \
  'DialogBoxParamA(Shell().instance, MAKEINTRESOURCEA(IDD_EDIT)'
fault windows-ansi plugin/plugin_win.cpp \
  "the hit list window and the options panel are created as ANSI windows" \
  'return CreateDialogParamW(plugin.hDllInstance, MAKEINTRESOURCEW(dialog), parent, proc, 0);' \
  'return CreateDialogParamA(plugin.hDllInstance, MAKEINTRESOURCEA(dialog), parent, proc, 0);'
fault display-text-bytes ui/osd/text_win.cpp \
  "the display draws the UTF-8 bytes with TextOutA" \
  'TextOutW(dc, 0, y, wide.c_str(), static_cast<int>(wide.size()));' \
  'TextOutA(dc, 0, y, text, length);'
fault display-text-codepage ui/osd/text_win.cpp \
  "the display's text goes through the ANSI code page (question marks)" \
  'std::wstring wide = WideFromUtf8(std::string(text, static_cast<size_t>(length)));' \
  'std::wstring wide = WideFromUtf8(EncodeAnsi(DecodeUtf8(reinterpret_cast<const unsigned char*>(text), static_cast<size_t>(length))));'
fault player-folder-ansi plugin/datadir_win.cpp \
  "the player's folder is found with GetModuleFileNameA (through the code page: lost when its name holds other scripts)" \
  'DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);' \
  'char a[MAX_PATH + 1] = {}; DWORD n = GetModuleFileNameA(nullptr, a, MAX_PATH); n = static_cast<DWORD>(MultiByteToWideChar(CP_ACP, 0, a, static_cast<int>(n), path, MAX_PATH));'
fault tool-no-short-names tool/main.cpp \
  "spinox.exe writes an .m3u without the short names: a path the code page cannot hold is left in UTF-8" \
  '  spinox::InstallAnsiCodePage();' \
  ''

# --- the run ----------------------------------------------------------------------------------
seed_options "$@"
work=${SEED_FAULTS_DIR:-${TMPDIR:-/tmp}/spinox-seed-shell-faults}
arch=${SEED_FAULTS_ARCH:-i686}
seed_mirror "$repo" "$work/tree"
build="$work/tree/build/win-$arch"
[ -f "$build/build.ninja" ] || cmake -S "$work/tree" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$work/tree/cmake/toolchain-$arch.cmake" \
  >/dev/null

caught=0 survived=0 stale=0
for i in "${!names[@]}"; do
  seed_selected "$i" || continue
  if ! seed_fault "$i" "$work/tree" "$work/original"; then
    echo "NO MATCH  ${names[$i]}: the text is not in ${files[$i]} exactly once"
    stale=$((stale + 1))
    continue
  fi
  log="$work/${names[$i]}.log"
  if ! ninja -C "$build" gen_spinox spinox-player spinox_e2e_tests >"$log" 2>&1; then
    echo "NO BUILD  ${names[$i]}: the seeded tree does not build (see $log)"
    stale=$((stale + 1))
  elif "$work/tree/scripts/wine_tests.sh" "$build" --gtest_brief=1 >>"$log" 2>&1; then
    echo "SURVIVED  ${names[$i]}: ${descs[$i]}"
    survived=$((survived + 1))
  else
    failed=$(sed -n 's/^\[  FAILED  \] \([A-Za-z].*\) (.*/\1/p' "$log" | sort -u | tr '\n' ' ')
    # A crash ends the run before the summary: the failures' places instead.
    [ -n "$failed" ] || failed=$(sed -n 's/^.*\/\([a-z_]*_test\.cpp:[0-9]*\): Failure.*/\1/p' "$log" |
      sort -u | tr '\n' ' ')
    if grep -q '^crash: ' "$log"; then failed+="(then a crash ended the run)"; fi
    echo "CAUGHT    ${names[$i]}: ${failed:-see $log}"
    caught=$((caught + 1))
  fi
  seed_restore "$i" "$work/tree" "$work/original"
done
echo "seed_shell_faults: $caught caught, $survived survived, $stale no match or no build"
[ "$survived" = 0 ] && [ "$stale" = 0 ]
