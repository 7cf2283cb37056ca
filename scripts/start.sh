#!/usr/bin/env bash
# Sets up, builds and starts Velmora under Wine: in your X display when there
# is one, otherwise under Xvfb with a screenshot of the window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
exec scripts/run-velmora.sh build/windows/src/window/Velmora.exe
