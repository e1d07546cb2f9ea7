# Sourced by the scripts that run Windows programs under Wine: a display of our own in Xvfb and a
# copy, for this run, of one ready-made Wine prefix (made once in 10-20 s, copied in about 1 s).
#
#   wine_session_start RUN_FOLDER [SCREEN]   sets DISPLAY and WINEPREFIX, starts Xvfb and a
#                                            persistent wineserver
#   wine_session_stop                        ends them; call it from the caller's EXIT trap
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
xvfb_pid=
server_pid=

wine_prefix_template() {
  template=${XDG_CACHE_HOME:-$HOME/.cache}/spinox/wine-prefix
  [ -f "$template/.spinox-ready" ] && return 0
  echo "creating the Wine prefix $template"
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
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
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
