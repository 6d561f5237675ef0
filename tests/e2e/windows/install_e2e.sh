#!/usr/bin/env bash
# The installer as a user meets it, under Wine in a user profile of the test's own (a fresh
# prefix): a silent install, its files, Start-menu shortcut and uninstall entry; `trelik
# --version` typed at a command prompt; the shortcut, which opens the editor; a project created
# by the installed program; an upgrade over the install, which keeps the templates; the silent
# uninstall, after which nothing of Trelik's is left in the classes and the templates stay; the
# uninstaller's question whether the templates go too.
# Usage: install_e2e.sh <wine-run> <setup.exe> <window_probe.exe> <screenshots folder>
set -u
wine_run=$1
setup=$2
window_probe=$3
artifacts=$4
. "$(dirname "$0")/wine_session.sh"

version=$(basename "$setup")
version=${version#Trelik-}
version=${version%-setup.exe}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelik'

cleanup() {
  WINEPREFIX=$WINE_RUN_PREFIX /usr/lib/wine/wineserver -k 2>/dev/null
  WINEPREFIX=$WINE_RUN_PREFIX timeout 30 /usr/lib/wine/wineserver -w 2>/dev/null
}

start_session
export WINE_RUN_PREFIX="$work/prefix"

# What a command prints, without the line ends' carriage returns; bounded, since a program
# that waits for a window would never end.
run() {
  timeout 60 "$wine_run" "$@" 2>/dev/null | tr -d '\r'
}

# Value $2 of the registry key $1, or nothing; the key's default value without $2.
registry_value() {
  if [ -n "${2:-}" ]; then
    run reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
  else
    run reg query "$1" /ve | sed -n 's/^ *(Default) *REG_SZ *//p'
  fi
}

unix_path() {
  run winepath -u "$1"
}

# Whether a trelik.exe of this test's prefix is running.
program_running() {
  local pid
  for pid in $(pgrep -f 'trelik\.exe'); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINE_RUN_PREFIX" &&
      return 0
  done
  return 1
}

program_ended() {
  ! program_running
}

# The lines of the per-user classes that mention Trelik, whatever the case.
classes_mentioning_trelik() {
  "$wine_run" reg export 'HKCU\Software\Classes' "$(windows_path "$work/classes.reg")" /y \
    >/dev/null 2>&1
  iconv -f UTF-16LE -t UTF-8 "$work/classes.reg" | tr -d '\r' | grep -i trelik
}

uninstall_finished() {
  [ ! -e "$install/uninstall.exe" ] && ! "$wine_run" reg query "$uninstall_key" >/dev/null 2>&1
}

timeout 120 "$wine_run" "$setup" /S >/dev/null 2>&1 || fail "the silent install failed"
install_win="$(run cmd /c 'echo %LOCALAPPDATA%')\\Programs\\Trelik"
install=$(unix_path "$install_win")
shortcut_win="$(run cmd /c 'echo %APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Trelik.lnk"
shortcut=$(unix_path "$shortcut_win")

for file in trelik.exe trelik.com trelik.chm uninstall.exe; do expect_file "$install/$file"; done
expect_file "$shortcut"

# The entry in the list of installed programs.
while read -r name expected; do
  actual=$(registry_value "$uninstall_key" "$name")
  [ "$actual" = "$expected" ] || fail "$name is '$actual', not '$expected'"
done <<EOF
DisplayName Trelik
DisplayVersion $version
Publisher Trelik developers
DisplayIcon $install_win\\trelik.exe,0
InstallLocation $install_win
UninstallString "$install_win\\uninstall.exe"
QuietUninstallString "$install_win\\uninstall.exe" /S
EOF
size=$(registry_value "$uninstall_key" EstimatedSize)
[ $((size)) -ge $(($(stat -c %s "$install/trelik.exe") / 1024)) ] ||
  fail "EstimatedSize '$size' KiB is less than trelik.exe"

# Typed at a prompt, `trelik` runs the console twin, whose output and exit code are those of
# trelik.exe: into a pipe, and onto Wine's console when a terminal runs it.
answer=$(run cmd /c cd /d "$install_win" '&&' trelik --version)
[ "$answer" = "Trelik $version" ] || fail "trelik --version at the prompt: '$answer'"
timeout 60 "$wine_run" cmd /c cd /d "$install_win" '&&' trelik --no-such-option \
  >/dev/null 2>"$work/err.log"
code=$?
[ "$code" = 2 ] || fail "an unknown option ended with $code through the console twin"
grep -q -e '--no-such-option' "$work/err.log" || fail "the error does not name the option"
prompt_command=$(printf '%q ' timeout 60 "$wine_run" cmd /c cd /d "$install_win" '&&' trelik)
console=$(script -qec "$prompt_command --version" /dev/null </dev/null | tr -d '\r')
[[ $console == *"Trelik $version"* ]] || fail "nothing reached the console: '$console'"

# A template in the installed program's store, as the editor leaves it.
mkdir -p "$install/projects/Web/css"
printf '<html>' >"$install/projects/Web/index.htm"
printf 'body{}' >"$install/projects/Web/css/site.css"
printf 'Web\r\n' >"$install/projects.lib"
printf '[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=0\r\n' >"$install/trelik.ini"

# The shortcut opens the editor, not the name window.
timeout 60 "$wine_run" start "$shortcut_win" >/dev/null 2>&1
if focus_window '^Trelik Editor$' >/dev/null; then
  no_window_named '^ Trelik$' || fail "the shortcut showed the name window"
  screenshot windows-installed-editor
  xdotool key alt+F4
  expect_window_gone '^Trelik Editor$' 10 "the editor stayed after Alt+F4"
fi
poll 30 program_ended || fail "the program went on after its editor was closed"

# The editor registered the listed template for the installed program. Wine's shell does not
# read the per-user classes, so the program is started on the launcher as the shell would.
expected_command="\"$install_win\\trelik.exe\" \"%1\""
for type in Trelik trelik_Web; do
  command=$(registry_value "HKCU\\Software\\Classes\\$type\\Shell\\Open\\Command")
  [ "$command" = "$expected_command" ] || fail "$type opens '$command'"
done
projects="$work/My Projects"
mkdir -p "$projects"
: >"$projects/New.trelik_Web"
"$wine_run" "$install_win\\trelik.exe" "$(windows_path "$projects/New.trelik_Web")" \
  >/dev/null 2>&1 &
pid=$!
if focus_window '^ Trelik$' >/dev/null; then
  xdotool type --delay 40 'Site\home'
  poll 10 focused_text_is 'Site\home' || fail "the name box shows '$(focused_text)'"
  xdotool key Return
fi
wait_for_exit "$pid" 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
expect_file "$projects/Site/home.htm"
expect_file "$projects/Site/css/site.css"
expect_missing "$projects/New.trelik_Web"

# An upgrade replaces the program files and leaves the templates, their list and settings alone.
printf 'old' >"$install/trelik.chm"
before=$(cd "$install" && find projects projects.lib trelik.ini -type f -exec md5sum {} + | sort)
timeout 120 "$wine_run" "$setup" /S >/dev/null 2>&1 || fail "the silent upgrade failed"
[ "$(cat "$install/trelik.chm")" != old ] || fail "the upgrade kept the old trelik.chm"
[ "$(cd "$install" && find projects projects.lib trelik.ini -type f -exec md5sum {} + | sort)" = \
  "$before" ] || fail "the upgrade changed the templates"

# A template type left registered by an earlier version, whose folder is long gone.
"$wine_run" reg add 'HKCU\Software\Classes\.trelik_Old' /ve /d trelik_Old /f >/dev/null 2>&1
"$wine_run" reg add 'HKCU\Software\Classes\.trelik_Old\ShellNew' /v NullFile /d '' /f \
  >/dev/null 2>&1
"$wine_run" reg add 'HKCU\Software\Classes\trelik_Old\Shell\Open\Command' /ve \
  /d "\"$install_win\\trelik.exe\" \"%1\"" /f >/dev/null 2>&1
[ -n "$(classes_mentioning_trelik)" ] || fail "nothing of Trelik's in the classes to remove"

# The silent uninstall, as the list of installed programs starts it. It goes on from a copy of
# itself in the temporary folder, so its end is waited for.
quiet=$(registry_value "$uninstall_key" QuietUninstallString)
if [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]]; then
  # shellcheck disable=SC2086 # the options are separate words
  "$wine_run" "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} >/dev/null 2>&1
  poll 60 uninstall_finished || fail "the uninstaller did not finish within 60 s"
fi
for file in trelik.exe trelik.com trelik.chm uninstall.exe; do expect_missing "$install/$file"; done
expect_missing "$shortcut"
left=$(classes_mentioning_trelik)
[ -z "$left" ] || fail "the classes still hold: $left"
[ "$(cd "$install" && find projects projects.lib trelik.ini -type f -exec md5sum {} + | sort)" = \
  "$before" ] || fail "the uninstaller did not keep the templates"

# Uninstalled by hand, the uninstaller asks whether the templates go too: "No", the default
# button, keeps them; "Yes" removes them and the folder with them.
uninstall_by_hand() {
  local answer=$1 dialog
  "$wine_run" "$install_win\\uninstall.exe" >/dev/null 2>&1 &
  dialog=$(focus_window '^Trelik Uninstall') || return
  xdotool key Return  # "Uninstall" on the confirmation page
  question_shown() {
    xdotool search --onlyvisible --name '^Trelik Uninstall' 2>/dev/null | grep -qvx "$dialog"
  }
  poll 30 question_shown || { fail "the uninstaller did not ask about the templates"; return; }
  screenshot windows-uninstall-question
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Trelik Uninstall' |
    grep -vx "$dialog" | head -n 1)" key "$answer"
  expect_window_gone '^Trelik Uninstall' 30 "the uninstaller stayed open after the answer"
}
timeout 120 "$wine_run" "$setup" /S >/dev/null 2>&1 || fail "the silent install failed"
uninstall_by_hand Return
expect_missing "$install/trelik.exe"
[ "$(cd "$install" && find projects projects.lib trelik.ini -type f -exec md5sum {} + | sort)" = \
  "$before" ] || fail "the default answer did not keep the templates"
timeout 120 "$wine_run" "$setup" /S >/dev/null 2>&1 || fail "the silent install failed"
uninstall_by_hand y
expect_missing "$install"

finish
