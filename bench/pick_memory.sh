#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Resident memory of the aquarium while the user clicks in the tank, to show
# that picking does not grow the program: clicks at random places in the
# tank at up to five a second (xdotool sets the pace) in one mouse mode, resident memory printed
# every 30 s, and at the end the change since the first minute.
#
# Usage: pick_memory.sh <plovi binary> <feed|touch|zoom> [minutes] [width height]
# (defaults: 10 minutes, 1280 x 800). Runs on a virtual X server of its own
# with a private home, so it can run beside a desktop aquarium.
set -euo pipefail
binary=$1
mode=$2
minutes=${3:-10}
width=${4:-1280}
height=${5:-800}

case $mode in
  feed) button_x=68 ;;    # the bar's buttons, centres in screen pixels
  touch) button_x=180 ;;
  zoom) button_x=297 ;;
  *) echo "pick_memory: mode is feed, touch or zoom" >&2; exit 2 ;;
esac

home=$(mktemp -d)
chmod 700 "$home"
# The server picks a free display number itself and reports it: several
# runs can start at once without taking the same one.
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$home/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${app:-}" ] && { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; } || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
[ -s "$home/display" ] || { echo "pick_memory: the X server did not start" >&2; exit 1; }
display=":$(head -n1 "$home/display")"

export DISPLAY=$display HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home
"$binary" >/dev/null 2>&1 &
app=$!
xdotool search --sync --onlyvisible --name PloviFishScr >/dev/null
sleep 4
xdotool mousemove "$button_x" 35 click 1
sleep 1

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$app/status"; }
echo "# $mode mode, ${width}x${height}, clicks at 5/s for $minutes min"
echo "# seconds  rss_kb"
start=$SECONDS
end=$((start + minutes * 60))
next=$start
first_minute=""
clicks=0
while [ $SECONDS -lt $end ]; do
  kill -0 "$app" 2>/dev/null || { echo "pick_memory: the aquarium ended" >&2; exit 1; }
  if [ $SECONDS -ge $next ]; then
    elapsed=$((SECONDS - start))
    now=$(rss)
    printf '%8d  %8d\n' "$elapsed" "$now"
    [ $elapsed -ge 60 ] && [ -z "$first_minute" ] && first_minute=$now
    next=$((next + 30))
  fi
  # Held for a frame or two: a zoom pick only happens while the button is down.
  xdotool mousemove $((RANDOM % width)) $((80 + RANDOM % (height - 80))) mousedown 1 sleep 0.05 mouseup 1
  clicks=$((clicks + 1))
  sleep 0.1
done
last=$(rss)
printf '%8d  %8d\n' "$((SECONDS - start))" "$last"
echo "# $clicks clicks ($((clicks / (minutes * 60))) a second); after the first minute: ${first_minute:-?} kB, at the end: $last kB, change $((last - ${first_minute:-$last})) kB"
