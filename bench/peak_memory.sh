#!/usr/bin/env bash
# Peak resident memory (VmHWM, what `/usr/bin/time -v` calls maximum resident set size) of the
# program from its start until it has shown its main window and been idle for a second, against
# the minimal program of the same toolkit: the Linux build against a minimal Qt dialog, and,
# when the windows preset is configured, trelik.exe under Wine against a minimal Win32 window
# (Wine's loader process, which holds the program). Usage: bench/peak_memory.sh (after
# `cmake --preset linux`; ROUNDS=N changes the number of counted rounds).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
build_helpers linux
timer=$repo/build/linux/bench/map_timer
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
export QT_QPA_PLATFORM=xcb
make_home 1
with_wine=0
if [ -f "$repo/build/windows/CMakeCache.txt" ]; then
  build_helpers windows
  prepare_wine
  with_wine=1
fi

declare -A kib
settled() { "$timer" --settle 1000 "$@"; }
run() {
  local out
  case $1 in
    qt) out=$(in_home 1 settled --title "Minimal Qt dialog" -- "$repo/build/linux/bench/minimal_qt_dialog") ;;
    trelik) out=$(in_home 1 settled -- "$repo/build/linux/src/app/trelik" "$(launcher 1)") ;;
    win32) out=$(settled --title "Minimal Win32 window" -- "${wine_minimal[@]}") ;;
    wine_trelik) out=$(settled -- "${wine_trelik[@]}") ;;
  esac || { echo "  round $round: $1 did not show its window (see above)" >&2; return; }
  kib[$1]+=" $(field peak_kib <<<"$out")"
}

programs=(qt trelik)
[ $with_wine = 1 ] && programs+=(win32 wine_trelik)
for round in $(seq 0 "$rounds"); do
  # Each program and its baseline in turn, the baseline first in every other round.
  for ((i = 0; i < ${#programs[@]}; i += 2)); do
    if [ $((round % 2)) = 0 ]; then run "${programs[i]}"; run "${programs[i + 1]}"
    else run "${programs[i + 1]}"; run "${programs[i]}"; fi
  done
  # The first round warms the caches up and is not counted.
  [ "$round" = 0 ] && kib=()
done

echo "Peak resident memory (KiB) from start to one second after the main window was mapped"
load_note
header "program"
row "minimal Qt dialog (line edit + button)" '%10.0f' ${kib[qt]}
row "Trelik (Linux) on a launcher, 1 template" '%10.0f' ${kib[trelik]}
if [ $with_wine = 1 ]; then
  row "minimal Win32 window under Wine" '%10.0f' ${kib[win32]}
  row "trelik.exe under Wine on a launcher" '%10.0f' ${kib[wine_trelik]}
fi
header "ratio, pair by pair"
ratio_row "Trelik / minimal Qt dialog" '<= 1.05x' ${kib[trelik]} -- ${kib[qt]}
if [ $with_wine = 1 ]; then
  ratio_row "trelik.exe / minimal Win32 window" '<= 1.05x' ${kib[wine_trelik]} -- ${kib[win32]}
else
  echo "(the windows preset is not configured: no figures under Wine)"
fi
