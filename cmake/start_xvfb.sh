# shellcheck shell=bash
# Shared by the Wine runner, the end-to-end tests and the benchmarks. Sourced, not run.

# Starts Xvfb on a display number it picks itself (-displayfd), so that runs started at the
# same moment never share one (a shared server would vanish with whichever run ends first), and
# exports DISPLAY; sets `xvfb_pid`. False when no server came up. The server is not reset when
# its last client leaves, which would cost the next program's start.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$number_file" >/dev/null 2>&1 &
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
  return 1
}
