#!/usr/bin/env bash
# A disk that fails part way through a file, for the Windows tests (a really failing read cannot be
# had otherwise; the tests run as root, so permissions do not make one):
#
#   damaged_disk.sh make DIR      mounts at DIR a read-only ext2 image holding bad.txt: 200 lines of
#                                 100 bytes ("0001 xxx…x" CR LF, …) of which only the first 12,288
#                                 bytes can be read; reading on fails with an I/O error
#   damaged_disk.sh remove DIR    unmounts DIR and removes it and its image
#
# Started from inside Wine (see RunLinuxScript), it creates $VARNEDO_DONE_FILE when done.
set -euo pipefail
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT

command=${1:-}; dir=${2:-}
# Only the tests' own scratch folders are ever mounted on or removed.
[[ "$dir" =~ ^/tmp/varnedo-[A-Za-z0-9-]+$ ]] || { echo "damaged_disk.sh: bad folder '$dir'" >&2; exit 2; }
image=$dir.img

case "$command" in
  make)
    mkdir -p "$dir"
    dd if=/dev/zero of="$image" bs=1k count=2048 status=none
    mkfs.ext2 -q -b 1024 -F "$image"
    mount -o loop "$image" "$dir"
    line_tail=$(printf 'x%.0s' $(seq 1 93))
    for i in $(seq 1 200); do printf '%04d %s\r\n' "$i" "$line_tail"; done > "$dir/bad.txt"
    umount "$dir"
    # With 1 KB blocks the first 12 blocks of a file are listed in its inode and the rest in an
    # indirect block; filling that block with 0xFF points the rest of the file off the disk.
    indirect=$(debugfs -R "stat /bad.txt" "$image" 2>/dev/null | grep -o '(IND):[0-9]*' | cut -d: -f2)
    [ -n "$indirect" ] || { echo "damaged_disk.sh: no indirect block" >&2; exit 1; }
    head -c 1024 /dev/zero | tr '\0' '\377' | dd of="$image" bs=1024 seek="$indirect" conv=notrunc status=none
    mount -o loop,ro,errors=continue "$image" "$dir"
    # A test that is killed cannot remove the disk; it then goes away by itself a little later.
    setsid bash -c "sleep 120; mountpoint -q '$dir' && umount '$dir'; rm -f '$image'; rmdir '$dir'" \
      </dev/null >/dev/null 2>&1 &
    ;;
  remove)
    if mountpoint -q "$dir"; then umount "$dir"; fi
    rm -f "$image"
    if [ -d "$dir" ]; then rmdir "$dir"; fi
    ;;
  *)
    echo "usage: damaged_disk.sh make DIR | remove DIR" >&2; exit 2 ;;
esac
