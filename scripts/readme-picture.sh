#!/usr/bin/env bash
# Takes the README's picture (docs/velmora.png) through the start command's
# screenshot path: the release program under Wine in a prefix of its own,
# whose user PATH holds entries that cannot serve, with the pointer resting on
# one of them so that its tip says why.
#
#   scripts/readme-picture.sh [path/to/Velmora.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
shot=$root/build/readme-picture.png
rm -f "$shot"
# Without a display the start command shows the window in Wine's virtual
# desktop, where the rows stand at known places: the pointer rests on row 6.
env -u DISPLAY VELMORA_PREFIX="$root/build/picture-wineprefix" VELMORA_SCREENSHOT="$shot" \
  VELMORA_USER_PATH='C:\windows;C:\Program Files\Java\jdk-17\bin;' VELMORA_POINT_AT='140 197' \
  scripts/run-velmora.sh "$@" &
run=$!
for _ in $(seq 300); do
  if [ -s "$shot" ] || ! kill -0 "$run" 2>/dev/null; then break; fi
  sleep 0.2
done
sleep 1  # the screenshot is written whole
kill -TERM "$run" 2>/dev/null || true
wait "$run" || true
cp "$shot" docs/velmora.png
echo "docs/velmora.png taken from $shot"
