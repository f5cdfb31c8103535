#!/usr/bin/env bash
# Runs the two-monitor tests in a Wine session of their own: one Xvfb screen of
# 1600 x 600 with RANDR off, the stand-in libXinerama (two heads of 800 x 600) first
# on LD_LIBRARY_PATH, and a prefix of their own, as the session's monitors are fixed
# when it starts. The prefix is the project's, hard-linked, with its own registry.
#   run.sh STAND_IN_FOLDER TEST_PROGRAM [ARGUMENTS...]
set -uo pipefail
stand_in=$1; shift
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib.sh"

base=$WINEPREFIX
export WINEPREFIX=$root/build/$KVT_ARCH/wineprefix-two-monitors
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
cp -al "$base/drive_c" "$WINEPREFIX/" &&
  cp -a "$base/dosdevices" "$base"/*.reg "$base/.update-timestamp" "$WINEPREFIX/" || exit 1

export LD_LIBRARY_PATH=$stand_in${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -extension RANDR -screen 0 1600x600x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r num <"$fifo"; rm -f "$fifo"
export DISPLAY=":$num"
trap 'stop_wine_session; stop_xvfb; rm -rf "$WINEPREFIX"' EXIT

start_wine_session
"$wine" "$@"
