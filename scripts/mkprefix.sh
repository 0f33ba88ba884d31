#!/usr/bin/env bash
# Makes the Wine prefix and the Japanese locale when they are missing (or older than this script).
set -euo pipefail
. "$(dirname "$0")/env.sh" 2>/dev/null

stamp=$WINEPREFIX/.varnedo-prefix-v1
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8"
fi
[ -f "$stamp" ] && exit 0

echo "making the Wine prefix in $WINEPREFIX"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i </dev/null >/dev/null 2>&1

# The desktop grows with the DPI, so that a window of the layout's size fits on it at every DPI.
desktop="$((1280 * VARNEDO_DPI / 96))x$((800 * VARNEDO_DPI / 96))"

# The program asks for "ＭＳ ゴシック" and "ＭＳ Ｐゴシック"; IPA's fonts stand in for them.
reg=$(mktemp --suffix=.reg)
{
  printf '\xff\xfe'
  sed 's/$/\r/' <<REG | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ 明朝"="IPAMincho"
"ＭＳ Ｐ明朝"="IPAPMincho"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="${desktop}"
REG
  # The screen's resolution; Wine reads it when its server starts.
  [ "$VARNEDO_DPI" = 96 ] || printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$VARNEDO_DPI" | iconv -f UTF-8 -t UTF-16LE
} > "$reg"
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
rm -f "$reg"

# Wine's own Marlett is not found where Wine looks for it; without it caption buttons show letters.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
touch "$stamp"
