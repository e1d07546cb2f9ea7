# Sourced (with $root set to the repository) by the scripts that run Windows programs under Wine: a display of our own in Xvfb and a
# copy, for this run, of one ready-made Wine prefix (made once in 10-20 s, copied in about 1 s).
#
#   wine_session_arch BUILD_FOLDER           sets the Wine of the build's architecture: 32-bit
#                                            Wine and a win32 prefix for an i686 build, wine64
#                                            for an x86_64 one
#   wine_build_configure BUILD_FOLDER        the same, and configures the folder (Release, the
#                                            mingw toolchain of that architecture) when missing
#   wine_session_start RUN_FOLDER [SCREEN]   sets DISPLAY and WINEPREFIX, starts Xvfb and a
#                                            persistent wineserver
#   wine_session_stop                        ends them; call it from the caller's EXIT trap
wine=/usr/lib/wine/wine
server=/usr/lib/wine/wineserver32
wine_arch=win32
xvfb_pid=
server_pid=

wine_session_arch() {
  local bits
  bits=$(sed -n 's/^CMAKE_SIZEOF_VOID_P:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null || true)
  if [ -z "$bits" ]; then
    # Not configured yet: the folder's name says which toolchain it is for.
    case "$1" in *64*) bits=8 ;; *) bits=4 ;; esac
  fi
  if [ "$bits" = 8 ]; then
    wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 wine_arch=win64
  else
    wine=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 wine_arch=win32
  fi
}

wine_build_configure() {
  local arch=i686
  wine_session_arch "$1"
  [ "$wine_arch" = win64 ] && arch=x86_64
  [ -f "$1/build.ninja" ] && return 0
  cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" >/dev/null
}

# Builds the installer and its probe in the 32-bit build folder $1 (the installer is a 32-bit
# program: 32-bit Wine runs it); sets $setup to Spinox-<version>-setup.exe and $probe.
wine_installer_build() {
  wine_build_configure "$1"
  ninja -C "$1" installer spinox-installer-probe >/dev/null
  setup=$(ls "$1"/Spinox-*-setup.exe)
  probe="$1/installer/spinox-installer-probe.exe"
}

# The fonts that give Wine's own faces the scripts they lack: WenQuanYi Micro Hei (Chinese,
# Japanese, Korean, Greek) and DejaVu Sans (Arabic, Greek). Linked from the faces the windows
# and the on-screen display use, so a glyph a face lacks is drawn from them (Wine's font
# linking, as Windows' own for its CJK fonts).
wine_fonts=(/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
            /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
# Wine looks a bold font's links up under its full name ("Tahoma Bold").
wine_linked_faces=("MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Tahoma Bold" "Microsoft Sans Serif"
                   "MS Sans Serif" Arial "Arial Bold" "Times New Roman" "Times New Roman Bold"
                   "Courier New" "Courier New Bold")

# The registry file that links the faces to the fonts (a REG_MULTI_SZ of "file,face").
wine_font_links_reg() {
  python3 - "$@" <<'PY'
import os, sys
faces = {"wqy-microhei.ttc": "WenQuanYi Micro Hei", "DejaVuSans.ttf": "DejaVu Sans"}
links = "".join(f"{f},{faces[f]}\0" for f in faces) + "\0"
# A REGEDIT4 file's hex(7) holds ANSI bytes, which regedit widens.
data = ",".join(f"{b:02x}" for b in links.encode("ascii"))
print("REGEDIT4\n")
print(r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]")
for face in sys.argv[1:]:
    print(f'"{face}"=hex(7):{data}')
PY
}

wine_prefix_template() {
  # The suffix names the prefix's set-up: a new one is made when the set-up changes.
  template=${XDG_CACHE_HOME:-$HOME/.cache}/spinox/wine-prefix-$wine_arch-fonts
  [ -f "$template/.spinox-ready" ] && return 0
  echo "creating the $wine_arch Wine prefix $template"
  rm -rf "$template"
  mkdir -p "$(dirname "$template")"
  # Without a window manager, hiding windows costs time-outs unless Wine manages none.
  WINEPREFIX="$template" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
    /d N /f >/dev/null
  # A crash ends the program instead of waiting in the debugger.
  WINEPREFIX="$template" "$wine" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' \
    /f >/dev/null
  WINEPREFIX="$template" "$server" -w
  mkdir -p "$template/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  local font
  for font in "${wine_fonts[@]}"; do
    [ -f "$font" ] || { echo "wine_session: $font missing (scripts/deps.sh installs it)" >&2; continue; }
    cp "$font" "$template/drive_c/windows/Fonts/"
  done
  wine_font_links_reg "${wine_linked_faces[@]}" > "$template/font-links.reg"
  WINEPREFIX="$template" "$wine" regedit /S "$template/font-links.reg"
  WINEPREFIX="$template" "$server" -w
  touch "$template/.spinox-ready"
}

wine_session_start() {
  local run=$1 screen=${2:-1280x1024x24}
  display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=$wine_arch
  wine_prefix_template
  cp -a "$template" "$run/prefix"
  export WINEPREFIX="$run/prefix"
  "$server" -f -p >/dev/null 2>&1 &
  server_pid=$!
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$server" -k 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  server_pid= xvfb_pid=
}
