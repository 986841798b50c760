#!/usr/bin/env bash
# Installs what is missing, cross-builds quillstep.exe and starts it under Wine on your display.
# The windows want a desktop with a window manager (their title bars, close boxes and moving come
# from it). Without a display this starts a virtual one (Xvfb) for as long as the program runs, and
# on a display without a window manager (such as a bare Xvfb) it starts openbox, a small one; it
# stops what it started when the program ends. quillstep-cli is the way without any display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
bash scripts/build-windows.sh "$root/build-win"

started=()
stopStarted() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap stopStarted EXIT
trap 'exit 130' INT  # Ctrl+C ends the program and this script: what it started goes too
trap 'exit 143' TERM
waitFor() {  # a command that succeeds once the thing started is ready; gives up after 10 s
    local _
    for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
windowManagerRuns() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

if [ -z "${DISPLAY:-}" ]; then
    number=99
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started+=($!)
    export DISPLAY=":$number"
    waitFor xdpyinfo || { echo "run.sh: the virtual display :$number did not start" >&2; exit 1; }
    cat >&2 <<TEXT
No display: Quillstep's window runs on a virtual display, :$number, until you close it (or press
Ctrl+C here). To look at it, take a screenshot from another terminal:
    import -display :$number -window root screenshot.png
On a desktop session the window opens on your screen instead. The command-line program needs no
display at all:
    cmake -S . -B build && cmake --build build -j2 --target quillstep-cli
    build/quillstep-cli run 12 write
TEXT
fi
if ! windowManagerRuns; then
    echo "run.sh: no window manager on $DISPLAY; starting openbox for the windows' title bars" >&2
    openbox --sm-disable >/dev/null 2>&1 &
    started+=($!)
    waitFor windowManagerRuns || echo "run.sh: openbox did not start; the windows have no title bars" >&2
fi

export WINEPREFIX="${WINEPREFIX:-$HOME/.quillstep-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
bash "$root/scripts/wine-prefix-fonts.sh"  # "MS Sans Serif" at the widths the windows were laid out for
mkdir -p "$root/work"
cd "$root/work"   # the three text files land here
# Debian's wine64 package puts the program here, not on PATH.
status=0
/usr/lib/wine/wine64 "$root/build-win/quillstep.exe" || status=$?
exit $status
