#!/usr/bin/env bash
# Virtual COM ports for the program under Wine: a socat pty pair per port. The program side is linked
# into the prefix as comN through socat's own stable symlink (never the resolved /dev/pts/N, whose
# number another pair may get after a restart); a device simulator or test writes to the peer side.
#
#   vcom.sh start N     plug in: start the pair and link COMN (restarts a running pair)
#   vcom.sh stop N      unplug: end the pair; COMN then fails to open until the next start
#   vcom.sh map N DEV   link COMN to a real serial device (e.g. /dev/ttyUSB0 or /dev/serial/by-id/...)
#   vcom.sh peer N      print the peer path that the device side writes to
set -euo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
# Callers that cannot wait for this script (Windows tests start it from inside Wine, where the
# process handle of a Linux program does not signal its end) name a file to create when done.
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT

command=${1:-}; number=${2:-}
[[ "$number" =~ ^[0-9]+$ ]] && [ "$number" -ge 1 ] && [ "$number" -le 256 ] || {
  echo "usage: vcom.sh start|stop|peer N | map N DEVICE" >&2; exit 2; }

mkdir -p "$VARNEDO_SERIAL_DIR" "$WINEPREFIX/dosdevices"
app=$VARNEDO_SERIAL_DIR/com$number-app
peer=$VARNEDO_SERIAL_DIR/com$number-peer
pidfile=$VARNEDO_SERIAL_DIR/com$number.pid
link=$WINEPREFIX/dosdevices/com$number

# Alive and not merely a zombie waiting for a parent that may never reap it.
running() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ "$state" != Z* ]]; }

stop_pair() {
  if [ -f "$pidfile" ]; then
    local pid; pid=$(cat "$pidfile")
    if kill "$pid" 2>/dev/null; then
      for _ in $(seq 100); do running "$pid" || break; sleep 0.02; done
      kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
  fi
  rm -f "$app" "$peer"
}

case "$command" in
  start)
    stop_pair
    setsid socat pty,raw,echo=0,link="$app" pty,raw,echo=0,link="$peer" </dev/null >/dev/null 2>&1 &
    echo $! > "$pidfile"
    for _ in $(seq 200); do [ -e "$app" ] && [ -e "$peer" ] && break; sleep 0.01; done
    [ -e "$app" ] && [ -e "$peer" ] || { echo "socat did not create $app" >&2; exit 1; }
    ln -sfn "$app" "$link"
    ;;
  stop)
    stop_pair
    rm -f "$link"
    ;;
  map)
    device=${3:-}
    [ -n "$device" ] || { echo "usage: vcom.sh map N DEVICE" >&2; exit 2; }
    [ -e "$device" ] || { echo "serial device $device does not exist (is the adapter plugged in?)" >&2; exit 1; }
    [ -r "$device" ] && [ -w "$device" ] || {
      echo "no permission for $device: add yourself to its group ($(stat -c %G "$device")), e.g. 'sudo usermod -aG $(stat -c %G "$device") $USER', then log in again" >&2
      exit 1; }
    stop_pair
    # The path as given (for example /dev/serial/by-id/...) stays valid across unplug and replug.
    ln -sfn "$device" "$link"
    ;;
  peer)
    echo "$peer"
    ;;
  *)
    echo "usage: vcom.sh start|stop|peer N | map N DEVICE" >&2; exit 2 ;;
esac
