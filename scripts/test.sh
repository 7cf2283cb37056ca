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

# The tests stay at most a third of the code: lines of C++ under tests/ over
# those under src/ and tests/ together.
step "share of tests in the code"
lines() { git ls-files -z -- "$1/*.cpp" "$1/*.h" | xargs -0 cat | wc -l; }
src_lines=$(lines src)
test_lines=$(lines tests)
echo "tests: $test_lines of $((src_lines + test_lines)) lines" \
  "($((100 * test_lines / (src_lines + test_lines))) %, at most 33 %)"
