#!/usr/bin/env bash
# Runs each fuzz target of the `fuzz` preset for a bounded time on a copy of its seed corpus
# (fuzz/corpus/<target>/) and of its earlier findings (fuzz/findings/<target>/, replayed at start),
# so the tree is never written. Fails when any target finds a crash or a broken property; the
# input that did it is kept in build/fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds per target] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=()
  for folder in fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi

work=build/fuzz/run
status=0
for target in "${targets[@]}"; do
  corpus=$work/corpus/$target
  findings=build/fuzz/findings/$target
  log=$work/$target.log
  rm -rf "$corpus"
  mkdir -p "$corpus" "$findings"
  cp fuzz/corpus/"$target"/* "$corpus"/
  if [ -d fuzz/findings/"$target" ]; then cp fuzz/findings/"$target"/* "$corpus"/; fi
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -print_final_stats=1 -artifact_prefix="$findings"/ "$corpus" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
      grep -o '[0-9]*$') runs, no finding"
  else
    status=1
    echo "fuzz $target: FINDING (log: $log)"
    grep -E 'property violated|ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error|Test unit written' \
      "$log" | head -5
  fi
done
exit "$status"
