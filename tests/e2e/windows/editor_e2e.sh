#!/usr/bin/env bash
# The editor and the about window of the real trelik.exe under Wine, used with the mouse and the
# keyboard: reach the editor with Tab and Enter, choose a template's main file with and without
# auto-open, close the editor, see the saved choice when choosing the template again, then open
# and close the about window and end the program.
# Usage: editor_e2e.sh <wine-run> <trelik.exe> <trelik.chm> <client_area.exe> <screenshots>
set -u
wine_run=$1
trelik=$2
help_file=$3
client_area=$4
artifacts=$5
. "$(dirname "$0")/wine_session.sh"
start_session

# A program folder as installed: the program, its help, one template and the list naming it.
program="$work/program"
mkdir -p "$program/projects/Web"
cp "$trelik" "$program/trelik.exe"
cp "$help_file" "$program/trelik.chm"
printf '<html>' >"$program/projects/Web/index.htm"
printf 'Web\r\n' >"$program/projects.lib"
settings="$program/trelik.ini"

# Waits a little for the settings to hold value $3 under [$1] $2.
expect_setting() {
  for _ in $(seq 1 20); do
    [ "$(ini_value "$settings" "$1" "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  fail "[$1] $2 should be '$3'; the settings hold:" \
    "$(tr -d '\r' <"$settings" 2>/dev/null | tr '\n' '|')"
}

"$wine_run" "$program/trelik.exe" >"$work/out.log" 2>&1 &
pid=$!
focus_window '^ Trelik$' >/dev/null || exit 1
# The check box takes the focus and gives it back: it must leave "Options" whole. The name
# box, focused and empty, shows its cue.
xdotool key shift+Tab Tab
screenshot windows-main-window-cue

# From the name box, Tab reaches the first link, "Options", and Enter follows it.
xdotool key Tab
sleep 0.3
screenshot windows-main-window-link-focus  # the focus mark around "Options"
xdotool key Return
focus_window '^Trelik Editor$' >/dev/null || exit 1
click_design_point 'Trelik Editor' 359 181 100 34  # the template list
xdotool key Down Return                             # its first entry, "Web"
sleep 0.3
click_design_point 'Trelik Editor' 359 181 100 58  # the file list, filled as it gets the focus
xdotool key Down Return                             # its first entry, "index.htm"
sleep 0.3
click_design_point 'Trelik Editor' 359 181 227 60  # "Main File"
expect_setting mainfile Web index.htm
expect_setting autoopen Web 0

click_design_point 'Trelik Editor' 359 181 290 64  # "Auto Open"
click_design_point 'Trelik Editor' 359 181 227 60  # "Main File"
expect_setting mainfile Web index.htm
expect_setting autoopen Web 1
screenshot windows-editor-flow-editor

# New Project: the picker starts on My Computer (OK greyed), Z:\ is refused, No copies nothing.
mkdir -p "$work/Big" && touch "$work/Big/"{1..1001}
click_design_point 'Trelik Editor' 359 181 227 36  # "New Project"
focus_window '^Browse for Folder$' >/dev/null || exit 1
xdotool key Return type --delay 40 /
xdotool key Return
focus_window '^Trelik$' >/dev/null || exit 1
screenshot windows-editor-refused-root
xdotool key Return
click_design_point 'Trelik Editor' 359 181 227 36
focus_window '^Browse for Folder$' >/dev/null || exit 1
xdotool type --delay 40 /
for name in tmp "$(basename "$work")" Big; do
  xdotool key Right && sleep 0.5  # Wine fills the opened branch a moment after the key
  xdotool type --delay 40 "$name"
done
xdotool key Return
focus_window '^Trelik$' >/dev/null || exit 1
screenshot windows-editor-large-folder-question
xdotool key Return  # "No", the default
expect_window_gone '^Trelik$' 10 "the question stayed"
[ -e "$program/projects/Big" ] && fail "the large folder was copied after No"

# Enter would press "Main File" again, as the focused button; "Close" saves and hides.
click_design_point 'Trelik Editor' 359 181 64 132
expect_window_gone '^Trelik Editor$' 10 "Close left the editor shown"
[ "$(tr -d '\r' <"$program/projects.lib")" = Web ] || fail "the saved list lost its template"

# Shown again, the editor shows what is saved for the template chosen in the list.
focus_window '^ Trelik$' >/dev/null || exit 1
click_design_point ' Trelik' 368 71 160 54  # "Options"
focus_window '^Trelik Editor$' >/dev/null || exit 1
click_design_point 'Trelik Editor' 359 181 100 34
xdotool key Down Return
sleep 0.3
screenshot windows-editor-saved-main-file
xdotool key Escape  # closes the editor as its close box does, saving the list
expect_window_gone '^Trelik Editor$' 10 "Escape left the editor shown"

focus_window '^ Trelik$' >/dev/null || exit 1
click_design_point ' Trelik' 368 71 342 54  # "About"
focus_window '^about$' >/dev/null || fail "About did not show the about window"
screenshot windows-editor-flow-about
xdotool key Return  # its default button "Close"
expect_window_gone '^about$' 10 "Enter left the about window"

focus_window '^ Trelik$' >/dev/null || exit 1
xdotool key alt+F4
wait_for_exit "$pid" 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
[ "$(tr -d '\r' <"$program/projects.lib")" = Web ] || fail "the list file no longer lists Web"
[ "$(ini_value "$settings" mainfile Web)" = index.htm ] || fail "the main file was lost at the end"
finish
