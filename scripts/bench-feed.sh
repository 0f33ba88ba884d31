#!/usr/bin/env bash
# The device side of the receive benchmark (bench/receive_bench), run from inside Wine:
#
#   bench-feed.sh make FILE COUNT [SOURCE]
#                                       writes COUNT bytes of the device simulator's output to FILE:
#                                       its demo (default) or another --source (e.g. sjis)
#   bench-feed.sh send N RATE FILE      plays FILE into COMN's device side at RATE bytes/s ("max": as
#                                       fast as the line takes it), through the device simulator
#   bench-feed.sh stream N SEED COUNT PIDFILE
#                                       sends COUNT bytes of random Shift_JIS lines made from SEED
#                                       into COMN's device side as fast as the line takes them,
#                                       noting the simulator's process id in PIDFILE
#   bench-feed.sh pause|resume|stop PIDFILE
#                                       holds, lets go on, or ends that simulator
#   bench-feed.sh grep PATTERN_FILE FILE OUT REPEATS
#                                       times GNU grep -F -c -f PATTERN_FILE on FILE (bytes, no
#                                       locale) REPEATS times, beside the program's Find of the same
#                                       text: a line per run in OUT, the count and the milliseconds
#
# Windows programs cannot wait for a Linux program, so the exit status is written into the file
# named by VARNEDO_DONE_FILE (moved into place complete) as the script's last act.
set -uo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null
# Kept to ourselves: vcom.sh, run below, would otherwise report its own end in the same file.
done_file=${VARNEDO_DONE_FILE:-}
unset VARNEDO_DONE_FILE
finish() {
  local status=$?
  if [ -n "$done_file" ]; then
    echo "$status" > "$done_file.part" && mv -f "$done_file.part" "$done_file"
  fi
}
trap finish EXIT
set -e

devsim=${VARNEDO_DEVSIM:-$VARNEDO_ROOT/build/host/tools/devsim/devsim}
[ -x "$devsim" ] || { echo "bench-feed.sh: $devsim is missing: build it with scripts/build.sh host --target devsim" >&2; exit 1; }

case "${1:-}" in
  make)
    file=${2:?FILE}; count=${3:?COUNT}; source=${4:-demo}
    "$devsim" --out - --rate max --source "$source" --count "$count" > "$file"
    ;;
  send)
    number=${2:?N}; rate=${3:?RATE}; file=${4:?FILE}
    "$devsim" --out "$("$(dirname "$0")/vcom.sh" peer "$number")" --rate "$rate" --source "file:$file"
    ;;
  stream)
    number=${2:?N}; seed=${3:?SEED}; count=${4:?COUNT}; pidfile=${5:?PIDFILE}
    "$devsim" --out "$("$(dirname "$0")/vcom.sh" peer "$number")" --rate max --source sjis --seed "$seed" \
      --count "$count" &
    echo $! > "$pidfile"
    wait $!
    ;;
  pause|resume|stop)
    pidfile=${2:?PIDFILE}
    pid=$(cat "$pidfile")
    # A stopped simulator is let go on first, so that it can act on the end it is asked for.
    case "$1" in
      pause) kill -STOP "$pid" ;;
      resume) kill -CONT "$pid" ;;
      stop) kill -CONT "$pid" 2>/dev/null || true; kill -TERM "$pid" 2>/dev/null || true ;;
    esac
    ;;
  grep)
    pattern=${2:?PATTERN_FILE}; file=${3:?FILE}; out=${4:?OUT}; repeats=${5:?REPEATS}
    : > "$out"
    for _ in $(seq "$repeats"); do
      start=$(date +%s%N)
      count=$(LC_ALL=C grep -F -c -f "$pattern" "$file" || true)
      end=$(date +%s%N)
      echo "$count $(( (end - start) / 1000000 ))" >> "$out"
    done
    ;;
  *)
    echo "usage: bench-feed.sh make FILE COUNT [SOURCE] | send N RATE FILE | stream N SEED COUNT PIDFILE | pause|resume|stop PIDFILE | grep PATTERN_FILE FILE OUT REPEATS" >&2; exit 2 ;;
esac
