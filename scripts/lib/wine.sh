# The Windows build's own Wine prefix. Never the user's: WINEPREFIX always
# points into the build tree.
# wine_prepare BUILD_DIR: makes the prefix if missing, with the settings that
# keep tests from stalling, and starts the keep-alive process.
# wine_finish: stops the prefix's processes.

wine_prepare() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [[ ! -f "$WINEPREFIX/.quenmarl-ready" ]]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # No window manager: without this every window destroy waits 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crash exits at once instead of opening a dialog that hangs.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quenmarl-ready"
  fi
  wine "$build/tools/wine-keepalive.exe" >/dev/null 2>&1 &
  QUENMARL_KEEPALIVE_PID=$!
  # Wait until the prefix's server runs. Otherwise the first test may start it
  # and hand it its output pipes, which then stay open: the test never ends.
  wine cmd /c exit >/dev/null 2>&1
}

wine_finish() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k 2>/dev/null
  [[ -n "${QUENMARL_KEEPALIVE_PID:-}" ]] && wait "$QUENMARL_KEEPALIVE_PID" 2>/dev/null
  QUENMARL_KEEPALIVE_PID=
  return 0
}
