# Virtual X display for the Windows build's tests and screenshots.
# start_virtual_display WIDTHxHEIGHT: starts Xvfb on a free display number
# and exports DISPLAY; stop_virtual_display ends the Xvfb it started, if any
# (safe to call more than once).

start_virtual_display() {
  local size=${1:-1920x1080}
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    QUENMARL_XVFB_PID=$!
    local tries
    for tries in $(seq 1 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$QUENMARL_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    # Not up in time: stop it before trying the next number.
    stop_virtual_display
  done
  echo "could not start a virtual X display" >&2
  return 1
}

stop_virtual_display() {
  if [[ -n "${QUENMARL_XVFB_PID:-}" ]]; then
    kill "$QUENMARL_XVFB_PID" 2>/dev/null || true
    wait "$QUENMARL_XVFB_PID" 2>/dev/null || true
  fi
  QUENMARL_XVFB_PID=
  return 0
}
