#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A long run of the real aquarium under real X input, to show that it stays
# flat: it runs on a virtual X server of its own (1920 x 1080 by default)
# with a private home, settings and runtime directory, while xdotool clicks at
# random in the tank in every mouse mode, presses the bar's mode buttons
# (never Exit) and opens and closes the Add Fish, Custom Music and Custom
# Image dialogs. Resident memory is sampled every 10 s and printed as it
# goes; the frames are counted from the program's --fps lines.
#
# Usage: soak.sh [plovi binary] [frames] [width height]
#   (defaults: build/plovi, 100000 frames, 1920 x 1080)
#
# At the end: resident memory at the start, at minute 2 and at the end, the
# change from minute 2 to the end, the frame rate (min and mean), and every
# line the program wrote to standard error besides its frame rate. Exits 1
# when memory grew more than 2 MB from minute 2 to the end, when the program
# died or did not end cleanly, or when a sanitizer reported anything.
#
# A sanitizer build (one linked with libasan) runs with the options `make
# test-asan` uses (ASAN_OPTIONS, LSAN_OPTIONS, UBSAN_OPTIONS), unless they are
# set already; the program is ended with SIGTERM, which ends it as Exit does,
# so the leak checker runs at its end.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$here/build/plovi}
frames=${2:-100000}
width=${3:-1920}
height=${4:-1080}
limit_kb=2048

[ -x "$binary" ] || { echo "soak: no program at $binary" >&2; exit 2; }
binary=$(realpath "$binary")
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "soak: $tool is not installed" >&2; exit 2; }
done

sanitized=no
if ldd "$binary" 2>/dev/null | grep -q 'libasan'; then
  sanitized=yes
  if [ -z "${ASAN_OPTIONS:-}${LSAN_OPTIONS:-}${UBSAN_OPTIONS:-}" ]; then
    eval "export $(make -s --no-print-directory -C "$here" sanitizer-env)"
  fi
fi

work=$(mktemp -d)
chmod 700 "$work"
mkdir -m 700 "$work/home" "$work/config" "$work/runtime" "$work/cwd"
err=$work/stderr
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
app=""
driver=""
cleanup() {
  [ -n "$driver" ] && { kill "$driver" 2>/dev/null; wait "$driver" 2>/dev/null; }
  [ -n "$app" ] && kill -0 "$app" 2>/dev/null && { kill -KILL "$app"; wait "$app" 2>/dev/null; }
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "soak: the X server did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

(cd "$work/cwd" && exec "$binary" --fps) >/dev/null 2>"$err" &
app=$!

# Whether the program still runs (a child that ended stays a zombie until
# it is waited for, and kill -0 still reaches a zombie).
# The state is read once: the entry may vanish between two reads.
alive() {
  local state
  state=$(awk '/^State:/ { print $2 }' "/proc/$app/status" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}

# Polls for a visible window whose name matches; prints its id.
window_named() {  # name seconds
  local until=$((SECONDS + $2)) id
  while [ $SECONDS -le $until ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
window_named '^PloviFishScr$' 60 >/dev/null || { echo "soak: no aquarium window within 60 s" >&2; cat "$err" >&2; exit 1; }

# The bar's buttons, centres in screen pixels (the bar's dialog units
# doubled, 17.5 units down). Exit is at x 924 and is never pressed.
modes=(68 180 297 425)               # Feed, Touch, ZoomIn, ZoomOut
dialogs=("548:^Fish Settings - Plovi 1.0$" "670:^Custom Music - Plovi 1.0$" "802:^Custom Background - Plovi 1.0$")
bar_y=35
tank_top=80

# Escape only while the dialog has the keyboard: anywhere else it would end
# the aquarium.
close_dialog() {  # window id
  local attempt
  for attempt in 1 2 3 4 5; do
    xdotool windowfocus --sync "$1" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && xdotool key Escape
    sleep 0.5
    xdotool search --onlyvisible --name "$2" >/dev/null 2>&1 || return 0
  done
  echo "soak: a dialog ($2) did not close" >&2
  return 1
}

drive() {
  local round=0 mode x y i entry id
  while alive; do
    round=$((round + 1))
    mode=${modes[$((RANDOM % ${#modes[@]}))]}
    xdotool mousemove "$mode" $bar_y click 1
    echo mode >>"$work/actions"
    for i in 1 2 3 4 5 6 7 8 9 10; do
      x=$((RANDOM % width)) y=$((tank_top + RANDOM % (height - tank_top)))
      # Held for a frame or two: a zoom pick only happens while the button is down.
      xdotool mousemove "$x" "$y" mousedown 1 sleep 0.05 mouseup 1
      echo click >>"$work/actions"
      sleep 0.15
    done
    if [ $((round % 3)) -eq 0 ]; then
      entry=${dialogs[$((RANDOM % ${#dialogs[@]}))]}
      xdotool mousemove "${entry%%:*}" $bar_y click 1
      if id=$(window_named "${entry#*:}" 10); then
        echo opened >>"$work/actions"
        sleep 1
        close_dialog "$id" "${entry#*:}" && echo closed >>"$work/actions"
      else
        echo "soak: the dialog ${entry#*:} did not open" >&2
      fi
    fi
  done
}
drive 2>>"$work/driver" &
driver=$!

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$app/status" 2>/dev/null; }
counted() { awk '/^fps: / { n += $2 } END { printf "%d", n }' "$err"; }

echo "# $binary, ${width}x${height}, $frames frames, sanitizer build: $sanitized"
echo "# seconds  rss_kb  frames"
start=$SECONDS
first="" minute2="" last="" died=no
while true; do
  if ! alive; then died=yes; break; fi
  now=$(rss)
  done_frames=$(counted)
  elapsed=$((SECONDS - start))
  printf '%8d  %7s  %6d\n' "$elapsed" "$now" "$done_frames"
  [ -z "$first" ] && first=$now
  [ -z "$minute2" ] && [ $elapsed -ge 120 ] && minute2=$now
  last=$now
  [ "$done_frames" -ge "$frames" ] && break
  sleep 10
done

kill "$driver" 2>/dev/null
wait "$driver" 2>/dev/null
driver=""
code=""
if [ $died = no ]; then
  kill -TERM "$app"
  # A sanitizer build takes a while over its leak check.
  asked=$SECONDS
  for i in $(seq 600); do
    alive || break
    if [ $i = 100 ] && command -v gdb >/dev/null; then
      echo "# still running 10 s after SIGTERM; where it stands:"
      gdb -p "$app" -batch -ex "thread apply all bt 20" 2>/dev/null | grep -E '^(#|Thread)'
    fi
    sleep 0.1
  done
  echo "# ended $((SECONDS - asked)) s after SIGTERM"
  if alive; then
    echo "soak: still running 60 s after SIGTERM" >&2
  else
    wait "$app"
    code=$?
  fi
else
  wait "$app"
  code=$?
fi
app_ended=$app
app=""

status=0
echo "# rss_kb at the start: ${first:-?}, at minute 2: ${minute2:-n/a}, at the end: ${last:-?}"
if [ -n "$minute2" ] && [ -n "$last" ]; then
  change=$((last - minute2))
  if [ $sanitized = yes ]; then
    # The sanitizer holds freed blocks in its quarantine (256 MB by default),
    # so resident memory climbs by design; its leak check is the verdict.
    echo "# change from minute 2 to the end: $change kB (not judged: sanitizer quarantine)"
  else
    echo "# change from minute 2 to the end: $change kB (limit $limit_kb kB)"
    [ $change -gt $limit_kb ] && status=1
  fi
else
  echo "# the run was shorter than 2 minutes: no change measured"
fi
awk '/^fps: / { n++; if (n > 2) { s += $2; if (min == "" || $2 < min) min = $2 } }
     END { if (n > 2) printf "# frames: about %d; frame rate min %.1f, mean %.1f (the first 2 s left out)\n", t, min, s / (n - 2) }
     /^fps: / { t += $2 }' "$err"
if [ $died = yes ]; then
  echo "# the program died during the run (exit status $code)"
  status=1
elif [ "$code" != 0 ]; then
  echo "# the program did not end cleanly after SIGTERM (exit status ${code:-none})"
  status=1
fi
other=$(grep -v -e '^fps: ' -e '^first frame: ' "$err")
if [ -n "$other" ]; then
  echo "# the program's other output on standard error:"
  echo "$other" | head -200
  [ "$(echo "$other" | wc -l)" -gt 200 ] && echo "# ... ($(echo "$other" | wc -l) lines in all)"
else
  echo "# no other output on standard error"
fi
if grep -q -E 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$err"; then
  echo "# a sanitizer reported a fault"
  status=1
fi
count() { grep -c "^$1\$" "$work/actions" 2>/dev/null; }
echo "# input: $(count click) clicks in the tank, $(count mode) mode buttons, $(count opened) dialogs opened, $(count closed) closed"
[ -s "$work/driver" ] && { echo "# the input driver said:"; cat "$work/driver"; }
echo "# pid $app_ended, exit status ${code:-none}, result: $([ $status = 0 ] && echo flat || echo FAILED)"
exit $status
