#!/usr/bin/env bash
# Runs the two-monitor tests in a Wine session of their own (tests/run_apart.sh): one
# Xvfb screen of 1600 x 600 with RANDR off and the stand-in libXinerama (two heads of
# 800 x 600) first on LD_LIBRARY_PATH, as the session's monitors are fixed when it starts.
#   run.sh STAND_IN_FOLDER TEST_PROGRAM [ARGUMENTS...]
stand_in=$1; shift
export LD_LIBRARY_PATH=$stand_in${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
export KVT_XVFB_ARGS="-extension RANDR -screen 0 1600x600x24"
exec "$(dirname "${BASH_SOURCE[0]}")/../../run_apart.sh" two-monitors "$@"
