# shellcheck shell=bash
# Shared by every end-to-end test: counting failures, checking files, a private X display, and
# the closing line. Sourced, not run.

. "$(dirname "${BASH_SOURCE[0]}")/../../cmake/start_xvfb.sh"

failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_file() {
  [ -f "$1" ] || fail "missing file: $1"
}

expect_missing() {
  [ ! -e "$1" ] || fail "should not exist: $1"
}

# Runs the command $2... every 50 ms until it succeeds, for at most $1 seconds; false when it
# never did.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

no_window_named() {
  [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]
}

# Waits up to $2 seconds until no shown window's title matches $1; fails with $3 if one stays.
expect_window_gone() {
  poll "$2" no_window_named "$1" || fail "$3"
}

# Waits up to $2 seconds for the file $1 to appear.
expect_file_soon() {
  poll "$2" test -f "$1" || fail "missing file: $1"
}

# Waits up to $2 seconds for process $1 to end and sets `exit_code`.
wait_for_exit() {
  local pid=$1 seconds=$2
  for _ in $(seq 1 $((seconds * 20))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      exit_code=$?
      return 0
    fi
    sleep 0.05
  done
  kill "$pid" 2>/dev/null
  fail "the program did not end within $seconds s"
  exit_code=-1
}

# Closes the program's notice (a message box captioned "Trelik") with Enter, after a screenshot
# named $1. Uses the caller's focus_window and screenshot.
dismiss_notice() {
  focus_window '^Trelik$' >/dev/null || return
  screenshot "notice-$1"
  xdotool key Return
}

# What a user's own files must survive, run through the caller's `run_case <launcher> <typed>
# <key> <notice>` in the folder $1, where a copy of the template "Web" arrives as "Web".
check_user_files_are_safe() {
  local projects=$1
  # A file of the user's opened by mistake is not deleted after the project is made.
  printf 'my notes\n' >"$projects/notes.oldtrelik_Web"
  run_case "$projects/notes.oldtrelik_Web" '' Return kept-launcher
  [ "$(tr -d '\r' <"$projects/notes.oldtrelik_Web" 2>/dev/null)" = 'my notes' ] ||
    fail "the notes were lost"
  expect_file "$projects/Web/index.htm"

  # A typed folder name that is taken: the user's folder is left alone, the notice says where
  # the project is, and only the copy's own file is renamed.
  mkdir -p "$projects/Taken"
  : >"$projects/Taken-launcher.trelik_Web"
  run_case "$projects/Taken-launcher.trelik_Web" 'Taken\home' Return taken-name
  expect_file "$projects/Web - Copy/home.htm"
  [ -z "$(ls -A "$projects/Taken")" ] || fail "the user's folder was changed"
  expect_missing "$projects/Taken-launcher.trelik_Web"

  # A template that is not in the library: the failure is reported and the launcher stays for
  # another try.
  : >"$projects/New.trelik_Gone"
  run_case "$projects/New.trelik_Gone" 'Gone\' Return copy-failed
  expect_file "$projects/New.trelik_Gone"
  expect_missing "$projects/Gone"

  # A launcher path that does not exist is refused; none of its folders is made.
  run_case "$projects/nowhere/New.trelik_Web" '' Return missing-launcher
  expect_missing "$projects/nowhere"
}

# The refusals of --new, through the caller's `run <exit code> <argument>...`: nothing is made and
# the reason goes to standard error. $1 the projects folder, $2 another folder that must stay as
# it is, $3 the command that gives a path in the program's own form.
check_script_refusals() {
  local projects=$1 elsewhere=$2 as_path=$3 before
  before=$(find "$projects" "$elsewhere" | sort)
  run 2 --new Nope
  grep -qx '  Web' "$work/stderr" && grep -qx '  Plain' "$work/stderr" ||
    fail "the known templates are not listed: $(cat "$work/stderr")"
  run 1 --new Web --name '..\x'
  grep -q 'cannot be used' "$work/stderr" || fail "unsafe name: $(cat "$work/stderr")"
  run 1 --new Web --name 'Shop\'
  grep -q 'already exists' "$work/stderr" || fail "taken name: $(cat "$work/stderr")"
  run 1 --new Web --in "$("$as_path" "$work/nowhere")"
  grep -q 'does not exist' "$work/stderr" || fail "missing folder: $(cat "$work/stderr")"
  expect_missing "$work/nowhere"
  run 1 --new Gone
  grep -q 'not in the library' "$work/stderr" || fail "missing template: $(cat "$work/stderr")"
  run 2 --new Web --colour red
  [ "$(find "$projects" "$elsewhere" | sort)" = "$before" ] || fail "a refusal left something"
}

finish() {
  echo "$((failures == 0 ? 1 : 0)) passed, $((failures == 0 ? 0 : 1)) failed"
  exit $((failures == 0 ? 0 : 1))
}
