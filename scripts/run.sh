#!/usr/bin/env bash
# The project's run command: installs what is missing, builds, and starts Varnedo.exe under Wine.
#
#   run.sh                     a simulated device streams Shift_JIS demo text into COM1 at 9600-baud pace
#   run.sh --device DEV [--port N]
#                              a real serial device (e.g. /dev/ttyUSB0, /dev/ttyS0 or a stable
#                              /dev/serial/by-id/... path) appears to the program as COMN (default 1)
#
# It uses your X display when there is one and starts a private Xvfb otherwise (then it saves a
# screenshot every few seconds to ~/.cache/varnedo/screenshot.png). The settings file beside the
# program selects the port when you have none yet.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

device=""; port=1
while [ $# -gt 0 ]; do
  case "$1" in
    --device) device=${2:?--device needs a path}; shift ;;
    --port) port=${2:?--port needs a number}; shift ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
[[ "$port" =~ ^[0-9]+$ ]] && [ "$port" -ge 1 ] && [ "$port" -le 32 ] || { echo "--port takes 1 to 32" >&2; exit 2; }

export VARNEDO_PROFILE=run
. scripts/env.sh 2>/dev/null
if [ -n "$device" ]; then
  # Checked before anything is built, so a wrong path or a missing permission shows at once.
  [ -e "$device" ] || { echo "serial device $device does not exist (is the adapter plugged in?)" >&2; exit 1; }
fi

scripts/build.sh host --target devsim
scripts/build.sh win32 --target Varnedo
program_dir=$root/build/win32/src

users_display=${DISPLAY:-}
display=$(scripts/wine-up.sh)
export DISPLAY=$display

simulator_pid=""
cleanup() {
  [ -n "$simulator_pid" ] && kill "$simulator_pid" 2>/dev/null || true
  [ -n "${shot_pid:-}" ] && kill "$shot_pid" 2>/dev/null || true
  [ -z "$device" ] && scripts/vcom.sh stop "$port" || true
}
trap cleanup EXIT

if [ -n "$device" ]; then
  scripts/vcom.sh map "$port" "$device"
else
  scripts/vcom.sh start "$port"
  build/host/tools/devsim/devsim --out "$(scripts/vcom.sh peer "$port")" --source demo --loop \
    --wait-for-out 5 </dev/null >/dev/null 2>&1 &
  simulator_pid=$!
fi

# A first run has no settings: start on the chosen port with the first colour scheme.
if [ ! -f "$program_dir/uinf" ]; then
  printf '%d\r\n0\r\n12\r\n622\r\n989' "$port" > "$program_dir/uinf"
fi

if [ "$display" != "$users_display" ]; then
  shot=$VARNEDO_STATE/screenshot.png
  ( while sleep 3; do import -display "$display" -window root "$shot.tmp.png" 2>/dev/null && mv "$shot.tmp.png" "$shot"; done ) &
  shot_pid=$!
  echo "No X display of yours: Varnedo runs on Xvfb $display; a screenshot is refreshed every 3 s in $shot"
fi
echo "Varnedo is running on COM$port (close its window, or press Ctrl+C here, to stop)"
cd "$program_dir"
wine ./Varnedo.exe
