# Shared by the scripts and the test scripts: the Wine prefix, the X display and the Wine
# session. Source it; it defines functions and sets `root`.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=}
xvfb_pid=

# Chooses the Wine that runs the Windows programs (use_wine ARCH [PREFIX]) and its prefix,
# build/wineprefix or build/wineprefix-win32 unless PREFIX is given:
#   win64  64-bit Wine
#   win32  32-bit Wine under qemu-i386 (scripts/win32-runtime prepares it), served by the
#          native wineserver64 of the same version
use_wine() {
  export KVT_ARCH=$1
  case $1 in
  win64)
    wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
    unset WINEARCH WINESERVER
    export WINEPREFIX=${2:-$root/build/wineprefix} ;;
  win32)
    wine=$root/build/win32-runtime/root/usr/lib/wine/wine wineserver=/usr/lib/wine/wineserver64
    export WINEARCH=win32 WINESERVER=$wineserver
    export WINEPREFIX=${2:-$root/build/wineprefix-win32} ;;
  *) echo "use_wine: no Wine for '$1'" >&2; return 1 ;;
  esac
}
# KVT_ARCH and WINEPREFIX pass the choice on to the scripts and tests started from here.
use_wine "${KVT_ARCH:-win64}" "${WINEPREFIX:-}"

# What a script undoes when it ends, however it ends (Ctrl-C and TERM too): on_exit COMMAND
# adds a step. The steps run last first, each only in the shell or subshell that added it.
# They take over the traps on EXIT, INT and TERM, so a script that sources this file adds
# its own cleanup here instead of setting those traps.
exit_steps=()
on_exit() {
  exit_steps+=("$BASHPID $1")
  trap run_exit_steps EXIT
  if [[ $- == *i* ]]; then
    trap run_exit_steps INT # an interactive shell goes on
  else
    trap 'exit 130' INT
    trap 'exit 143' TERM
  fi
}
run_exit_steps() {
  local i
  for ((i = ${#exit_steps[@]} - 1; i >= 0; i--)); do
    [ "${exit_steps[i]%% *}" != "$BASHPID" ] || eval "${exit_steps[i]#* }"
  done
}

# For the test scripts: runs a check and says "ok: WHAT" or "FAILED: WHAT" (check WHAT
# COMMAND...); failures counts the failed ones.
failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Creates the prefix once: Japanese font replacements, no crash dialog, unmanaged windows.
prefix_version=2
ensure_prefix() {
  [ -f "$WINEPREFIX/.kvt-ready-$prefix_version" ] && return 0
  mkdir -p "$WINEPREFIX"
  echo "wine: creating the prefix $WINEPREFIX (about 20 seconds, once)"
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
  local key='HKCU\Software\Wine\Fonts\Replacements'
  local face
  for face in 'ＭＳ Ｐゴシック' 'MS PGothic' 'ＭＳ ＵＩ Ｇｏｔｈｉｃ' 'MS UI Gothic'; do
    "$wine" reg add "$key" /v "$face" /d 'IPAPGothic' /f </dev/null >/dev/null 2>&1
  done
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ 明朝' 'MS Mincho' 'ＭＳ Ｐ明朝' 'MS PMincho'; do
    "$wine" reg add "$key" /v "$face" /d 'IPAGothic' /f </dev/null >/dev/null 2>&1
  done
  # A crashing program ends instead of waiting in a dialog.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  # Xvfb has no window manager: without this, Wine waits two seconds for one whenever
  # a top-level window goes away.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  "$wineserver" -w
  touch "$WINEPREFIX/.kvt-ready-$prefix_version"
}

# A fresh copy of a prefix (copy_prefix FROM TO), in a fraction of a second: the DLLs under
# system32 are never written, so they are hard links; everything else, the registry
# above all, is copied (Wine writes a hard-linked .reg file in place).
copy_prefix() {
  local from=$1 to=$2 e
  mkdir -p "$to/drive_c/windows"
  for e in "$from"/.[!.]* "$from"/*; do
    [ "$(basename "$e")" = drive_c ] || cp -a "$e" "$to/"
  done
  for e in "$from"/drive_c/*; do
    [ "$(basename "$e")" = windows ] || cp -a "$e" "$to/drive_c/"
  done
  for e in "$from"/drive_c/windows/*; do
    if [ "$(basename "$e")" = system32 ]; then cp -al "$e" "$to/drive_c/windows/"
    else cp -a "$e" "$to/drive_c/windows/"; fi
  done
}

# Starts Xvfb on a free display of its own and points DISPLAY at it: start_xvfb XVFB-ARGUMENT...
start_xvfb() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 "$@" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local num; read -r num <"$fifo"; rm -f "$fifo"
  [ -n "$num" ] || { echo "Xvfb $* did not start" >&2; xvfb_pid=; return 1; }
  export DISPLAY=":$num"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; then wait "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=
}

# A Wine session: a screen, then the prefix, then the wineserver and Wine's services, in that
# order (without a screen, each program that makes a prefix waits for a desktop that cannot
# start; under emulation, half a minute each). One session for a whole run, so the services
# do not hold test pipes open.
#   begin_wine_session [-d] [-c FOLDER] [-- XVFB-ARGUMENT...]
#     -d          the screen DISPLAY names, when it answers, instead of one of its own
#     -c FOLDER   a fresh copy of the test prefix in FOLDER, removed when the session ends
#     XVFB-ARGUMENT...  the screen of its own (default: one screen of 1280 x 720)
# end_wine_session ends it: the wineserver with every program in it, then the screen. So
# does the script's end, Ctrl-C or TERM when it comes first.
session_on='' session_screen='' session_server='' session_copy='' session_template='' session_exit_step=''
begin_wine_session() {
  local own_screen=1 opt OPTIND=1
  session_screen='' session_server='' session_copy=''
  while getopts dc: opt; do
    case $opt in
    d) ! xdpyinfo >/dev/null 2>&1 || own_screen= ;;
    c) session_copy=$OPTARG ;;
    *) return 2 ;;
    esac
  done
  shift $((OPTIND - 1))
  [ "$session_exit_step" = "$BASHPID" ] || { on_exit end_wine_session; session_exit_step=$BASHPID; }
  session_on=1
  [ $# -gt 0 ] || set -- -screen 0 1280x720x24
  if [ -n "$own_screen" ]; then
    session_screen=1
    start_xvfb "$@" || return 1
  fi
  ensure_prefix
  if [ -n "$session_copy" ]; then
    session_template=$WINEPREFIX
    export WINEPREFIX=$session_copy
    rm -rf "$session_copy"
    copy_prefix "$session_template" "$session_copy" || return 1
  fi
  session_server=1
  start_wine_session
}

end_wine_session() {
  [ -n "$session_on" ] || return 0
  [ -z "$session_server" ] || stop_wine_session
  [ -z "$session_screen" ] || stop_xvfb
  if [ -n "$session_copy" ]; then
    rm -rf "$session_copy"
    export WINEPREFIX=$session_template
  fi
  session_on='' session_screen='' session_server='' session_copy=''
}

start_wine_session() {
  "$wineserver" -p </dev/null >/dev/null 2>&1
  keep_desktop
  "$wine" wineboot </dev/null >/dev/null 2>&1
}

# Wine closes the desktop (explorer.exe /desktop) a second after the last program on it has
# ended, and the next program that opens a window waits for a new one: about one and a half
# seconds each time, two under emulation. A program that waits for input that never comes
# keeps the desktop in use until the session ends; started before wineboot, it keeps the
# one wineboot brings up.
keep_desktop() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  "$wine" cmd /c pause 0<>"$fifo" >/dev/null 2>&1 &
  rm -f "$fifo"
}

stop_wine_session() {
  "$wineserver" -k </dev/null >/dev/null 2>&1 || true
}

# The loopback feed server of tests/server, for scripts that are not run by CTest:
# start_feed_server STATE-FOLDER sets feed_url; stop_feed_server stops it.
feed_state=
start_feed_server() {
  feed_state=$1
  python3 "$root/tests/server/feed_server.py" start --fixtures "$root/tests/fixtures" --state "$feed_state" >/dev/null
  feed_url="http://127.0.0.1:$(cat "$feed_state/port")"
}

stop_feed_server() {
  [ -n "$feed_state" ] && python3 "$root/tests/server/feed_server.py" stop --state "$feed_state" >/dev/null
  feed_state=
}

# Runs a command in a Wine session of the test prefix with a screen of its own, ended
# afterwards (also when the command fails).
with_wine_session() {
  begin_wine_session || { end_wine_session; return 1; }
  local status=0
  "$@" || status=$?
  end_wine_session
  return $status
}
