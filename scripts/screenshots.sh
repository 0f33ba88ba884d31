#!/usr/bin/env bash
# Retakes the README's pictures of the real program (docs/*.png) under the tests' Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export VARNEDO_PROFILE=test
scripts/build.sh win32
scripts/wine-up.sh >/dev/null
VARNEDO_SCREENSHOTS=1 ctest --preset win32 -R 'Screenshots|ForeignCodePage.Texts' --output-on-failure
