#!/usr/bin/env bash
# The editor and the about window of the real Linux program, used with the mouse and keyboard:
# choose a template's main file, then open and close the about window.
# Usage: editor_e2e.sh <trelik executable> <folder for screenshots>
set -u
trelik=$1
artifacts=$2
. "$(dirname "$0")/desktop_session.sh"
start_desktop

data="$XDG_DATA_HOME/trelik"
mkdir -p "$data/projects/Web"
printf '<html>' >"$data/projects/Web/index.htm"
printf 'Web\r\n' >"$data/projects.lib"

"$trelik" >"$work/out.log" 2>&1 &
pid=$!
main=$(focus_window '^ Trelik$') || exit 1

click_design_point "$main" 368 71 160 54  # "Options"
editor=$(focus_window '^Trelik Editor$') || exit 1
click_design_point "$editor" 359 181 100 34  # the template list
xdotool key Down Return                      # its first entry, "Web"
sleep 0.3
click_design_point "$editor" 359 181 100 58  # the file list, filled as it gets the focus
xdotool key Down Return                      # its first entry, "index.htm"
sleep 0.3
click_design_point "$editor" 359 181 227 60  # "Main File"
screenshot editor
grep -q "^Web=index.htm" "$data/trelik.ini" 2>/dev/null || fail "no [mainfile] entry: $(cat "$data/trelik.ini" 2>/dev/null)"
grep -q "^Web=0" "$data/trelik.ini" 2>/dev/null || fail "no [autoopen] entry"

# Enter would press "Main File" again, as the focused button; "Close" saves and hides.
click_design_point "$editor" 359 181 64 132
expect_window_gone '^Trelik Editor$' 10 "the editor is still shown"

main=$(focus_window '^ Trelik$') || exit 1
click_design_point "$main" 368 71 342 54  # "About"
about=$(focus_window '^about$') || exit 1
screenshot about
xdotool key Return  # its default button "Close"
expect_window_gone '^about$' 10 "the about window is still shown"

main=$(focus_window '^ Trelik$') || exit 1
xdotool key alt+F4
wait_for_exit "$pid" 15
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
[ "$(cat "$data/projects.lib")" = "$(printf 'Web\r\n')" ] || fail "the list file changed"

finish
