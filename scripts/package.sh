#!/usr/bin/env bash
# Builds the release packages for Windows users, for x86_64 and for i686:
# stripped programs (Velmora.exe, VelmoraReport.exe) with their debug
# information beside them in the build, and a ZIP holding the programs, the
# JSON schemas and a read-me, written to build/packages with SHA256SUMS.
#
# Two runs on one commit give the same ZIPs, byte for byte: the programs carry
# no build path and no link time, and the ZIP's entries are sorted, dated at
# the commit's time (SOURCE_DATE_EPOCH, if set, instead) and without extra
# fields. VELMORA_PACKAGE_PRESETS names the presets to package (both by
# default).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

# The promise to users: each program alone is under a megabyte.
limit=1000000
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
packages=$root/build/packages
mkdir -p "$packages"
summary=()
for preset in ${VELMORA_PACKAGE_PRESETS:-windows-release windows-x86-release}; do
  printf '\n== %s\n' "$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  build=build/$preset
  arch=$([ "$preset" = windows-release ] && echo win64 || echo win32)
  for exe in src/window/Velmora.exe src/console/VelmoraReport.exe; do
    size=$(stat -c %s "$build/$exe")
    if [ "$size" -ge "$limit" ]; then
      echo "$build/$exe is $size bytes, more than $limit" >&2
      exit 1
    fi
    summary+=("$(printf '%-20s %-18s %7d bytes' "$preset" "$(basename "$exe")" "$size")")
  done
  name=Velmora-$version-$arch
  stage=$build/stage
  rm -rf "$stage"
  cmake --install "$build" --prefix "$stage/$name" >/dev/null
  find "$stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
  find "$stage" -exec touch -h -d "@$epoch" {} +
  rm -f "$packages/$name.zip"
  (cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D "$packages/$name.zip" -@)
done

(cd "$packages" && sha256sum -- *.zip >SHA256SUMS)
printf '\n'
printf '%s\n' "${summary[@]}"
printf 'Packages (build/packages):\n'
sed 's/^/  /' "$packages/SHA256SUMS"
