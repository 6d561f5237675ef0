#!/usr/bin/env bash
# Checks that every C++ file is formatted by .clang-format, and runs clang-tidy with the
# repository's .clang-tidy on the portable, POSIX and Qt sources (the Windows ones need the
# cross compiler's headers). Needs the linux preset configured, for its compile commands.
set -euo pipefail
cd "$(dirname "$0")/.."

# The tree's own files: git's list in a checkout, else the source folders (never build/).
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    find src tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) | sort
  fi
}

mapfile -t files < <(sources '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"

# GCC's warning options that clang does not know are no finding.
sources '*.cpp' '*.h' | grep -e '^src/.*\.cpp$' | grep -v -e '/win32/' -e '_win32\.cpp$' |
  xargs -P2 -n4 clang-tidy -p build/linux --quiet --warnings-as-errors='*' \
    --extra-arg=-Wno-unknown-warning-option
