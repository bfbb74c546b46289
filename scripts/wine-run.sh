#!/bin/sh
# Runs a Windows program under Wine in the given prefix:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# ctest uses it to start every cross-built test program.
set -eu
. "$(dirname "$0")/wine-env.sh"
wine_env_start "$1"
shift
exec wine "$@"
