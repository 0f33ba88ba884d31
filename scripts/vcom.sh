#!/usr/bin/env bash
# Virtual COM ports for the program under Wine: a socat pty pair per port. The program side is linked
# into the prefix as comN through socat's own stable symlink (never the resolved /dev/pts/N, whose
# number another pair may get after a restart); a device simulator or test writes to the peer side.
#
#   vcom.sh start N     plug in: start the pair and link COMN (restarts a running pair)
#   vcom.sh stop N      unplug: end the pair; COMN then fails to open until the next start
#   vcom.sh map N DEV   link COMN to a real serial device (e.g. /dev/ttyUSB0 or /dev/serial/by-id/...)
#   vcom.sh check DEV   only say whether DEV can be used: it exists, is a serial device, and you may
#                       read and write it (exit status 1 and what to do about it when not)
#   vcom.sh peer N      print the peer path that the device side writes to
set -euo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
# Callers that cannot wait for this script (Windows tests start it from inside Wine, where the
# process handle of a Linux program does not signal its end) name a file to create when done.
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT

usage() { echo "usage: vcom.sh start|stop|peer N | map N DEVICE | check DEVICE" >&2; exit 2; }

# Whether a real serial device can be used; when not, says why and what to do about it.
check_device() {
  local device=$1
  if [ ! -e "$device" ]; then
    if [ -L "$device" ]; then
      echo "serial device $device does not exist: it leads to $(readlink "$device"), which is gone (is the adapter plugged in?)" >&2
    else
      echo "serial device $device does not exist (is the adapter plugged in? 'ls -l /dev/serial/by-id/' lists the adapters plugged in now)" >&2
    fi
    return 1
  fi
  [ -c "$device" ] || { echo "$device is not a serial device (not a character device)" >&2; return 1; }
  [ -r "$device" ] && [ -w "$device" ] && return 0

  local user group mode
  user=$(id -un); group=$(stat -L -c %G "$device"); mode=$(stat -L -c %A "$device")
  if [[ "$mode" == ????rw* ]]; then
    # Its group may use it (usually dialout): membership is what is missing, or not yet in effect.
    if id -nG "$user" | tr ' ' '\n' | grep -qx "$group"; then
      echo "no permission for $device ($mode, group $group): you ($user) are in the group $group, but this login session is not yet; log out and in again (or start a shell with 'newgrp $group')" >&2
    else
      echo "no permission for $device ($mode, group $group): add yourself to the group $group with 'sudo usermod -aG $group $user', then log out and in again" >&2
    fi
  else
    echo "no permission for $device ($mode, owner $(stat -L -c %U "$device"), group $group): ask the machine's administrator for read and write access to it" >&2
  fi
  return 1
}

# The path as given, made absolute against the current directory without resolving any link in it.
absolute_path() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }

command=${1:-}
if [ "$command" = check ]; then
  [ $# -eq 2 ] || usage
  check_device "$2"
  exit
fi
number=${2:-}
[[ "$number" =~ ^[0-9]+$ ]] && [ "$number" -ge 1 ] && [ "$number" -le 256 ] || usage

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
    mkdir -p "$VARNEDO_SERIAL_DIR" "$WINEPREFIX/dosdevices"
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
    [ $# -eq 3 ] || usage
    device=$(absolute_path "$3")
    check_device "$device" || exit 1
    mkdir -p "$VARNEDO_SERIAL_DIR" "$WINEPREFIX/dosdevices"
    stop_pair
    # The path as given, not where it leads now: a /dev/serial/by-id/... link follows its adapter
    # when it is unplugged and plugged in again, while the /dev/ttyUSBn behind it may change.
    ln -sfn "$device" "$link"
    ;;
  peer)
    echo "$peer"
    ;;
  *)
    usage ;;
esac
