#!/usr/bin/env bash
# Sets up, builds and starts Velmora's release build under Wine: in your X
# display when there is one, otherwise in Wine's virtual desktop under Xvfb,
# with a screenshot of the window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows-release >/dev/null
cmake --build --preset windows-release
exec scripts/run-velmora.sh build/windows-release/src/window/Velmora.exe
