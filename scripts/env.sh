# Environment shared by every script: where the Wine prefix, the Japanese locale and the virtual
# serial ports live, and how Wine is told to behave. Source it with `. scripts/env.sh 2>/dev/null`.
VARNEDO_ROOT=${VARNEDO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
VARNEDO_STATE=${VARNEDO_STATE:-$HOME/.cache/varnedo}
# Two profiles, each with its own Wine prefix (and so its own wineserver, desktop and single-instance
# mutex) and its own virtual ports: "run" for the program the user starts, "test" for the tests, so
# that a running demo and a test run never meet.
VARNEDO_PROFILE=${VARNEDO_PROFILE:-run}
export VARNEDO_ROOT VARNEDO_STATE VARNEDO_PROFILE

# VARNEDO_DPI other than 96 gives the profile a prefix of its own whose screen has that many pixels
# per inch (the tests at 144 and 192 ppi).
VARNEDO_DPI=${VARNEDO_DPI:-96}
export VARNEDO_DPI

export WINEARCH=win32
if [ "$VARNEDO_DPI" = 96 ]; then
  export WINEPREFIX=${WINEPREFIX:-$VARNEDO_STATE/prefix-$VARNEDO_PROFILE}
else
  export WINEPREFIX=${WINEPREFIX:-$VARNEDO_STATE/prefix-$VARNEDO_PROFILE-dpi$VARNEDO_DPI}
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# A private ja_JP.UTF-8 gives Wine code page 932 and intact Japanese paths and arguments,
# while LANG=C.UTF-8 keeps the Linux tools' output in English for the scripts that parse it.
export LOCPATH=$VARNEDO_STATE/locale
unset LC_ALL
export LANG=C.UTF-8 LC_CTYPE=ja_JP.UTF-8
# Virtual serial ports: socat pairs, the program side linked into the prefix as comN.
export VARNEDO_SERIAL_DIR=$VARNEDO_STATE/ser-$VARNEDO_PROFILE
