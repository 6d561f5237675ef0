# shellcheck shell=bash
# Shared by every end-to-end test: counting failures, checking files, a private X display, and
# the closing line. Sourced, not run.

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

# Starts Xvfb on a display number it picks itself (-displayfd), so that runs started at the
# same moment never share one, and exports DISPLAY; sets `xvfb_pid`.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    if [ -s "$number_file" ]; then
      export DISPLAY=":$(tr -d '\n' <"$number_file")"
      rm -f "$number_file"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$number_file"
  echo "could not start Xvfb" >&2
  exit 1
}

finish() {
  echo "$((failures == 0 ? 1 : 0)) passed, $((failures == 0 ? 0 : 1)) failed"
  exit $((failures == 0 ? 0 : 1))
}
