#!/usr/bin/env bash
# The main window's "Help" link hands the shell the help file beside the program, whatever the
# current folder: trelik.exe runs from another folder, with a stand-in association for .chm
# files that records the path it is given instead of opening a help viewer.
# Usage: help_file_e2e.sh <wine-run> <trelik.exe> <trelik.chm> <client_area.exe> <screenshots>
set -u
wine_run=$1
trelik=$2
help_file=$3
client_area=$4
artifacts=$5
. "$(dirname "$0")/wine_session.sh"

# The default value of a registry key, or nothing.
registry_default() {
  "$wine_run" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}

set_registry_default() {
  "$wine_run" reg add "$1" /ve /d "$2" /f >/dev/null 2>&1 || fail "cannot write $1"
}

# The Wine prefix is shared with the other tests: the stand-in goes, and the machine-wide .chm
# type is given back, whatever happens.
cleanup() {
  "$wine_run" reg delete 'HKCU\Software\Classes\.chm' /f >/dev/null 2>&1
  "$wine_run" reg delete 'HKCU\Software\Classes\TrelikTestChm' /f >/dev/null 2>&1
  if [ -n "${machine_chm_type+set}" ]; then
    "$wine_run" reg delete 'HKCR\TrelikTestChm' /f >/dev/null 2>&1
    if [ -n "$machine_chm_type" ]; then
      "$wine_run" reg add 'HKCR\.chm' /ve /d "$machine_chm_type" /f >/dev/null 2>&1
    else
      "$wine_run" reg delete 'HKCR\.chm' /f >/dev/null 2>&1
    fi
  fi
}

start_session

# The program folder's name holds a blank, as "Program Files" does.
program="$work/Trelik Program"
elsewhere="$work/elsewhere"
mkdir -p "$program" "$elsewhere"
cp "$trelik" "$program/trelik.exe"
cp "$help_file" "$program/trelik.chm"
opened="$work/opened.txt"

# A per-user association, as a user's own help viewer would have.
stand_in="cmd /c echo \"%1\">$(windows_path "$opened")"
set_registry_default 'HKCU\Software\Classes\.chm' TrelikTestChm
set_registry_default 'HKCU\Software\Classes\TrelikTestChm\shell\open\command' "$stand_in"
# Windows looks file types up in HKEY_CLASSES_ROOT, which shows the per-user classes over the
# machine's. Wine 8 maps HKEY_CLASSES_ROOT onto the machine's classes alone, so the shell there
# would still start Wine's help viewer: the stand-in then takes the machine-wide .chm type too.
if [ "$(registry_default 'HKCR\.chm')" != TrelikTestChm ]; then
  machine_chm_type=$(registry_default 'HKCR\.chm')
  set_registry_default 'HKCR\TrelikTestChm\shell\open\command' "$stand_in"
  set_registry_default 'HKCR\.chm' TrelikTestChm
fi

# Wine gives a program the folder it was started from as its current folder.
current=$(cd "$elsewhere" && "$wine_run" cmd /c cd 2>/dev/null | tr -d '\r')
[ "$current" = "$(windows_path "$elsewhere")" ] ||
  fail "the program would not run in the other folder but in '$current'"

(cd "$elsewhere" && exec "$wine_run" "$program/trelik.exe" >"$work/out.log" 2>&1) &
pid=$!
focus_window '^ Trelik$' >/dev/null || exit 1
click_design_point ' Trelik' 368 71 299 54  # "Help"
for _ in $(seq 1 100); do
  [ -s "$opened" ] && break
  sleep 0.1
done
received=$(tr -d '\r"' <"$opened" 2>/dev/null | sed 's/ *$//')
expected=$(windows_path "$program/trelik.chm")
[ "$received" = "$expected" ] || fail "the help opened as '$received', not '$expected'"
screenshot windows-help-link

# The opened file's program took the activation, as a help viewer would: a click brings the main
# window back before Alt+F4 closes it.
click_design_point ' Trelik' 368 71 275 8
xdotool key alt+F4
wait_for_exit "$pid" 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
finish
