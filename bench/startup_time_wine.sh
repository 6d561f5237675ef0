#!/usr/bin/env bash
# Time from start to the mapped main window of the Windows build under Wine, started on a
# launcher file, against a minimal Win32 window (edit + button) built with the same toolchain;
# both run through the build's own runner (build/windows/wine-run) in its Wine prefix, on one
# private Xvfb display. Usage: bench/startup_time_wine.sh (after `cmake --preset linux` for the
# window timer and `cmake --preset windows`; ROUNDS=N changes the number of counted rounds).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
build_helpers linux
build_helpers windows
timer=$repo/build/linux/bench/map_timer
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
prepare_wine

declare -A ms
run() {
  local out
  case $1 in
    minimal) out=$("$timer" --title "Minimal Win32 window" -- "${wine_minimal[@]}") ;;
    trelik) out=$("$timer" -- "${wine_trelik[@]}") ;;
  esac || { echo "  round $round: $1 did not show its window (see above)" >&2; return; }
  ms[$1]+=" $(field window_ms <<<"$out")"
}

for round in $(seq 0 "$rounds"); do
  if [ $((round % 2)) = 0 ]; then run minimal; run trelik; else run trelik; run minimal; fi
  # The first round warms the caches up and is not counted.
  [ "$round" = 0 ] && ms=()
done

echo "Time from start to the mapped main window (ms), Windows build under Wine $(wine_version)"
load_note
header "program"
row "minimal Win32 window (edit + button)" '%10.1f' ${ms[minimal]}
row "trelik.exe on a launcher" '%10.1f' ${ms[trelik]}
header "ratio, pair by pair"
ratio_row "trelik.exe / minimal Win32 window" '<= 1.40x' ${ms[trelik]} -- ${ms[minimal]}
