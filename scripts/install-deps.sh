#!/usr/bin/env bash
# Installs, from Debian's packages only, whatever the builds and tests need and is not there yet.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev googletest libgtest-dev
  g++-mingw-w64-x86-64-posix wine64 nsis unzip
  xvfb xauth xdotool openbox x11-utils imagemagick libx11-dev libxdamage-dev
  desktop-file-utils shared-mime-info xdg-utils xdg-user-dirs libglib2.0-bin fp-utils
  libfile-mimeinfo-perl dpkg-dev lintian appstream man-db
  clang libclang-rt-14-dev clang-format clang-tidy git strace
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
