#!/usr/bin/env bash
# Builds both programs and runs every test: the Linux build natively, the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

werror=OFF
[ "${CI:-}" = true ] && werror=ON

status=0
for preset in linux windows; do
  echo "=== $preset ==="
  cmake --preset "$preset" -DTRELIK_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit "$status"
