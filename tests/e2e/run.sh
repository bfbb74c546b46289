#!/usr/bin/env bash
# End-to-end tests: Tarnwick.exe under Wine on a virtual X display, against
# simulated scanners on pseudo-terminals mapped to COM ports, driven from
# outside by tests/e2e (built into the Windows build tree).
#
#   tests/e2e/run.sh [NATIVE_BUILD [WINDOWS_BUILD [OUTPUT]]]
#
# Defaults: build/native, build/windows and build/e2e. OUTPUT gets the
# suite's report (e2e.log), the simulators' byte logs (comN-bytes.log) and the
# screenshots (screenshots/*.png). The last line says "N passed, M failed".
#
# The ports:  COM1  a scanner at version 1.1 (the factory one) that is in
#                   update mode at the next open after a TEST
#             COM2  version 1.2, never sends the ready byte
#             COM3  version 1.3
#             COM4  echoes every byte, answers nothing
#             COM256 nothing
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(realpath -m "${1:-$root/build/native}")
windows=$(realpath -m "${2:-$root/build/windows}")
out=$(realpath -m "${3:-$root/build/e2e}")

# Generous bounds, so that a busy machine cannot make the suite fail; a
# hung step still ends the run.
readonly START_LIMIT_S=30
readonly SUITE_LIMIT_S=900

fail() {
  echo "e2e: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

simulator=$native/tools/scanner/scanner_sim
program=$windows/Tarnwick.exe
suite=$windows/tests/e2e/e2e_suite.exe
for file in "$simulator" "$program" "$suite"; do
  [ -x "$file" ] || [ -f "$file" ] || fail "$file is missing: build the native and windows presets first"
done
payload=$(sed -n 's/^TARNWICK_FIRMWARE_PAYLOAD:FILEPATH=//p' "$windows/CMakeCache.txt")
[ -f "$payload" ] || fail "cannot tell the firmware payload from $windows/CMakeCache.txt"

mkdir -p "$out"
rm -rf "$out/screenshots" "$out"/com*-bytes.log "$out"/com*-image.bin "$out/e2e.log"
mkdir -p "$out/screenshots"

pids=()
cleanup() {
  # Everything that Wine runs in this prefix, then our own processes.
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Waits for a condition, at most START_LIMIT_S seconds.
await() {
  local deadline=$((SECONDS + START_LIMIT_S))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# A display of our own; Xvfb writes its number once it accepts clients.
exec 3>"$out/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
await test -s "$out/display" || fail "Xvfb did not start (see $out/xvfb.log)"
export DISPLAY=":$(cat "$out/display")"

# The simulated scanners, each reached through a fixed link to its terminal.
start_scanner() {
  local port=$1
  shift
  rm -f "$out/com$port"
  "$simulator" --link "$out/com$port" --log "$out/com$port-bytes.log" "$@" \
    >/dev/null 2>"$out/com$port.err" &
  pids+=($!)
  await test -L "$out/com$port" || fail "the simulator for COM$port did not start"
}
start_scanner 1 --mode auto --version 0x91 --image-out "$out/com1-image.bin"
start_scanner 2 --version 0x12
start_scanner 3 --version 0x13
start_scanner 4 --silent

# A private Wine prefix whose programs share one virtual desktop (it draws
# the window frames, which a bare X server has nobody to draw), with the
# ports mapped to the links. The mapping stays in the prefix for later runs.
. "$root/scripts/wine-env.sh"
wine_env_start "$out/wineprefix" || fail "the Wine prefix could not be prepared"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null
for port in 1 2 3 4; do
  if [ "$(readlink "$WINEPREFIX/dosdevices/com$port")" != "$out/com$port" ]; then
    wine_map_com "COM$port" "$out/com$port" || fail "COM$port could not be mapped"
  fi
done

windows_path() { echo "Z:${1//\//\\}"; }
status=0
timeout "$SUITE_LIMIT_S" wine "$suite" "$(windows_path "$program")" "$(windows_path "$out")" \
  "$(windows_path "$payload")" 2>"$out/e2e.err" | tr -d '\r' | tee "$out/e2e.log" || status=$?

for picture in "$out"/screenshots/*.bmp; do
  [ -f "$picture" ] || continue
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "screenshots: $out/screenshots; byte logs: $out/com*-bytes.log"
summary=$(tail -n 1 "$out/e2e.log")
[[ "$summary" =~ ^[0-9]+\ passed,\ [0-9]+\ failed$ ]] ||
  fail "the suite ended early (status $status; see $out/e2e.err)"
echo "$summary"
exit "$status"
