#!/usr/bin/env bash
# Time from start until the editor window (`trelik --editor`) is mapped, and until it is drawn,
# with 300 listed templates whose file types are missing, as in a library restored from a backup,
# against the same with one template; the editor's first showing registers the missing types, and
# a window left blank while it does shows only when drawn. Every round starts from a
# library whose types are missing again: on Linux a fresh copy of a prepared home, under Wine the
# same folder after the types were deleted from the prefix's registry. Rounds are interleaved,
# the first one is not counted. Usage: bench/editor_start_time.sh (after `cmake --preset linux`,
# and `cmake --preset windows` for PRESET=windows; ROUNDS=N changes the number of counted rounds;
# TRELIK names another build's program, e.g. one built before a change, trelik.exe for Windows).
set -u
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"
preset=${PRESET:-linux}
build_helpers linux
[ "$preset" = windows ] && build_helpers windows
timer=$repo/build/linux/bench/map_timer
[ -x "$timer" ] || { echo "map_timer is not built: install libx11-dev and libxdamage-dev and configure again" >&2; exit 2; }
start_display
export QT_QPA_PLATFORM=xcb
counts=(1 300)

template_names() {
  echo Web
  for ((i = 1; i < $1; i++)); do echo "Site $i"; done
}

if [ "$preset" = windows ]; then
  # One program folder per count, each with its library; the prefix's registry is shared.
  build=$repo/build/windows
  timeout 120 "$build/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null ||
    { echo "the Wine prefix of $build could not be prepared" >&2; exit 2; }
  for n in "${counts[@]}"; do
    app=$scratch/wine-$n
    mkdir -p "$app/projects"
    cp "${TRELIK:-$build/src/app/trelik.exe}" "$app/trelik.exe"
    template_names "$n" | while read -r name; do
      mkdir -p "$app/projects/$name/images"
      printf '<title>New site</title>\r\n' >"$app/projects/$name/index.htm"
      printf '%s\r\n' "$name" >>"$app/projects.lib"
    done
  done
  # Deleting the types through one regedit run: the program's own --unregister-all may answer
  # in a window.
  {
    echo REGEDIT4
    for key in .trelik Trelik; do echo "[-HKEY_CURRENT_USER\\Software\\Classes\\$key]"; done
    template_names 300 | while read -r name; do
      echo "[-HKEY_CURRENT_USER\\Software\\Classes\\.trelik_$name]"
      echo "[-HKEY_CURRENT_USER\\Software\\Classes\\trelik_$name]"
    done
  } >"$scratch/forget.reg"
  forget_types() {
    timeout 120 "$build/wine-run" regedit /s "Z:${scratch//\//\\}\\forget.reg" >/dev/null 2>&1 </dev/null
  }
  start_editor() {
    forget_types
    "$timer" --title "Trelik Editor" --timeout 120 --painted -- \
      "$build/wine-run" "$scratch/wine-$1/trelik.exe" --editor
  }
else
  for n in "${counts[@]}"; do
    mkdir -p "$scratch/pristine-$n"
    (HOME=$scratch/pristine-$n XDG_DATA_HOME=$scratch/pristine-$n/.local/share \
      XDG_CONFIG_HOME=$scratch/pristine-$n/.config timeout 300 "$repo/build/linux/bench/template_setup" \
      "$repo/build/linux/src/app/trelik" "$n" --types-missing) ||
      { echo "setting up $n templates failed" >&2; exit 2; }
  done
  start_editor() {
    local home=$scratch/round-$round-$1
    cp -a "$scratch/pristine-$1" "$home"
    HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config \
      "$timer" --title "Trelik Editor" --timeout 120 --painted -- "${TRELIK:-$repo/build/linux/src/app/trelik}" --editor
  }
fi

declare -A ms painted
run() {
  local out
  out=$(start_editor "$1") || { echo "  round $round: the editor with $1 template(s) did not show (see above)" >&2; return; }
  ms[$1]+=" $(field window_ms <<<"$out")"
  painted[$1]+=" $(field painted_ms <<<"$out")"
}

for round in $(seq 0 "$rounds"); do
  if [ $((round % 2)) = 0 ]; then run 1; run 300; else run 300; run 1; fi
  [ "$round" = 0 ] && ms=() && painted=()
done

echo "Time from start to the mapped editor window (ms), $preset build, file types of the listed templates missing"
load_note
header "library"
for n in "${counts[@]}"; do
  row "$n listed template(s), mapped" '%10.1f' ${ms[$n]}
  row "$n listed template(s), drawn" '%10.1f' ${painted[$n]}
done
header "ratio, pair by pair"
ratio_row "300 templates / 1 template, mapped" '<= 1.20x' ${ms[300]} -- ${ms[1]}
ratio_row "300 templates / 1 template, drawn" '<= 1.20x' ${painted[300]} -- ${painted[1]}
