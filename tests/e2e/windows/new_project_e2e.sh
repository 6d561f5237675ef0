#!/usr/bin/env bash
# The real trelik.exe under Wine made to create projects from a script: --new with the tokens of
# a template that asks for them filled in, its refusals and their exit codes, and --list.
# Usage: new_project_e2e.sh <wine-run> <trelik.exe> <client_area.exe> <screenshots folder>
set -u
wine_run=$1
trelik=$2
client_area=$3
artifacts=$4
. "$(dirname "$0")/wine_session.sh"
start_session

program="$work/program"
mkdir -p "$program/projects/Web/css" "$program/projects/Plain"
cp "$trelik" "$program/trelik.exe"
cp "$(dirname "$trelik")/trelik.com" "$program/trelik.com"  # the console twin, built beside it
printf '/* {{trelik.folder}} */' >"$program/projects/Web/{{trelik.folder}}.css"
printf 'body{}' >"$program/projects/Web/css/{{trelik.file}}.css"
printf '<title>{{trelik.folder}}</title>\r\n{{ vue }}\n' >"$program/projects/Web/index.htm"
printf '{{trelik.user}}|{{trelik.template}}|{{trelik.year}}' >"$program/projects/Web/who.txt"
printf 'text' >"$program/projects/Plain/readme.txt"
printf 'Web\r\nPlain\r\nGone\r\n' >"$program/projects.lib"
printf '[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n[fill]\r\nWeb=1\r\n' >"$program/trelik.ini"
projects="$work/My Projects"
mkdir -p "$projects"

# <expected exit code> <arguments...>: runs in the projects folder; output in $work/stdout, stderr
# with the line ends as Unix has them.
run() {
  local code=$1
  shift
  (cd "$projects" && "$wine_run" "$program/trelik.exe" "$@" >"$work/stdout.raw" 2>"$work/stderr.raw")
  local status=$?
  tr -d '\r' <"$work/stdout.raw" >"$work/stdout"
  tr -d '\r' <"$work/stderr.raw" >"$work/stderr"
  [ "$status" = "$code" ] || fail "$*: exit code $status: $(cat "$work/stderr")"
}

# The typed name reaches every name and, with [fill], the text; other braces stay.
run 0 --new Web --name 'Shop\home'
[ "$(cat "$work/stdout")" = "$(windows_path "$projects/Shop")" ] ||
  fail "stdout: $(cat "$work/stdout")"
[ -s "$work/stderr" ] && fail "stderr: $(cat "$work/stderr")"
expect_file "$projects/Shop/Shop.css"
expect_file "$projects/Shop/css/home.css"
[ "$(cat "$projects/Shop/home.htm")" = "$(printf '<title>Shop</title>\r\n{{ vue }}')" ] ||
  fail "home.htm: $(cat -A "$projects/Shop/home.htm")"
[ "$(cat "$projects/Shop/Shop.css")" = '/* Shop */' ] || fail "Shop.css was not filled"
IFS='|' read -r who template year <"$projects/Shop/who.txt"
[ -n "$who" ] && [[ "$who" != *'{{'* ]] || fail "user: '$who'"
[ "$template" = Web ] || fail "template: '$template'"
[[ "$year" =~ ^20[0-9][0-9]$ ]] || fail "year: '$year'"

# Into another folder; a template without [fill] keeps its text.
mkdir -p "$work/elsewhere"
run 0 --new Plain --in "$(windows_path "$work/elsewhere")" --name 'Notes\'
[ "$(cat "$work/stdout")" = "$(windows_path "$work/elsewhere/Notes")" ] ||
  fail "stdout: $(cat "$work/stdout")"
[ "$(cat "$work/elsewhere/Notes/readme.txt")" = text ] || fail "readme.txt changed"

check_script_refusals "$projects" "$work/elsewhere" windows_path
run 1 --new Web --name 'a"b\'  # quoted by Wine as "a\"b\\", as any Windows caller would
grep -q 'cannot hold' "$work/stderr" || fail "a quote in the name: $(cat "$work/stderr")"

# At a command prompt cmd.exe starts the console twin, which hands on the output and exit code.
(cd "$projects" && "$wine_run" cmd /c "$(windows_path "$program")\\trelik" --new Web \
  --name 'Prompt\' >"$work/stdout.raw" 2>/dev/null)
status=$?
[ "$status" = 0 ] || fail "at the prompt: exit code $status"
[ "$(tr -d '\r' <"$work/stdout.raw")" = "$(windows_path "$projects/Prompt")" ] ||
  fail "at the prompt: $(cat "$work/stdout.raw")"
expect_file "$projects/Prompt/index.htm"
(cd "$projects" && "$wine_run" cmd /c "$(windows_path "$program")\\trelik" --new Nope \
  >/dev/null 2>"$work/stderr.raw")
status=$?
[ "$status" = 2 ] || fail "at the prompt, an unknown template: exit code $status"
grep -q '^  Web' "$work/stderr.raw" || fail "at the prompt: $(cat "$work/stderr.raw")"

run 0 --list
[ "$(cat "$work/stdout")" = "$(printf 'Web\tindex.htm\tautoopen\nPlain\t\t\nGone\t\t')" ] ||
  fail "--list: $(cat -A "$work/stdout")"

finish
