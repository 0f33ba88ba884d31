#!/usr/bin/env bash
# A real serial device mapped to a COM port of the Wine prefix (scripts/vcom.sh map, and the run
# command's --device), with socat ptys playing USB adapters behind /dev/serial/by-id style links and
# a private state folder, so no Wine prefix of the user or of other tests is touched.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
vcom=$root/scripts/vcom.sh
work=$(mktemp -d /tmp/varnedo-vcom-test.XXXXXX)
chmod 755 "$work"   # an unprivileged user must reach the device links in here
export VARNEDO_STATE=$work/state VARNEDO_PROFILE=maptest
unset WINEPREFIX VARNEDO_DONE_FILE
dosdevices=$work/state/prefix-maptest/dosdevices
byid=$work/serial/by-id
mkdir -p "$byid"

declare -A adapter_pid
cleanup() {
  local pid
  for pid in "${adapter_pid[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
expect() {  # expect DESCRIPTION COMMAND...: the command must succeed
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
contains() { [[ "$1" == *"$2"* ]] || { echo "     in: $1"; return 1; }; }
no_link() { [ ! -e "$1" ] && [ ! -L "$1" ]; }

# Plugs in an adapter: a socat pty pair, its device side behind $byid/NAME (a link socat makes to
# the /dev/pts/N it got), its other side at $work/serial/NAME-other where the test plays the far end.
plug() {
  socat pty,raw,echo=0,link="$byid/$1" pty,raw,echo=0,link="$work/serial/$1-other" </dev/null >/dev/null 2>&1 &
  adapter_pid[$1]=$!
  for _ in $(seq 300); do [ -e "$byid/$1" ] && [ -e "$work/serial/$1-other" ] && return 0; sleep 0.01; done
  echo "socat did not make $byid/$1" >&2; exit 1
}
unplug() {
  kill "${adapter_pid[$1]}"
  wait "${adapter_pid[$1]}" 2>/dev/null
  unset "adapter_pid[$1]"
}

echo "== a device that is not there is refused, with exit status 1, a message and no link"
out=$("$vcom" map 5 "$byid/usb-Missing_Adapter-if00-port0" 2>&1); rc=$?
expect "exit status 1" [ "$rc" -eq 1 ]
expect "says the device does not exist" contains "$out" "serial device $byid/usb-Missing_Adapter-if00-port0 does not exist"
expect "no COM5 link" no_link "$dosdevices/com5"
ln -s /dev/pts/999999 "$byid/usb-Unplugged_Adapter-if00-port0"
out=$("$vcom" map 5 "$byid/usb-Unplugged_Adapter-if00-port0" 2>&1); rc=$?
expect "a link left by an unplugged adapter: exit status 1" [ "$rc" -eq 1 ]
expect "a link left by an unplugged adapter: says where it leads" contains "$out" "it leads to /dev/pts/999999, which is gone"
out=$("$vcom" map 5 /etc/hostname 2>&1); rc=$?
expect "a plain file: exit status 1 and 'not a serial device'" [ "$rc" -eq 1 ]
expect "a plain file: says it is not a serial device" contains "$out" "is not a serial device"
started=$(date +%s%N)
out=$(env -u DISPLAY "$root/scripts/run.sh" --device /dev/ttyUSB_missing --port 3 2>&1); rc=$?
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
expect "the run command: exit status 1" [ "$rc" -eq 1 ]
expect "the run command: says so before building anything (${elapsed_ms} ms)" \
  bash -c "[ $elapsed_ms -lt 5000 ] && [[ \"\$1\" != *ninja* ]]" _ "$out"
expect "the run command: the message" contains "$out" "serial device /dev/ttyUSB_missing does not exist"

echo "== a device the user may not open is refused, with what to do about it"
plug usb-Locked_Adapter-if00-port0
locked=$byid/usb-Locked_Adapter-if00-port0
if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null && getent group dialout >/dev/null; then
  # As a serial adapter is on Debian: root's, for the group dialout, which nobody is not in.
  chgrp dialout "$(readlink -f "$locked")"
  chmod 660 "$(readlink -f "$locked")"
  out=$(runuser -u nobody -- env VARNEDO_STATE="$work/nobody-state" VARNEDO_PROFILE=maptest \
    bash "$vcom" map 6 "$locked" 2>&1); rc=$?
  expect "exit status 1" [ "$rc" -eq 1 ]
  expect "names the group" contains "$out" "no permission for $locked (crw-rw----, group dialout)"
  expect "says how to join it" contains "$out" "sudo usermod -aG dialout nobody"
  expect "no COM6 link" no_link "$work/nobody-state/prefix-maptest/dosdevices/com6"
  out=$(runuser -u nobody -- env VARNEDO_STATE="$work/nobody-state" bash "$vcom" check "$locked" 2>&1); rc=$?
  expect "check alone: exit status 1 and the same message" \
    bash -c '[ "$1" -eq 1 ] && [[ "$2" == *"sudo usermod -aG dialout nobody"* ]]' _ "$rc" "$out"
elif [ "$(id -u)" -ne 0 ]; then
  chmod 000 "$(readlink -f "$locked")"
  out=$("$vcom" map 6 "$locked" 2>&1); rc=$?
  expect "exit status 1" [ "$rc" -eq 1 ]
  expect "says there is no permission" contains "$out" "no permission for $locked"
  expect "no COM6 link" no_link "$dosdevices/com6"
else
  echo "skip (root without runuser or a dialout group: no unprivileged user to try it as)"
fi
unplug usb-Locked_Adapter-if00-port0

echo "== a device path is linked as given, not to where it leads now"
adapter=usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0
plug "$adapter"
out=$("$vcom" map 7 "$byid/$adapter" 2>&1); rc=$?
expect "exit status 0" [ "$rc" -eq 0 ]
expect "COM7 leads to the by-id path" [ "$(readlink "$dosdevices/com7")" = "$byid/$adapter" ]
(cd "$work/serial" && "$vcom" map 8 "by-id/$adapter" >/dev/null 2>&1); rc=$?
expect "a relative path: exit status 0" [ "$rc" -eq 0 ]
expect "a relative path: COM8 leads to it made absolute, links kept" [ "$(readlink "$dosdevices/com8")" = "$byid/$adapter" ]

echo "== unplugged and plugged in again, the same link reaches the adapter on its new pty"
before=$(readlink -f "$byid/$adapter")
unplug "$adapter"
expect "unplugged: COM7 stays, leading nowhere" bash -c '[ -L "$1" ] && [ ! -e "$1" ]' _ "$dosdevices/com7"
# Another adapter plugged in meanwhile takes the freed ptys, as happens on a busy machine.
plug usb-Other_Adapter-if00-port0
plug "$adapter"
after=$(readlink -f "$byid/$adapter")
echo "     pty before $before, after $after, the other adapter's $(readlink -f "$byid/usb-Other_Adapter-if00-port0")"
expect "plugged in again: COM7 still leads to the by-id path" [ "$(readlink "$dosdevices/com7")" = "$byid/$adapter" ]
expect "plugged in again: COM7 reaches the adapter's pty" [ "$(readlink -f "$dosdevices/com7")" = "$after" ]
received=$work/received
timeout 5 head -c 5 "$dosdevices/com7" > "$received" &
reader=$!
sleep 0.3
printf 'hello' > "$work/serial/$adapter-other"
wait "$reader"
expect "plugged in again: what the far end sends arrives through COM7" [ "$(cat "$received")" = hello ]

echo "== $failures failure(s)"
[ "$failures" -eq 0 ]
