#!/usr/bin/env bash
# Time to copy a template folder with the shell operations of a build (what Trelik runs when it
# creates a project, its copy flushed to the disk before it is moved into place) against `cp -r`,
# and against `cp -r` followed by `sync -f` (a copy as sure to survive a power cut), on the same
# file system, for 200, 2,000 and 20,000 small files and for a few large ones. Every copy goes
# into a fresh folder and nothing is deleted until the end: on ext4, creating files right after
# deleting thousands is many times slower. PRESET=windows times the Windows build under Wine
# (the first round, not counted, warms the prefix up); BEFORE names another build's
# folder_copy_bench of that preset (e.g. one built before a change), timed in the same rounds.
# Copies are spaced by a second, after a sync, and sizes by a longer pause. Usage:
# bench/copy_time.sh (after `cmake --preset linux` or windows; ROUNDS=N changes the number of rounds, SIZES
# the sizes, e.g. SIZES="2000 large"). Creating files stays slow for up to five minutes after many
# were deleted on the file system (the end of an earlier run included): both sides pay, but
# wide min-max spreads then say so. TMPDIR picks the file system.
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
preset=${PRESET:-linux}
build_helpers "$preset"
if [ "$preset" = windows ]; then
  runner=("$repo/build/windows/wine-run")
  copier=$repo/build/windows/bench/folder_copy_bench.exe
  as_path() { local path=${1//\//\\}; echo "Z:$path"; }
else
  runner=()
  copier=$repo/build/linux/bench/folder_copy_bench
  as_path() { echo "$1"; }
fi
hows=(trelik cp cp-sync)
[ -n "${BEFORE:-}" ] && hows+=(before)
sources=$scratch/sources
copies=$scratch/copies

# A folder of `count` files of 1 to 4 KiB, 100 to a subfolder, as a web template has.
small_tree() {
  local root="$sources/$1/Template" i
  for ((i = 0; i < $1; i++)); do
    [ $((i % 100)) = 0 ] && mkdir -p "$root/part$((i / 100))"
    head -c $((1024 * (1 + i % 4))) /dev/zero >"$root/part$((i / 100))/file$i.htm"
  done
}
large_tree() {
  local root="$sources/large/Template" i
  mkdir -p "$root"
  for i in 1 2 3 4; do head -c $((32 * 1024 * 1024)) /dev/urandom >"$root/video$i.bin"; done
}

# Seconds one copy took, whole process; the destination folder is made beforehand.
copy_once() {
  local how=$1 size=$2 round=$3 destination start
  destination="$copies/$size/$how-$round"
  mkdir -p "$destination"
  timeout 60 sync
  sleep 1
  start=$EPOCHREALTIME
  case $how in
    trelik | before)
      timeout 120 "${runner[@]}" "$([ "$how" = trelik ] && echo "$copier" || echo "$BEFORE")" \
        "$(as_path "$sources/$size/Template")" "$(as_path "$destination")" ;;
    cp) timeout 120 cp -r "$sources/$size/Template" "$destination/" ;;
    cp-sync) timeout 120 cp -r "$sources/$size/Template" "$destination/" &&
      timeout 120 sync -f "$destination" ;;
  esac || { echo "  $how, $size, round $round: the copy failed" >&2; return; }
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", (b - a) * 1000 }'
}

read -ra sizes <<<"${SIZES:-200 2000 20000 large}"
echo "Preparing the source folders ..." >&2
for size in "${sizes[@]}"; do
  if [ "$size" = large ]; then large_tree; else small_tree "$size"; fi
done
timeout 60 sync

declare -A ms
for size in "${sizes[@]}"; do
  sleep 5
  for round in $(seq 0 "$rounds"); do
    # Each round starts with another of them, so that none always runs first.
    shift_by=$((round % ${#hows[@]}))
    for how in "${hows[@]:shift_by}" "${hows[@]:0:shift_by}"; do
      figure=$(copy_once "$how" "$size" "$round")
      # The first round of each size warms the caches up and is not counted.
      [ "$round" != 0 ] && [ -n "$figure" ] && ms[$how-$size]+=" $figure"
    done
  done
  expected=$(find "$sources/$size/Template" | wc -l)
  got=$(find "$copies/$size/trelik-0/Template" 2>/dev/null | wc -l)
  [ "$expected" = "$got" ] || echo "  $size: the Trelik copy holds $got entries, the source $expected" >&2
done

echo "Time to copy a template folder (ms), $preset shell operations against cp -r${BEFORE:+ and $BEFORE}, whole processes"
load_note
echo "file system: $(findmnt -n -o FSTYPE,OPTIONS -T "$scratch" | cut -c1-60)"
header "copy"
for size in "${sizes[@]}"; do
  label=$([ "$size" = large ] && echo "4 files of 32 MiB" || echo "$size small files")
  row "cp -r, $label" '%10.1f' ${ms[cp-$size]}
  row "cp -r and sync -f, $label" '%10.1f' ${ms[cp-sync-$size]}
  row "Trelik, $label" '%10.1f' ${ms[trelik-$size]}
  [ -n "${BEFORE:-}" ] && row "before, $label" '%10.1f' ${ms[before-$size]}
done
header "ratio, pair by pair"
for size in "${sizes[@]}"; do
  target='(none)'
  case $size in 2000 | 20000) target='<= 1.00x (median)' ;; esac
  ratio_row "Trelik / cp -r, $size" "$target" ${ms[trelik-$size]} -- ${ms[cp-$size]}
  ratio_row "Trelik / cp -r and sync -f, $size" '(none)' ${ms[trelik-$size]} -- ${ms[cp-sync-$size]}
  [ -n "${BEFORE:-}" ] && ratio_row "Trelik / before, $size" '(none)' ${ms[trelik-$size]} -- ${ms[before-$size]}
done
