#!/usr/bin/env bash
# Builds the Linux program and starts it, passing on any arguments (a launcher file's path).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target trelik
exec build/linux/src/app/trelik "$@"
