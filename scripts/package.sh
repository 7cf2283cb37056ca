#!/usr/bin/env bash
# Builds the release packages for Windows users, for x86_64 and for i686: a
# stripped Velmora.exe with its debug information beside it (Velmora.debug),
# and a ZIP holding the program and a read-me, written to build/packages.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

# The promise to users: the program alone is under a megabyte.
limit=1000000
summary=()
for preset in windows-release windows-x86-release; do
  printf '\n== %s\n' "$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  cpack --preset "$preset" >/dev/null
  exe=build/$preset/src/window/Velmora.exe
  size=$(stat -c %s "$exe")
  if [ "$size" -ge "$limit" ]; then
    echo "$exe is $size bytes, more than $limit" >&2
    exit 1
  fi
  summary+=("$(printf '%-20s Velmora.exe %7d bytes, debug information in %s' \
    "$preset" "$size" "build/$preset/src/window/Velmora.debug")")
done

printf '\n'
printf '%s\n' "${summary[@]}"
printf 'Packages:\n'
ls -1 build/packages/*.zip | sed 's/^/  /'
