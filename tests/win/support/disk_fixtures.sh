#!/usr/bin/env bash
# Real file-system conditions for the Windows tests, made on the Linux side (tests run as root, so a
# read-only directory would still be writable for them):
#
#   disk_fixtures.sh mount DIR KB     a tmpfs of KB kilobytes at DIR (any earlier one there unmounted)
#   disk_fixtures.sh fill DIR         fills the file system at DIR until no byte more fits
#   disk_fixtures.sh unmount DIR      unmounts DIR and removes the empty mount point
#   disk_fixtures.sh readonly DIR     DIR becomes a read-only view of itself (its files stay readable)
#   disk_fixtures.sh own DIR KB       DIR moves onto a tmpfs of its own of KB kilobytes, files and all
#   disk_fixtures.sh link TARGET DIR/NAME    a symbolic link NAME in DIR pointing at TARGET
#   disk_fixtures.sh unlink DIR/NAME         removes that link or named pipe (Wine deletes neither)
#   disk_fixtures.sh fifo DIR/NAME           a named pipe NAME in DIR, with no reader
#
# Every DIR must lie under /tmp/varnedo-, so a mistake can never reach another file system.
set -uo pipefail
# The tests start this from inside Wine, where the end of a Linux program cannot be waited for:
# they wait for this file instead.
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT

command=${1:-}
inside_scratch() { [[ "$1" == /tmp/varnedo-* && "$1" != *..* ]]; }

case "$command" in
  mount)
    dir=${2:-}; kb=${3:-}
    inside_scratch "$dir" && [[ "$kb" =~ ^[0-9]+$ ]] || { echo "usage: $0 mount /tmp/varnedo-DIR KB" >&2; exit 2; }
    mountpoint -q "$dir" && umount "$dir"
    mkdir -p "$dir" && mount -t tmpfs -o "size=${kb}k,mode=0777" tmpfs "$dir"
    ;;
  fill)
    dir=${2:-}
    inside_scratch "$dir" && mountpoint -q "$dir" || { echo "usage: $0 fill MOUNTED-/tmp/varnedo-DIR" >&2; exit 2; }
    dd if=/dev/zero of="$dir/filler" bs=4096 >/dev/null 2>&1
    true
    ;;
  readonly)
    dir=${2:-}
    inside_scratch "$dir" && [ -d "$dir" ] || { echo "usage: $0 readonly /tmp/varnedo-DIR" >&2; exit 2; }
    mount --bind "$dir" "$dir" && mount -o remount,bind,ro "$dir"
    ;;
  own)
    dir=${2:-}; kb=${3:-}
    inside_scratch "$dir" && [ -d "$dir" ] && [[ "$kb" =~ ^[0-9]+$ ]] || { echo "usage: $0 own /tmp/varnedo-DIR KB" >&2; exit 2; }
    kept=$(mktemp -d /tmp/varnedo-own.XXXXXX)
    cp -a "$dir"/. "$kept"/ && mount -t tmpfs -o "size=${kb}k,mode=0777" tmpfs "$dir" && cp -a "$kept"/. "$dir"/
    status=$?
    rm -rf "$kept"
    exit $status
    ;;
  unmount)
    dir=${2:-}
    inside_scratch "$dir" || { echo "usage: $0 unmount /tmp/varnedo-DIR" >&2; exit 2; }
    mountpoint -q "$dir" && umount "$dir"
    rmdir "$dir" 2>/dev/null
    true
    ;;
  link)
    target=${2:-}; name=${3:-}
    inside_scratch "$name" && [ -n "$target" ] || { echo "usage: $0 link TARGET /tmp/varnedo-DIR/NAME" >&2; exit 2; }
    ln -sfn "$target" "$name"
    ;;
  unlink)
    name=${2:-}
    inside_scratch "$name" && { [ -L "$name" ] || [ -p "$name" ]; } || { echo "usage: $0 unlink /tmp/varnedo-DIR/LINK-OR-PIPE" >&2; exit 2; }
    rm -f -- "$name"
    ;;
  fifo)
    name=${2:-}
    inside_scratch "$name" || { echo "usage: $0 fifo /tmp/varnedo-DIR/NAME" >&2; exit 2; }
    rm -f -- "$name" && mkfifo "$name"
    ;;
  *)
    echo "usage: $0 mount|fill|unmount|link|unlink|fifo ..." >&2; exit 2
    ;;
esac
