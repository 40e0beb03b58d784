# Sourced: start_xvfb gives this shell a virtual display when it has none (DISPLAY is
# exported); stop_xvfb ends the one it started.
start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do
    [ -e /tmp/.X$n-lock ] && continue
    # The lock fd must not stay open in the background child, or a caller that reads
    # our output (ctest) waits for Xvfb to exit.
    Xvfb ":$n" -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 9>&- </dev/null &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
      [ -e /tmp/.X11-unix/X$n ] && { export DISPLAY=":$n"; return 0; }
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 2
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  return 0
}
