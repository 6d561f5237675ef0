#!/usr/bin/env bash
# The portable zip as `cpack -G ZIP` makes it from the build: exactly the program, its console
# twin, the help and the readme in one folder; unpacked, the program answers from that folder.
# Usage: portable_zip_e2e.sh <wine-run> <cpack> <build folder> <version>
set -u
wine_run=$1
cpack=$2
build=$3
version=$4
. "$(dirname "$0")/../checks.sh"

work=$(mktemp -d /tmp/trelik-e2e-zip.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$cpack" -G ZIP --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
zip="$work/Trelik-$version-win64.zip"
folder="Trelik-$version-win64"
expected=$(printf '%s\n' "$folder/README.txt" "$folder/trelik.chm" "$folder/trelik.com" \
  "$folder/trelik.exe")
actual=$(unzip -Z1 "$zip" 2>&1 | grep -v '/$' | sort)
[ "$actual" = "$expected" ] || fail "the zip holds: $(echo "$actual" | tr '\n' ' ')"

unzip -q "$zip" -d "$work/unpacked" || fail "the zip does not unpack"
answer=$("$wine_run" "$work/unpacked/$folder/trelik.com" --version 2>/dev/null | tr -d '\r')
[ "$answer" = "Trelik $version" ] || fail "the unpacked program answers '$answer'"
finish
