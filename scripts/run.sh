#!/usr/bin/env bash
# Builds the Linux program and starts it, passing on any arguments (a launcher file's path).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target trelik

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No desktop session here (DISPLAY is not set): Trelik runs on a virtual X display." >&2
  echo "Stop it with Ctrl+C." >&2
  exec xvfb-run -a build/linux/src/app/trelik "$@"
fi
exec build/linux/src/app/trelik "$@"
