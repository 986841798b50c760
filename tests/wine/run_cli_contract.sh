#!/usr/bin/env bash
# Runs one contract script of the command line (tests/cli/*_contract.sh) against quillstep-cli.exe
# under Wine, with the same expected lines as on Linux. The cases that only POSIX systems have
# (ulimit, SIGTERM, SIGKILL, /proc) skip themselves when QUILLSTEP_CLI_UNDER_WINE is set.
#
#   run_cli_contract.sh <folder holding quillstep-cli.exe> <contract script>
#
# The Wine prefix is the test run's ($QUILLSTEP_WINE_STATE, made by run_wine_test.sh setup);
# without one, a session of its own is made and removed afterwards.
set -euo pipefail

exe_folder="$(cd "${1:?folder of quillstep-cli.exe}" && pwd)"
script="${2:?contract script}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
state="${QUILLSTEP_WINE_STATE:-$exe_folder/wine-session}"
wine_test="$here/run_wine_test.sh"

own_session=0
if [ ! -f "$state/prefix" ]; then
  own_session=1
  QUILLSTEP_WINE_STATE="$state" bash "$wine_test" "$exe_folder" setup
fi
finish() { [ "$own_session" -eq 0 ] || QUILLSTEP_WINE_STATE="$state" bash "$wine_test" "$exe_folder" cleanup; }
trap finish EXIT

export WINEPREFIX="$(cat "$state/prefix")" DISPLAY="$(cat "$state/display")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QUILLSTEP_CLI="$here/cli_under_wine.sh" QUILLSTEP_CLI_EXE="$exe_folder/quillstep-cli.exe"
export QUILLSTEP_CLI_UNDER_WINE=1
bash "$script"
