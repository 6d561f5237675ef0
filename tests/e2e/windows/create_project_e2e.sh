#!/usr/bin/env bash
# The real trelik.exe under Wine as a user meets it: opened on a launcher file in a folder whose
# path holds a blank, a name typed into its window, Enter or Alt+F4; then the files and the
# registry are checked. Also: the links to the editor and the about window, and Windows ending
# the session while the window is open.
# Usage: create_project_e2e.sh <wine-run> <trelik.exe> <client_area.exe> <screenshots folder>
set -u
wine_run=$1
trelik=$2
client_area=$3
artifacts=$4
. "$(dirname "$0")/wine_session.sh"

# The default value of a key under the per-user classes, or nothing.
registry_default() {
  "$wine_run" reg query "HKCU\\Software\\Classes\\$1" /ve 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *(Default) *REG_SZ *//p'
}

# Starts the program, on the launcher $1 when given, and gives its main window the focus.
start_program() {
  if [ -n "$1" ]; then
    "$wine_run" "$program/trelik.exe" "$(windows_path "$1")" >"$work/out.log" 2>&1 &
  else
    "$wine_run" "$program/trelik.exe" >"$work/out.log" 2>&1 &
  fi
  pid=$!
  main_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^ Trelik$' | head -n 1)
  [ -n "$main_window" ] || { fail "no main window"; return 1; }
  xdotool windowfocus --sync "$main_window"
  sleep 0.3
}

# <launcher or ""> <typed text> <key that closes> [<name of the notice that must appear>]
run_case() {
  local launcher=$1 typed=$2 key=$3 notice=${4:-}
  [ -n "$launcher" ] && [ -z "$notice" ] && : >"$launcher"
  start_program "$launcher" || { kill "$pid" 2>/dev/null; return; }
  [ -n "$typed" ] && xdotool type --delay 40 "$typed"
  screenshot "windows-main-window-${key//+/-}"
  xdotool key "$key"
  [ -n "$notice" ] && dismiss_notice "$notice"
  wait_for_exit "$pid" 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code"
}

start_session

# The program folder holds the store and the settings; the program never writes them here.
program="$work/program"
mkdir -p "$program/projects/Web/css"
cp "$trelik" "$program/trelik.exe"
printf '<html>' >"$program/projects/Web/index.htm"
printf 'body{}' >"$program/projects/Web/css/site.css"
printf '[mainfile]\r\nWeb=index.htm\r\nTokens=index.htm\r\n[autoopen]\r\nWeb=0\r\n[fill]\r\nTokens=1\r\n' >"$program/trelik.ini"
# A template whose names and text hold tokens, filled in from the typed name.
mkdir -p "$program/projects/Tokens/css"
: >"$program/projects/Tokens/{{trelik.folder}}.css"
: >"$program/projects/Tokens/css/{{trelik.file}}.css"
printf '<title>{{trelik.folder}}</title>' >"$program/projects/Tokens/index.htm"
projects="$work/My Projects"
mkdir -p "$projects"

# Enter presses "Create": the copy is renamed after the typed folder and file names.
run_case "$projects/New.trelik_Web" 'Site\home' Return
expect_file "$projects/Site/home.htm"
expect_file "$projects/Site/css/site.css"
[ "$(cat "$projects/Site/home.htm" 2>/dev/null)" = '<html>' ] || fail "home.htm lost its content"
expect_missing "$projects/New.trelik_Web"
expect_missing "$projects/Web"
# Every start registers the base type, opened by this very program.
[ "$(registry_default .trelik)" = Trelik ] || fail "the base type is not registered"
expected_command="\"$(windows_path "$program/trelik.exe")\" \"%1\""
[ "$(registry_default 'Trelik\Shell\Open\Command')" = "$expected_command" ] ||
  fail "open command: '$(registry_default 'Trelik\Shell\Open\Command')'"

# Tokens: the typed name reaches every name of the copy and the text of its files.
run_case "$projects/New.trelik_Tokens" 'Shop\home' Return
expect_file "$projects/Shop/Shop.css"
expect_file "$projects/Shop/css/home.css"
[ "$(cat "$projects/Shop/home.htm" 2>/dev/null)" = '<title>Shop</title>' ] ||
  fail "home.htm was not filled in: $(cat "$projects/Shop/home.htm" 2>/dev/null)"

# Alt+F4 creates the project just the same; a slash separates as well as a backslash.
run_case "$projects/Another.trelik_Web" 'Other/' alt+F4
expect_file "$projects/Other/index.htm"
expect_missing "$projects/Another.trelik_Web"

check_user_files_are_safe "$projects"

# Started without a launcher: nothing is created.
before=$(find "$projects" | sort)
run_case "" "" alt+F4
[ "$(find "$projects" | sort)" = "$before" ] || fail "something changed without a launcher"

# The links: "Options" shows the editor, whose closing saves the template list; "About" shows
# the about window modally, and Enter closes it.
start_program "" && {
  click_design_point ' Trelik' 368 71 160 54
  editor=$(timeout 10 xdotool search --sync --onlyvisible --name '^Trelik Editor$' | head -n 1)
  [ -n "$editor" ] || fail "Options did not show the editor"
  screenshot windows-editor
  if [ -n "$editor" ]; then
    xdotool windowfocus --sync "$editor" key alt+F4
    expect_file_soon "$program/projects.lib" 10
  fi
  xdotool windowfocus --sync "$main_window"
  click_design_point ' Trelik' 368 71 342 54
  about=$(timeout 10 xdotool search --sync --onlyvisible --name '^about$' | head -n 1)
  [ -n "$about" ] || fail "About did not show the about window"
  screenshot windows-about
  if [ -n "$about" ]; then
    xdotool windowfocus --sync "$about" key Return
    expect_window_gone '^about$' 10 "Enter left the about window"
  fi
  xdotool windowfocus --sync "$main_window" key alt+F4
  wait_for_exit "$pid" 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code"
}

# Windows ending the session ends the program without its close handler: nothing is created and
# the launcher stays.
: >"$projects/Late.trelik_Web"
before=$(find "$projects" | sort)
start_program "$projects/Late.trelik_Web" && {
  xdotool type --delay 40 'Late'
  "$wine_run" wineboot --end-session >/dev/null 2>&1
  wait_for_exit "$pid" 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code at the session's end"
  [ "$(find "$projects" | sort)" = "$before" ] || fail "the session's end created something"
}

finish
