#!/usr/bin/env bash
# The folder entry "Make a Trelik template" in each real file manager installed here (a machine
# without them, as CI is, skips them and says so): the file manager is opened on a folder holding
# "My Site", which is selected, its context menu opened from the keyboard and the entry chosen;
# the editor must then ask to make "My Site" a template.
# Usage: file_managers_e2e.sh <trelik executable> <folder for screenshots>
set -u
trelik=$1
artifacts=$2
. "$(dirname "$0")/desktop_session.sh"

# Each file manager: its command for one window on a folder, and the keys that open the selected
# folder's menu and move to the entry, which each menu (as in Debian 12) holds in its own place.
file_managers=(
  'nautilus --new-window|shift+F10 Down Right Down'
  'nemo|shift+F10 Down Down Down Down Down'
  'caja --no-desktop|shift+F10 Down Down Down Down Down Right'
  'thunar|shift+F10 Up Up'
  'dolphin|Menu Up Up'
  'pcmanfm|shift+F10 Up Up'
  'pcmanfm-qt|Menu Up Up Up'
)
installed=()
for entry in "${file_managers[@]}"; do
  name=${entry%% *}
  name=${name%%|*}
  if command -v "$name" >/dev/null; then
    installed+=("$entry")
  else
    echo "skipped: $name is not installed"
  fi
done
[ ${#installed[@]} -gt 0 ] || finish

start_desktop
# The file managers talk to their helpers over a session bus of the test's own.
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || {
  fail "no session bus"
  finish
}
export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
bus_pid=${bus##*$'\n'}
trap 'kill "$bus_pid" 2>/dev/null; stop_desktop' EXIT

# A template registered writes the entries of every file manager.
mkdir -p "$work/Web" "$work/Docs/My Site"
printf '<html>' >"$work/Web/index.htm"
printf '<html>' >"$work/Docs/My Site/index.htm"
"$trelik" --add "$work/Web" >/dev/null || fail "--add failed"
site=$work/Docs/My\ Site

# True once process $1 watches folder $2 for changes, as a file manager does once it lists it.
watches_folder() {
  grep -qs "^inotify wd:.* ino:$(printf %x "$(stat -c %i "$2")") " "/proc/$1/fdinfo/"*
}

# Gives the keyboard to the file view by a click on its empty part, below and right of the
# folder, and then moves the pointer off the menu that is to open.
click_view() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + WIDTH * 3 / 4)) $((Y + HEIGHT * 3 / 5)) click 1
  xdotool mousemove --sync 0 0
}

# True when the screen looks as it did at the last call: the menu has been drawn.
screen_settled() {
  local now
  now=$(import -window root rgb:- 2>/dev/null | md5sum)
  [ "$now" = "${last_screen:-}" ] && return 0
  last_screen=$now
  return 1
}

command_line() {
  tr '\0' ' ' <"/proc/$1/cmdline"
}

# The editor that the entry started asks for the template's name in a window of the entry's
# name, and was given the folder chosen.
expect_editor_on_site() {
  local name=$1 window pid
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Make a Trelik template$' |
    head -n 1)
  [ -n "$window" ] || {
    fail "$name: the entry did not open the editor"
    return
  }
  screenshot "$name-editor"
  pid=$(xdotool getwindowpid "$window")
  [[ "$(command_line "$pid")" == *" --editor --template-from $site " ]] ||
    fail "$name: the editor was started as $(command_line "$pid")"
  stop_process "$pid"
  echo "$name: the entry opened the editor on \"My Site\""
}

# Ends process $1, forcibly if it does not end when asked (a file manager showing a dialog may
# not).
stop_process() {
  kill "$1" 2>/dev/null
  poll 10 not_running "$1" || kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
not_running() { ! kill -0 "$1" 2>/dev/null; }
# A file manager's first start in a fresh home (GNOME Files starts its indexer) can take longer
# than focus_window waits on a busy machine.
window_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

for entry in "${installed[@]}"; do
  command=${entry%%|*}
  keys=${entry#*|}
  name=${command%% *}
  $command "$work/Docs" >"$work/$name.log" 2>&1 &
  file_manager=$!
  if poll 60 window_shown '^Docs' && window=$(focus_window '^Docs') &&
    poll 20 watches_folder "$file_manager" "$work/Docs"; then
    click_view "$window"
    # shellcheck disable=SC2086 # one key a word
    xdotool key --delay 150 ctrl+a $keys
    last_screen=
    poll 5 screen_settled
    screenshot "$name-menu"
    xdotool key Return
    expect_editor_on_site "$name"
  else
    fail "$name did not show the folder: $(cat "$work/$name.log")"
  fi
  stop_process "$file_manager"
done

finish
