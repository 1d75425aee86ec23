#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the media corpus: damaged MP3, WAV and MPEG files for the music list.
#
#   tests/media/make_media_corpus.sh DIR COUNT
#
# Writes into DIR (created) the clean files the damage starts from, COUNT
# files mutated from them with zzuf (file i: clean file i mod 8, seed i, a
# ratio of bits flipped that cycles through three strengths), every tenth cut
# short instead (at a point that moves, from each clean file in turn), a
# damaged stream whose audio the player cannot find, and the fixed cases that once took the program down or
# stalled its list. DIR/manifest.tsv lists one file a line:
#   PATH <TAB> CASE <TAB> LENGTH_MS (of the clean file it came from)
# The same COUNT gives the same files, byte for byte, on the same tools.
set -euo pipefail
dir=${1:?directory}
count=${2:?count}
mkdir -p "$dir/clean"
cd "$dir"

quiet() { "$@" >/dev/null 2>&1; }
ff() { quiet ffmpeg -nostdin -y -loglevel error "$@" -fflags +bitexact -flags:v +bitexact -flags:a +bitexact; }
sine=(-f lavfi -i "sine=frequency=523:duration=0.6")
video=(-f lavfi -i "testsrc=size=64x48:rate=25:duration=0.6")

# The clean files: name, length in ms.
quiet sox -n -r 22050 -c 1 -b 16 clean/pcm16.wav synth 0.6 sine 440 vol 0.3
quiet sox -n -r 44100 -c 2 -b 8 clean/pcm8-stereo.wav synth 0.6 sine 660 vol 0.3
quiet sox -n -r 22050 -c 1 -e ima-adpcm clean/adpcm.wav synth 0.6 sine 550 vol 0.3
quiet lame --quiet -b 128 clean/pcm16.wav clean/cbr.mp3
quiet lame --quiet -V 4 clean/pcm8-stereo.wav clean/vbr.mp3
ff "${sine[@]}" "${video[@]}" -c:v mpeg1video -c:a ac3 -b:a 64k -f mpeg clean/ps-ac3.mpeg
ff "${sine[@]}" "${video[@]}" -c:v mpeg1video -c:a mp2 -b:a 64k -f mpeg clean/ps-mp2.mpeg
ff "${sine[@]}" -c:a ac3 -b:a 64k -f mpeg clean/audio-ac3.mpeg
cleans=(pcm16.wav pcm8-stereo.wav adpcm.wav cbr.mp3 vbr.mp3 ps-ac3.mpeg ps-mp2.mpeg audio-ac3.mpeg)
ratios=(0.0005 0.002 0.01)

: > manifest.tsv
entry() { printf '%s\t%s\t%s\n' "$dir/$1" "$2" "$3" >> manifest.tsv; }

for ((i = 0; i < count; i++)); do
    if ((i % 10 == 9)); then
        clean=${cleans[(i / 10) % ${#cleans[@]}]}
    else
        clean=${cleans[i % ${#cleans[@]}]}
    fi
    ext=${clean##*.}
    name=$(printf 'm%04d.%s' "$i" "$ext")
    if ((i % 10 == 9)); then
        # Cut short at a point that moves through the file.
        size=$(stat -c %s "clean/$clean")
        head -c $(((size * (i % 97 + 1)) / 98)) "clean/$clean" > "$name"
        entry "$name" "cut-${clean%.*}" 600
    else
        ratio=${ratios[i % 3]}
        zzuf -s "$i" -r "$ratio" < "clean/$clean" > "$name"
        entry "$name" "zzuf-${clean%.*}" 600
    fi
done

# Fixed cases: a damaged program stream with AC-3 audio (2 s) that made the
# system's AC-3 decoder corrupt its heap, and the three wave header faults.
ff -f lavfi -i "sine=frequency=440:duration=2" -f lavfi -i "testsrc=size=64x48:rate=25:duration=2" \
    -c:v mpeg1video -c:a ac3 -b:a 64k -f mpeg clean/ps-ac3-2s.mpeg
zzuf -s 17 -r 0.004 < clean/ps-ac3-2s.mpeg > fixed-ps-ac3-heap.mpeg
entry fixed-ps-ac3-heap.mpeg fixed-ps-ac3 2000
head -c 44 clean/pcm16.wav > fixed-wav-header-only.wav
entry fixed-wav-header-only.wav fixed-wav-header 600
cp clean/pcm16.wav fixed-wav-data-size-1.wav
printf '\x01\x00\x00\x00' | dd of=fixed-wav-data-size-1.wav bs=1 seek=40 conv=notrunc status=none
entry fixed-wav-data-size-1.wav fixed-wav-header 600
cp clean/pcm16.wav fixed-wav-block-align.wav
printf '\xff\xff' | dd of=fixed-wav-block-align.wav bs=1 seek=32 conv=notrunc status=none
entry fixed-wav-block-align.wav fixed-wav-header 600
# A program stream whose damage hides its audio: it played only its clock,
# silent and endless.
zzuf -s 293 -r 0.01 < clean/ps-ac3.mpeg > fixed-ps-no-audio.mpeg
entry fixed-ps-no-audio.mpeg fixed-ps-no-audio 600
# And the clean files themselves, which must play.
for clean in "${cleans[@]}"; do entry "clean/$clean" "clean" 600; done
