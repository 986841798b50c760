#!/usr/bin/env bash
# quillstep-cli.exe under Wine, called as the Linux quillstep-cli is called: the contract scripts
# get this script as QUILLSTEP_CLI. The process becomes Wine's (exec), so that signals sent to it
# reach the program: Wine turns SIGINT into the console's Ctrl+C event. run_cli_contract.sh sets
# QUILLSTEP_CLI_EXE and the Wine prefix.
exec "${QUILLSTEP_WINE:-/usr/lib/wine/wine64}" "${QUILLSTEP_CLI_EXE:?path of quillstep-cli.exe}" "$@"
