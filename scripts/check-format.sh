#!/usr/bin/env bash
# Checks every C++ source of the repository against .clang-format; lists the files that differ and
# exits 1 when there are any. With --fix, formats them instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
formatter=clang-format-14   # one version, so that every machine agrees on the result

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
differing=()
for f in "${files[@]}"; do
  "$formatter" --dry-run --Werror "$f" >/dev/null 2>&1 || differing+=("$f")
done
if [ ${#differing[@]} -gt 0 ]; then
  echo "not formatted as .clang-format says (scripts/check-format.sh --fix formats them):" >&2
  printf '  %s\n' "${differing[@]}" >&2
  exit 1
fi
echo "all ${#files[@]} C++ files formatted"
