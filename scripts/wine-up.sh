#!/usr/bin/env bash
# Brings up what the Windows programs of a profile need, once, and prints the X display to use:
# - the display: for the tests always a private Xvfb (:41, or VARNEDO_TEST_DISPLAY; under CI=true a
#   free display number of its own); for the program the user's display, or a private Xvfb (:42, or
#   VARNEDO_RUN_DISPLAY) when there is none;
# - a persistent wineserver for the profile's prefix, its services started with /dev/null stdio
#   (otherwise they inherit a test's pipe and ctest never sees EOF);
# - the desktop keeper, so each GUI program does not start and stop its own virtual desktop.
# Wine's desktop belongs to the display it was started on, so a server started for another display
# is restarted. Idempotent.
set -euo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
mkdir -p "$VARNEDO_STATE"
"$(dirname "$0")/mkprefix.sh" >&2  # stdout carries only the display

display_works() { xwininfo -root -display "$1" >/dev/null 2>&1; }

# A display number nobody on this machine holds: no lock file, no socket. VARNEDO_FREE_DISPLAY_FROM
# keeps the search clear of the numbers the scripts use by default.
free_display() {
  local n
  for n in $(seq "${VARNEDO_FREE_DISPLAY_FROM:-41}" 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo ":$n"; return; }
  done
  echo "no free X display number up to :199" >&2
  exit 1
}

start_xvfb() {
  setsid Xvfb "$1" -screen 0 "${VARNEDO_XVFB_SIZE:-1280x800}x24" -nolisten tcp </dev/null >"$VARNEDO_STATE/xvfb$1.log" 2>&1 &
  for _ in $(seq 100); do display_works "$1" && return 0; sleep 0.05; done
  return 1
}

started_xvfb=false
if [ "$VARNEDO_PROFILE" = run ] && [ -n "${DISPLAY:-}" ] && display_works "$DISPLAY"; then
  display=$DISPLAY
elif [ "$VARNEDO_PROFILE" = test ] && [ "${CI:-}" = true ] && [ -z "${VARNEDO_TEST_DISPLAY:-}" ]; then
  # CI owns nothing it did not start: an X server left on :41 by an earlier session may be on its
  # way out, so CI takes a display of its own (the caller passes it on to ctest).
  for _ in 1 2 3; do
    display=$(free_display)
    start_xvfb "$display" && { started_xvfb=true; break; }
  done
  $started_xvfb || { echo "Xvfb did not start on $display" >&2; exit 1; }
else
  if [ "$VARNEDO_PROFILE" = run ]; then display=${VARNEDO_RUN_DISPLAY:-:42}; else display=${VARNEDO_TEST_DISPLAY:-:41}; fi
  if ! display_works "$display"; then
    start_xvfb "$display" || { echo "Xvfb did not start on $display" >&2; exit 1; }
    started_xvfb=true
  fi
fi
export DISPLAY=$display

# Wine's desktop lives on one X server: a server started for another display, or for an X server
# that has since gone, is restarted.
display_file=$WINEPREFIX/.varnedo-display
if $started_xvfb || [ "$(cat "$display_file" 2>/dev/null)" != "$display" ]; then
  wineserver -k 2>/dev/null || true
  echo "$display" > "$display_file"
fi

# A second `wineserver -p` finds the first one running and leaves it alone.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1
keepdesk=$VARNEDO_STATE/keepdesk.exe
if [ ! -f "$keepdesk" ] || [ "$VARNEDO_ROOT/tools/keepdesk/keepdesk.c" -nt "$keepdesk" ]; then
  i686-w64-mingw32-gcc -O2 -mwindows -static "$VARNEDO_ROOT/tools/keepdesk/keepdesk.c" -o "$keepdesk"
fi
setsid wine "$keepdesk" </dev/null >/dev/null 2>&1 &
echo "$display"
