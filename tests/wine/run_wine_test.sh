#!/usr/bin/env bash
# Runs the Windows program's tests under Wine.
#
#   run_wine_test.sh <windows-build-dir> setup       creates the Wine prefix (and a virtual display)
#   run_wine_test.sh <windows-build-dir> <scenario>  runs one scenario of quillstep-driver.exe
#   run_wine_test.sh <windows-build-dir> cleanup     stops Wine and the display, deletes the prefix
#
# One prefix serves every scenario of a test run; its folder, the display and the process ids
# are kept in $QUILLSTEP_WINE_STATE (default: <windows-build-dir>/wine-session). Window pictures
# go to $QUILLSTEP_SCREENSHOT_DIR (default: <windows-build-dir>/screenshots) as PNG files.
# Without a setup, a scenario makes its own session and removes it afterwards.
#
# QUILLSTEP_WINE_DPI runs the scenario at that DPI (the display scaling of Windows: 144 is 150%,
# 192 is 200%): Wine takes the system's DPI from the LogPixels value of HKCU\Control Panel\Desktop
# (before HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts), read when a
# process starts; the value is removed again afterwards, which brings back the prefix's 96.
# QUILLSTEP_PROGRAM names another quillstep.exe to test (default: the one of the build folder).
set -euo pipefail

windows_build="$(cd "${1:?windows build folder}" && pwd)"
action="${2:?setup, cleanup or a scenario name}"
state="${QUILLSTEP_WINE_STATE:-$windows_build/wine-session}"
pictures="${QUILLSTEP_SCREENSHOT_DIR:-$windows_build/screenshots}"
wine="${QUILLSTEP_WINE:-/usr/lib/wine/wine64}"
wineserver="${QUILLSTEP_WINESERVER:-/usr/lib/wine/wineserver}"
scenario_timeout="${QUILLSTEP_SCENARIO_TIMEOUT:-240}"
program="${QUILLSTEP_PROGRAM:-$windows_build/quillstep.exe}"
dpi="${QUILLSTEP_WINE_DPI:-}"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no installer dialogs for Mono or Gecko

log() { echo "run_wine_test: $*" >&2; }

display_is_up() { DISPLAY="$1" xdpyinfo >/dev/null 2>&1; }

start_display() {
  local number
  for number in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
      # Large enough for the main window at 200%.
      setsid Xvfb ":$number" -screen 0 2560x1600x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
      echo $! >"$state/xvfb.pid"
      for _ in $(seq 100); do
        display_is_up ":$number" && { echo ":$number" >"$state/display"; return 0; }
        sleep 0.1
      done
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid"
    fi
  done
  log "no virtual display could be started"
  return 1
}

setup() {
  [ -f "$state/prefix" ] && cleanup
  mkdir -p "$state" "$pictures"
  local prefix
  prefix="$(mktemp -d "${TMPDIR:-/tmp}/quillstep-wine.XXXXXX")"
  echo "$prefix" >"$state/prefix"
  if [ -n "${DISPLAY:-}" ] && display_is_up "$DISPLAY"; then
    echo "$DISPLAY" >"$state/display"
  else
    start_display
  fi
  export WINEPREFIX="$prefix" DISPLAY="$(cat "$state/display")"
  # A persistent server started here, detached from the test's output, serves every scenario.
  setsid "$wineserver" -p </dev/null >/dev/null 2>&1
  if ! timeout 240 "$wine" wineboot -i </dev/null >"$state/wineboot.log" 2>&1; then
    log "wineboot failed or timed out:"; cat "$state/wineboot.log" >&2; return 1
  fi
  # There is no window manager on the virtual display: Wine draws the window frames itself (with
  # the caption-button glyphs of Wine's Marlett font, linked in below) and does
  # not wait for a manager to confirm that a window was hidden (two seconds per message box).
  local value
  for value in Decorated Managed; do
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f \
      </dev/null >/dev/null 2>&1
  done
  # Text files open in Notepad, as on Windows (the viewer's fallback uses the association).
  timeout 60 "$wine" reg add 'HKCR\.txt' /ve /t REG_SZ /d txtfile /f </dev/null >/dev/null 2>&1
  # "MS Sans Serif" drawn at the widths the windows were laid out for, and Marlett.
  QUILLSTEP_WINE="$wine" bash "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-prefix-fonts.sh"
  log "Wine prefix $prefix on display $DISPLAY"
}

cleanup() {
  [ -d "$state" ] || return 0
  if [ -f "$state/prefix" ]; then
    WINEPREFIX="$(cat "$state/prefix")" timeout 30 "$wineserver" -k 2>/dev/null || true
    rm -rf "$(cat "$state/prefix")"
  fi
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
  fi
  rm -f "$state/prefix" "$state/display" "$state/xvfb.pid" "$state/wineboot.log" "$state/lock"
  rmdir "$state" 2>/dev/null || true
}

windows_path() { echo "Z:$1" | tr '/' '\\'; }

desktop_key='HKCU\Control Panel\Desktop'
set_dpi() { timeout 60 "$wine" reg add "$desktop_key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1; }
reset_dpi() { timeout 60 "$wine" reg delete "$desktop_key" /v LogPixels /f </dev/null >/dev/null 2>&1 || true; }

run_scenario() {
  local own_session=0
  if [ ! -f "$state/prefix" ]; then
    own_session=1
    setup
  fi
  mkdir -p "$pictures"
  export WINEPREFIX="$(cat "$state/prefix")" DISPLAY="$(cat "$state/display")"
  local output="$state/$action.log" status=0
  # One scenario at a time on the display; the driver's output goes to a file so that no Wine
  # process left running can hold the test's output open.
  (
    flock -w "$scenario_timeout" 9 || { log "the Wine session stayed locked"; exit 1; }
    if [ -n "$dpi" ]; then
      trap reset_dpi EXIT
      set_dpi "$dpi"
    fi
    timeout -k 10 "$scenario_timeout" "$wine" "$windows_build/quillstep-driver.exe" "$action" \
      --program "$(windows_path "$program")" \
      --pictures "$(windows_path "$pictures")" </dev/null >"$output" 2>&1
  ) 9>"$state/lock" || status=$?
  tr -d '\r' <"$output"
  if [ "$status" -ne 0 ]; then
    [ "$status" -eq 124 ] && log "$action: no answer within $scenario_timeout s"
    import -window root "$pictures/failed-$action.png" 2>/dev/null || true
  fi
  local bitmap
  for bitmap in "$pictures"/*.bmp; do
    [ -e "$bitmap" ] || continue
    convert "$bitmap" "${bitmap%.bmp}.png" && rm -f "$bitmap"
  done
  rm -f "$output"
  [ "$own_session" -eq 1 ] && cleanup
  return "$status"
}

case "$action" in
  setup) setup ;;
  cleanup) cleanup ;;
  *) run_scenario ;;
esac
