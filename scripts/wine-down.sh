#!/usr/bin/env bash
# Stops the persistent wineserver (and with it every Wine process of the prefix).
. "$(dirname "$0")/env.sh" 2>/dev/null
wineserver -k 2>/dev/null || true
