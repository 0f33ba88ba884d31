#!/usr/bin/env bash
# Starts a Windows program under the tests' Wine prefix by its Linux path, as a user starts it from
# a shell, and returns at once (the program runs on by itself):
#
#   start_from_linux.sh /tmp/varnedo-DIR/.../Program.exe [LOCALE]
#
# LOCALE (for example C.UTF-8) starts it under that locale instead of the Japanese one: Wine takes a
# process's ANSI code page from its locale, so C.UTF-8 gives code page 1252, a Western system.
#
# Windows itself cannot start a program whose path is longer than MAX_PATH; Wine started from Linux
# can. Only programs under /tmp/varnedo- are started.
set -uo pipefail
[ -n "${VARNEDO_DONE_FILE:-}" ] && trap 'touch "$VARNEDO_DONE_FILE"' EXIT
program=${1:-}
[[ "$program" == /tmp/varnedo-*.exe && "$program" != *..* && -f "$program" ]] || {
  echo "usage: $0 /tmp/varnedo-DIR/.../Program.exe" >&2; exit 2; }
export VARNEDO_PROFILE=${VARNEDO_PROFILE:-test}
. "$(dirname "$0")/../../../scripts/env.sh" 2>/dev/null
locale=${2:-}
if [ -n "$locale" ]; then
  [[ "$locale" =~ ^[A-Za-z0-9_.@-]+$ ]] || { echo "not a locale name: $locale" >&2; exit 2; }
  export LC_ALL=$locale
fi
cd "$(dirname "$program")" 2>/dev/null || cd /
setsid wine "$program" </dev/null >/dev/null 2>&1 &
