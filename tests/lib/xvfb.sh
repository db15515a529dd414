# Sourced by the shell tests and scripts that run the window on a private X
# server. Gives them a scratch folder and a list of processes that are both
# cleaned up on exit, and starts Xvfb on a free display number.
#
#   . tests/lib/xvfb.sh
#   vw_skip_without TOOL...        # exits 77 (skipped) when a tool is missing
#   vw_scratch                     # $work: a new folder; $pids: killed on exit
#   vw_start_xvfb FIRST LAST       # Xvfb on the first free :N in FIRST..LAST,
#                                  # DISPLAY exported; status 1 when none starts
#   click X Y                      # a left click in the window $wid, in points
#   check WHAT COMMAND...          # counts $passed or $failures by COMMAND

vw_skip_without() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

vw_scratch() {
  work=$(mktemp -d)
  pids=()
  trap vw_cleanup EXIT
}

vw_cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}

vw_start_xvfb() {
  local n display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
  done
  [ -n "$display" ] || { echo "no free X display number"; return 1; }
  Xvfb ":$display" -screen 0 720x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=":$display"
}

click() {
  xdotool mousemove --window "$wid" "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.05
  xdotool mouseup 1
}

check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
