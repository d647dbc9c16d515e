# Sourced by the scripts that run Windows programs under Wine: start_virtual_display starts Xvfb on
# the first free display number, without an authority file so that every local user may connect,
# and exports DISPLAY; stop_virtual_display ends it. $1 names the server's log file.
virtual_display_pid=""

start_virtual_display() {
  local log="$1" n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    virtual_display_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$virtual_display_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$virtual_display_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    stop_virtual_display
  done
  return 1
}

stop_virtual_display() {
  if [ -n "$virtual_display_pid" ]; then
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=""
  fi
}
