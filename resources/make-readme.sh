#!/bin/sh
# Writes readme.txt, the help text the program lists, from readme.utf8.txt: Shift_JIS (code page
# 932) with CR LF line ends. Fails on a character that code page 932 lacks and on a line too wide
# for the narrow help window.
set -eu
cd "$(dirname "$0")"
maxBytes=70

sjis=readme.sjis.tmp
tmp=readme.txt.tmp
trap 'rm -f "$sjis" "$tmp"' EXIT
iconv -f UTF-8 -t CP932 readme.utf8.txt > "$sjis"
LC_ALL=C tr -d '\r' < "$sjis" | LC_ALL=C sed 's/$/\r/' > "$tmp"

LC_ALL=C awk -v max="$maxBytes" '
  { n = length($0) - 1 }  # without the CR
  n > max { printf "readme.utf8.txt:%d: %d bytes in Shift_JIS, at most %d fit\n", NR, n, max; bad = 1 }
  END { exit bad }' "$tmp" >&2

mv "$tmp" readme.txt
