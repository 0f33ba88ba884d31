#!/usr/bin/env bash
# The project's test command: installs what is missing, builds both presets, checks the formatting
# of the C++ sources against .clang-format and runs every test: the Linux unit tests first, then a
# short fuzzing run of the core, then the Windows tests under Wine on a private X display.
# Extra arguments go to both ctest runs (for example -R Sci).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export VARNEDO_PROFILE=test

scripts/build.sh host win32

status=0
echo "== Formatting =="
scripts/check-format.sh || status=1

echo "== Linux: core unit tests and tools =="
ctest --preset host "$@" || status=1

echo "== Fuzzing the core: a short run of each target =="
scripts/fuzz.sh "${VARNEDO_FUZZ_SECONDS:-30}" || status=1

echo "== Windows under Wine =="
display=$(scripts/wine-up.sh)
export VARNEDO_TEST_DISPLAY=$display   # the test programs' emulator uses the display brought up here
ctest --preset win32 "$@" || status=1

# CI wants no process left behind; a developer keeps the warm Wine for the next run.
if [ "${CI:-}" = true ]; then
  scripts/wine-down.sh
  for dpi in 144 192; do
    VARNEDO_DPI=$dpi scripts/wine-down.sh
    dpi_display=$(cat "${VARNEDO_STATE:-$HOME/.cache/varnedo}/display-dpi$dpi" 2>/dev/null) &&
      pkill -f "Xvfb $dpi_display " 2>/dev/null || true
  done
  pkill -f "Xvfb $display " 2>/dev/null || true
fi
exit $status
