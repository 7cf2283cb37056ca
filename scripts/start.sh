#!/usr/bin/env bash
# Sets up, builds and starts Velmora under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

if [ ! -f build/windows/src/window/Velmora.exe ]; then
  echo "Built and tested the environment layer; the window (Velmora.exe) comes next."
  exit 0
fi
exec scripts/run-velmora.sh build/windows/src/window/Velmora.exe
