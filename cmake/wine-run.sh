#!/usr/bin/env bash
# ctest's emulator for the Windows test programs: the project's Wine prefix and display, from any shell.
export VARNEDO_PROFILE=${VARNEDO_PROFILE:-test}
. "$(dirname "$0")/../scripts/env.sh" 2>/dev/null
export DISPLAY=${VARNEDO_TEST_DISPLAY:-:41}   # the tests' private Xvfb, brought up by scripts/wine-up.sh
if ! xwininfo -root -display "$DISPLAY" >/dev/null 2>&1; then
  echo "X display $DISPLAY not reachable: start it with scripts/wine-up.sh" >&2
  exit 125
fi
exec wine "$@"
