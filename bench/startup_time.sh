#!/usr/bin/env bash
# Time from start to the mapped main window of the Linux program, started on a launcher file
# with 1, 20 and 200 templates registered in a private home, against a minimal Qt dialog built
# in the same tree; all on one private Xvfb display (Qt's xcb platform, no window manager).
# Rounds are interleaved, in an order that turns each round. Usage: bench/startup_time.sh
# (after `cmake --preset linux`; ROUNDS=N changes the number of counted rounds, TRELIK names
# another build's program, BEFORE one to time in the same rounds, e.g. one built before a change).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
build_helpers linux
bin=$repo/build/linux
timer=$bin/bench/map_timer
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
export QT_QPA_PLATFORM=xcb

counts=(1 20 200)
make_home 1
make_home 20
make_home 200

declare -A ms
programs=(qt t1 t20 t200)
[ -n "${BEFORE:-}" ] && programs+=(before1 before20 before200)
run() {
  local program=$1 out
  case $program in
    qt) out=$(in_home 1 "$timer" --title "Minimal Qt dialog" -- "$bin/bench/minimal_qt_dialog") ;;
    t*) out=$(in_home "${program#t}" "$timer" -- "${TRELIK:-$bin/src/app/trelik}" "$(launcher "${program#t}")") ;;
    before*) out=$(in_home "${program#before}" "$timer" -- "$BEFORE" "$(launcher "${program#before}")") ;;
  esac || { echo "  round $round: $program did not show its window (see above)" >&2; return; }
  ms[$program]+=" $(field window_ms <<<"$out")"
}

for round in $(seq 0 "$rounds"); do
  for ((i = 0; i < ${#programs[@]}; i++)); do run "${programs[$(((round + i) % ${#programs[@]}))]}"; done
  # The first round warms the caches up and is not counted.
  [ "$round" = 0 ] && ms=()
done

echo "Time from start to the mapped main window (ms), Linux build, Qt xcb on Xvfb"
load_note
header "program"
row "minimal Qt dialog (line edit + button)" '%10.1f' ${ms[qt]}
for n in "${counts[@]}"; do
  row "Trelik on a launcher, $n template(s)" '%10.1f' ${ms[t$n]}
done
header "ratio, pair by pair"
for n in "${counts[@]}"; do
  ratio_row "Trelik ($n) / minimal Qt dialog" '<= 1.05x' ${ms[t$n]} -- ${ms[qt]}
done
ratio_row "Trelik, 200 templates / 1 template" '<= 1.05x' ${ms[t200]} -- ${ms[t1]}
[ -n "${BEFORE:-}" ] || exit 0
before_rows Trelik qt 'minimal Qt dialog' '<= 1.05x'
