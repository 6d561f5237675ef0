#!/usr/bin/env bash
# Builds both programs and runs every test: the Linux build natively, the Windows build under Wine,
# the Linux build again under AddressSanitizer and UndefinedBehaviorSanitizer; checks the
# formatting and runs clang-tidy; then runs each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

werror=OFF
[ "${CI:-}" = true ] && werror=ON

status=0
for preset in linux windows linux-asan; do
  echo "=== $preset ==="
  cmake --preset "$preset" -DTRELIK_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done

echo "=== lint ==="
bash scripts/lint.sh || status=1

echo "=== fuzz ==="
cmake --preset fuzz -DTRELIK_WERROR="$werror" >/dev/null
cmake --build --preset fuzz
bash scripts/fuzz.sh 30 || status=1
exit "$status"
