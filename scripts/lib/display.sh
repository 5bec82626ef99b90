# A virtual X display for Wine when none is given. Sourced by scripts/run and scripts/test.

start_virtual_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      # As large as a 200 % laptop's screen, so the windows fit whole at 192 DPI too.
      Xvfb ":$n" -screen 0 1920x1440x24 -nolisten tcp >/dev/null 2>&1 &
      DIALNEST_XVFB_PID=$!
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display number" >&2
  return 1
}

stop_virtual_display() {
  if [ -n "${DIALNEST_XVFB_PID:-}" ]; then
    kill "$DIALNEST_XVFB_PID" 2>/dev/null || true
    wait "$DIALNEST_XVFB_PID" 2>/dev/null || true
    DIALNEST_XVFB_PID=""
  fi
}
