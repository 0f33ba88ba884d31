#!/usr/bin/env bash
# Times GNU grep on the benchmark's saved transcript, beside the program's Find of the same text:
#   bench-grep.sh PATTERN_FILE FILE OUT REPEATS
# Runs `grep -F -c -f PATTERN_FILE FILE` (bytes, no locale) REPEATS times and writes one line per
# run to OUT: the count grep printed and the milliseconds it took.
#
# Windows programs cannot wait for a Linux program, so the exit status is written into the file
# named by VARNEDO_DONE_FILE (moved into place complete) as the script's last act.
set -uo pipefail
done_file=${VARNEDO_DONE_FILE:-}
finish() {
  local status=$?
  if [ -n "$done_file" ]; then
    echo "$status" > "$done_file.part" && mv -f "$done_file.part" "$done_file"
  fi
}
trap finish EXIT
set -e

pattern=$1; file=$2; out=$3; repeats=$4
: > "$out"
for _ in $(seq "$repeats"); do
  start=$(date +%s%N)
  count=$(LC_ALL=C grep -F -c -f "$pattern" "$file" || true)
  end=$(date +%s%N)
  echo "$count $(( (end - start) / 1000000 ))" >> "$out"
done
