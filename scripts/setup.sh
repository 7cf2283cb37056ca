#!/usr/bin/env bash
# Installs, from Debian's archive, everything Velmora needs to build, run and
# test. Does nothing and says nothing when all of it is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang-format
  googletest libbenchmark-dev nlohmann-json3-dev python3-jsonschema
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 wine32:i386 fonts-wine
  xvfb xdotool x11-utils x11-apps imagemagick
  util-linux procps
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
# The 32-bit build's tests run under Debian's 32-bit Wine, a package of the
# i386 architecture.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
