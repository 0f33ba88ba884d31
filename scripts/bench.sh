#!/usr/bin/env bash
# Builds and runs the performance benchmark (bench/receive_bench) and prints its table: the receive
# path under the device simulator at 9600 and 115,200 baud's pace and as fast as the line takes it
# with 0 to 8 MB already in the text area, the literal per-piece algorithm for comparison,
# 10 MB transcripts, start-up, size and memory of Varnedo.exe. See docs/performance.md.
#
#   scripts/bench.sh [--seconds N] [--only costs|receive|literal|transcript|program]
#   scripts/bench.sh --only endurance [--endurance-mb N]
#
# The endurance section (only when named) sends N MB (default 2048) as fast as the line takes them
# into the real window, times the user's actions at four sizes of text and checks the saved
# transcript against what was sent; 2 GB take about 20 minutes.
#
# It runs in a Wine profile of its own ("bench": own prefix, wineserver, virtual ports and X display
# :43), so a test run elsewhere neither disturbs its timings nor meets its copy of the program.
# A full run takes about ten minutes or more; it prints as it goes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/build.sh host --target devsim
scripts/build.sh win32 --target receive_bench --target Varnedo

export VARNEDO_PROFILE=bench
export VARNEDO_TEST_DISPLAY=${VARNEDO_BENCH_DISPLAY:-:43}
scripts/wine-up.sh >/dev/null
echo "Wine $(wine --version | sed 's/^wine-//'), $(nproc) CPUs, load average $(cut -d' ' -f1-3 /proc/loadavg)"
exec cmake/wine-run.sh build/win32/bench/receive_bench.exe "$@"
