#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent and quiet when everything is already there; asks no questions.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest clang-format-14
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
  socat fonts-ipafont-gothic fonts-ipafont-mincho
  locales zip unzip file
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
fi
# A mirror in the middle of a sync serves index files that do not match their release file, and
# apt-get update then fails for a while; try again, then go on with the indexes that did arrive
# (the install says so plainly if a package is really missing).
for attempt in 1 2 3 4; do
  sudo_if_needed apt-get update -qq && break
  [ "$attempt" -lt 4 ] || { echo "apt-get update kept failing; installing from the indexes there are" >&2; break; }
  echo "apt-get update failed (attempt $attempt of 4); trying again in 30 s" >&2
  sleep 30
done
install_missing() { sudo_if_needed apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >/dev/null; }
if ! install_missing; then
  # Without the security suite's i386 index, wine32's libraries cannot match the amd64 ones that
  # came from it; the release's own suite holds both architectures at one version.
  release=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "installing again with the packages of $release itself preferred" >&2
  install_missing -t "$release"
fi
