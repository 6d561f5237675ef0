#!/usr/bin/env bash
# The real trelik.exe under Wine, where only the real program can tell: opened on a launcher in a
# folder whose path holds a blank, a typed name and Enter make the project and register the base
# type; each window once on screen; the help beside the program whatever the current folder;
# Windows ending the session; the command line and its console twin; and copies that race each
# other, are killed, pass MAX_PATH or may not be written. The windows' behaviour is tested
# in-process; this checks that the executable puts it together.
# Usage: smoke_e2e.sh <wine-run> <trelik.exe> <trelik.chm> <window_probe.exe> <screenshots>
set -u
wine_run=$1
trelik=$2
help_file=$3
window_probe=$4
artifacts=$5
. "$(dirname "$0")/wine_session.sh"

registry_default() {
  "$wine_run" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}

# The help's stand-in association goes, and the machine-wide .chm type is given back.
cleanup() {
  "$wine_run" reg delete 'HKCU\Software\Classes\.chm' /f >/dev/null 2>&1
  "$wine_run" reg delete 'HKCU\Software\Classes\TrelikTestChm' /f >/dev/null 2>&1
  [ -n "${machine_chm_type+set}" ] || return
  "$wine_run" reg delete 'HKCR\TrelikTestChm' /f >/dev/null 2>&1
  if [ -n "$machine_chm_type" ]; then
    "$wine_run" reg add 'HKCR\.chm' /ve /d "$machine_chm_type" /f >/dev/null 2>&1
  else
    "$wine_run" reg delete 'HKCR\.chm' /f >/dev/null 2>&1
  fi
}

# Presses the keys $2..., then Enter once the keyboard is seen on the control captioned $1.
press_on() {
  local link=$1
  shift
  xdotool key "$@"
  poll 10 focused_text_is "$link" || { fail "the keys $* did not reach $link"; return 1; }
  xdotool key Return
}

# Starts the program from the folder $1, on the launcher $2 when given, and waits until its main
# window is in front.
start_program() {
  (cd "$1" && exec "$wine_run" "$program/trelik.exe" ${2:+"$(windows_path "$2")"} \
    >"$work/out.log" 2>&1) &
  pid=$!
  focus_window '^ Trelik$' >/dev/null
}

start_session

# The program folder's name holds a blank, as "Program Files" does; it holds the store, the
# list and the settings.
program="$work/Trelik Program"
mkdir -p "$program/projects/Web/css"
cp "$trelik" "$program/trelik.exe"
cp "$(dirname "$trelik")/trelik.com" "$program/trelik.com"  # the console twin, built beside it
cp "$help_file" "$program/trelik.chm"
printf 'body{}' >"$program/projects/Web/css/site.css"
printf '/* {{trelik.folder}} */' >"$program/projects/Web/{{trelik.folder}}.css"
printf '<title>{{trelik.folder}}</title>\r\n{{ vue }}\n' >"$program/projects/Web/index.htm"
printf '{{trelik.user}}|{{trelik.template}}|{{trelik.year}}' >"$program/projects/Web/who.txt"
mkdir -p "$program/projects/Pair/css" "$program/projects/Plain"
printf 'body{}' >"$program/projects/Pair/css/site.css"
printf 'h1{}' >"$program/projects/Pair/{{trelik.folder}}.css"
printf '<title>New site</title>\r\n' >"$program/projects/Pair/index.htm"
printf 'text' >"$program/projects/Plain/readme.txt"
for part in $(seq 0 29); do
  mkdir -p "$program/projects/Big/part$part"
  for file in $(seq 0 99); do printf '%4096d' "$file" >"$program/projects/Big/part$part/$file.htm"; done
done
printf 'Web\r\nPlain\r\nBig\r\nPair\r\n' >"$program/projects.lib"
printf '[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=0\r\n[fill]\r\nWeb=1\r\n' >"$program/trelik.ini"
projects="$work/My Projects"
mkdir -p "$projects"

# The window: the typed name reaches every name and the text, Enter presses "Create".
: >"$projects/New.trelik_Web"
if start_program "$projects" "$projects/New.trelik_Web"; then
  xdotool type --delay 40 'Site\home'
  poll 10 focused_text_is 'Site\home' || fail "the name box shows '$(focused_text)'"
  screenshot windows-main-window
  xdotool key Return
  wait_for_exit "$pid" 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code"
fi
[ "$(cat "$projects/Site/home.htm" 2>/dev/null)" = "$(printf '<title>Site</title>\r\n{{ vue }}')" ] ||
  fail "home.htm: $(cat -A "$projects/Site/home.htm" 2>/dev/null)"
expect_file "$projects/Site/Site.css"
expect_missing "$projects/New.trelik_Web"
[ "$(registry_default 'HKCU\Software\Classes\.trelik')" = Trelik ] ||
  fail "the base type is not registered"
[ "$(registry_default 'HKCU\Software\Classes\Trelik\Shell\Open\Command')" = \
  "\"$(windows_path "$program/trelik.exe")\" \"%1\"" ] || fail "the open command is not this program"

# Each window once, reached by the keyboard: the editor through "Options", the about window by
# its access key, Alt+B; then "Help" hands the shell the help file beside the program, although
# the program runs in another folder (a stand-in association records the path it is given).
opened="$work/opened.txt"
stand_in="cmd /c echo \"%1\">$(windows_path "$opened")"
"$wine_run" reg add 'HKCU\Software\Classes\.chm' /ve /d TrelikTestChm /f >/dev/null 2>&1
"$wine_run" reg add 'HKCU\Software\Classes\TrelikTestChm\shell\open\command' /ve /d "$stand_in" \
  /f >/dev/null 2>&1
# Wine 8 maps HKEY_CLASSES_ROOT onto the machine's classes alone: the stand-in takes those too
# (a run that was killed may have left it there).
machine_chm_type=$(registry_default 'HKCR\.chm')
[ "$machine_chm_type" = TrelikTestChm ] && machine_chm_type=
"$wine_run" reg add 'HKCR\TrelikTestChm\shell\open\command' /ve /d "$stand_in" /f >/dev/null 2>&1
"$wine_run" reg add 'HKCR\.chm' /ve /d TrelikTestChm /f >/dev/null 2>&1
mkdir -p "$work/elsewhere"
if start_program "$work/elsewhere"; then
  press_on '&Options' Tab Tab Tab
  focus_window '^Trelik Editor$' >/dev/null && screenshot windows-editor && xdotool key Escape
  expect_window_gone '^Trelik Editor$' 10 "Escape left the editor shown"
  # Shown, the editor offered Explorer's folder verb, per user, starting it on the folder.
  [ "$(registry_default 'HKCU\Software\Classes\Directory\shell\TrelikTemplate')" = \
    "Make a Trelik template" ] &&
    [ "$(registry_default 'HKCU\Software\Classes\Directory\shell\TrelikTemplate\command')" = \
      "\"$(windows_path "$program/trelik.exe")\" --editor --template-from \"%1\"" ] ||
    fail "no folder verb of this program's"
  # Back in the main window the focus is where it was, on "Options".
  focus_window '^ Trelik$' >/dev/null && xdotool key alt+b
  focus_window '^about$' >/dev/null && screenshot windows-about && xdotool key Return
  expect_window_gone '^about$' 10 "Enter left the about window"
  focus_window '^ Trelik$' >/dev/null && press_on '&Help' shift+Tab
  poll 10 test -s "$opened" || fail "the help was not opened"
  [ "$(tr -d '\r"' <"$opened" 2>/dev/null | sed 's/ *$//')" = "$(windows_path "$program/trelik.chm")" ] ||
    fail "the help opened as '$(cat "$opened")'"
  # Windows ending the session ends the program without its close handler.
  "$wine_run" wineboot --end-session >/dev/null 2>&1
  wait_for_exit "$pid" 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code at the session's end"
fi
# The editor saved the list as it shows it, in the file manager's order.
[ "$(tr -d '\r' <"$program/projects.lib")" = "$(printf 'Big\nPair\nPlain\nWeb')" ] ||
  fail "the list changed: $(cat -A "$program/projects.lib")"
# Listed without a folder, for the command line's refusals (the editor would name it at once).
printf 'Gone\r\n' >>"$program/projects.lib"

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

run 0 --new Web --name 'Shop\home'
[ "$(cat "$work/stdout")" = "$(windows_path "$projects/Shop")" ] || fail "stdout: $(cat "$work/stdout")"
IFS='|' read -r who template year <"$projects/Shop/who.txt"
[ -n "$who" ] && [[ "$who" != *'{{'* ]] || fail "user: '$who'"
[ "$template" = Web ] && [[ "$year" =~ ^20[0-9][0-9]$ ]] || fail "template, year: '$template' '$year'"
run 0 --new Plain --in "$(windows_path "$work/elsewhere")" --name 'Notes\'
[ "$(cat "$work/elsewhere/Notes/readme.txt")" = text ] || fail "readme.txt changed"
check_script_refusals "$projects" "$work/elsewhere" windows_path
run 1 --new Web --name 'a"b\'  # quoted by Wine as "a\"b\\", as any Windows caller would
grep -q 'cannot hold' "$work/stderr" || fail "a quote in the name: $(cat "$work/stderr")"
run 0 --list
[ "$(cat "$work/stdout")" = "$(printf 'Big\t\t\nPair\t\t\nPlain\t\t\nWeb\tindex.htm\t\nGone\t\t')" ] ||
  fail "--list: $(cat -A "$work/stdout")"
# At a command prompt cmd.exe starts the console twin, which hands on the output and exit code.
(cd "$projects" && "$wine_run" cmd /c "$(windows_path "$program")\\trelik" --new Web \
  --name 'Prompt\' >"$work/stdout.raw" 2>/dev/null)
[ "$?$(tr -d '\r' <"$work/stdout.raw")" = "0$(windows_path "$projects/Prompt")" ] ||
  fail "at the prompt: $(cat "$work/stdout.raw")"

# Every entry of a tree with its kind and a file's size.
tree_of() { (cd "$1" && find . -mindepth 1 -printf '%P %y %s\n' | awk '$2 == "d" { $3 = "" } 1' | sort); }
pair() { tree_of "$program/projects/Pair" | sed "s/{{trelik.folder}}/$1/" | sort; }
files_at_least() { [ "$(find "$1" -type f | wc -l)" -ge "$2" ]; }
new_project() { "$wine_run" "$program/trelik.exe" --new "$1" --in "$(windows_path "$2")"; }

# Two creations into one folder at once, each look at the template's name there made to last
# 0.2 s, so that both copies are under way together: each project arrives whole, under its name.
drive_z="$("$wine_run" cmd /c echo %WINEPREFIX% | tr -d '\r')/dosdevices/z:"
for round in $(seq 1 5); do
  folder="$work/pair$round"
  mkdir -p "$folder"
  sides=()
  for side in 1 2; do
    strace -f --seccomp-bpf -qq -o /dev/null -P "$drive_z$folder/Pair" -e trace=newfstatat \
      -e inject=newfstatat:delay_exit=200000 \
      "$wine_run" "$program/trelik.exe" --new Pair --in "$(windows_path "$folder")" \
      >"$folder.$side" 2>&1 &
    sides+=($!)
  done
  # By id: a bare `wait -n` also returns when any other job of this shell ends.
  wait "${sides[0]}"
  first=$?
  wait "${sides[1]}"
  [ "$first$?" = 00 ] || fail "round $round: a creation failed: $(cat "$folder".[12])"
  [ "$(ls -A "$folder")" = "$(printf 'Pair\nPair - Copy')" ] ||
    fail "round $round: $(ls -A "$folder" | tr '\n' '|'), told: $(cat "$folder".[12] | tr '\r\n' '  ')"
  for project in Pair 'Pair - Copy'; do
    [ "$(tree_of "$folder/$project")" = "$(pair "$project")" ] ||
      fail "round $round: $project is not whole or not filled with its name"
  done
done

# Killed early, midway and once every file has arrived: nothing visible is left but the whole
# project, and the next creation there leaves no leftover.
for kill_at in 1 1500 3000; do
  folder="$work/killed$kill_at"
  mkdir -p "$folder"
  setsid "$wine_run" "$program/trelik.exe" --new Big --in "$(windows_path "$folder")" \
    >/dev/null 2>&1 &
  group=$!
  poll 60 files_at_least "$folder" "$kill_at"
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
# The library from scripts and in a folder of its own that the settings name: four programs
# adding at once lose none of each other's templates; another computer registers them; a
# read-only library is used but not changed; one that is not there is named, its types kept.
pick() { mkdir -p "$work/picks/$1" && printf '<html>' >"$work/picks/$1/index.htm"; }
pick Site
run 0 --add "$(windows_path "$work/picks/Site")" --as Shop --main index.htm --fill
[ "$(cat "$work/stdout")" = Shop ] || fail "--add: $(cat "$work/stdout" "$work/stderr")"
[ "$(registry_default 'HKCU\Software\Classes\.trelik_Shop')" = trelik_Shop ] || fail "Shop: no type"
run 1 --add "$(windows_path "$work/picks/Site")" --as shop
grep -q '^trelik: same project exists !$' "$work/stderr" || fail "again: $(cat "$work/stderr")"
run 0 --remove Shop --delete-folder
expect_missing "$program/projects/Shop"
[ -z "$(registry_default 'HKCU\Software\Classes\.trelik_Shop')" ] || fail "Shop is still registered"
library="$work/library"
mkdir -p "$library"
printf '[library]\r\nfolder=%s\r\n' "$(windows_path "$library")" >>"$program/trelik.ini"
# All four find one lock that the Linux build of this computer left behind: it is broken at once.
printf '%s\n%s\n' "$(uname -n)" 4000000000 >"$library/projects.lib.lock"
adding=()
for i in 1 2 3 4; do
  pick "P$i"
  "$wine_run" "$program/trelik.exe" --add "$(windows_path "$work/picks/P$i")" >"$work/add$i" 2>&1 &
  adding+=($!)
done
for pid in "${adding[@]}"; do wait "$pid" || fail "an addition at once failed: $(cat "$work"/add?)"; done
[ "$(tr -d '\r' <"$library/projects.lib" | sort | tr '\n' ' ')" = "P1 P2 P3 P4 " ] ||
  fail "after additions at once: $(cat -A "$library/projects.lib")"
expect_missing "$library/projects.lib.lock"
# One that a live Linux Trelik of this computer holds, as the system's lock on the file says, is
# waited for and never broken.
python3 -c 'import fcntl, os, sys, time
lock = os.open(sys.argv[1], os.O_RDWR | os.O_CREAT | os.O_EXCL)
fcntl.lockf(lock, fcntl.LOCK_EX, 1, 1 << 30)
os.write(lock, sys.argv[2].encode())
time.sleep(60)' "$library/projects.lib.lock" "$(uname -n)"$'\n1\n' &
holder=$!
poll 10 test -s "$library/projects.lib.lock" && run 1 --remove P4
grep -qF "being saved by Trelik on $(uname -n) (process 1)" "$work/stderr" || fail "held: $(cat "$work/stderr")"
kill "$holder" && wait "$holder" 2>/dev/null
rm "$library/projects.lib.lock"
"$wine_run" reg delete 'HKCU\Software\Classes\.trelik_P1' /f >/dev/null 2>&1
run 0 --register
[ "$(registry_default 'HKCU\Software\Classes\.trelik_P1')" = trelik_P1 ] || fail "--register"
if chattr +i "$library" 2>/dev/null; then
  run 1 --remove P1
  grep -qF "trelik: The template library \"$(windows_path "$library")\" is read-only" "$work/stderr" ||
    fail "read-only --remove: $(cat "$work/stderr")"
  run 0 --new P1 --in "$(windows_path "$work/elsewhere")"
  chattr -i "$library"
fi
sed -i "s|^folder=.*|folder=$(windows_path "$work/unmounted" | sed 's/\\/\\\\/g')\r|" "$program/trelik.ini"
run 1 --register
grep -qF "is not there, so its templates cannot be used or changed" "$work/stderr" ||
  fail "missing library: $(cat "$work/stderr")"
run 1 --new P2 --in "$(windows_path "$work/elsewhere")"
grep -qF "is not there, so its templates cannot be used or changed" "$work/stderr" ||
  fail "--new from a missing library: $(cat "$work/stderr")"
: >"$work/New.trelik_P2"
if start_program "$work" "$work/New.trelik_P2"; then
  xdotool type --delay 40 Made && xdotool key Return
  dismiss_notice missing-library
  wait_for_exit "$pid" 30
fi
expect_file "$work/New.trelik_P2" && expect_missing "$work/Made"
[ "$(registry_default 'HKCU\Software\Classes\.trelik_P2')" = trelik_P2 ] || fail "P2 went"

# The folder verb goes with the file types.
run 0 --unregister-all
grep -qx 'Removed folder context-menu entry Directory\\shell\\TrelikTemplate' "$work/stdout" &&
  ! "$wine_run" reg query 'HKCU\Software\Classes\Directory\shell\TrelikTemplate' >/dev/null 2>&1 ||
  fail "the folder verb stayed: $(cat "$work/stdout")"
finish
