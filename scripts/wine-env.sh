# Shared by the scripts that run Windows programs: the Wine prefix inside the
# build tree, the Chinese locale the program's users have, a display (Xvfb
# when there is none), and a wineserver that stays up between programs so
# each start is fast.  Source it, then call talmic_wine_ready.

talmic_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
talmic_build=${TALMIC_BUILD_ROOT:-$talmic_root/build}

export WINEPREFIX=${TALMIC_WINEPREFIX:-$talmic_build/wineprefix}
export WINEARCH=win32
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# No prompts to install Wine's .NET and HTML engines: nothing here uses them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEDEBUG=${WINEDEBUG:--all}

talmic_log() { printf '%s\n' "$*" >&2; }

# Starts an Xvfb of our own unless a usable display is already set.  The
# display is recorded beside the prefix so that later calls share it.
talmic_display() {
  local record=$talmic_build/xvfb.display
  local display='' pid=''
  if [ -f "$record" ]; then
    read -r display pid <"$record" || true
    if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
      display=''
    fi
  fi
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # A display handed down by a script that started our Xvfb is still ours.
    if [ -n "$display" ] && [ "$DISPLAY" = ":$display" ]; then
      talmic_own_display=1
    else
      talmic_own_display=0
    fi
    return 0
  fi
  talmic_own_display=1
  if [ -n "$display" ]; then
    export DISPLAY=":$display"
    return 0
  fi
  mkdir -p "$talmic_build"
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  local xpid=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  echo "$number $xpid" >"$record"
  export DISPLAY=":$number"
}

# Creates the prefix once; keeps a wineserver running for a while after the
# last program so consecutive starts skip its start-up.
talmic_prefix() {
  mkdir -p "$talmic_build"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      talmic_log "wine: creating the prefix in $WINEPREFIX"
      wineboot -i </dev/null >/dev/null 2>&1 9>&-
      wineserver -w 9>&-
    fi
    # Wine's own background programs (services, the desktop) start with the
    # first program and inherit its output; starting them here, with no
    # output, keeps them from holding a caller's pipe open after its program
    # has ended.  None of them may inherit the lock either.
    wineserver -p"${TALMIC_WINESERVER_PERSIST-120}" </dev/null >/dev/null 2>&1 9>&- || true
    wineboot </dev/null >/dev/null 2>&1 9>&- || true
    talmic_window_management 9>&-
  ) 9>"$talmic_build/wineprefix.lock"
}

# Wine hands its top-level windows to the desktop's window manager and, each
# time it hides or destroys one, waits up to two seconds for the manager to
# acknowledge.  Our own Xvfb has no window manager, so there Wine is told to
# place its windows itself; on a real desktop the desktop's manager does.
# The choice is written to the prefix only when it changes.
talmic_window_management() {
  local want=managed
  [ "${talmic_own_display:-0}" = 1 ] && want=unmanaged
  # One record per prefix: a test may run in a prefix of its own.
  local record=$WINEPREFIX.windows
  if [ -f "$record" ] && [ "$(cat "$record")" = "$want" ]; then
    return 0
  fi
  local key='HKCU\Software\Wine\X11 Driver'
  if [ "$want" = unmanaged ]; then
    wine reg add "$key" /v Managed /d N /f </dev/null >/dev/null 2>&1 || return 0
  else
    wine reg delete "$key" /v Managed /f </dev/null >/dev/null 2>&1 || true
  fi
  echo "$want" >"$record"
}

talmic_wine_ready() {
  talmic_display
  talmic_prefix
}

# Ends the display this shell started (if any) and the wineserver, and any
# browser program the engine left behind in the prefix (a test that failed
# half-way): under Wine it is a native process that no Windows handle
# reaches.
talmic_wine_stop() {
  pkill -f -- "--user-data-dir=$WINEPREFIX/" >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  local record=$talmic_build/xvfb.display
  if [ -f "$record" ]; then
    read -r _ pid <"$record" || true
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -f "$record"
  fi
}
