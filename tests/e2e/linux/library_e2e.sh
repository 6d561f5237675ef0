#!/usr/bin/env bash
# The library from scripts and in a folder of its own, through the real program: --add,
# --remove and --register; a library folder shared by two computers' settings, one that may
# only be read and one that is not there; and programs saving one list at once.
# Usage: library_e2e.sh <trelik executable> <folder for screenshots> <the project's version>
set -u
trelik=$1
artifacts=$2
. "$(dirname "$0")/desktop_session.sh"
start_desktop

# <expected exit code> <expected first line of standard output or error> <argument>...
expect_run() {
  local code=$1 first=$2
  shift 2
  "$trelik" "$@" >"$work/stdout" 2>"$work/stderr"
  local status=$?
  [ "$status" = "$code" ] || fail "$*: exit code $status: $(cat "$work/stderr")"
  [ "$(cat "$work/stdout" "$work/stderr" | head -n 1)" = "$first" ] ||
    fail "$*: $(cat "$work/stdout" "$work/stderr")"
}
make_folder() { mkdir -p "$work/picks/$1" && printf '<html>' >"$work/picks/$1/index.htm"; }
make_folder Site
make_folder Blog
data="$XDG_DATA_HOME/trelik"

expect_run 0 "Web" --add "$work/picks/Site" --as Web --main index.htm --auto-open
expect_run 1 "trelik: same project exists !" --add "$work/picks/Blog" --as web
expect_run 1 "trelik: \"$HOME\" cannot be added as a template: it is your home folder." --add "$HOME"
expect_run 0 "Web	index.htm	autoopen" --list
grep -q '^\[HKEY_CURRENT_USER\\Software\\Classes\\.trelik_Web\\ShellNew\]' "$data/filetypes.reg" ||
  fail "not registered: $(cat "$data/filetypes.reg")"
expect_file "$HOME/Templates/Web.trelik_Web"
expect_run 2 "trelik: there is no template \"Nope\"; the templates are:" --remove Nope
expect_run 0 "" --remove Web --delete-folder
expect_missing "$data/projects/Web"
expect_missing "$HOME/Templates/Web.trelik_Web"
[ -z "$(cat "$data/projects.lib")" ] || fail "still listed: $(cat "$data/projects.lib")"

# A library in a folder of its own, which another computer's settings name too.
shared="$work/shared"
mkdir -p "$shared"
printf '[library]\nfolder=%s\n' "$shared" >"$data/trelik.ini"
expect_run 0 "Blog" --add "$work/picks/Blog"
expect_file "$shared/projects/Blog/index.htm"
[ "$(cat "$shared/projects.lib")" = "$(printf 'Blog\r\n')" ] || fail "the shared list: $(cat "$shared/projects.lib")"
other="$work/other/trelik"
mkdir -p "$other" && cp "$data/trelik.ini" "$other/"
XDG_DATA_HOME="$work/other" expect_run 0 "" --register
grep -q 'trelik_Blog' "$other/filetypes.reg" || fail "the other computer did not register Blog"
expect_missing "$other/projects"

# Programs saving one list at once lose none of each other's templates, all finding one lock
# left behind by the Windows build under Wine on this computer, whose process ids are not
# Linux's: 1 runs here, yet nothing holds the file.
printf '%s\n1\n' "$(uname -n)" >"$shared/projects.lib.lock"
names=()
for i in $(seq 1 8); do make_folder "P$i" && names+=("P$i"); done
pids=()
for name in "${names[@]}"; do
  "$trelik" --add "$work/picks/$name" >/dev/null 2>"$work/$name.err" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || fail "a simultaneous --add failed: $(cat "$work"/P*.err)"; done
listed=$(tr -d '\r' <"$shared/projects.lib" | sort | tr '\n' ' ')
[ "$listed" = "Blog P1 P2 P3 P4 P5 P6 P7 P8 " ] || fail "after simultaneous additions: $listed"
expect_missing "$shared/projects.lib.lock"

# Read-only to the user who creates from it: projects are made, nothing of it changes.
reader="$work/reader"
as_user() {
  HOME="$reader" XDG_DATA_HOME="$reader" XDG_CONFIG_HOME="$reader/config" \
    XDG_RUNTIME_DIR="$reader/run" DBUS_SESSION_BUS_ADDRESS= \
    setpriv --reuid=4242 --regid=4242 --clear-groups "$@"
}
mkdir -p "$reader/trelik" "$reader/out" "$reader/run" && cp "$data/trelik.ini" "$reader/trelik/"
chmod 700 "$reader/run"
chown -R 4242:4242 "$reader" && chmod -R go-w "$shared" && chmod 755 "$work"
out=$(as_user "$trelik" --new Blog --in "$reader/out" 2>&1) ||
  fail "read-only: --new: $out"
expect_file "$reader/out/Blog/index.htm"
out=$(as_user "$trelik" --remove Blog 2>&1)
[ $? = 1 ] && grep -q "^trelik: The template library \"$shared\" is read-only" <<<"$out" ||
  fail "read-only: --remove: $out"
as_user "$trelik" --editor >"$work/editor.log" 2>&1 &
pid=$!
editor=$(focus_window '^Trelik Editor$') || { fail "the editor: $(cat "$work/editor.log")"; exit 1; }
screenshot library-read-only
# New Project is off: a click on it opens no folder picker that would take the Escape.
click_design_point "$editor" 359 181 227 36 && xdotool key Escape
wait_for_exit "$pid" 15
grep -c . "$shared/projects.lib" | grep -qx 9 || fail "the read-only list changed"

# A library folder that is not there: named, and nothing registered for it goes.
printf '[library]\nfolder=%s\n' "$work/unmounted" >"$data/trelik.ini"
before=$(cat "$data/filetypes.reg")
expect_run 1 "trelik: The template library \"$work/unmounted\" is not there, so its templates cannot be used or changed; their New-menu entries stay." --register
expect_run 1 "trelik: The template library \"$work/unmounted\" is not there, so its templates cannot be used or changed; their New-menu entries stay." --list
expect_run 1 "trelik: The template library \"$work/unmounted\" is not there, so its templates cannot be used or changed; their New-menu entries stay." --new Blog --in "$work/out"
[ "$(cat "$data/filetypes.reg")" = "$before" ] || fail "the missing library's types changed"
: >"$work/New.trelik_Blog"
"$trelik" "$work/New.trelik_Blog" >"$work/main.log" 2>&1 &
pid=$!
focus_window '^ Trelik$' >/dev/null && xdotool type --delay 40 Made && xdotool key Return
dismiss_notice missing-library
wait_for_exit "$pid" 15
expect_file "$work/New.trelik_Blog" && expect_missing "$work/Made"
grep -qF '.trelik_Blog]' "$data/filetypes.reg" || fail "the main window unregistered Blog"
expect_missing "$work/unmounted"
finish
