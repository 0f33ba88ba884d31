#!/usr/bin/env bash
# Builds the release zip of a win32 build directory and checks what a Windows user gets.
#   check-release.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check-release.sh BUILD_DIR}
version=1.0.8.2
zip=$build/package/Varnedo-$version-win32.zip

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G ZIP >/dev/null) || fail "cpack could not build the package"
[ -f "$zip" ] || fail "$zip was not made"

listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "SHA256SUMS Varnedo.exe readme.txt " ] ||
  fail "the zip holds '$listing', not SHA256SUMS, Varnedo.exe and readme.txt"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
exe=$unpacked/Varnedo.exe

# SHA256SUMS names the two other files, and their sums are right.
summed=$(awk '{print $2}' "$unpacked/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
[ "$summed" = "Varnedo.exe readme.txt " ] || fail "SHA256SUMS names '$summed', not Varnedo.exe and readme.txt"
(cd "$unpacked" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files beside it"

file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "not a 32-bit GUI program: $(file "$exe")"

# Only the system's known DLLs, which Windows always loads from its own folder, and comctl32, which the
# manifest binds: any other DLL imported would be looked for first in the program's folder, which its
# user can write to. mingw's own runtime DLLs must be linked in; other DLLs are loaded at run time.
allowed='^(KERNEL32|USER32|GDI32|COMDLG32|IMM32|msvcrt|SHELL32|OLE32|OLEAUT32|ADVAPI32|COMCTL32)\.dll$'
while read -r dll; do
  echo "$dll" | grep -qiE "$allowed" || fail "imports $dll, which may be loaded from the program's folder"
done < <(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
# No time stamp in the PE header, so that every build of the same sources is the same.
stamp=$(i686-w64-mingw32-objdump -p "$exe" | awk '/^Time\/Date/ {sub(/^Time\/Date[ \t]*/, ""); if (!seen) print; seen = 1}')
[ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fail "the PE header holds the time stamp $stamp"

# The fixed version block: signature FEEF04BD, structure version 1.0, file version 1.0.8.2.
hex=$(od -An -tx1 -v "$exe" | tr -d ' \n')
echo "$hex" | grep -q 'bd04effe0000010000000100020008' || fail "the fixed file version is not $version"
# The FileVersion string of the string table (UTF-16).
strings -e l "$exe" | grep -qx "$version" || fail "no FileVersion string $version"

# The application manifest: resource 1 of type RT_MANIFEST (24), asking for common controls 6, per-monitor
# DPI awareness (v2, and the older entries) and naming Windows 7 to 11.
i686-w64-mingw32-objdump -p "$exe" | awk '
  /Entry: ID: 0x000018,/ { manifest = 1; next }
  manifest && /Entry: ID:/ { found = ($4 == "0x000001,"); exit }
  END { exit !found }' || fail "no manifest resource with ID 1 (type 24)"
for entry in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
             '>PerMonitorV2, PerMonitor</dpiAwareness>' '35138b9a-5d96-4fbd-8e2d-a2440225f93a' \
             '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38' '1f676c76-80e1-4239-95bb-83d0f6d0da78' \
             '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' 'requestedExecutionLevel level="asInvoker"'; do
  grep -qF "$entry" "$exe" || fail "the manifest lacks $entry"
done

# Large-address aware (IMAGE_FILE_LARGE_ADDRESS_AWARE, 0x20 in the file header's characteristics):
# a text area of gigabytes needs more than 2 GB of address space on 64-bit Windows.
characteristics=$(i686-w64-mingw32-objdump -p "$exe" | awk '/^Characteristics/ && !seen {print $2; seen = 1}')
(( characteristics & 0x20 )) || fail "Varnedo.exe is not large-address aware (characteristics $characteristics)"

cmp -s "$unpacked/readme.txt" "$(dirname "$0")/../resources/readme.txt" || fail "readme.txt differs from resources/readme.txt"
size=$(stat -c %s "$exe")
echo "ok: $zip: Varnedo.exe ($size bytes, PE32 GUI, known DLLs only, no time stamp, version $version, manifest, large-address aware), readme.txt and SHA256SUMS"
