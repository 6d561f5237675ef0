#!/usr/bin/env bash
# The real Linux program as a user meets it: opened on a launcher file in a folder whose path
# holds a blank, a name typed into its window, Enter or Alt+F4; then the files are checked.
# Usage: create_project_e2e.sh <trelik executable> <folder for screenshots>
set -u
trelik=$1
artifacts=$2
. "$(dirname "$0")/desktop_session.sh"
start_desktop

data="$XDG_DATA_HOME/trelik"
mkdir -p "$data/projects/Web/css"
printf '<html>' >"$data/projects/Web/index.htm"
printf 'body{}' >"$data/projects/Web/css/site.css"
printf '[mainfile]\r\nWeb=index.htm\r\nTokens=index.htm\r\n[autoopen]\r\nWeb=0\r\n[fill]\r\nTokens=1\r\n' >"$data/trelik.ini"
# A template whose names and text hold tokens, filled in from the typed name.
mkdir -p "$data/projects/Tokens/css"
: >"$data/projects/Tokens/{{trelik.folder}}.css"
: >"$data/projects/Tokens/css/{{trelik.file}}.css"
printf '<title>{{trelik.folder}}</title>' >"$data/projects/Tokens/index.htm"
projects="$work/My Projects"
mkdir -p "$projects"

# <launcher or ""> <typed text> <key to close> [<name of the notice that must appear>]
run_case() {
  local launcher=$1 typed=$2 key=$3 notice=${4:-}
  if [ -n "$launcher" ]; then
    [ -e "$launcher" ] || [ -n "$notice" ] || : >"$launcher"
    "$trelik" "$launcher" >"$work/out.log" 2>&1 &
  else
    "$trelik" >"$work/out.log" 2>&1 &
  fi
  local pid=$!
  focus_window '^ Trelik$' >/dev/null || { kill "$pid"; return; }
  [ -n "$typed" ] && xdotool type --delay 40 "$typed"
  screenshot "main-window-$key"
  xdotool key "$key"
  [ -n "$notice" ] && dismiss_notice "$notice"
  wait_for_exit "$pid" 15
  [ "$exit_code" = 0 ] || fail "exit code $exit_code"
}

# Enter presses "Create": the copy is renamed after the typed folder and file names, which a
# slash separates as well as a backslash.
run_case "$projects/New.trelik_Web" 'Site/home' Return
expect_file "$projects/Site/home.htm"
expect_file "$projects/Site/css/site.css"
[ "$(cat "$projects/Site/home.htm" 2>/dev/null)" = '<html>' ] || fail "home.htm lost its content"
expect_missing "$projects/New.trelik_Web"

# Tokens: the typed name reaches every name of the copy and the text of its files.
run_case "$projects/New.trelik_Tokens" 'Shop\home' Return
expect_file "$projects/Shop/Shop.css"
expect_file "$projects/Shop/css/home.css"
[ "$(cat "$projects/Shop/home.htm" 2>/dev/null)" = '<title>Shop</title>' ] ||
  fail "home.htm was not filled in: $(cat "$projects/Shop/home.htm" 2>/dev/null)"

# Alt+F4 creates the project just the same.
run_case "$projects/Another.trelik_Web" 'Other\' alt+F4
expect_file "$projects/Other/index.htm"
expect_missing "$projects/Another.trelik_Web"

# The template is copied ahead while the name is typed; Escape takes that copy away again.
: >"$projects/Escaped.trelik_Web"
"$trelik" "$projects/Escaped.trelik_Web" >"$work/out.log" 2>&1 &
pid=$!
focus_window '^ Trelik$' >/dev/null || kill "$pid"
for _ in $(seq 1 100); do ls -A "$projects" | grep -q '^\.Web\.trelik-copy-' && break; sleep 0.1; done
ls -A "$projects" | grep -q '^\.Web\.trelik-copy-' || fail "the template was not copied ahead"
xdotool key Escape
wait_for_exit "$pid" 15
expect_file "$projects/Escaped.trelik_Web"
ls -A "$projects" | grep -q trelik-copy && fail "a staging folder was left"

check_user_files_are_safe "$projects"

# Started without a launcher: nothing is created, and the base type is registered.
before=$(find "$projects" | sort)
run_case "" "" alt+F4
[ "$(find "$projects" | sort)" = "$before" ] || fail "something changed without a launcher"
grep -qi '^\[HKEY_CURRENT_USER\\Software\\Classes\\.trelik\]' "$data/filetypes.reg" ||
  fail "the base type is not in the file-type store"
expect_file "$XDG_DATA_HOME/applications/trelik-filetypes.desktop"
expect_file "$XDG_DATA_HOME/icons/hicolor/256x256/apps/trelik.png"
# Quoted only when the path holds a character that the Desktop Entry rules reserve.
grep -qxF -e "Exec=$trelik %f" -e "Exec=\"$trelik\" %f" \
  "$XDG_DATA_HOME/applications/trelik-filetypes.desktop" ||
  fail "the desktop entry does not start this program"
printf x >"$work/x.trelik"  # empty files are typed as empty whatever their name
type=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/x.trelik")  # asks GIO
[ "$(xdg-mime query default "$type")" = trelik-filetypes.desktop ] ||
  fail ".trelik files ($type) do not open with Trelik"

# A start that changes no file type leaves the store file alone, and still brings back a
# desktop file the user deleted.
store=$(stat -c %i:%Y.%y "$data/filetypes.reg")
rm -f "$XDG_DATA_HOME/applications/trelik-filetypes.desktop"
run_case "" "" alt+F4
[ "$(stat -c %i:%Y.%y "$data/filetypes.reg")" = "$store" ] ||
  fail "a start with nothing to change wrote the file-type store"
expect_file "$XDG_DATA_HOME/applications/trelik-filetypes.desktop"

# "Help" opens the user guide shipped with the program: beside it in the build tree, under
# ../share/trelik when installed. A stub xdg-open records what it was asked to open.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s" "$1" >"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH" "$trelik" >"$work/out.log" 2>&1 &
pid=$!
main=$(focus_window '^ Trelik$') || exit 1
click_design_point "$main" 368 87 299 54  # "Help"
expect_file_soon "$work/opened" 10
opened=$(cat "$work/opened" 2>/dev/null)
program_folder=$(dirname "$trelik")
[ "$opened" = "$program_folder/help/index.html" ] ||
  [ "$opened" = "$program_folder/../share/trelik/help/index.html" ] || fail "Help opened '$opened'"
expect_file "$opened"
focus_window '^ Trelik$' >/dev/null && xdotool key alt+F4
wait_for_exit "$pid" 15

# The keyboard alone: from the name box, Tab passes the check box and "Create" to reach
# "Options", and Enter opens the editor, where the chosen template shows its recorded main file;
# Escape closes the editor again.
printf 'Web\r\n' >"$data/projects.lib"
"$trelik" >"$work/out.log" 2>&1 &
pid=$!
focus_window '^ Trelik$' >/dev/null || exit 1
screenshot main-window-cue
xdotool key Tab Tab Tab Return
editor=$(focus_window '^Trelik Editor$') || exit 1
shown=$(shown_windows | wc -l)
click_design_point "$editor" 359 181 100 34  # the template list
poll 5 eval '[ "$(shown_windows | wc -l)" -gt "$shown" ]' || fail "the template list did not drop down"
xdotool key Down Return  # "Web"
screenshot editor-main-file
xdotool key Escape
expect_window_gone '^Trelik Editor$' 10 "Escape left the editor open"
focus_window '^ Trelik$' >/dev/null && xdotool key alt+F4
wait_for_exit "$pid" 15
[ "$(cat "$data/projects.lib")" = "$(printf 'Web\r\n')" ] || fail "the list file changed"

# A desktop file that cannot be written is reported in the error box, once, and the program
# goes on.
rm -rf "$XDG_DATA_HOME/applications"
printf 'not a folder' >"$XDG_DATA_HOME/applications"
"$trelik" >"$work/out.log" 2>&1 &
pid=$!
if focus_window '^Trelik$' >/dev/null; then
  screenshot desktop-failure
  xdotool key Return
fi
focus_window '^ Trelik$' >/dev/null || exit 1
no_window_named '^Trelik$' || fail "the failure was reported more than once"
xdotool key alt+F4
wait_for_exit "$pid" 15
[ "$exit_code" = 0 ] || fail "exit code $exit_code after a failed desktop update"

finish
