#!/usr/bin/env bash
# The Debian package as Debian's tools and a user see it: built with cpack, its file list and
# control fields checked, its menu entry, AppStream file and the whole package validated, then
# unpacked into a temporary root whose usr/bin/trelik goes through the end-to-end tests (a
# project created, the help and icon found under ../share/trelik, the options, --unregister-all
# after a template was registered, the folder entry in each file manager installed).
# Usage: package_e2e.sh <build folder> <version> <folder for screenshots> hardened|unhardened
set -u
build=$1
version=$2
artifacts=$3
hardening=$4
here=$(dirname "$0")
. "$here/../checks.sh"

out=$(mktemp -d /tmp/trelik-package.XXXXXX)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  fail "cpack failed"
  finish
fi
deb="$out/trelik_${version}_amd64.deb"
[ -f "$deb" ] || { fail "no package $deb: $(ls "$out")"; finish; }

expected_files='./usr/bin/trelik
./usr/share/applications/trelik.desktop
./usr/share/doc/trelik/changelog.gz
./usr/share/doc/trelik/copyright
./usr/share/icons/hicolor/128x128/apps/trelik.png
./usr/share/icons/hicolor/16x16/apps/trelik.png
./usr/share/icons/hicolor/256x256/apps/trelik.png
./usr/share/icons/hicolor/32x32/apps/trelik.png
./usr/share/icons/hicolor/48x48/apps/trelik.png
./usr/share/icons/hicolor/64x64/apps/trelik.png
./usr/share/icons/hicolor/scalable/apps/trelik.svg
./usr/share/man/man1/trelik.1.gz
./usr/share/metainfo/example.trelik.Trelik.metainfo.xml
./usr/share/trelik/help/anywhere.html
./usr/share/trelik/help/index.html
./usr/share/trelik/help/notices.html
./usr/share/trelik/help/tokens.html
./usr/share/trelik/help/trelik.css
./usr/share/trelik/trelik-16.png
./usr/share/trelik/trelik-32.png
./usr/share/trelik/trelik-48.png
./usr/share/trelik/trelik.png'
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected_files" ] || fail "the package holds: $files"
[ "$(dpkg-deb -f "$deb" Package Version Architecture)" = "$(printf 'Package: trelik\nVersion: %s\nArchitecture: amd64' "$version")" ] ||
  fail "control fields: $(dpkg-deb -f "$deb" Package Version Architecture)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
  fail "the dependencies were not computed from the program: $(dpkg-deb -f "$deb" Depends)"

root="$out/root"
dpkg-deb -x "$deb" "$root"
entry="$root/usr/share/applications/trelik.desktop"
validation=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $validation"
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
for line in 'Name=Trelik' 'Comment=Project templates for the New menu' 'Exec=trelik --editor' \
  'Name=Remove from this desktop' 'Exec=trelik --unregister-all --window'; do
  grep -qxF "$line" "$entry" || fail "the menu entry lacks $line"
done
validation=$(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml 2>&1) ||
  fail "appstreamcli: $validation"
man --warnings -l "$root/usr/share/man/man1/trelik.1.gz" >/dev/null 2>"$out/man.log" ||
  fail "man: $(cat "$out/man.log")"
[ -s "$out/man.log" ] && fail "man: $(cat "$out/man.log")"
grep -q 'unregister' <(zcat "$root/usr/share/man/man1/trelik.1.gz") ||
  fail "the manual page does not say how to remove the registrations"

# Errors and warnings fail; the informational tags left are listed in the README.
lintian --display-info --fail-on none "$deb" >"$out/lintian.log" 2>&1 ||
  fail "lintian could not check the package: $(cat "$out/lintian.log")"
grep -E '^[EW]: ' "$out/lintian.log" && fail "lintian: $(cat "$out/lintian.log")"
# The program is built with the distribution's hardening flags, unless the build turned them off
# (the sanitizer build, whose package nobody ships).
[ "$hardening" = hardened ] && grep -E 'hardening-' "$out/lintian.log" &&
  fail "lintian: $(cat "$out/lintian.log")"

# The unpacked program as a user runs it.
bash "$here/create_project_e2e.sh" "$root/usr/bin/trelik" "$artifacts/package-create" ||
  fail "creating a project with the packaged program"
bash "$here/options_e2e.sh" "$root/usr/bin/trelik" "$artifacts/package-options" "$version" ||
  fail "the options of the packaged program"
bash "$here/file_managers_e2e.sh" "$root/usr/bin/trelik" "$artifacts/package-file-managers" ||
  fail "the folder entry in the file managers"

finish
