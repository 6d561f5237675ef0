# shellcheck shell=bash disable=SC2034
# Shared by the benchmark scripts (sourced, not run): building the helpers, a private X display,
# a scratch folder, and the min/median/max table rows. Every wait here is bounded.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${ROUNDS:-9}
. "$repo/cmake/start_xvfb.sh"

# Builds the benchmark helpers of a configured preset (`cmake --preset NAME` first).
build_helpers() {
  local build="$repo/build/$1"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "$build is not configured: run cmake --preset $1 first" >&2
    exit 2
  fi
  cmake --build "$build" --target trelik_benchmarks -j2 >/dev/null ||
    { echo "building the benchmark helpers of $1 failed" >&2; exit 2; }
}

# A scratch folder removed on exit, with the processes listed in cleanup_pids and the process
# groups listed in cleanup_groups.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/trelik-bench.XXXXXX")
cleanup_pids=()
cleanup_groups=()
cleanup() {
  local pid
  forget_wine_libraries
  for pid in "${cleanup_groups[@]}"; do kill -- "-$pid" 2>/dev/null; done
  for pid in "${cleanup_pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private X display with no window manager.
start_display() {
  start_xvfb || exit 2
  cleanup_pids+=("$xvfb_pid")
}

# The timer's fields for one start: "window_ms=12.3 peak_kib=456" -> the value of $1.
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

# min, median and max of the numbers given, with the format $1.
summary() {
  local format=$1
  shift
  printf '%s\n' "$@" | sort -g | awk -v f="$format" '
    { v[NR] = $1 }
    END {
      if (NR == 0) { printf "%10s %10s %10s", "-", "-", "-"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf f " " f " " f, v[1], m, v[NR]
    }'
}

# One table row: label, unit format, then the values.
row() {
  local label=$1 format=$2
  shift 2
  printf '%-46s %s\n' "$label" "$(summary "$format" "$@")"
}

# Ratios of two equally long lists, pair by pair (rounds ran interleaved, so each pair saw the
# same load): label, target text, then "A values -- B values".
ratio_row() {
  local label=$1 target=$2
  shift 2
  local a=() b=() in_b=0 value
  for value in "$@"; do
    if [ "$value" = -- ]; then in_b=1; elif [ $in_b = 0 ]; then a+=("$value"); else b+=("$value"); fi
  done
  local ratios=() i
  for i in "${!a[@]}"; do
    [ -n "${b[$i]:-}" ] && ratios+=("$(awk -v x="${a[$i]}" -v y="${b[$i]}" 'BEGIN { printf "%.3f", x / y }')")
  done
  printf '%-46s %s   target %s\n' "$label" "$(summary '%9.2fx' "${ratios[@]}")" "$target"
}

header() {
  printf '%-46s %10s %10s %10s\n' "$1" min median max
}

# The rows of the BEFORE build, timed in the same rounds as this one, read from `ms`
# (beforeN, tN and the baseline's key) for each of `counts`: program name, baseline key,
# baseline label, target text.
# shellcheck disable=SC2086,SC2154 # each ms value is a list of times; the caller sets both
before_rows() {
  local program=$1 baseline=$2 baseline_label=$3 target=$4 n
  header "BEFORE, in the same rounds"
  for n in "${counts[@]}"; do
    row "BEFORE on a launcher, $n template(s)" '%10.1f' ${ms[before$n]}
  done
  for n in "${counts[@]}"; do
    ratio_row "BEFORE ($n) / $baseline_label" "$target" ${ms[before$n]} -- ${ms[$baseline]}
  done
  for n in "${counts[@]}"; do
    ratio_row "$program ($n) / BEFORE ($n)" '' ${ms[t$n]} -- ${ms[before$n]}
  done
}

load_note() {
  echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $rounds rounds interleaved"
}

# A private home ($scratch/home-N) holding N templates, registered by the program's own code
# (template_setup), and a launcher of the first one, "Web", on its desktop.
make_home() {
  local home="$scratch/home-$1"
  mkdir -p "$home/Desktop"
  in_home "$1" timeout 300 "$repo/build/linux/bench/template_setup" \
    "${TRELIK:-$repo/build/linux/src/app/trelik}" "$1" || { echo "setting up $1 templates failed" >&2; exit 2; }
  # As the New menu makes it: one byte, so that the desktop types it by its name.
  printf '\n' >"$home/Desktop/New.trelik_Web"
}
launcher() { echo "$scratch/home-$1/Desktop/New.trelik_Web"; }

# Runs a command in home N, from its desktop folder, as a file manager would start it.
in_home() {
  local home="$scratch/home-$1"
  shift
  (cd "$home/Desktop" && HOME=$home XDG_DATA_HOME=$home/.local/share \
    XDG_CONFIG_HOME=$home/.config "$@")
}

# The Windows programs copied into private folders, a launcher, and the build's Wine prefix
# warmed up so that no run pays for starting the Wine server or its desktop process
# (explorer.exe, which Windows always has running): one minimal window stays open in the
# background for that. trelik.exe keeps its settings and template library beside itself: for
# each count given (1 when none is), a folder wine-app-N holds it with N templates registered by
# the program's own code (template_setup.exe). They are all reached through one path,
# $scratch/wine-app, which use_wine_library points at one of them, so that every start sees its
# own registration of .trelik as made already. Sets wine_trelik and wine_minimal, the commands
# to time.
prepare_wine() {
  local build="$repo/build/windows" n
  local app="$scratch/wine-app" exe="Z:${scratch//\//\\}\\wine-app\\trelik.exe"
  mkdir -p "$scratch/wine-minimal" "$scratch/wine-desktop"
  cp "$build/bench/minimal_win32_window.exe" "$scratch/wine-minimal/"
  printf '\r\n' >"$scratch/wine-desktop/New.trelik_Web"
  timeout 120 "$build/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null ||
    { echo "the Wine prefix of $build could not be prepared" >&2; exit 2; }
  wine_trelik=("$build/wine-run" "$exe" "Z:${scratch//\//\\}\\wine-desktop\\New.trelik_Web")
  wine_counts=("${@:-1}")
  for n in "${wine_counts[@]}"; do
    mkdir -p "$app-$n"
    cp "${TRELIK:-$build/src/app/trelik.exe}" "$app-$n/trelik.exe"
    use_wine_library "$n"
    # A file, not a pipe: Wine's services may hold what they inherit for seconds.
    timeout 300 "$build/wine-run" "$build/bench/template_setup.exe" "$exe" "$n" \
      </dev/null >/dev/null 2>"$scratch/setup.err" ||
      { cat "$scratch/setup.err" >&2; echo "setting up $n templates under Wine failed" >&2; exit 2; }
  done
  # Another build's trelik.exe beside each library, for a comparison in the same rounds.
  if [ -n "${BEFORE:-}" ]; then
    for n in "${wine_counts[@]}"; do
      cp -r "$app-$n" "$app-before$n"
      cp "$BEFORE" "$app-before$n/trelik.exe"
    done
  fi
  use_wine_library "${1:-1}"
  wine_minimal=("$build/wine-run" "$scratch/wine-minimal/minimal_win32_window.exe")
  setsid "${wine_minimal[@]}" >/dev/null 2>&1 </dev/null &
  local keeper=$!
  cleanup_groups+=("$keeper")
  for _ in $(seq 1 100); do
    pgrep -g "$keeper" -f 'explorer.exe /desktop' >/dev/null && return 0
    sleep 0.1
  done
  echo "Wine's desktop process did not start within 10 s" >&2
  exit 2
}
use_wine_library() { ln -sfn "wine-app-$1" "$scratch/wine-app"; }
# The file types prepare_wine registered leave the build's prefix again, by the program's own
# removal.
wine_counts=()
forget_wine_libraries() {
  local n
  for n in "${wine_counts[@]}"; do
    use_wine_library "$n"
    timeout 120 "${wine_trelik[0]}" "${wine_trelik[1]}" --unregister-all </dev/null >/dev/null 2>&1
  done
}
wine_version() { /usr/lib/wine/wine64 --version 2>/dev/null; }
