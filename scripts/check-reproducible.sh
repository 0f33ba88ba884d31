#!/usr/bin/env bash
# Builds Varnedo.exe once more, from a copy of the source tree in another folder, and checks that it
# is byte for byte the program of BUILD_DIR: the same sources give the same program in any folder.
# Only the program is built, so the check costs one build of it.
#   check-reproducible.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-reproducible.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/src/Varnedo.exe

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "$exe is not built"

elsewhere=$(mktemp -d "${TMPDIR:-/tmp}/varnedo-elsewhere.XXXXXX")
trap 'rm -rf "$elsewhere"' EXIT
# Another name at another depth, so that no path of the first build can match by chance.
copy=$elsewhere/another/checkout
mkdir -p "$copy"
# The working tree as it is, without its builds and its history.
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -

(cd "$copy" && cmake --preset win32 >/dev/null && cmake --build --preset win32 --target Varnedo >/dev/null) ||
  fail "the copy in $copy did not build"
second=$copy/build/win32/src/Varnedo.exe
if ! cmp -s "$exe" "$second"; then
  differing=$(cmp -l "$exe" "$second" 2>/dev/null | wc -l || true)
  fail "Varnedo.exe built in $copy differs from $exe ($differing bytes; rebuild $build if its sources changed)"
fi
echo "ok: Varnedo.exe built in another folder is the same, $(stat -c %s "$exe") bytes, sha256 $(sha256sum "$exe" | cut -d' ' -f1)"
