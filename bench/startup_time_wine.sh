#!/usr/bin/env bash
# Time from start to the mapped main window of the Windows build under Wine, started on a
# launcher file with 1, 20 and 200 templates in its library (registered by the program's own
# code), against a minimal Win32 window (edit + button) built with the same toolchain; all run
# through the build's own runner (build/windows/wine-run) in its Wine prefix, on one private
# Xvfb display. Rounds are interleaved, in an order that turns each round. Usage:
# bench/startup_time_wine.sh (after `cmake --preset linux` for the window timer and
# `cmake --preset windows`; ROUNDS=N changes the number of counted rounds, TRELIK names another
# build's trelik.exe, BEFORE one to time in the same rounds, e.g. one built before a change).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
build_helpers linux
build_helpers windows
timer=$repo/build/linux/bench/map_timer
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
counts=(1 20 200)
prepare_wine "${counts[@]}"

declare -A ms
programs=(minimal t1 t20 t200)
[ -n "${BEFORE:-}" ] && programs+=(before1 before20 before200)
run() {
  local program=$1 out
  case $program in
    minimal) out=$("$timer" --title "Minimal Win32 window" -- "${wine_minimal[@]}") ;;
    t*) use_wine_library "${program#t}"; out=$("$timer" -- "${wine_trelik[@]}") ;;
    before*) use_wine_library "$program"; out=$("$timer" -- "${wine_trelik[@]}") ;;
  esac || { echo "  round $round: $program did not show its window (see above)" >&2; return; }
  ms[$program]+=" $(field window_ms <<<"$out")"
}

for round in $(seq 0 "$rounds"); do
  for ((i = 0; i < ${#programs[@]}; i++)); do run "${programs[$(((round + i) % ${#programs[@]}))]}"; done
  # The first round warms the caches up and is not counted.
  [ "$round" = 0 ] && ms=()
done

echo "Time from start to the mapped main window (ms), Windows build under Wine $(wine_version)"
load_note
header "program"
row "minimal Win32 window (edit + button)" '%10.1f' ${ms[minimal]}
for n in "${counts[@]}"; do
  row "trelik.exe on a launcher, $n template(s)" '%10.1f' ${ms[t$n]}
done
header "ratio, pair by pair"
for n in "${counts[@]}"; do
  ratio_row "trelik.exe ($n) / minimal Win32 window" '<= 1.25x' ${ms[t$n]} -- ${ms[minimal]}
done
ratio_row "trelik.exe, 200 templates / 1 template" '<= 1.05x' ${ms[t200]} -- ${ms[t1]}
[ -n "${BEFORE:-}" ] || exit 0
before_rows trelik.exe minimal 'minimal Win32 window' '<= 1.25x'
