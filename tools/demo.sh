#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the aquarium on a virtual X server for about ten seconds and saves a
# screenshot: what `make run` does where there is no display.
# Usage: demo.sh <plovi binary> <screenshot.png> [seconds]
set -euo pipefail
binary=$1
shot=$2
seconds=${3:-10}

display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "demo: no free X display number" >&2; exit 1; }

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
runtime=$(mktemp -d)
chmod 700 "$runtime"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

echo "No display: running the aquarium on a virtual screen ($display, 1920x1080) for ${seconds} s..."
DISPLAY=$display XDG_RUNTIME_DIR=$runtime "$binary" --fps &
app=$!
sleep "$seconds"
DISPLAY=$display import -window root "$shot"
echo "Screenshot saved to $shot"
