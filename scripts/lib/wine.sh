# The Windows build's own Wine prefix. Never the user's: WINEPREFIX always
# points into the build tree.
# wine_prepare BUILD_DIR: makes the prefix if missing, with the settings that
# keep tests from stalling, and starts the keep-alive process.
# wine_finish: stops the processes of the prefix wine_prepare set up, if any
# (safe to call more than once, and when wine_prepare never ran).

wine_prepare() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # From here on wine_finish has a wineserver of ours to stop.
  QUENMARL_WINE_PREFIX=$WINEPREFIX
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
  if [[ -n "${QUENMARL_WINE_PREFIX:-}" ]]; then
    WINEPREFIX=$QUENMARL_WINE_PREFIX wineserver -k 2>/dev/null || true
  fi
  if [[ -n "${QUENMARL_KEEPALIVE_PID:-}" ]]; then
    wait "$QUENMARL_KEEPALIVE_PID" 2>/dev/null || true
  fi
  QUENMARL_WINE_PREFIX=
  QUENMARL_KEEPALIVE_PID=
  return 0
}
