#!/usr/bin/env bash
# Sets up and runs every test: the native core under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows build under Wine (window tests under
# Xvfb), and the 32-bit Windows build (its tests need 32-bit Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

step() { printf '\n== %s\n' "$*"; }

step "native: build and test"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "windows (x86_64): build and test under Wine"
source scripts/wine-session.sh
wine_session_start "$root/build/windows/wineprefix" xvfb
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
wine_session_stop

step "windows-x86 (i686): build, and test where 32-bit Wine is present"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86
ctest --preset windows-x86

step "fuzz: the registry reader and the report builder, 30 seconds each"
scripts/fuzz.sh 30 --check
