#!/usr/bin/env bash
# ctest's emulator for the Windows test programs: the project's Wine prefix and display, from any shell.
export VARNEDO_PROFILE=${VARNEDO_PROFILE:-test}
. "$(dirname "$0")/../scripts/env.sh" 2>/dev/null
if [ "$VARNEDO_DPI" != 96 ]; then
  # Another screen resolution: a prefix of its own, made and started at its first test, on an X server
  # of its own the size of its desktop (two Wine desktops on one screen hide each other's pixels).
  # The lock's descriptor is not handed on: the desktop keeper started there would hold it for ever.
  display_file=$VARNEDO_STATE/display-dpi$VARNEDO_DPI
  (
    flock 9
    display=$(cat "$display_file" 2>/dev/null || true)
    if [ -z "$display" ] || ! xwininfo -root -display "$display" >/dev/null 2>&1; then display=; fi
    size="$((1280 * VARNEDO_DPI / 96))x$((800 * VARNEDO_DPI / 96))"
    CI=true VARNEDO_TEST_DISPLAY=$display VARNEDO_XVFB_SIZE=$size VARNEDO_FREE_DISPLAY_FROM=100 \
      "$VARNEDO_ROOT/scripts/wine-up.sh" 9>&- >"$display_file.new" &&
      mv "$display_file.new" "$display_file"
  ) 9>"$VARNEDO_STATE/wine-up-dpi$VARNEDO_DPI.lock"
  VARNEDO_TEST_DISPLAY=$(cat "$display_file")
fi
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
exec wine "$@"
