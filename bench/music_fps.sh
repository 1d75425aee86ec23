#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The aquarium's frame rate with and without music, measured back to back on
# a private virtual screen and a private PulseAudio null sink.
#
#   bench/music_fps.sh [plovi binary] [display number] [seconds per run]
#
# Runs, in turn: the built-in tune (no list), the user's list playing (a WAV
# and an MP3 in Repeat All), and no sound server at all; each twice. Prints
# the mean of the "fps:" lines after the first two seconds of each run.
set -euo pipefail
plovi=${1:-build/plovi}
display=${2:-125}
seconds=${3:-12}
work=$(mktemp -d)
trap 'kill $pa_pid $x_pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/rt" "$work/tracks" && chmod 700 "$work/rt"
export XDG_RUNTIME_DIR=$work/rt HOME=$work DISPLAY=:$display
sox -n -r 44100 -c 2 "$work/tracks/a.wav" synth 30 sine 440 vol 0.3
sox -n -r 44100 -c 2 "$work/tracks/b.wav" synth 30 sine 550 vol 0.3
lame --quiet "$work/tracks/b.wav" "$work/tracks/b.mp3"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
    -L module-null-sink -L module-native-protocol-unix --log-level=error &
pa_pid=$!
Xvfb :$display -screen 0 1680x1050x24 >/dev/null 2>&1 &
x_pid=$!
sleep 2

run() {  # run NAME SETTINGS PULSE_SERVER
    local cfg=$work/cfg-$1
    mkdir -p "$cfg/plovi"
    printf '%b' "$2" > "$cfg/plovi/PloviSet.ini"
    XDG_CONFIG_HOME=$cfg PULSE_SERVER=$3 timeout "$seconds" "$plovi" --fps 2> "$work/err" || true
    grep '^fps:' "$work/err" | tail -n +3 |
        awk -v name="$1" '{s += $2; n++} END {if (n) printf "%-22s %5.1f fps over %d s\n", name, s / n, n}'
}
list="[Custom Settings]\nOwnMusic=1\nCycMusic=1\nMusicSum=2\nMusicList0=$work/tracks/a.wav\nMusicList1=$work/tracks/b.mp3\n"
server=unix:$work/rt/pulse/native
for round in 1 2; do
    run built-in-tune "" "$server"
    run own-list-playing "$list" "$server"
    run no-sound-server "$list" "unix:$work/none"
done
