#!/usr/bin/env bash
# Installs what building and testing Quillstep needs on a Debian machine: the native toolchain
# with GoogleTest and Google Benchmark, the MinGW-w64 cross-compiler for the Windows program, and
# Wine with a virtual X server for running that program in the tests (fonts-wine gives Wine's
# window captions their button glyphs; Lato and Linux Biolinum, composed with fontTools, draw
# "MS Sans Serif" at its Windows widths, see scripts/wine-prefix-fonts.sh; openbox is the small
# window manager scripts/run.sh starts on a display without one).
# Idempotent: it asks apt only when a package is missing, and says nothing when all are present.
set -euo pipefail

PACKAGES=(
  g++ cmake make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 fonts-wine fonts-lato fonts-linuxlibertine python3-fonttools
  xvfb xauth x11-utils xdotool imagemagick openbox
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

echo "install-deps.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
