# shellcheck shell=bash
# Shared by the Windows end-to-end tests: a private X display for the program under Wine, a
# temporary folder, and small helpers. Sourced, not run; the caller sets `wine_run` (the build's
# Wine runner), `window_probe` (the window_probe.exe helper) and `artifacts` (the screenshots'
# folder).

. "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

# A display of our own, so that xdotool sees only the program's windows, and a temporary folder
# `work`; both go when the script ends, after the optional `cleanup` function has run.
start_session() {
  work=$(mktemp -d /tmp/trelik-e2e-windows.XXXXXX)
  trap stop_session EXIT
  start_xvfb || exit 1
}

stop_session() {
  declare -F cleanup >/dev/null && cleanup
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}

# The Windows form of a path, as the shell would hand it to the program.
windows_path() {
  "$wine_run" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

screenshot() {
  mkdir -p "$artifacts"
  import -window root "$artifacts/$1.png" 2>/dev/null || true
}

# The caption of the window in front, and the text of the control with its keyboard focus,
# separated by a tab; asked of Wine with the `window_probe` helper.
probe() { "$wine_run" "$window_probe" 2>/dev/null | tr -d '\r'; }
front_is() { [[ "$(probe | cut -f1)" =~ $1 ]]; }
focused_text() { probe | cut -f2; }
focused_text_is() { [ "$(focused_text)" = "$1" ]; }

# Finds the shown window whose caption matches $1 (a regular expression), gives it the focus,
# waits until Wine has it in front and prints its X id.
focus_window() {
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [ -n "$window" ] || { fail "no window named $1"; return 1; }
  xdotool windowfocus --sync "$window"
  poll 30 front_is "$1" || { fail "$1 never came to the front"; return 1; }
  echo "$window"
}

# The value of key $3 in section [$2] of the INI file $1, as the settings functions would read
# it: names without regard to case, blanks around names and values dropped.
ini_value() {
  tr -d '\r' <"$1" 2>/dev/null | awk -v section="$2" -v key="$3" '
    function trim(text) { gsub(/^[ \t]+|[ \t]+$/, "", text); return text }
    /^[ \t]*\[/ {
      name = trim($0); inside = tolower(substr(name, 2, length(name) - 2)) == tolower(section)
      next
    }
    inside && index($0, "=") > 0 {
      equals = index($0, "=")
      if (tolower(trim(substr($0, 1, equals - 1))) == tolower(key)) {
        print trim(substr($0, equals + 1)); exit
      }
    }'
}
