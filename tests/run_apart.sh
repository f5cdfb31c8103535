#!/usr/bin/env bash
# Runs a Windows test program in a Wine session of its own: its own Xvfb screen, its own
# wineserver and a prefix of its own (the project's, hard-linked, with its own registry).
# So a test that mostly waits, or one that needs another screen, runs beside the tests
# that share the main screen instead of holding it.
#   run_apart.sh NAME TEST_PROGRAM [ARGUMENTS...]
# KVT_XVFB_ARGS gives other Xvfb arguments (default: one screen of 1280 x 720).
set -uo pipefail
name=$1; shift
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

base=$WINEPREFIX
export WINEPREFIX=$root/build/$KVT_ARCH/wineprefix-$name
rm -rf "$WINEPREFIX"
copy_prefix "$base" "$WINEPREFIX" || exit 1

fifo=$(mktemp -u); mkfifo "$fifo"
# shellcheck disable=SC2086  # the arguments are words
Xvfb -displayfd 3 ${KVT_XVFB_ARGS:--screen 0 1280x720x24} -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r num <"$fifo"; rm -f "$fifo"
export DISPLAY=":$num"
trap 'stop_wine_session; stop_xvfb; rm -rf "$WINEPREFIX"' EXIT

start_wine_session
"$wine" "$@"
