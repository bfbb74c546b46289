# A display of our own for Windows programs, sourced by the scripts that run
# Tarnwick.exe without a screen.
#
#   virtual_display_start DIR   starts Xvfb, exports DISPLAY; the server's pid
#                               is in VIRTUAL_DISPLAY_PID
#   wine_desktop_window on|off  whether the programs of $WINEPREFIX share one
#                               desktop window; a bare X server has no window
#                               manager, and only then are window frames drawn

# Xvfb writes its display number once it accepts clients.
VIRTUAL_DISPLAY_START_LIMIT_S=30

virtual_display_start() {
  local dir=$1
  mkdir -p "$dir"
  rm -f "$dir/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  VIRTUAL_DISPLAY_PID=$!
  local deadline=$((SECONDS + VIRTUAL_DISPLAY_START_LIMIT_S))
  until [ -s "$dir/display" ]; do
    if [ "$SECONDS" -ge "$deadline" ] || ! kill -0 "$VIRTUAL_DISPLAY_PID" 2>/dev/null; then
      echo "virtual_display_start: Xvfb did not start (see $dir/xvfb.log)" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(cat "$dir/display")"
}

wine_desktop_window() {
  if [ "$1" = on ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null &&
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
}
