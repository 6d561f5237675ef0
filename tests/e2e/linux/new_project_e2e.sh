#!/usr/bin/env bash
# The real Linux program made to create projects from a script: --new with the tokens of a
# template that asks for them filled in, its refusals and their exit codes, and --list.
# Usage: new_project_e2e.sh <trelik executable> <folder for screenshots>
set -u
trelik=$1
. "$(dirname "$0")/../checks.sh"

work=$(mktemp -d /tmp/trelik-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
data="$XDG_DATA_HOME/trelik"
mkdir -p "$data/projects/Web/css" "$data/projects/Plain"
printf '/* {{trelik.folder}} */' >"$data/projects/Web/{{trelik.folder}}.css"
printf 'body{}' >"$data/projects/Web/css/{{trelik.file}}.css"
printf '<title>{{trelik.folder}}</title>\r\n{{ vue }}\n' >"$data/projects/Web/index.htm"
printf '{{trelik.user}}|{{trelik.template}}|{{trelik.date}}|{{trelik.time}}' >"$data/projects/Web/who.txt"
printf 'text' >"$data/projects/Plain/readme.txt"
printf 'Web\r\nPlain\r\nGone\r\n' >"$data/projects.lib"
printf '[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n[fill]\r\nWeb=1\r\n' >"$data/trelik.ini"
projects="$work/My Projects"
mkdir -p "$projects"
# xdg-open is replaced by a stub that notes what it was asked to open.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened.log"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# <expected exit code> <arguments...>: runs in the projects folder; output in $work/stdout, stderr.
run() {
  local code=$1
  shift
  (cd "$projects" && "$trelik" "$@" >"$work/stdout" 2>"$work/stderr")
  local status=$?
  [ "$status" = "$code" ] || fail "$*: exit code $status: $(cat "$work/stderr")"
}

# The typed name reaches every name and, with [fill], the text; other braces stay.
day_before=$(date +%F)
run 0 --new Web --name 'Shop\home' --open
day_after=$(date +%F)
[ "$(cat "$work/stdout")" = "$projects/Shop" ] || fail "stdout: $(cat "$work/stdout")"
[ -s "$work/stderr" ] && fail "stderr: $(cat "$work/stderr")"
expect_file "$projects/Shop/Shop.css"
expect_file "$projects/Shop/css/home.css"
[ "$(cat "$projects/Shop/home.htm")" = "$(printf '<title>Shop</title>\r\n{{ vue }}')" ] ||
  fail "home.htm: $(cat -A "$projects/Shop/home.htm")"
[ "$(cat "$projects/Shop/Shop.css")" = '/* Shop */' ] || fail "Shop.css was not filled"
# The user's full name from the password database, else the login name.
user=$(getent passwd "$(id -u)" | cut -d: -f5 | cut -d, -f1)
[ -n "$user" ] || user=$(id -un)
IFS='|' read -r who template day time <"$projects/Shop/who.txt"
[ "$who" = "$user" ] || fail "user: '$who', not '$user'"
[ "$template" = Web ] || fail "template: '$template'"
[ "$day" = "$day_before" ] || [ "$day" = "$day_after" ] || fail "date: '$day'"
[[ "$time" =~ ^[0-2][0-9]-[0-5][0-9]$ ]] || fail "time: '$time'"
expect_file_soon "$work/opened.log" 10
[ "$(cat "$work/opened.log" 2>/dev/null)" = "$projects/Shop/home.htm" ] ||
  fail "opened: $(cat "$work/opened.log" 2>/dev/null)"
ls -A "$projects" | grep -q trelik-copy && fail "a staging folder was left"

# Into another folder; a template without [fill] keeps its text, and nothing is opened.
mkdir -p "$work/elsewhere"
run 0 --new Plain --in "$work/elsewhere" --name 'Notes\'
[ "$(cat "$work/stdout")" = "$work/elsewhere/Notes" ] || fail "stdout: $(cat "$work/stdout")"
[ "$(cat "$work/elsewhere/Notes/readme.txt")" = text ] || fail "readme.txt changed"

check_script_refusals "$projects" "$work/elsewhere" echo
[ "$(wc -l <"$work/opened.log")" = 1 ] || fail "a refusal opened something"

run 0 --list
[ "$(cat "$work/stdout")" = "$(printf 'Web\tindex.htm\tautoopen\nPlain\t\t\nGone\t\t')" ] ||
  fail "--list: $(cat -A "$work/stdout")"

finish
