#!/usr/bin/env bash
# The real trelik.exe under Wine making projects where copies can go wrong: two creations into
# one folder at once (each look at the template's name there made to last 0.2 s, so that both
# copies are under way together), a creation killed during its copy, a folder whose paths would
# pass MAX_PATH and a folder nobody may write in.
# Usage: copy_safety_e2e.sh <wine-run> <trelik.exe> <client_area.exe> <screenshots folder>
set -u
wine_run=$1
trelik=$2
. "$(dirname "$0")/wine_session.sh"
start_session

program="$work/program"
mkdir -p "$program/projects/Web/css"
cp "$trelik" "$program/trelik.exe"
printf 'body{}' >"$program/projects/Web/css/site.css"
printf 'h1{}' >"$program/projects/Web/{{trelik.folder}}.css"
printf '<title>New site</title>\r\n' >"$program/projects/Web/index.htm"
for part in $(seq 0 29); do
  mkdir -p "$program/projects/Big/part$part"
  for file in $(seq 0 99); do printf '%4096d' "$file" >"$program/projects/Big/part$part/$file.htm"; done
done
printf 'Web\r\nBig\r\n' >"$program/projects.lib"

# Every entry of a tree with its kind and a file's size.
tree_of() { (cd "$1" && find . -mindepth 1 -printf '%P %y %s\n' | awk '$2 == "d" { $3 = "" } 1' | sort); }
# The template's tree as a project named $1 holds it.
web() { tree_of "$program/projects/Web" | sed "s/{{trelik.folder}}/$1/" | sort; }
new_project() { "$wine_run" "$program/trelik.exe" --new "$1" --in "$(windows_path "$2")"; }

# Wine looks names up through its prefix's drive links.
drive_z="$("$wine_run" cmd /c echo %WINEPREFIX% | tr -d '\r')/dosdevices/z:"
for round in $(seq 1 20); do
  folder="$work/pair$round"
  mkdir -p "$folder"
  wfolder=$(windows_path "$folder")
  for side in 1 2; do
    strace -f --seccomp-bpf -qq -o /dev/null -P "$drive_z$folder/Web" -e trace=newfstatat \
      -e inject=newfstatat:delay_exit=200000 \
      "$wine_run" "$program/trelik.exe" --new Web --in "$wfolder" >"$folder.$side" 2>&1 &
  done
  wait -n
  first=$?
  wait -n
  second=$?
  [ "$first$second" = 00 ] || fail "round $round: a creation failed: $(cat "$folder".[12])"
  [ "$(ls -A "$folder")" = "$(printf 'Web\nWeb - Copy')" ] ||
    fail "round $round: $(ls -A "$folder" | tr '\n' '|')"
  for project in Web 'Web - Copy'; do
    [ "$(tree_of "$folder/$project")" = "$(web "$project")" ] ||
      fail "round $round: $project is not whole or not filled with its name"
  done
done

# Killed early, midway and once every file has arrived (while the copy is checked, flushed and
# moved): nothing visible is left but the whole project, and the next creation there leaves no
# leftover.
for kill_at in 1 1500 3000; do
  folder="$work/killed$kill_at"
  mkdir -p "$folder"
  setsid "$wine_run" "$program/trelik.exe" --new Big --in "$(windows_path "$folder")" \
    >/dev/null 2>&1 &
  group=$!
  for _ in $(seq 1 600); do
    [ "$(find "$folder" -type f | wc -l)" -ge "$kill_at" ] && break
    sleep 0.1
  done
  kill -KILL $(pgrep -g "$group" -f 'trelik\.exe') 2>/dev/null
  wait "$group"
  case "$(ls "$folder")" in
    '') ;;
    Big) [ "$(tree_of "$folder/Big")" = "$(tree_of "$program/projects/Big")" ] ||
      fail "killed at $kill_at files: Big is visible but not whole" ;;
    *) fail "killed at $kill_at files: left $(ls "$folder" | tr '\n' '|')" ;;
  esac
  new_project Web "$folder" >/dev/null 2>&1 || fail "no project after the one killed at $kill_at"
  ls -A "$folder" | grep -qv -e '^Web$' -e '^Big$' &&
    fail "killed at $kill_at files, leftovers: $(ls -A "$folder" | tr '\n' '|')"
done

# A folder of 248 characters in Windows' form: Web's "css\site.css" would pass MAX_PATH.
long="$work/long"
long+=/$(printf '%*s' $((245 - ${#long})) '' | tr ' ' x)  # "Z:" comes in front
mkdir -p "$long"
new_project Web "$long" >/dev/null 2>"$work/stderr" && fail "a path past MAX_PATH was made"
grep -q MAX_PATH "$work/stderr" || fail "the limit is not named: $(cat "$work/stderr")"
[ -z "$(ls -A "$long")" ] || fail "a refused copy left $(ls -A "$long")"

# Permission to write is refused (root would be let in anywhere else); the reason is told.
mkdir -p "$work/read-only"
if chattr +i "$work/read-only" 2>/dev/null; then
  new_project Web "$work/read-only" >/dev/null 2>"$work/stderr" && fail "made in a read-only folder"
  grep -qF "denied: $(windows_path "$work/read-only")" "$work/stderr" ||
    fail "no reason: $(cat "$work/stderr")"
  chattr -i "$work/read-only"
else
  echo "chattr +i is not supported here: the read-only folder is not tried" >&2
fi
finish
