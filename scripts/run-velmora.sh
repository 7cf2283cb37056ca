#!/usr/bin/env bash
# Starts a built Velmora.exe under Wine, in a Wine prefix of its own, and waits
# until its window is closed:
#
#   scripts/run-velmora.sh [path/to/Velmora.exe]
#
# With a working X display ($DISPLAY) the window opens there. Without one it
# runs in Wine's virtual desktop on a private Xvfb, so that the window shows
# its frame, icon and caption as on Windows, and a screenshot of the desktop
# is written to build/velmora-screenshot.png (or $VELMORA_SCREENSHOT); Ctrl+C
# ends it. Either way, the Wine server, Wine's helper programs and the Xvfb
# end with the script. VELMORA_DPI=144 (or any
# DPI) starts it as on a display of that DPI, through Wine's LogPixels
# setting in the prefix; 96 when not given. VELMORA_USER_PATH sets the user's
# PATH in the prefix before the program starts, and VELMORA_POINT_AT="X Y"
# rests the pointer there (in the virtual desktop) before the screenshot, so
# that the tip of what lies there shows in it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
exe=$(realpath "${1:-build/windows-release/src/window/Velmora.exe}")
prefix=${VELMORA_PREFIX:-$root/build/run-wineprefix}
shot=${VELMORA_SCREENSHOT:-$root/build/velmora-screenshot.png}

if [ ! -f "$exe" ]; then
  echo "No program at $exe: build it first (cmake --build --preset windows-release)." >&2
  exit 1
fi

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh

mode=display
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  mode=xvfb
  wine_session_start "$prefix" xvfb
else
  wine_session_start "$prefix"
fi
trap 'exit 130' INT TERM
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${VELMORA_DPI:-96}" /f \
  >/dev/null 2>&1
if [ -n "${VELMORA_USER_PATH:-}" ]; then
  wine reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d "$VELMORA_USER_PATH" /f >/dev/null 2>&1
fi

if [ "$mode" = display ]; then
  echo "Starting Velmora on display $DISPLAY; close its window to end it."
  wine "$exe"
  exit 0
fi

# Without a window manager nothing would draw the window's frame; Wine's
# virtual desktop draws it, as Windows does.
wine explorer /desktop=Velmora,560x400 "$(winepath -w "$exe")" &
velmora=$!
# The window is up once its caption carries the version (Form_Load sets it).
for _ in $(seq 150); do
  if xdotool search --name '^Velmora [0-9]' >/dev/null 2>&1; then break; fi
  if ! kill -0 "$velmora" 2>/dev/null; then break; fi
  sleep 0.2
done
sleep 1  # let the window finish painting
desktop=$(xdotool search --name ' - Wine desktop$' 2>/dev/null | head -n 1 || true)
if [ -n "${VELMORA_POINT_AT:-}" ] && [ -n "$desktop" ]; then
  # shellcheck disable=SC2086
  xdotool mousemove --window "$desktop" $VELMORA_POINT_AT
  sleep 2  # a tip shows once the pointer has rested
fi
mkdir -p "$(dirname "$shot")"
import -display "$DISPLAY" -window "${desktop:-root}" "$shot"
echo "No X display found: Velmora runs in Wine's virtual desktop on Xvfb $DISPLAY."
echo "Screenshot of its window: $shot"
echo "Press Ctrl+C to end it."
wait "$velmora" || true
