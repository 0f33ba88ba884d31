#!/usr/bin/env bash
# Brings up what the Windows programs need, once: an X display (the user's, or a private Xvfb when
# there is none or when VARNEDO_PRIVATE_X=1), a persistent wineserver with its services started on
# /dev/null stdio (otherwise they inherit a test's pipe and ctest never sees EOF), and the desktop keeper.
# Prints the display to use. Idempotent.
set -euo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
mkdir -p "$VARNEDO_STATE"
"$(dirname "$0")/mkprefix.sh"

display_works() { xwininfo -root -display "$1" >/dev/null 2>&1; }

if [ "${VARNEDO_PRIVATE_X:-0}" = 1 ] || [ -z "${DISPLAY:-}" ] || ! display_works "$DISPLAY"; then
  DISPLAY=${VARNEDO_DISPLAY:-:41}
  if ! display_works "$DISPLAY"; then
    setsid Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp </dev/null >"$VARNEDO_STATE/xvfb.log" 2>&1 &
    for _ in $(seq 100); do display_works "$DISPLAY" && break; sleep 0.05; done
    display_works "$DISPLAY" || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
  fi
fi
export DISPLAY

# A second `wineserver -p` finds the first one running and leaves it alone.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1
keepdesk=$VARNEDO_STATE/keepdesk.exe
if [ ! -f "$keepdesk" ] || [ "$VARNEDO_ROOT/tools/keepdesk/keepdesk.c" -nt "$keepdesk" ]; then
  i686-w64-mingw32-gcc -O2 -mwindows -static "$VARNEDO_ROOT/tools/keepdesk/keepdesk.c" -o "$keepdesk"
fi
setsid wine "$keepdesk" </dev/null >/dev/null 2>&1 &
echo "$DISPLAY"
