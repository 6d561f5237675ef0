#!/usr/bin/env bash
# Prints how long the Linux program takes from its start to a visible main window, desktop
# files included, on a private X display with a fresh home. Usage: startup_time.sh <trelik>
set -eu
trelik=$1
work=$(mktemp -d /tmp/trelik-bench.XXXXXX)
export HOME="$work" XDG_DATA_HOME="$work/.local/share" XDG_CONFIG_HOME="$work/.config"
for n in $(seq 150 199); do
  [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.05; done
trap 'kill $xvfb; rm -rf "$work"' EXIT

for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$trelik" >/dev/null 2>&1 &
  pid=$!
  until window=$(xdotool search --onlyvisible --name '^ Trelik$' 2>/dev/null); do sleep 0.005; done
  end=$(date +%s%N)
  printf 'start to visible main window, run %d: %4d ms\n' "$run" $(((end - start) / 1000000))
  xdotool windowclose "$window" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
