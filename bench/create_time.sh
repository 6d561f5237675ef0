#!/usr/bin/env bash
# Time from starting Trelik on a launcher to the project being there under its final name with
# its main file handed to the opener, for a template of 10, 2,000 and 20,000 small files, against
# `cp -r` of the same template followed by one start of the same opener (and, for the Windows
# build, `xcopy /e /i` under the same Wine followed by that start). The opener is a stub that
# writes down when it was started, which is where each timing ends; the template's main file is
# opened after creation. Linux: the program is started on a launcher in a fresh folder, the name
# is typed into its window and Enter pressed with xdotool, as a user would, on a private X display
# with a window manager; the time from Enter to the opening is printed too. Windows build
# (PRESET=windows): `trelik.exe --new Web --name Shop/ --in FOLDER --open` under the build's Wine,
# in a prefix of its own where the main file's type opens with the stub (opener_stub.exe). Every
# creation goes into a fresh folder and nothing is deleted until the end; each starts after a
# sync and a pause. Rounds are interleaved and the first one is not counted. Usage:
# bench/create_time.sh (after `cmake --preset linux`, and `cmake --preset windows` for
# PRESET=windows; ROUNDS=N changes the number of counted rounds, SIZES the sizes, e.g.
# SIZES="2000"; TRELIK names another build's program, BEFORE one to time in the same rounds, e.g.
# one built before a change; Linux only; TYPE_DELAY=MS types the name at MS milliseconds a key,
# as a person would, instead of at once).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
rounds=${ROUNDS:-5}
preset=${PRESET:-linux}
read -ra sizes <<<"${SIZES:-10 2000 20000}"
build_helpers linux
[ "$preset" = windows ] && build_helpers windows

# `count` files of 1 to 4 KiB in all, 100 to a subfolder, beside the main file index.htm.
fill_template() {
  local root=$1 count=$2 i
  mkdir -p "$root"
  printf '<title>New site</title>\r\n' >"$root/index.htm"
  for ((i = 1; i < count; i++)); do
    { [ $((i % 100)) = 0 ] || [ "$i" = 1 ]; } && mkdir -p "$root/part$((i / 100))"
    head -c $((1024 * (1 + i % 4))) /dev/zero >"$root/part$((i / 100))/file$i.htm"
  done
}
settings_text='[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n'

# The time the stub opener wrote down, once it has (bounded wait).
opened_at() {
  local file=$1
  for _ in $(seq 1 3000); do
    [ -s "$file" ] && { cut -d' ' -f1 "$file"; return; }
    sleep 0.01
  done
  return 1
}
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b - a) * 1000 }'; }

if [ "$preset" = windows ]; then
  build=$repo/build/windows
  # A prefix of the benchmark's own, so that the build's prefix keeps its file types.
  export WINE_RUN_PREFIX=$scratch/wineprefix
  runner=("$build/wine-run")
  stub=$scratch/stub/opener_stub.exe
  win() { local path=${1//\//\\}; echo "Z:$path"; }
  mkdir -p "$scratch/stub"
  cp "$build/bench/opener_stub.exe" "$stub"
  echo "Preparing a Wine prefix ..." >&2
  {
    echo REGEDIT4
    echo '[HKEY_CLASSES_ROOT\.htm]'
    echo '@="TrelikBenchPage"'
    echo '[HKEY_CLASSES_ROOT\TrelikBenchPage\shell\open\command]'
    printf '@="\\"%s\\" \\"%%1\\""\n' "$(win "$stub" | sed 's/\\/\\\\/g')"
  } >"$scratch/opener.reg"
  timeout 300 "${runner[@]}" regedit /s "$(win "$scratch/opener.reg")" >/dev/null 2>&1 </dev/null ||
    { echo "the Wine prefix could not be prepared" >&2; exit 2; }
  for size in "${sizes[@]}"; do
    app=$scratch/app-$size
    mkdir -p "$app"
    cp "${TRELIK:-$build/src/app/trelik.exe}" "$app/trelik.exe"
    fill_template "$app/projects/Web" "$size"
    printf 'Web\r\n' >"$app/projects.lib"
    printf %b "$settings_text" >"$app/trelik.ini"
  done
  template() { echo "$scratch/app-$1/projects/Web"; }
  hows=(trelik cp xcopy)
else
  timer_needs=(openbox xdotool)
  for tool in "${timer_needs[@]}"; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
  done
  start_display
  openbox >/dev/null 2>&1 &
  cleanup_pids+=($!)
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
  export QT_QPA_PLATFORM=xcb
  trelik=${TRELIK:-$repo/build/linux/src/app/trelik}
  # The stub opener, found through PATH as xdg-open is; it writes down the time it started.
  mkdir -p "$scratch/bin"
  stub=$scratch/bin/xdg-open
  printf '#!/bin/bash\nprintf "%%s %%s\\n" "$EPOCHREALTIME" "$1" >"$(dirname "$1")/../opened"\n' >"$stub"
  chmod +x "$stub"
  for size in "${sizes[@]}"; do
    mkdir -p "$scratch/home-$size/Desktop"
    in_home "$size" timeout 300 "$repo/build/linux/bench/template_setup" "$trelik" 1 ||
      { echo "setting up the template failed" >&2; exit 2; }
    data=$scratch/home-$size/.local/share/trelik
    rm -rf "$data/projects/Web"
    fill_template "$data/projects/Web" "$size"
    printf %b "$settings_text" >"$data/trelik.ini"
  done
  template() { echo "$scratch/home-$1/.local/share/trelik/projects/Web"; }
  hows=(trelik cp cp-sync)
  [ -n "${BEFORE:-}" ] && hows+=(before)
fi

# Starts the program $3 on a launcher in $1, types the name and presses Enter; prints the start
# and the time of the Enter.
create_in_window() {
  local folder=$1 size=$2 program=$3 start window pressed
  printf '\n' >"$folder/New.trelik_Web"
  start=$EPOCHREALTIME
  (cd "$folder" && HOME=$scratch/home-$size XDG_DATA_HOME=$scratch/home-$size/.local/share \
    XDG_CONFIG_HOME=$scratch/home-$size/.config PATH=$scratch/bin:$PATH \
    exec "$program" "$folder/New.trelik_Web") >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1 2000); do
    window=$(xdotool search --onlyvisible --name '^ Trelik$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.005
  done
  [ -n "$window" ] || { kill "$pid"; return 1; }
  xdotool windowactivate --sync "$window" 2>/dev/null
  for _ in $(seq 1 500); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
    sleep 0.005
  done
  # "Shop/" names the project's folder.
  xdotool type --delay "${TYPE_DELAY:-0}" Shop/
  pressed=$EPOCHREALTIME
  xdotool key Return
  wait "$pid"
  echo "$start $pressed"
}

declare -A ms
declare -A after_enter
create_once() {
  local how=$1 size=$2 round=$3 folder start at times
  folder=$scratch/out/$size/$how-$round/desk
  mkdir -p "$folder"
  timeout 60 sync
  sleep 1
  case $how in
    trelik | before)
      if [ "$preset" = windows ]; then
        start=$EPOCHREALTIME
        timeout 300 "${runner[@]}" "$scratch/app-$size/trelik.exe" --new Web --name Shop/ \
          --in "$(win "$folder")" --open >/dev/null 2>&1 </dev/null
      else
        local program=$trelik
        [ "$how" = before ] && program=$BEFORE
        times=$(create_in_window "$folder" "$size" "$program") ||
          { echo "  $how, $size, round $round: no window" >&2; return; }
        start=${times% *}
      fi ;;
    cp | cp-sync | xcopy)
      start=$EPOCHREALTIME
      case $how in
        cp) timeout 300 cp -r "$(template "$size")" "$folder/Shop" ;;
        cp-sync) timeout 300 cp -r "$(template "$size")" "$folder/Shop" && timeout 300 sync -f "$folder/Shop" ;;
        xcopy) timeout 300 "${runner[@]}" xcopy /e /i /q "$(win "$(template "$size")")" \
          "$(win "$folder/Shop")" >/dev/null 2>&1 </dev/null ;;
      esac
      if [ "$preset" = windows ]; then
        timeout 60 "${runner[@]}" "$stub" "$(win "$folder/Shop/index.htm")" >/dev/null 2>&1 </dev/null
      else
        "$stub" "$folder/Shop/index.htm"
      fi ;;
  esac
  at=$(opened_at "$folder/opened" 2>/dev/null) ||
    { echo "  $how, $size, round $round: the main file was not opened" >&2; return; }
  [ -d "$folder/Shop" ] || { echo "  $how, $size, round $round: no project" >&2; return; }
  [ "$round" = 0 ] && return
  ms[$how-$size]+=" $(ms_between "$start" "$at")"
  case $how in trelik | before) [ -n "${times:-}" ] && after_enter[$how-$size]+=" $(ms_between "${times#* }" "$at")" ;; esac
}

for size in "${sizes[@]}"; do
  for round in $(seq 0 "$rounds"); do
    shift_by=$((round % ${#hows[@]}))
    for how in "${hows[@]:shift_by}" "${hows[@]:0:shift_by}"; do create_once "$how" "$size" "$round"; done
  done
  expected=$(find "$(template "$size")" | wc -l)
  got=$(find "$scratch/out/$size/trelik-1/desk/Shop" 2>/dev/null | wc -l)
  [ "$expected" = "$got" ] || echo "  $size: the project holds $got entries, the template $expected" >&2
done

if [ "$preset" = windows ]; then
  echo "Time from starting trelik.exe --new ... --open to the main file handed to the opener (ms), under Wine $(wine_version)"
else
  echo "Time from starting Trelik on a launcher (name typed, Enter) to the main file handed to the opener (ms), linux build, typed at ${TYPE_DELAY:-0} ms a key"
fi
load_note
echo "file system: $(findmnt -n -o FSTYPE,OPTIONS -T "$scratch" | cut -c1-60)"
header "creation"
for size in "${sizes[@]}"; do
  row "cp -r + opener, $size files" '%10.1f' ${ms[cp-$size]}
  [ "$preset" = windows ] && row "xcopy /e /i + opener, $size files" '%10.1f' ${ms[xcopy-$size]}
  [ "$preset" = linux ] && row "cp -r + sync -f + opener, $size files" '%10.1f' ${ms[cp-sync-$size]}
  row "Trelik, $size files" '%10.1f' ${ms[trelik-$size]}
  [ "$preset" = linux ] && row "  of which from Enter on, $size files" '%10.1f' ${after_enter[trelik-$size]}
  [ -n "${BEFORE:-}" ] && row "BEFORE, $size files" '%10.1f' ${ms[before-$size]} &&
    row "  of which from Enter on, $size files" '%10.1f' ${after_enter[before-$size]}
done
header "ratio, pair by pair"
for size in "${sizes[@]}"; do
  target='(none)'
  [ "$preset" = linux ] && [ "$size" != 10 ] && target='<= 1.10x (median)'
  ratio_row "Trelik / cp -r + opener, $size" "$target" ${ms[trelik-$size]} -- ${ms[cp-$size]}
  [ "$preset" = windows ] && ratio_row "Trelik / xcopy + opener, $size" '(none)' ${ms[trelik-$size]} -- ${ms[xcopy-$size]}
  [ "$preset" = linux ] && ratio_row "Trelik from Enter / cp -r + opener, $size" '(none)' ${after_enter[trelik-$size]} -- ${ms[cp-$size]}
  [ -n "${BEFORE:-}" ] && ratio_row "BEFORE / cp -r + opener, $size" "$target" ${ms[before-$size]} -- ${ms[cp-$size]} &&
    ratio_row "Trelik / BEFORE, $size" '(none)' ${ms[trelik-$size]} -- ${ms[before-$size]}
done
