#!/usr/bin/env bash
# The device side of the receive benchmark (bench/receive_bench), run from inside Wine:
#
#   bench-feed.sh make FILE COUNT [SOURCE]
#                                       writes COUNT bytes of the device simulator's output to FILE:
#                                       its demo (default) or another --source (e.g. sjis)
#   bench-feed.sh send N RATE FILE      plays FILE into COMN's device side at RATE bytes/s ("max": as
#                                       fast as the line takes it), through the device simulator
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
  *)
    echo "usage: bench-feed.sh make FILE COUNT [SOURCE] | send N RATE FILE" >&2; exit 2 ;;
esac
