#!/usr/bin/env bash
# How the commands that go through the whole template library grow with its size: `trelik --list`
# (printed to /dev/null) and the editor's first showing (`trelik --editor` until its window is
# mapped and drawn, timed as bench/editor_start_time.sh does), with libraries of 1,000, 10,000
# and 100,000 templates, each registered as the editor registers them. It prints the time per
# template at each size and, pair by pair, the time per template against the smallest library's:
# 1.00x is linear growth. Rounds are interleaved, the first one is not counted. Usage:
# bench/library_size_time.sh (after `cmake --preset linux`; ROUNDS=N changes the number of
# counted rounds, SIZES the sizes, e.g. SIZES="1000 10000"; TRELIK names another build's program,
# e.g. one built before a change).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
rounds=${ROUNDS:-5}
build_helpers linux
timer=$repo/build/linux/bench/map_timer
trelik=${TRELIK:-$repo/build/linux/src/app/trelik}
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
export QT_QPA_PLATFORM=xcb
read -ra sizes <<<"${SIZES:-1000 10000 100000}"

for n in "${sizes[@]}"; do
  echo "Setting up a library of $n templates ..." >&2
  mkdir -p "$scratch/home-$n/Desktop"
  in_home "$n" timeout 1800 "$repo/build/linux/bench/template_setup" "$trelik" "$n" ||
    { echo "setting up $n templates failed" >&2; exit 2; }
done

declare -A list_ms editor_ms
measure() {
  local n=$1 start out lines
  start=$EPOCHREALTIME
  lines=$(in_home "$n" timeout 600 "$trelik" --list | wc -l)
  [ "$lines" = "$n" ] || { echo "  round $round: --list with $n templates printed $lines lines" >&2; return; }
  list_ms[$n]+=" $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", (b - a) * 1000 }')"
  out=$(in_home "$n" "$timer" --title "Trelik Editor" --timeout 600 --painted -- "$trelik" --editor) ||
    { echo "  round $round: the editor with $n templates did not show (see above)" >&2; return; }
  editor_ms[$n]+=" $(field painted_ms <<<"$out")"
}

for round in $(seq 0 "$rounds"); do
  # Each round starts with another size, so that none always runs first.
  shift_by=$((round % ${#sizes[@]}))
  for n in "${sizes[@]:shift_by}" "${sizes[@]:0:shift_by}"; do measure "$n"; done
  [ "$round" = 0 ] && list_ms=() && editor_ms=()
done

# The values of $2... divided by $1, for the time per template.
per_template() {
  local count=$1
  shift
  for value in "$@"; do awk -v v="$value" -v n="$count" 'BEGIN { printf "%.6f\n", v / n }'; done
}

echo "Time through the whole template library, linux build (ms per template; whole process)"
load_note
header "library"
for n in "${sizes[@]}"; do
  # shellcheck disable=SC2046,SC2086
  row "--list, $n templates" '%10.5f' $(per_template "$n" ${list_ms[$n]})
  # shellcheck disable=SC2046,SC2086
  row "editor drawn, $n templates" '%10.5f' $(per_template "$n" ${editor_ms[$n]})
done
header "time per template / at ${sizes[0]}, pair by pair"
for n in "${sizes[@]:1}"; do
  # shellcheck disable=SC2046,SC2086
  ratio_row "--list, $n / ${sizes[0]}" '<= 1.00x (linear)' \
    $(per_template "$n" ${list_ms[$n]}) -- $(per_template "${sizes[0]}" ${list_ms[${sizes[0]}]})
  # shellcheck disable=SC2046,SC2086
  ratio_row "editor drawn, $n / ${sizes[0]}" '<= 1.00x (linear)' \
    $(per_template "$n" ${editor_ms[$n]}) -- $(per_template "${sizes[0]}" ${editor_ms[${sizes[0]}]})
done
