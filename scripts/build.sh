#!/usr/bin/env bash
# Installs what is missing, then configures and builds both presets (or the ones named).
#   build.sh [host] [win32] [--target T]...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

presets=(); targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    host|win32) presets+=("$1") ;;
    --target) targets+=(--target "$2"); shift ;;
    *) echo "usage: build.sh [host] [win32] [--target T]..." >&2; exit 2 ;;
  esac
  shift
done
[ ${#presets[@]} -gt 0 ] || presets=(host win32)

scripts/install-deps.sh
scripts/mkprefix.sh
for preset in "${presets[@]}"; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "${targets[@]}"
done
