#!/bin/bash
# Runs a Windows test program against an echoing far end on COM1:
#   run_on_echo_line.sh PREFIX PYTHON ECHO_PEER PROGRAM.exe [OPTIONS...]
# The program gets the options and then the port name.
set -euo pipefail
prefix="$1" python="$2" peer="$3" program="$4"
shift 4
. "$(dirname "$0")/../../scripts/wine-env.sh"
wine_env_start "$prefix"

coproc PEER { exec "$python" "$peer"; }
peer_pid=$PEER_PID
peer_in=${PEER[1]}
# Closing the peer's input ends it, whichever way this script ends.
trap 'exec {peer_in}>&-; wait "$peer_pid"' EXIT

read -r -t 10 terminal <&"${PEER[0]}"
wine_map_com COM1 "$terminal"
wine "$program" "$@" '\\.\COM1'
