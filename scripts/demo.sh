#!/usr/bin/env bash
# The whole job in one command, on a fresh Debian 12 machine: installs what
# the build needs, builds Tarnwick natively and for Windows, puts a simulated
# PRO-96 on COM1 of a private Wine prefix and runs Tarnwick.exe against it.
#
#   scripts/demo.sh
#
# With a display ($DISPLAY set), Tarnwick.exe opens there: follow its seven
# steps. The simulated scanner stands for steps 1, 2 and 4 to 6 by itself:
# it is connected to COM1, and once a TEST has read its version (1.1) it is
# in its DSP update mode at the next open, so UPDATE finds it ready; a TEST
# after the update reads 1.2.
#
# Without a display, Tarnwick.exe runs under Xvfb and the UI driver walks the
# seven steps by itself.
#
# Either way build/demo/ keeps what went on:
#   com1-bytes.log     every byte on the line, both ways, with its time in ms
#   received-image.bin the image that the scanner received
#   screenshots/*.png  a picture of each step (without a display only)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
for preset in native windows; do
  echo "=== building: $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

out=$root/build/demo
rm -rf "$out/screenshots" "$out/com1-bytes.log" "$out/received-image.bin"
mkdir -p "$out/screenshots"

pids=()
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

. scripts/virtual-display.sh
walk_by_itself=false
if [ -z "${DISPLAY:-}" ]; then
  walk_by_itself=true
  virtual_display_start "$out"
  pids+=("$VIRTUAL_DISPLAY_PID")
fi

rm -f "$out/com1"
build/native/tools/scanner/scanner_sim --mode auto --link "$out/com1" --log "$out/com1-bytes.log" \
  --image-out "$out/received-image.bin" 2>"$out/simulator.log" >/dev/null &
pids+=($!)
for _ in $(seq 300); do [ -L "$out/com1" ] && break; sleep 0.1; done
[ -L "$out/com1" ] || { echo "demo: the simulator did not start (see $out/simulator.log)" >&2; exit 1; }

. scripts/wine-env.sh
echo "=== preparing the Wine prefix $out/wineprefix ==="
wine_env_start "$out/wineprefix"
if $walk_by_itself; then wine_desktop_window on; else wine_desktop_window off; fi
if [ "$(readlink "$WINEPREFIX/dosdevices/com1")" != "$out/com1" ]; then
  wine_map_com COM1 "$out/com1"
fi

status=0
if $walk_by_itself; then
  echo "=== no display: the UI driver walks the seven steps ==="
  windows_path() { echo "Z:${1//\//\\}"; }
  wine build/windows/tools/ui_driver/ui_driver.exe "$(windows_path "$root/build/windows/Tarnwick.exe")" \
    "$(windows_path "$out/screenshots")" | tr -d '\r' || status=$?
  for picture in "$out"/screenshots/*.bmp; do
    [ -f "$picture" ] && convert "$picture" "${picture%.bmp}.png" && rm "$picture"
  done
  echo "screenshots: $out/screenshots/"
else
  echo "=== Tarnwick.exe on $DISPLAY, with the simulated scanner on COM1 ==="
  wine build/windows/Tarnwick.exe || status=$?
fi
echo "byte log: $out/com1-bytes.log"
exit "$status"
