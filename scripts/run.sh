#!/usr/bin/env bash
# Installs what is missing, cross-builds quillstep.exe and starts it under Wine on your display.
# Without a display it says how to get one; quillstep-cli is the headless way.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
bash scripts/build-windows.sh "$root/build-win"

if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<'TEXT'
No display: Quillstep's window needs one. Either run this on a desktop session, or start a virtual
display and look at it through a screenshot:
    Xvfb :99 -screen 0 1280x1024x24 & export DISPLAY=:99; bash scripts/run.sh
The command-line program needs no display:
    cmake -S . -B build && cmake --build build -j2 --target quillstep-cli
    build/quillstep-cli run 2 write
TEXT
    exit 1
fi

export WINEPREFIX="${WINEPREFIX:-$HOME/.quillstep-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
bash "$root/scripts/wine-prefix-fonts.sh"  # "MS Sans Serif" at the widths the windows were laid out for
mkdir -p "$root/work"
cd "$root/work"   # the three text files land here
exec /usr/lib/wine/wine64 "$root/build-win/quillstep.exe"
