#!/usr/bin/env bash
# End-to-end tests: Tarnwick.exe under Wine on a virtual X display, against
# simulated scanners on pseudo-terminals mapped to COM ports, driven from
# outside by tests/e2e (built into the Windows build tree); and, on the same
# display, the in-process tests of the Win32 window backend.
#
#   tests/e2e/run.sh [NATIVE_BUILD [WINDOWS_BUILD [OUTPUT]]]
#
# Defaults: build/native, build/windows and build/e2e. OUTPUT gets the
# reports (backend.log, e2e.log), the simulators' byte logs (comN-bytes.log)
# and the screenshots (screenshots/*.png). The last line counts the checks of
# both: "N passed, M failed".
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
backend_tests=$windows/tests/e2e/window_backend_tests.exe
for file in "$simulator" "$program" "$suite" "$backend_tests"; do
  [ -x "$file" ] || [ -f "$file" ] || fail "$file is missing: build the native and windows presets first"
done
payload=$(sed -n 's/^TARNWICK_FIRMWARE_PAYLOAD:FILEPATH=//p' "$windows/CMakeCache.txt")
[ -f "$payload" ] || fail "cannot tell the firmware payload from $windows/CMakeCache.txt"

mkdir -p "$out"
rm -rf "$out/screenshots" "$out"/com*-bytes.log "$out"/com*-image.bin "$out/e2e.log" \
  "$out/backend.log"
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

. "$root/scripts/virtual-display.sh"
virtual_display_start "$out" || fail "no display"
pids+=("$VIRTUAL_DISPLAY_PID")

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

# A private Wine prefix whose programs share one desktop window, with the
# ports mapped to the links. The mapping stays in the prefix for later runs.
. "$root/scripts/wine-env.sh"
wine_env_start "$out/wineprefix" || fail "the Wine prefix could not be prepared"
wine_desktop_window on || fail "the Wine desktop window could not be set up"
for port in 1 2 3 4; do
  if [ "$(readlink "$WINEPREFIX/dosdevices/com$port")" != "$out/com$port" ]; then
    wine_map_com "COM$port" "$out/com$port" || fail "COM$port could not be mapped"
  fi
done

windows_path() { echo "Z:${1//\//\\}"; }

echo "=== the window backend, in-process ==="
timeout "$SUITE_LIMIT_S" wine "$backend_tests" 2>&1 | tr -d '\r' | tee "$out/backend.log" || true
backend_passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' "$out/backend.log")
backend_failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:$/\1/p' "$out/backend.log")
# A run that ended before its summary counts as one failure.
[ -n "$backend_passed$backend_failed" ] || backend_failed=1

echo "=== Tarnwick.exe from outside ==="
timeout "$SUITE_LIMIT_S" wine "$suite" "$(windows_path "$program")" "$(windows_path "$out")" \
  "$(windows_path "$payload")" 2>"$out/e2e.err" | tr -d '\r' | tee "$out/e2e.log" || true

for picture in "$out"/screenshots/*.bmp; do
  [ -f "$picture" ] || continue
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "screenshots: $out/screenshots; byte logs: $out/com*-bytes.log"
summary=$(tail -n 1 "$out/e2e.log")
[[ "$summary" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]] ||
  fail "the suite ended early (see $out/e2e.err)"
passed=$((BASH_REMATCH[1] + ${backend_passed:-0}))
failed=$((BASH_REMATCH[2] + ${backend_failed:-0}))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
