#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up and memory with ten large saved background photos, against none.
#
#   bench/background_photos.sh [plovi binary] [display number] [seconds per run] [WxH]
#
# Writes ten 6000 x 4000 JPEG photos, then runs the aquarium on a private
# virtual screen twice each way: with no saved pictures, and with the ten
# listed in "Custom Images" and the own-image box ticked. Prints the time to
# the first frame, the frame rate while the photos are decoded (the first
# seconds, the work an Add does for each) and after, and the resident and
# peak memory at the end of the run.
set -euo pipefail
plovi=${1:-build/plovi}
display=${2:-453}
seconds=${3:-20}
size=${4:-1680x1050}
work=$(mktemp -d)
trap 'kill $x_pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/rt" "$work/photos" && chmod 700 "$work/rt"
export XDG_RUNTIME_DIR=$work/rt HOME=$work DISPLAY=:$display
for i in 0 1 2 3 4 5 6 7 8 9; do
    convert -size 6000x4000 "gradient:hsb($((i * 36)),80%,90%)-hsb($((i * 36 + 120)),60%,40%)" \
        -quality 90 "$work/photos/photo$i.jpg"
done
Xvfb :$display -screen 0 ${size}x24 -noreset >/dev/null 2>&1 &
x_pid=$!
sleep 2

run() {  # run NAME SETTINGS
    local cfg=$work/cfg-$1
    mkdir -p "$cfg/plovi"
    printf '%b' "$2" > "$cfg/plovi/PloviSet.ini"
    XDG_CONFIG_HOME=$cfg "$plovi" --fps 2> "$work/err" &
    local pid=$!
    sleep "$seconds"
    local rss hwm
    rss=$(awk '/^VmRSS/ {print int($2 / 1024)}' /proc/$pid/status)
    hwm=$(awk '/^VmHWM/ {print int($2 / 1024)}' /proc/$pid/status)
    kill $pid && wait $pid 2>/dev/null || true
    local first
    first=$(sed -n 's/^first frame: \([0-9]*\) ms.*/\1/p' "$work/err")
    grep '^fps:' "$work/err" | awk -v name="$1" -v first="$first" -v rss="$rss" -v hwm="$hwm" '
        NR <= 5 {a += $2; na++} NR > 5 {b += $2; nb++}
        END {printf "%-12s first frame %5d ms  fps first 5 s %5.1f, after %5.1f  RSS %4d MB (peak %4d MB)\n",
                    name, first, na ? a / na : 0, nb ? b / nb : 0, rss, hwm}'
}
list="[Custom Images]\nOwnImage=1\nCycImage=1\nImageTime=1\nImageSum=10\n"
for i in 0 1 2 3 4 5 6 7 8 9; do list+="ImageList$i=$work/photos/photo$i.jpg\n"; done
for round in 1 2; do
    run none ""
    run ten-photos "$list"
done
