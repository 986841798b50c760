# What every contract script of quillstep-cli shares: the binary, a scratch folder to work in,
# the checks and the closing line. Sourced, never run by itself.
set -u
cli=${QUILLSTEP_CLI:?path of quillstep-cli}
contracts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)  # this folder, before the scripts leave it
work=$(mktemp -d)
# Some scripts take write permission away inside the scratch folder; give it back to remove it.
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
passed=0 failed=0

check() {  # name, expected, actual
    if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        printf 'FAILED %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    fi
}
status() { "$@" >/dev/null 2>&1; echo $?; }

# The closing line that CI reads, and the script's exit status.
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# Under Wine (tests/wine/run_cli_contract.sh) the cases that only POSIX systems have are skipped:
#   if skipped_under_wine "why"; then ...; else <the case>; fi
skipped_under_wine() {
    [ -n "${QUILLSTEP_CLI_UNDER_WINE:-}" ] || return 1
    echo "skipped under Wine: $1"
}
