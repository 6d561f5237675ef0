# Shared by the Linux end-to-end tests: a private X display with a window manager (closing a
# window with Alt+F4 is the window manager's job), a temporary home, and small helpers.
# Sourced, not run.

. "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

start_desktop() {
  work=$(mktemp -d /tmp/trelik-e2e.XXXXXX)
  export HOME="$work/home"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP QT_QPA_PLATFORM
  start_xvfb || exit 1
  openbox >/dev/null 2>&1 &
  openbox_pid=$!
  poll 5 window_manager_running || { echo "the window manager did not start" >&2; exit 1; }
  trap stop_desktop EXIT
}

window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

stop_desktop() {
  kill "$openbox_pid" "$xvfb_pid" 2>/dev/null
  wait "$openbox_pid" "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}

# Finds the window whose title matches $1 (a regular expression) and gives it the focus.
focus_window() {
  local window
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [ -n "$window" ] || { fail "no window named $1"; return 1; }
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  # Keys go where the input focus is, which follows the activation.
  poll 5 has_focus "$window" || { fail "$1 did not get the focus"; return 1; }
  echo "$window"
}

has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# The shown windows, one id a line.
shown_windows() {
  xdotool search --onlyvisible --name '' 2>/dev/null
}

screenshot() {
  mkdir -p "$artifacts"
  import -window root "$artifacts/$1.png" 2>/dev/null || true
}

# Clicks the point (x, y) of a window's designed layout (96 pixels per inch), scaled as the
# window was scaled to the desktop's font: $1 window, $2 designed client width, $3 designed
# client height, $4 x, $5 y.
click_design_point() {
  local window=$1 designWidth=$2 designHeight=$3 x=$4 y=$5
  # xwininfo, unlike xdotool, reports where the client area really is inside the frame.
  local info left top width height
  info=$(xwininfo -id "$window")
  left=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  top=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  width=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
  height=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
  xdotool mousemove --sync $((left + x * width / designWidth)) $((top + y * height / designHeight))
  xdotool click 1
}
