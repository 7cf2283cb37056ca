# Sourced by the scripts that run Windows programs: gives a Wine prefix one
# persistent wineserver (so each program does not pay Wine's start-up) and, when
# asked, an Xvfb display; both are ended by their process ids on exit.
#
#   wine_session_start PREFIX [xvfb]

wine_session_pids=()

wine_session_stop() {
  local pid
  # Wine's own processes of the prefix go with their server; then ours by id.
  if [ -n "${VELMORA_WINE_SESSION:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${wine_session_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${wine_session_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  wine_session_pids=()
  unset VELMORA_WINE_SESSION
}

wine_session_start() {
  local prefix=$1 display=${2:-}
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Whatever the session starts ends with the script, on every path.
  trap wine_session_stop EXIT
  # The display comes first: Wine's desktop keeps the display its server's
  # first program found.
  if [ "$display" = xvfb ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    wine_session_pids+=($!)
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
  fi
  # Made by the Wine installed now, or made anew.
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix" "$prefix"
  # Let the server that set the prefix up go away, then keep one of our own.
  wineserver -w
  # In a session of its own, so that a signal to our process group (timeout,
  # a terminal's Ctrl+C) leaves it to wine_session_stop to end Wine in order.
  export VELMORA_WINE_SESSION=1
  setsid wineserver -f -p >/dev/null 2>&1 &
  wine_session_pids+=($!)
  # The first program of the server's life starts Wine's helper services: start
  # them now, apart from any test. On a private Xvfb no window manager answers
  # Wine, which then waits two seconds for each window to go away: there its
  # windows are left unmanaged. In the user's display they are managed.
  local x11='HKCU\Software\Wine\X11 Driver'
  if [ "$display" = xvfb ]; then
    wine reg add "$x11" /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  else
    wine reg delete "$x11" /v Managed /f </dev/null >/dev/null 2>&1 || true
  fi
}
