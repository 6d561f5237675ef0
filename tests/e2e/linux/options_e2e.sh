#!/usr/bin/env bash
# The real Linux program's command-line options: --version, --help and an unknown option print
# and end; --editor shows the editor alone and ends with it; --unregister-all takes away every
# desktop file of Trelik's and nothing of the user's.
# Usage: options_e2e.sh <trelik executable> <folder for screenshots> <the project's version>
set -u
trelik=$1
artifacts=$2
version=$3
. "$(dirname "$0")/desktop_session.sh"
start_desktop

# <expected exit code> <expected standard output> <expected standard error> <argument>
expect_reply() {
  local code=$1 out=$2 err=$3
  shift 3
  "$trelik" "$@" >"$work/stdout" 2>"$work/stderr"
  local status=$?
  [ "$status" = "$code" ] || fail "$*: exit code $status"
  [ "$(cat "$work/stdout")" = "$out" ] || fail "$*: standard output: $(cat "$work/stdout")"
  [ "$(head -n 1 "$work/stderr")" = "$err" ] || fail "$*: standard error: $(cat "$work/stderr")"
}
expect_reply 0 "Trelik $version" "" --version
expect_reply 2 "" "trelik: unknown option '--nope'" --nope
"$trelik" --help >"$work/stdout" 2>&1 || fail "--help: exit code $?"
grep -q -- '^  --unregister-all' "$work/stdout" || fail "--help: $(cat "$work/stdout")"

data="$XDG_DATA_HOME/trelik"
mkdir -p "$data/projects/Web"
printf '<html>' >"$data/projects/Web/index.htm"
printf 'Web\r\n' >"$data/projects.lib"
: >"$work/New.trelik_Web"

# The editor alone: the name window never shows, and closing the editor ends the program.
"$trelik" --editor >"$work/out.log" 2>&1 &
pid=$!
editor=$(focus_window '^Trelik Editor$') || exit 1
screenshot editor-alone
no_window_named '^ Trelik$' || fail "the name window is shown"
# New Project refuses the home folder and asks before copying a large folder; No copies nothing.
mkdir -p "$work/Big" && touch "$work/Big/"{1..1001}
for folder in "$HOME" "$work/Big"; do
  click_design_point "$editor" 359 181 227 36  # "New Project"
  focus_window 'Select a Folder' >/dev/null || exit 1
  xdotool key ctrl+a type --delay 20 "$folder"
  xdotool key Return
  # Searched for only once shown: a search while the picker's windows go can fail.
  poll 10 eval '[ -n "$(xdotool search --onlyvisible --name "^Trelik\$" 2>/dev/null)" ]'
  focus_window '^Trelik$' >/dev/null || exit 1
  screenshot "editor-new-project-$(basename "$folder")"
  xdotool key Return  # OK, or No, the question's default
  expect_window_gone '^Trelik$' 10 "the box about $folder stayed"
done
expect_missing "$data/projects/home"
expect_missing "$data/projects/Big"
click_design_point "$editor" 359 181 64 132  # "Close"
wait_for_exit "$pid" 15
[ "$exit_code" = 0 ] || fail "--editor: exit code $exit_code"
expect_file "$work/New.trelik_Web"
[ "$(cat "$data/projects.lib")" = "$(printf 'Web\r\n')" ] || fail "the list file changed"
# The library came without file types: showing the editor registered the listed template.
expect_file "$HOME/Templates/Web.trelik_Web"

# The user's own files beside ours, then everything of ours goes.
mkdir -p "$HOME/Templates" "$XDG_DATA_HOME/templates"
printf 'letter' >"$HOME/Templates/Letter.odt"
printf '[Desktop Entry]\n' >"$XDG_DATA_HOME/templates/mine.desktop"
printf 'text/plain=gedit.desktop\n' >>"$XDG_CONFIG_HOME/mimeapps.list"
grep -q 'x-trelik' "$XDG_CONFIG_HOME/mimeapps.list" || fail "no default application was set"
expect_file "$data/generated.list"
generated=$(cat "$data/generated.list")
[ -n "$generated" ] || fail "nothing was generated"
printf '[HKEY_CURRENT_USER\\Software\\Classes\\trelik_notes\\Shell\\Open\\Command]\n@="gedit %%1"\n' >>"$data/filetypes.reg"

"$trelik" --unregister-all >"$work/stdout" 2>"$work/stderr" ||
  fail "--unregister-all: exit code $?: $(cat "$work/stderr")"
grep -qxF "File type entry trelik_notes: not Trelik's, left alone" "$work/stdout" || fail "notes"
for key in .trelik Trelik .trelik_Web trelik_Web; do
  grep -qxF "Removed file type entry $key" "$work/stdout" || fail "stdout: $(cat "$work/stdout")"
done
while read -r path; do
  expect_missing "$path"
  grep -qxF "Removed $path" "$work/stdout" || fail "not reported as removed: $path"
done < <(grep -v -e '/$' -e "^$XDG_CONFIG_HOME/" <<<"$generated")  # files; not the folders made
grep -q 'trelik' "$XDG_CONFIG_HOME/mimeapps.list" && fail "mimeapps.list: $(cat "$XDG_CONFIG_HOME/mimeapps.list")"
grep -qx 'text/plain=gedit.desktop' "$XDG_CONFIG_HOME/mimeapps.list" || fail "the user's default went"
expect_file "$HOME/Templates/Letter.odt"
expect_file "$XDG_DATA_HOME/templates/mine.desktop"
expect_file "$data/projects/Web/index.htm"
expect_file "$data/projects.lib"
[ "$(grep -ci 'trelik' "$data/filetypes.reg")" = 4 ] && grep -q 'gedit' "$data/filetypes.reg" ||
  fail "the store holds: $(cat "$data/filetypes.reg")"

printf 'REGEDIT4\n' >"$data/filetypes.reg"
"$trelik" --unregister-all >"$work/stdout" 2>&1 || fail "second --unregister-all: exit code $?"
[ "$(cat "$work/stdout")" = "Nothing of Trelik's was registered." ] ||
  fail "second --unregister-all: $(cat "$work/stdout")"
# The menu entry's "Remove from this desktop" has no terminal: its result shows in a notice.
entry="$(dirname "$0")/../../../resources/linux/trelik.desktop"
action=$(sed -n '/^\[Desktop Action unregister-all\]/,$ s/^Exec=trelik //p' "$entry")
setsid "$trelik" $action </dev/null >/dev/null 2>&1 &
pid=$!
dismiss_notice remove-from-this-desktop
wait_for_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "$action: exit code $exit_code"

# A damaged store is left as it is, and the reason given with a failing exit code.
printf 'not a registry export\n' >"$data/filetypes.reg"
"$trelik" --unregister-all >"$work/stdout" 2>"$work/stderr"
status=$?
[ "$status" = 1 ] || fail "--unregister-all on a damaged store: exit code $status"
grep -q "^trelik: The file types could not be read: .*filetypes.reg" "$work/stderr" ||
  fail "--unregister-all on a damaged store: $(cat "$work/stderr")"
[ "$(cat "$data/filetypes.reg")" = "not a registry export" ] || fail "the damaged store was changed"

finish
