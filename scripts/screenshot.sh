#!/usr/bin/env bash
# Saves a part of the tests' X display as a PNG:  screenshot.sh WIDTHxHEIGHT+X+Y OUT.png
# (Wine's virtual desktop is one X window at the root's top left, so window rectangles map 1:1.)
set -euo pipefail
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT
geometry=$1; out=$2
mkdir -p "$(dirname "$out")"
import -display "${DISPLAY:-:41}" -window root -crop "$geometry" +repage "$out"
