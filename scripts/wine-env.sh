# Wine for the test programs, sourced by the scripts that run them.
#
#   . scripts/wine-env.sh
#   wine_env_start PREFIX          private prefix, booted on first use, and a
#                                  wineserver that stays up between programs
#   wine_map_com COMn /dev/pts/N   the Windows port COMn is that terminal
#
# Works without a display: the programs run here open no windows.

# Booting a prefix takes seconds, starting a wineserver with Wine's system
# processes about one: keep them this long after the last program has ended.
WINE_SERVER_LINGER_S=30
# A boot normally takes 10 to 30 s; one that hangs is given up after this.
WINE_BOOT_LIMIT_S=300

wine_env_start() {
  export WINEPREFIX="$1"
  # No prompts to install Mono or Gecko: they would hang a headless boot.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Programs may start in parallel: one at a time boots the prefix and
  # starts the server. Whatever starts under the lock must not inherit it
  # (9>&-), or the lock would last as long as the server.
  exec 9>"$WINEPREFIX.lock"
  if ! flock -w "$WINE_BOOT_LIMIT_S" 9; then
    echo "wine_env_start: $WINEPREFIX stayed locked for $WINE_BOOT_LIMIT_S s" >&2
    exec 9>&-
    return 1
  fi
  if [ ! -f "$WINEPREFIX/.booted" ]; then
    if ! timeout "$WINE_BOOT_LIMIT_S" wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1 9>&-
    then
      echo "wine_env_start: booting $WINEPREFIX failed:" >&2
      cat "$WINEPREFIX.boot.log" >&2
      exec 9>&-
      return 1
    fi
    # The boot's own server goes once the boot is done; ours replaces it.
    timeout "$WINE_BOOT_LIMIT_S" wineserver -w
    touch "$WINEPREFIX/.booted"
  fi
  wine_server_keep
  exec 9>&-
}

# Starts the wineserver that the next programs share, unless one runs
# already. Wine's system processes start with it, so that they do not hold
# on to the output of the first test program (ctest would wait for them).
wine_server_keep() {
  if wineserver -p"$WINE_SERVER_LINGER_S" </dev/null >/dev/null 2>&1 9>&-; then
    wine wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
}

wine_map_com() {
  port="$1"
  device="$2"
  wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$device" /f \
    </dev/null >/dev/null 2>&1 || return 1
  # The device links are rewritten when the server and its services start.
  wineserver -k
  wineserver -w
  wine_server_keep
  link="$WINEPREFIX/dosdevices/$(echo "$port" | tr 'A-Z' 'a-z')"
  if [ "$(readlink "$link")" != "$device" ]; then
    echo "wine_map_com: $link points to '$(readlink "$link")', not $device" >&2
    return 1
  fi
}
