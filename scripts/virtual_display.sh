# Sourced by the scripts that run Windows programs under Wine: start_virtual_display starts an Xvfb
# server on the first free display number, without an authority file so that every local user may
# connect, and exports DISPLAY; called again, it starts another one. stop_virtual_display ends every
# server started. $1 names the server's log file.
virtual_display_pids=()

start_virtual_display() {
  local log="$1" n pid
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$pid" 2>/dev/null; then
      virtual_display_pids+=("$pid")
      export DISPLAY=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  return 1
}

stop_virtual_display() {
  local pid
  for pid in "${virtual_display_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  virtual_display_pids=()
}
