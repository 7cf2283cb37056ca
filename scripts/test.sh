#!/usr/bin/env bash
# Sets up and runs every test: the native core under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the 64-bit and the 32-bit Windows builds
# under Wine (window tests under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

step() { printf '\n== %s\n' "$*"; }

step "native: build and test"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# Each Windows build in a Wine session of its own: its prefix, a persistent
# Wine server and a private Xvfb.
windows_step() {
  local preset=$1
  wine_session_start "$root/build/$preset/wineprefix" xvfb
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  wine_session_stop
}
source scripts/wine-session.sh

step "fuzz: the registry reader and the report builder, 30 seconds each"
scripts/fuzz.sh 30 --check

step "windows (x86_64): build and test under Wine"
windows_step windows

step "windows-x86 (i686): build and test under 32-bit Wine"
windows_step windows-x86
