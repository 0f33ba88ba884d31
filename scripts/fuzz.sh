#!/usr/bin/env bash
# Coverage-guided fuzzing of the core: builds the "fuzz" preset (clang, libFuzzer, ASan, UBSan)
# and runs each target for SECONDS (default 30) from a scratch copy of its seeds in fuzz/corpus,
# so the repository's corpus stays as committed. Inputs that break a target are kept in
# build/fuzz/fuzz/artifacts. Exits non-zero if any target failed.
#   scripts/fuzz.sh          # 30 s per target
#   scripts/fuzz.sh 3600     # an hour per target
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-30}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]   (a whole number of seconds per target, default 30)" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(fuzz_receive_decoder fuzz_settings fuzz_text_document fuzz_text_mode)
bin=$root/build/fuzz/fuzz
artifacts=$bin/artifacts
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

passed=0
failed=0
for target in "${targets[@]}"; do
  corpus=$scratch/$target
  log=$scratch/$target.log
  cp -r "fuzz/corpus/$target" "$corpus"
  start=$(date +%s)
  if "$bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1; then
    result=ok
    passed=$((passed + 1))
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  elapsed=$(( $(date +%s) - start ))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ -z "$executions" ]; then
    # A crash ends the run before the final statistics; its last status line has the count.
    executions=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
  fi
  echo "$target: ${executions:-?} executions in ${elapsed} s, $result"
  if [ "$result" != ok ]; then
    grep -E 'property broken|ERROR: (AddressSanitizer|libFuzzer)|runtime error|Test unit written to' "$log" \
      | sed 's/^/  /' || true
    echo "  reproduce: $bin/$target <the test unit above>"
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
