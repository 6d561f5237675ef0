#!/usr/bin/env bash
# Checks that every C++ file is formatted by .clang-format, and runs clang-tidy with the
# repository's .clang-tidy on every file of src/ and tests/ that a build compiles: those of the
# Linux build (portable, POSIX and Qt code and their tests), then those only the Windows build
# compiles (the Win32 code and its tests), with the cross compiler's headers. Needs the linux and
# windows presets configured, for their compile commands.
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

# The .cpp files of src/ and tests/ that the build in folder $1 compiles, less those of the
# build in folder $2 when given.
compiled() {
  python3 - "$PWD" "$@" <<'SCRIPT'
import json, os, sys
def files(build):
    with open(os.path.join(sys.argv[1], build, "compile_commands.json")) as commands:
        return {os.path.relpath(os.path.join(c["directory"], c["file"]), sys.argv[1])
                for c in json.load(commands)}
chosen = files(sys.argv[2]) - (files(sys.argv[3]) if len(sys.argv) > 3 else set())
print("\n".join(sorted(f for f in chosen
                       if f.startswith(("src/", "tests/")) and f.endswith(".cpp"))))
SCRIPT
}

# GCC's warning options that clang does not know are no finding.
tidy() {
  local build=$1
  shift
  xargs -r -P2 -n4 clang-tidy -p "$build" --quiet --warnings-as-errors='*' \
    --extra-arg=-Wno-unknown-warning-option "$@"
}

for build in linux windows; do
  [ -f "build/$build/compile_commands.json" ] ||
    { echo "lint.sh: run 'cmake --preset $build' first, for its compile commands" >&2; exit 1; }
done

status=0
compiled build/linux | tidy build/linux || status=1

# clang finds no mingw-w64 C++ library under GCC's "12-posix" version folder, so it is given the
# cross compiler's own C++ header folders.
cross=(--extra-arg=--target=x86_64-w64-mingw32)
while read -r folder; do
  cross+=(--extra-arg-before=-isystem"$folder")
done < <(x86_64-w64-mingw32-g++-posix -xc++ -E -v /dev/null 2>&1 >/dev/null |
  sed -n '/^#include <\.\.\.>/,/^End of search/p' | grep '^ .*/c++')
compiled build/windows build/linux | tidy build/windows "${cross[@]}" || status=1
exit "$status"
