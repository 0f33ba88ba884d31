#!/usr/bin/env bash
# ctest's emulator for the Windows test programs: the project's Wine prefix and display, from any shell.
export VARNEDO_PROFILE=${VARNEDO_PROFILE:-test}
. "$(dirname "$0")/../scripts/env.sh" 2>/dev/null
export DISPLAY=${VARNEDO_TEST_DISPLAY:-:41}   # the tests' private Xvfb, brought up by scripts/wine-up.sh
display_works() { xwininfo -root -display "$DISPLAY" >/dev/null 2>&1; }
if ! display_works; then
  # An X server that went away in the middle of a run is brought up once more (one caller at a time),
  # with what it left in its log, so that one lost server does not fail every test after it.
  echo "X display $DISPLAY not reachable; its log:" >&2
  tail -n 20 "$VARNEDO_STATE/xvfb$DISPLAY.log" >&2 2>/dev/null || true
  mkdir -p "$VARNEDO_STATE"
  ( flock 9; display_works || "$VARNEDO_ROOT/scripts/wine-up.sh" >/dev/null 9>&- ) 9>"$VARNEDO_STATE/wine-up.lock"
  if ! display_works; then
    echo "X display $DISPLAY not reachable: start it with scripts/wine-up.sh" >&2
    exit 125
  fi
fi
if [ "$VARNEDO_DPI" != 96 ]; then
  # The prefix of another screen resolution is made and its server started at its first test.
  # The lock's descriptor is not handed on: the desktop keeper started there would hold it for ever.
  ( flock 9; "$VARNEDO_ROOT/scripts/wine-up.sh" >/dev/null 9>&- ) 9>"$VARNEDO_STATE/wine-up-dpi$VARNEDO_DPI.lock"
fi
exec wine "$@"
