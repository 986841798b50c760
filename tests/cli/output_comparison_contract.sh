#!/usr/bin/env bash
# The command line's output, byte for byte: stdout, stderr and exit status of a fixed list of
# invocations over every command, their message: lines and their refusals, compared with the
# transcript recorded in golden/ from a known-good binary. Timing figures are blanked by the rules
# of `normalised`; the optimiser gets seeds and step budgets, so its systems are the same every
# time. A difference prints the diff and fails.
#   QUILLSTEP_RECORD_GOLDEN=1 QUILLSTEP_CLI=build/quillstep-cli bash tests/cli/output_comparison_contract.sh
# writes the transcript anew instead (only when the output is meant to change).
source "$(dirname "$0")/contract_helpers.sh"
golden="$contracts/golden/output_comparison.txt"
transcript="$work/transcript.txt"

if skipped_under_wine "the transcript is the Linux binary's (its system reasons and limits differ)"; then
    finish
    exit
fi

# Timing figures and the optimiser's progress (how many lines come depends on the machine's
# speed) leave the transcript; the first progress line of a search, which comes at once, stays.
normalised() {
    sed -E -e 's/seconds: [0-9]+\.[0-9]*$/seconds: S/' \
           -e 's/ in  [-0-9.E+]+ seconds$/ in  S seconds/' \
           -e 's/ counted in: [-0-9.E+]+ seconds$/ counted in: S seconds/' \
           -e '/^progress: .*\/s, about .* left$/d' \
           -e '/^progress: .*, elapsed [0-9.]+ s, remaining [0-9.]+ s$/d'
}

# The outputs of one invocation, left in out.txt and err.txt, appended with its exit status.
record() {  # name, status
    {
        printf '=== %s\n' "$1"
        printf -- '--- stdout\n'
        normalised <out.txt
        printf -- '--- stderr\n'
        normalised <err.txt
        printf -- '--- status %s\n' "$2"
    } >>"$transcript"
}
# case_of NAME ARGUMENTS...: one invocation in the scratch folder.
case_of() {
    local name=$1
    shift
    "$cli" "$@" >out.txt 2>err.txt
    record "$name" $?
}
# The same under a file-size limit (POSIX only, as is the rest of this script); its outputs go
# through pipes, which the limit does not touch, to files written without it.
limited_case() {
    local limit=$1 name=$2 code
    shift 2
    code=$( { { bash -c 'ulimit -f "$1"; shift; "$@"; echo $? >&5' _ "$limit" "$cli" "$@" | cat >out.txt; } 2>&1 |
              cat >err.txt; } 5>&1 )
    record "$name (ulimit -f $limit)" "$code"
}
# A file's bytes as the transcript shows them (CR as \r).
file_of() {
    printf '=== file %s\n' "$1" >>"$transcript"
    if [ -e "$1" ]; then sed 's/\r/\\r/g' "$1" >>"$transcript"; else echo "(none)" >>"$transcript"; fi
}

: >"$transcript"
mkdir -p run && cd run || exit 1

# Fixtures
printf '1,2,3,4,5,6,7\n' >one.txt
printf '1;2;3;4;5;6;7\r\n1;2;3;8;9;10;11\r\n' >greedy.csv
printf '1,2,3,4,5,6,7\n1,2,3,4,5,6,40\n' >outside.txt
printf '1 2 3 4 5 6 7\n1 2 3 3 5 6 7\n' >repeated.txt
printf '1 2 3 4 5 6\n' >short.txt
printf '1,2,3,4,5,6,12\n' >above.txt
printf '1,2,3,4,20,21,22\n1,2,3,4,5,30,31\n1,2,3,4,5,32,33\n8,9,10,11,12,13,14\n' >match.txt
printf 'Draw\tN1\tN2\tN3\tN4\tN5\tN6\tN7\r\n7\t6\t5\t4\t3\t2\t1\r\n11\t10\t9\t8\t3\t2\t1\r\n' >tabs.txt
printf '1,2,3,4,5,6,7\n1,2,3,4,5,6,8\n' >two.txt
printf '1,2,3,4,5,6,11\n' >pool-outside.txt
printf 'date,n1,n2,n3,n4,n5,n6,n7,bonus\n2024-01-06,1,2,3,4,5,6,7,8\n13.01.2024,1,2,3,8,9,10,11\n20/01/2024,5,12,19,26,33,38,39\n2024-01-27,2,9,16,23,30,34,37,1\n' >draws.csv
printf '3,9,14,22,27,31,38\n30,31,32,33,34,35,36\n' >system.txt
printf '2024-01-06,1,2,3,4,5,6\n' >bad-draws.csv
: >empty.csv

# Generation
case_of "run every counting mode at 39" run 1 run 3 run 5 run 7 run 9 run 10 run 11 run 13 run 14
case_of "run storing modes at 20" --total 20 run 2 run 4 run 6 run 8 run 12
case_of "run with parameters" --total 30 --min-sum 100 --max-sum 140 --min-odd 2 --min-even 3 --forced 7 \
        --range-count 3 --range-limit 15 --min-number 2 --max-number 29 --max-neighbours 2 \
        --excluded 10,11,12,13,14,15,16 run 9 run 10 run 11 run 12 run 13 run 14
case_of "write at 8" --total 8 run 2 write
file_of mb_comb_file.txt
case_of "write into --output-dir" --total 9 --output-dir .. run 2 write
file_of ../mb_comb_file.txt
case_of "stats at 8" --total 8 run 2 stats
case_of "stats of mode 12" run 12 stats

# Searches
case_of "search4 and search5 at 10" --total 10 run 2 search4 search5
file_of mb_comb_file_ab.txt
file_of mb_comb_file_ab5.txt
case_of "search4 and search5 of mode 12" run 12 search4 search5
file_of mb_comb_file_ab.txt
case_of "search with nothing stored" --total 10 run 4 search4 search5
case_of "search4 --output" --total 11 run 2 search4 --output mine.txt
file_of mine.txt
case_of "search5 proven not under 1000" run 2 search5 optimise5 --time-limit 3600 complete5 one.txt

# The optimiser
case_of "optimise4 of mode 12" run 12 optimise4 --seed 1 --steps 3000 --time-limit 600
file_of mb_comb_file_ab.txt
case_of "optimise5 at 13" --total 13 run 2 optimise5 --seed 3 --steps 2000 --time-limit 600
file_of mb_comb_file_ab5.txt
case_of "optimize4 any combination" --total 12 --min-odd 4 --min-even 2 run 6 optimize4 --any-combination --seed 5 \
        --steps 1000 --time-limit 600 --output any.txt
file_of any.txt
case_of "optimise with nothing stored" --total 10 run 4 optimise4 optimise5

# Checks, profiles, matches
case_of "check4 clean" --total 11 run 2 check4 greedy.csv check4 tabs.txt
case_of "check4 with holes" --total 11 run 2 check4 one.txt
case_of "check5 of mode 12" run 12 check5 system.txt
case_of "check4 malformed: outside" --total 11 run 2 check4 outside.txt
case_of "check4 malformed: repeated" --total 11 run 2 check4 repeated.txt
case_of "check4 malformed: short" --total 11 run 2 check4 short.txt
case_of "check4 missing file" --total 11 run 2 check4 missing.txt
case_of "check4 of a file written earlier on the line" --total 10 run 2 search4 --output later.txt check4 later.txt
case_of "profile at 39" profile system.txt
case_of "profile at 11" --total 11 profile greedy.csv
case_of "profile malformed" profile short.txt
case_of "match" match 1,2,3,4,5,6,7 match.txt
case_of "match after a run" --total 20 run 2 match 7,6,5,4,3,2,1 match.txt
case_of "match above the total" --total 20 run 2 match 1,2,3,4,5,6,25 match.txt
case_of "match malformed draw" match 1,2,3,4,5,6 match.txt

# Completion
case_of "complete4 adds" --total 11 run 2 complete4 --seed 2 --steps 1000 --time-limit 600 one.txt
file_of mb_comb_file_ab.txt
cp mb_comb_file_ab.txt covering.txt
case_of "complete4 of a covering system" --total 11 run 2 complete4 covering.txt
case_of "complete5 adds" --total 12 run 2 complete5 --seed 4 --steps 1000 --time-limit 600 --output five.txt one.txt
file_of five.txt
case_of "complete4 above the total" --total 11 run 2 complete4 above.txt
case_of "complete4 before any run" complete4 one.txt

# Past draws
case_of "history" history draws.csv
case_of "backtest" --total 30 backtest draws.csv
case_of "wins" wins system.txt draws.csv --price 2 --prizes 3=1,7=1000.50
case_of "wins without money" run 1 wins system.txt draws.csv
case_of "history malformed" history bad-draws.csv
case_of "history empty" history empty.csv
case_of "history missing" run 1 history missing.csv
case_of "wins needs two files" wins system.txt
case_of "wins bad price" wins system.txt draws.csv --price 1.234

# Wheels on one's own numbers
case_of "checkwheel covered" checkwheel --pool 1-8 --hits 2 --if 2 two.txt
case_of "checkwheel with holes" checkwheel --pool 1-10 --hits 3 --if 4 two.txt
case_of "checkwheel keys" checkwheel --pool 1-9 --keys 1 --hits 3 --if 4 two.txt
case_of "checkwheel line outside the pool" checkwheel --pool 1-10 --hits 3 --if 4 pool-outside.txt
case_of "checkwheel refused request" checkwheel --pool 1-7 --hits 3 --if 4 two.txt
case_of "checkwheel T above M" checkwheel --pool 1-10 --hits 5 --if 4 two.txt

# What the line refuses before anything runs (the help is left out: new commands add to it)
case_of "version" --version
case_of "no command" --total 8
case_of "total out of range" --total 40 run 1
case_of "min-even out of range" --min-even 5 run 1
case_of "unreachable state" --min-number 5 --max-number 5 run 2
case_of "excluded not increasing" --excluded 2,1,3,4,5,6,7 run 2
case_of "run needs a mode" run 15
case_of "unknown command" run 12 serch4
case_of "command without its number" run 12 check one.txt
case_of "mistyped option" run 12 optimise4 --time-limt 5
case_of "option before its command" --time-limit 20 run 12 optimise4
case_of "option after a command that takes none" run 12 search4 --seed 1
case_of "parameter after the commands" run 2 write --total 20
case_of "number too large" run 12 optimise4 --steps 9223372036854775808
case_of "time limit out of range" --total 10 run 2 optimise4 --time-limit 3601
case_of "store command after counting" --total 8 run 4 write run 3 search4
case_of "store command before any run" stats
case_of "missing output folder" --total 8 --output-dir missing run 2 write
case_of "output file in a missing folder" --total 10 run 2 write search4 --output missing/x.txt
case_of "output file is a folder" --total 10 run 2 optimise5 --output ..
case_of "control bytes escaped" run 1 $'\e[2Jx\n'
case_of "check4 takes only a file" run 12 check4 --seed 3 one.txt

# Faults while running: a file-size limit, a full standard output, too little memory
for limit_command in "1 write" "0 search4" "1 search5" "0 optimise4" "0 complete4"; do
    read -r limit command <<<"$limit_command"
    case $command in
        optimise4) limited_case "$limit" "run 12 $command" run 12 optimise4 --seed 1 --steps 500 --time-limit 600 ;;
        complete4) limited_case "$limit" "run 12 $command" run 12 complete4 --seed 1 --steps 500 --time-limit 600 one.txt ;;
        *) limited_case "$limit" "run 12 $command" run 12 "$command" ;;
    esac
done
"$cli" --total 8 run 2 stats >/dev/full 2>err.txt
code=$?
: >out.txt
record "stats to a full device" "$code"
( ulimit -v 480000; case_of "search without memory (ulimit -v 480000)" run 2 search4 run 1 )

if [ -n "${QUILLSTEP_RECORD_GOLDEN:-}" ]; then
    mkdir -p "$(dirname "$golden")" && cp "$transcript" "$golden"
    echo "recorded $(grep -c '^=== ' "$golden") outputs in $golden"
fi
if diff -u "$golden" "$transcript"; then passed=$((passed + 1)); else
    failed=$((failed + 1))
    echo "FAILED the output differs from $golden (above: - recorded, + now)"
fi
finish
