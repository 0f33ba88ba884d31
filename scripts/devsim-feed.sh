#!/usr/bin/env bash
# The device simulator as the device behind a virtual COM port (scripts/vcom.sh start N), for the
# end-to-end tests, which run it from inside Wine:
#
#   devsim-feed.sh start N FILE [RATE [CHUNK]]   plays FILE once into COMN's device side, in the
#                                                background: RATE bytes/s (default 960, the pace of
#                                                9600 baud), CHUNK bytes per write (default: devsim's)
#   devsim-feed.sh stop N                        ends a simulator still playing into COMN
#
# Windows programs cannot wait for a Linux program, so the file named by VARNEDO_DONE_FILE is
# created as the script's last act. The simulator's messages go to com<N>-devsim.log beside the
# port's links, where a failing test can show them.
set -uo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
done_file=${VARNEDO_DONE_FILE:-}
unset VARNEDO_DONE_FILE
[ -n "$done_file" ] && trap 'touch "$done_file"' EXIT
set -e

usage() { echo "usage: devsim-feed.sh start N FILE [RATE [CHUNK]] | stop N" >&2; exit 2; }
command=${1:-}; number=${2:-}
[[ "$number" =~ ^[0-9]+$ ]] || usage

devsim=${VARNEDO_DEVSIM:-$VARNEDO_ROOT/build/host/tools/devsim/devsim}
peer=$VARNEDO_SERIAL_DIR/com$number-peer
pidfile=$VARNEDO_SERIAL_DIR/com$number-devsim.pid
log=$VARNEDO_SERIAL_DIR/com$number-devsim.log

# Alive and not merely a zombie waiting for a parent that may never reap it.
running() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ "$state" != Z* ]]; }

stop_feed() {
  [ -f "$pidfile" ] || return 0
  local pid; pid=$(cat "$pidfile")
  if kill "$pid" 2>/dev/null; then
    for _ in $(seq 100); do running "$pid" || break; sleep 0.02; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

case "$command" in
  start)
    file=${3:-}; rate=${4:-960}; chunk=${5:-}
    [ -n "$file" ] || usage
    stop_feed
    mkdir -p "$VARNEDO_SERIAL_DIR"
    [ -x "$devsim" ] || { echo "$devsim is missing: build it with scripts/build.sh host --target devsim" | tee "$log" >&2; exit 1; }
    options=(--out "$peer" --source "file:$file" --rate "$rate" --wait-for-out 5)
    [ -n "$chunk" ] && options+=(--chunk "$chunk")
    # Its own session and no inherited output: a test runner waiting for the end of its test's
    # output must not wait for the simulator too.
    setsid "$devsim" "${options[@]}" </dev/null >"$log" 2>&1 &
    echo $! > "$pidfile"
    ;;
  stop)
    stop_feed
    ;;
  *)
    usage ;;
esac
