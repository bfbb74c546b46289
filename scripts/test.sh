#!/usr/bin/env bash
# Builds Tarnwick natively, with sanitizers and for Windows, and runs every
# test suite: unit and integration tests natively and under ASan/UBSan, the
# unit and Win32 backend tests under Wine, a short run of every fuzzer, the
# hardening check of every program built, and the end-to-end tests of
# Tarnwick.exe under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native sanitize windows fuzz; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "=== hardening ==="
bash scripts/check-hardening.sh build/native build/windows

echo "=== end to end ==="
bash tests/e2e/run.sh build/native build/windows build/e2e
