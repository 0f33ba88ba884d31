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
# program is set to open COMN. Closing the program, Ctrl+C or a kill ends everything started here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

device=""; port=1
while [ $# -gt 0 ]; do
  case "$1" in
    --device) device=${2:?--device needs a path}; shift ;;
    --port) port=${2:?--port needs a number}; shift ;;
    -h|--help) sed -n '2,11p' "$0" | cut -c3-; exit 0 ;;
    *) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
[[ "$port" =~ ^[0-9]+$ ]] && [ "$port" -ge 1 ] && [ "$port" -le 32 ] || { echo "--port takes 1 to 32" >&2; exit 2; }
# A relative device path means one from where the command was given; links in it stay as they are.
case "$device" in ""|/*) ;; *) device=$PWD/$device ;; esac
cd "$root"

export VARNEDO_PROFILE=run
. scripts/env.sh 2>/dev/null
# Checked before anything is built, so a wrong path or a missing permission shows at once.
if [ -n "$device" ]; then
  scripts/vcom.sh check "$device" || exit 1
fi

scripts/build.sh host --target devsim
scripts/build.sh win32 --target Varnedo
program_dir=$root/build/win32/src

users_display=${DISPLAY:-}
display=$(scripts/wine-up.sh)
export DISPLAY=$display

simulator_pid=""; shot_pid=""; program_pid=""
# Whatever ends this script (the program's window closed, Ctrl+C, a kill) ends what it started:
# the program, the simulator, the screenshot loop and the virtual port.
cleanup() {
  trap - EXIT INT TERM HUP
  local pid
  for pid in $program_pid $simulator_pid $shot_pid; do kill "$pid" 2>/dev/null || true; done
  if [ -z "$device" ]; then "$root/scripts/vcom.sh" stop "$port" || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if [ -n "$device" ]; then
  scripts/vcom.sh map "$port" "$device"
else
  scripts/vcom.sh start "$port"
  "$root/build/host/tools/devsim/devsim" --out "$(scripts/vcom.sh peer "$port")" --source demo --loop \
    --wait-for-out 5 </dev/null >/dev/null 2>&1 &
  simulator_pid=$!
fi

# The settings beside the program choose the port it opens: make that the port set up here. A first
# run has no settings yet and starts with the first colour scheme at the laid-out size.
settings=$program_dir/uinf
if [ -f "$settings" ]; then
  sed -i "1s/^[-+0-9]*/$port/" "$settings"
else
  printf '%d\r\n0\r\n12\r\n622\r\n989' "$port" > "$settings"
fi

if [ "$display" != "$users_display" ]; then
  shot=$VARNEDO_STATE/screenshot.png
  ( trap 'exit 0' TERM
    while sleep 3; do import -display "$display" -window root "$shot.tmp.png" 2>/dev/null && mv "$shot.tmp.png" "$shot"; done
  ) </dev/null >/dev/null 2>&1 &
  shot_pid=$!
  echo "No X display of yours: Varnedo runs on Xvfb $display; a screenshot is refreshed every 3 s in $shot"
fi
echo "Varnedo is running on COM$port (close its window, or press Ctrl+C here, to stop)"
cd "$program_dir"
# Waited for in the background, so that Ctrl+C or a kill reaches the traps above at once.
wine ./Varnedo.exe &
program_pid=$!
status=0
wait "$program_pid" || status=$?
program_pid=""
exit "$status"
