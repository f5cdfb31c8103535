#!/usr/bin/env bash
# Ctrl-C in a script that runs a command in a Wine session (with_wine_session) ends the whole
# session: its Xvfb, its wineserver and every Wine program. The script runs on a copy of the
# test prefix in a process group of its own, as a terminal's foreground job does, and the
# group gets SIGINT once the command runs. Prints one line per check; exits non-zero when any
# fails.
set -u -o pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
work=$(mktemp -d)
prefix=$work/prefix
ensure_prefix
copy_prefix "$WINEPREFIX" "$prefix"

# The processes whose environment names the copy: the script, its Xvfb, the wineserver and
# Wine's programs. Whatever is left of them when the test ends is ended by its id.
session_processes() { grep -lxzF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
on_exit 'kill -9 $(session_processes) 2>/dev/null; rm -rf "$work"'
# Polls COMMAND every 0.1 s for at most SECONDS seconds (until SECONDS COMMAND...).
until_true() { local i; for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0; sleep 0.1; done; false; }
none_left() { [ -z "$(session_processes)" ]; }
# True once the job below has ended (a zombie until it is waited for).
ended() { ! grep -qs '^State:[[:space:]]*[^Z]' "/proc/$group/status"; }

cat >"$work/session.sh" <<EOF
source "$root/scripts/lib.sh"
with_wine_session bash -c 'touch "$work/running"; exec sleep 600'
EOF
# A background job of a script ignores SIGINT; a terminal's foreground job does not.
python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.setsid()
os.execvp(sys.argv[1], sys.argv[1:])' env WINEPREFIX="$prefix" bash "$work/session.sh" &
group=$!

check "the command runs in the session" until_true 120 test -e "$work/running"
running=$(for pid in $(session_processes); do cat "/proc/$pid/comm"; done 2>/dev/null)
check "its Xvfb runs" grep -q '^Xvfb' <<<"$running"
check "its wineserver runs" grep -q '^wineserver' <<<"$running"
kill -INT -- -"$group"
check "Ctrl-C ends the script" until_true 60 ended
check "and leaves no Xvfb, wineserver or Wine program" until_true 30 none_left
for pid in $(session_processes); do echo "left: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline")"; done
[ $failures = 0 ]
