#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CPU cost per frame of the real program: starts it on a virtual X server of
# the given size, lets the ripple fill up, then reads the process CPU time
# (user + system, all threads) and the frame rate it prints (--fps) over a
# fixed window. One line per scene, each with a private settings file:
#   default    20 fish and the rippling picture (the look a new user gets)
#   photo      20 fish and a 6000 x 4000 photo of the user's as the picture
#   nopicture  20 fish, no picture
#   picture    the rippling picture, no fish
#   empty      the backdrop alone
#   reference  a simpler GL sea-life scene of the same kind (the atlantis
#              screen hack in clear water, in a window of the same size,
#              20 ms apart), for a ratio that does not depend on the machine;
#              its frames are counted by bench/preload/swap_count.cpp, and
#              bench/preload/egl_over_glx.cpp makes it present through GLX
#              as the program does (through EGL, Mesa's software renderer
#              sends each frame over the socket and the hack pays for that)
#
# Usage: bench/frame_cost.sh [-b binary] [-d display] [-s WxH] [-w seconds]
#                            [-r repeats] [scene...]
# Defaults: build/plovi, display :170, 1920x1080, 10 s window, 1 repeat, all
# five scenes of the program and the reference. With -r N every scene is run N times in turn and each run gets
# its own line, so a busy machine shows up as spread rather than as a mean.
set -euo pipefail

binary=build/plovi
display=:170
size=1920x1080
window=10
repeats=1
warmup=4
while getopts "b:d:s:w:r:" opt; do
  case $opt in
    b) binary=$OPTARG ;;
    d) display=$OPTARG ;;
    s) size=$OPTARG ;;
    w) window=$OPTARG ;;
    r) repeats=$OPTARG ;;
    *) sed -n '2,18p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
scenes=("$@")
[ ${#scenes[@]} -gt 0 ] || scenes=(default photo nopicture picture empty reference)
[ -x "$binary" ] || { echo "frame_cost: no program at $binary" >&2; exit 1; }

work=$(mktemp -d)
chmod 700 "$work"
xvfb=""
app=""
count_kind=""
count_file=""
# The server is waited for: a run started right after this one reuses its
# display number, and a server still going away would take that run's
# program with it.
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; } || true
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] || break; sleep 0.1; done
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# settings FISH PICTURE [PHOTO]: a settings file with FISH fish of the first
# kinds (one each) and the picture switched on (1) or off (0); with PHOTO the
# user's own picture at that path is shown instead of the built-in one.
# "Show Terra" is forced on at every start; the picture goes off with a
# BACKGROUND other than 0.
settings() {
  local dir=$work/config/plovi
  mkdir -p "$dir"
  {
    echo "[Aquarium Settings]"
    echo "BACKGROUND=$((1 - $2))"
    echo "[Fish Number]"
    for i in $(seq 0 19); do echo "Fish$i=$([ "$i" -lt "$1" ] && echo 1 || echo 0)"; done
    if [ -n "${3:-}" ]; then
      echo "[Custom Images]"
      echo "OwnImage=1"
      echo "RepeatImage=1"
      echo "ImageSum=1"
      echo "ImageList0=$3"
    fi
  } > "$dir/PloviSet.ini"
}

# A 6000 x 4000 photo-like JPEG, made once per run of the script.
photo() {
  local path=$work/photo.jpg
  [ -e "$path" ] || convert -size 6000x4000 "gradient:hsb(200,80%,90%)-hsb(320,60%,40%)" \
    -quality 90 "$path"
  echo "$path"
}

reference_hack=/usr/libexec/xscreensaver/atlantis
swap_counter=$(dirname "$binary")/bench/swap_count.so
egl_over_glx=$(dirname "$binary")/bench/egl_over_glx.so

# Ticks (user + system, all threads, living and ended) of a process.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# start_program SCENE: starts the program of a scene in the background, with
# its pid in $app, and says in $count_kind and $count_file how to read its
# frame count: "fps" (the once-a-second rates the program prints to that
# file) or "swaps" (a running count kept in it).
start_program() {
  mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
  if [ "$1" = reference ]; then
    [ -x "$reference_hack" ] && [ -e "$swap_counter" ] && [ -e "$egl_over_glx" ] || {
      echo "frame_cost: reference needs $reference_hack (apt-get install xscreensaver-gl-extra), $swap_counter and $egl_over_glx" >&2; return 1; }
    # The counter comes first: its eglSwapBuffers counts, then passes on to
    # the GLX one.
    DISPLAY=$display SWAP_COUNT_FILE=$work/swaps LD_PRELOAD="$swap_counter:$egl_over_glx" \
      "$reference_hack" -geometry "$size+0+0" -delay 20000 --no-texture > /dev/null 2>&1 &
    app=$!
    count_kind=swaps count_file=$work/swaps
    return
  fi
  case $1 in
    default) settings 20 1 ;;
    photo) settings 20 1 "$(photo)" ;;
    nopicture) settings 20 0 ;;
    picture) settings 0 1 ;;
    empty) settings 0 0 ;;
    *) echo "frame_cost: unknown scene $1" >&2; return 1 ;;
  esac
  DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime \
    "$binary" --fps 2> "$work/fps.log" > /dev/null &
  app=$!
  count_kind=fps count_file=$work/fps.log
}

# frames_so_far KIND FILE: the frame count (swaps) or the lines printed (fps).
frames_so_far() {
  if [ "$1" = swaps ]; then tr -d ' ' < "$2" 2>/dev/null || echo 0; else wc -l < "$2"; fi
}

run_scene() {
  # A scene that cannot start is reported and skipped; the others still run.
  start_program "$1" || return 0
  local kind=$count_kind file=$count_file
  sleep "$warmup"
  local mark0 ticks0 xticks0 t0 mark1 ticks1 xticks1 t1
  mark0=$(frames_so_far "$kind" "$file")
  ticks0=$(cpu_ticks "$app"); xticks0=$(cpu_ticks "$xvfb"); t0=$(date +%s.%N)
  sleep "$window"
  ticks1=$(cpu_ticks "$app"); xticks1=$(cpu_ticks "$xvfb"); t1=$(date +%s.%N)
  mark1=$(frames_so_far "$kind" "$file")
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
  local fps
  if [ "$kind" = swaps ]; then
    fps=$(awk -v n="$((mark1 - mark0))" -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.1f", n / (t1 - t0) }')
  else
    # The mean of the once-a-second rates printed inside the window.
    fps=$(tail -n +"$((mark0 + 1))" "$file" | awk '/^fps:/ { s += $2; n++ } END { if (n) printf "%.1f", s / n; else print 0 }')
  fi
  awk -v scene="$1" -v fps="$fps" -v c="$((ticks1 - ticks0))" -v x="$((xticks1 - xticks0))" \
      -v t0="$t0" -v t1="$t1" -v hz="$(getconf CLK_TCK)" 'BEGIN {
    wall = t1 - t0; frames = fps * wall
    cpu = c / hz; xcpu = x / hz
    per = (frames > 0) ? 1000 * cpu / frames : 0
    xper = (frames > 0) ? 1000 * xcpu / frames : 0
    printf "%-10s %7.1f %9.1f %10.2f %11.1f\n", scene, fps, per, cpu / wall, xper
  }'
}

echo "$binary at $size, ${window} s window after ${warmup} s warm-up"
printf "%-10s %7s %9s %10s %11s\n" scene fps "ms CPU/f" cores "X ms CPU/f"
for _ in $(seq "$repeats"); do
  for scene in "${scenes[@]}"; do run_scene "$scene"; done
done | tee "$work/results"
# Each scene's mean cost over the reference's, from the same runs.
awk '{ sum[$1] += $3; n[$1]++ } END {
  if (!n["reference"]) exit
  ref = sum["reference"] / n["reference"]
  for (s in sum) if (s != "reference") printf "%-10s %.2f x reference\n", s, sum[s] / n[s] / ref
}' "$work/results"
