#!/usr/bin/env bash
# The window on Wayland alone: a Wayland compositor (weston) runs nested in
# Xvfb, and the application starts with WAYLAND_DISPLAY set and DISPLAY
# unset, under each renderer. It must open its window, answer a key (Q
# quits with status 0), and end with status 0 on SIGTERM. A compositor
# without any input seat (weston's headless backend) must not crash the
# start: the application says so in one line and prints the text readout.
#
#   wayland_session.sh VOLTWISE
#
# Exits 77 (skipped) when Xvfb, weston or xdotool is missing.
set -euo pipefail
exe=$1

. "$(dirname "$0")/../lib/xvfb.sh"
vw_skip_without Xvfb weston xdotool
vw_scratch
vw_start_xvfb 161 230 || exit 1

export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/no-power-supply"
export VOLTWISE_POWER_SUPPLY_DIR="$work/no-power-supply"
failures=0
passed=0

# start_weston SOCKET ARGS...: a compositor on $XDG_RUNTIME_DIR/SOCKET.
start_weston() {
  local socket=$1; shift
  weston --socket="$socket" --idle-time=0 --no-config "$@" >"$work/weston-$socket.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] && return 0; sleep 0.1; done
  echo "weston did not start"; cat "$work/weston-$socket.log"; return 1
}
start_weston nested --backend=x11-backend.so --use-pixman --width=800 --height=700
output=$(timeout 20 xdotool search --sync --class weston | head -n 1) || true
[ -n "$output" ] || { echo "weston's window did not appear"; exit 1; }

app=""
# start_app RUN ARGS...: the application on Wayland only; returns once its
# window is up (it says so on standard error).
start_app() {
  local run=$1; shift
  env -u DISPLAY WAYLAND_DISPLAY=nested "$exe" --no-network --settings "$work/settings" --battery sim "$@" \
    >"$work/app-$run.out" 2>"$work/app-$run.err" &
  app=$!
  pids+=("$app")
  for _ in $(seq 200); do
    grep -q '^voltwise: window ' "$work/app-$run.err" && return 0
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}
# ended_with STATUS: the application ended within 10 s with STATUS.
ended_with() {
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then kill -9 "$app"; wait "$app" 2>/dev/null || true; return 1; fi
  local status=0
  wait "$app" || status=$?
  [ "$status" -eq "$1" ]
}

for renderer in software gpu; do
  if start_app "$renderer-key" --renderer "$renderer"; then
    check "the window opens on Wayland ($renderer)" true
    check "no fall back to the text readout ($renderer)" \
      bash -c "! grep -q 'no display' '$work/app-$renderer-key.err'"
    # The compositor hands the keys its X window gets (the one under the
    # pointer, with no window manager) to the focused surface: the
    # application's, focused when it was mapped. No click: the compositor's
    # own pointer is not where the X pointer is.
    sleep 1
    xdotool mousemove --window "$output" 400 350
    sleep 0.3
    xdotool key q
    check "Q quits with status 0 ($renderer)" ended_with 0
  else
    check "the window opens on Wayland ($renderer)" false
    cat "$work/app-$renderer-key.err"
  fi
  if start_app "$renderer-term" --renderer "$renderer"; then
    kill -TERM "$app"
    check "SIGTERM ends it with status 0 ($renderer)" ended_with 0
  else
    check "the window opens again on Wayland ($renderer)" false
  fi
done

# A compositor without a seat: no crash, one line, the text readout.
start_weston seatless --backend=headless-backend.so
status=0
env -u DISPLAY WAYLAND_DISPLAY=seatless timeout 20 "$exe" --no-network --settings "$work/settings" --battery sim \
  >"$work/seatless.out" 2>"$work/seatless.err" || status=$?
check "a compositor without a seat: status 0" test "$status" -eq 0
check "a compositor without a seat: said in one line" \
  grep -qx 'voltwise: no display (the Wayland compositor offers no input seat); showing the text readout' "$work/seatless.err"
check "a compositor without a seat: the text readout" grep -q '^57% white$' "$work/seatless.out"

# A WAYLAND_DISPLAY no socket can have is refused before the library sees it.
status=0
env -u DISPLAY WAYLAND_DISPLAY="$(head -c 100000 /dev/zero | tr '\0' w)" timeout 20 "$exe" --no-network \
  --settings "$work/settings" --battery sim >"$work/long.out" 2>"$work/long.err" || status=$?
check "an overlong WAYLAND_DISPLAY: status 0 and one short line" \
  bash -c "[ $status -eq 0 ] && [ \$(wc -l <'$work/long.err') -eq 1 ] && [ \$(wc -c <'$work/long.err') -lt 200 ]"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
