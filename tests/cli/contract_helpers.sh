# What every contract script of quillstep-cli shares: the binary, a scratch folder to work in,
# the checks and the closing line. Sourced, never run by itself.
set -u
cli=${QUILLSTEP_CLI:?path of quillstep-cli}
contracts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)  # this folder, before the scripts leave it
work=$(mktemp -d)
# What the last first_error call saw (its arguments, exit status and whole stderr), kept outside the
# scratch folder so that listings of it stay the scripts' own; shown when the next check fails.
last_run=$(mktemp)
# Some scripts take write permission away inside the scratch folder; give it back to remove it.
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work" "$last_run"' EXIT
cd "$work"
passed=0 failed=0

check() {  # name, expected, actual
    if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        printf 'FAILED %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        [ ! -s "$last_run" ] || { echo "--- the command behind it"; cat "$last_run"; }
    fi
    : >"$last_run"
}
status() { "$@" >/dev/null 2>&1; echo $?; }
# The last line of what quillstep-cli writes to stderr (stdout discarded). Its arguments, exit
# status and whole stderr are kept for the next check, which shows them if it fails: an empty or
# unexpected answer then says whether the program ran, how it ended and what else it wrote.
first_error() {
    local code=0 stderr
    stderr=$("$cli" "$@" 2>&1 >/dev/null) || code=$?
    printf 'arguments: %s\nexit status: %s\nstderr (%s bytes):\n%s\n' "$*" "$code" "${#stderr}" "$stderr" >"$last_run"
    printf '%s\n' "$stderr" | tail -1
}

# The closing line that CI reads, and the script's exit status.
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# interrupt_after_start PID ERRFILE SECONDS: sends Ctrl+C (SIGINT) to a search or optimiser started
# in the background with its stderr in ERRFILE, SECONDS after its first "progress:" line. A job
# started with & in a script begins with SIGINT ignored until the program takes it over for the
# search, so a signal sent by the clock alone, before the search has begun (a slow storing run on a
# loaded machine), would be lost and the search would run to its end.
interrupt_after_start() {
    local pid=$1 errors=$2 after=$3
    for _ in $(seq 3000); do
        grep -q '^progress:' "$errors" 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    sleep "$after"
    kill -INT "$pid" 2>/dev/null || true
}

# Under Wine (tests/wine/run_cli_contract.sh) the cases that only POSIX systems have are skipped:
#   if skipped_under_wine "why"; then ...; else <the case>; fi
skipped_under_wine() {
    [ -n "${QUILLSTEP_CLI_UNDER_WINE:-}" ] || return 1
    echo "skipped under Wine: $1"
}
