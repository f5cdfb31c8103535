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

# shellcheck disable=SC2086  # the arguments are words
begin_wine_session -c "$root/build/$KVT_ARCH/wineprefix-$name" -- ${KVT_XVFB_ARGS:-} || exit 1
"$wine" "$@"
