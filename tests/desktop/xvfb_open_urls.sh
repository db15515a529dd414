#!/usr/bin/env bash
# Store pages from the real window under Xvfb reach the desktop's opener: a
# recording xdg-open and xdg-mime first on PATH write down what they get.
# Our Apps opens the catalogue page and the slide show's buy area the paid
# edition's page, each as one https argument (no handler for itms-apps);
# with a handler registered the itms-apps address arrives unchanged.
#
#   xvfb_open_urls.sh VOLTWISE
#
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
exe=$1

. "$(dirname "$0")/../lib/xvfb.sh"
vw_skip_without Xvfb xdotool
vw_scratch
vw_start_xvfb 231 300 || exit 1

export SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
mkdir -p "$work/bin" "$work/no-power-supply"
export VOLTWISE_POWER_SUPPLY_DIR="$work/no-power-supply" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$# \$1" >> "$work/opened"
EOF
cat >"$work/bin/xdg-mime" <<EOF
#!/bin/sh
[ "\$*" = "query default x-scheme-handler/itms-apps" ] && cat "$work/handler" 2>/dev/null
exit 0
EOF
chmod +x "$work/bin/xdg-open" "$work/bin/xdg-mime"
export PATH="$work/bin:$PATH"

failures=0 passed=0
# Waits up to three seconds for line $1 of the record to be $2.
opened() {
  for _ in $(seq 60); do
    [ "$(sed -n "${1}p" "$work/opened" 2>/dev/null)" = "$2" ] && return 0
    sleep 0.05
  done
  echo "  recorded: $(cat "$work/opened" 2>/dev/null)"
  return 1
}

app="" wid=""
start_app() {
  printf '# voltwise settings 1\nvwf_version\tstring\t4.5\n' >"$work/settings"
  "$exe" --no-network --settings "$work/settings" --battery sim --scale 1 --store-host store.voltwise.example \
    >"$work/app.out" 2>"$work/app.err" &
  app=$!
  pids+=("$app")
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Voltwise$' | head -n 1) || true
  [ -n "$wid" ] || { echo "the window did not appear"; cat "$work/app.err"; exit 1; }
  sleep 2.8  # the first grow animation ends; the buttons count from then on
}
quit_app() {
  xdotool key --window "$wid" q
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  wait "$app" || { echo "the application exited with $?"; failures=$((failures + 1)); }
}

start_app
click 260 248   # Our Apps
check "Our Apps opens the catalogue page as one https argument" \
  opened 1 "1 https://store.voltwise.example/artist/voltwise-labs/id410000000?mt=8"
click 160 248   # Get Pro: the slide show
sleep 1
click 200 200   # its buy area
check "the slide show's buy area opens the paid edition's page" \
  opened 2 "1 https://store.voltwise.example/app/voltwise-ultra/id410000002?ls=1&mt=8"
echo "store-client.desktop" >"$work/handler"
click 200 200
check "with a handler for itms-apps the address arrives unchanged" \
  opened 3 "1 itms-apps://store.voltwise.example/app/voltwise-ultra/id410000002?ls=1&mt=8"
quit_app
check "nothing was printed instead of opened" bash -c "! grep -q '^open: ' '$work/app.err'"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
