#!/usr/bin/env bash
# A real window under Xvfb: the application starts on a first install,
# the welcome alert is answered, Customize is clicked, a skin is picked with
# the mouse wheel and saved; the application quits and starts again, and the
# saved skin is on the screen. Screenshots of every step land in OUT_DIR.
#
#   xvfb_session.sh VOLTWISE VW_XSHOT RESOURCE_DIR OUT_DIR
#
# Exits 77 (skipped) when Xvfb or xdotool is missing. Nothing leaves the
# machine: the application runs with --no-network, and the X server listens
# on its local socket only.
set -euo pipefail
exe=$1 xshot=$2 resources=$3 out=$4

. "$(dirname "$0")/../lib/xvfb.sh"
vw_skip_without Xvfb xdotool
vw_scratch
vw_start_xvfb 91 160 || exit 1

export SDL_AUDIODRIVER=dummy
mkdir -p "$work/no-power-supply" "$out"
export VOLTWISE_POWER_SUPPLY_DIR="$work/no-power-supply"
rm -f "$out"/*.png
settings="$work/settings"
failures=0
passed=0

app=""
wid=""
gx=0 gy=0 gw=0 gh=0
start_app() {
  local run=$1; shift
  "$exe" --no-network --settings "$settings" --battery sim --level 0.57 --scale 1 "$@" >"$work/app-$run.out" 2>"$work/app-$run.err" &
  app=$!
  pids+=("$app")
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Voltwise$' | head -n 1) || true
  [ -n "$wid" ] || { echo "the window did not appear"; cat "$work/app-$run.err"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  gx=$X gy=$Y gw=$WIDTH gh=$HEIGHT
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
}
shot() { "$xshot" grab "$out/$1.png" "$gx" "$gy" "$gw" "$gh"; echo "screenshot $out/$1.png"; }
key() { xdotool key --window "$wid" "$1"; }
quit_app() {
  # The window may be gone before the key's release reaches it.
  key q 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then echo "the application did not quit on Q"; failures=$((failures + 1)); kill "$app"; fi
  wait "$app" || { echo "the application exited with $?"; failures=$((failures + 1)); }
}
# Two RRGGBB colours within 16 on every channel.
close() {
  local a=$1 b=$2
  for i in 0 2 4; do
    local d=$(( 16#${a:$i:2} - 16#${b:$i:2} ))
    [ ${d#-} -le 16 ] || return 1
  done
}

# First start: a first install shows the welcome alert; Return answers it.
start_app 1
sleep 1
shot 01-first-start-alert
key Return
sleep 2.8
shot 02-normal-mode
click 50 248   # Customize
sleep 0.8
shot 03-customize
xdotool mousemove --window "$wid" 160 400
for _ in 1 2 3 4 5; do xdotool click 5; sleep 0.05; done   # five rows down: Purple
sleep 1.2
shot 04-picked-purple
click 160 248  # Save
sleep 0.8
shot 05-saved
quit_app
check "Save wrote the skin to the settings file" grep -q $'skin_file\tstring\tpurple_skin.png' "$settings"
check "Save wrote the row to the settings file" grep -q $'skin_row_selected\tstring\t6' "$settings"

# Second start: restored, no alert, the purple skin in the battery.
start_app 2
sleep 3
shot 06-restarted
shown=$("$xshot" pixel "$out/06-restarted.png" 60 100)
purple=$("$xshot" pixel "$resources/purple_skin.png" 29 25)
green=$("$xshot" pixel "$resources/green_skin.png" 29 25)
check "the restarted window shows the saved skin ($shown, purple $purple)" close "$shown" "$purple"
differ() { ! close "$1" "$2"; }
check "and not the default one (green $green)" differ "$shown" "$green"
# Idle once the start-up chime has ended: the audio device is closed again,
# and the software renderer has loaded no GL driver.
sleep 1.5
audio_threads() { cat /proc/"$app"/task/*/comm 2>/dev/null | grep -c '^SDLAudio' || true; }
check "no audio thread while silent ($(audio_threads) running)" test "$(audio_threads)" -eq 0
gl_loaded() { grep -qE 'dri/|libGLX|libEGL|libLLVM' /proc/"$app"/maps; }
check "no GL driver behind the software renderer" eval '! gl_loaded'
quit_app
check "the window said what it runs on" grep -q "voltwise: window 320x480" "$work/app-2.err"

# The accelerated renderer draws the same screen.
start_app 3 --renderer gpu
sleep 3
# Making a GL renderer makes SDL create the window anew.
wid=$(xdotool search --onlyvisible --name '^Voltwise$' | head -n 1)
shot 07-gpu-renderer
gpu_shown=$("$xshot" pixel "$out/07-gpu-renderer.png" 60 100)
check "the gpu renderer shows the saved skin too ($gpu_shown)" close "$gpu_shown" "$purple"
quit_app

# A system bus that takes the connection and never answers: the window
# opens while the power service is still being waited for, and answers Q.
python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(8)
time.sleep(600)' "$work/silent-bus" &
pids+=($!)
for _ in $(seq 100); do [ -S "$work/silent-bus" ] && break; sleep 0.1; done
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/silent-bus" "$exe" --no-network --settings "$settings" --scale 1 \
  >"$work/app-4.out" 2>"$work/app-4.err" &
app=$!
pids+=("$app")
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Voltwise$' | head -n 1) || true
check "a silent system bus: the window opens" test -n "$wid"
# The window shows before the line that says what it runs on is written.
said_waiting() {
  for _ in $(seq 50); do
    grep -q "battery: UPower on the system bus (waiting for its answer)" "$work/app-4.err" && return 0
    sleep 0.1
  done
  return 1
}
check "a silent system bus: the window did not wait for it" said_waiting
[ -n "$wid" ] && quit_app

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
