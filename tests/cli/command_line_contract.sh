#!/usr/bin/env bash
# quillstep-cli checks the whole line before it runs anything, names what the user typed, fails
# loudly when its output cannot be written, writes into --output-dir, says when a search was
# stopped, and runs long lines in constant memory.
source "$(dirname "$0")/contract_helpers.sh"
stderr_of() { "$@" 2>&1 >/dev/null; }

# a refused command anywhere: nothing runs, nothing is written
mkdir lines && cd lines
check "refused late: status" 2 "$(status "$cli" --total 8 run 2 write run 1 write)"
check "refused late: no stdout" "" "$("$cli" --total 8 run 2 write run 1 stats 2>/dev/null)"
check "refused late: no file" "" "$(ls)"
check "refused late: message" \
      "quillstep-cli: search4 is refused: the last run before it did not store its combinations (use run with a storing mode: 2, 4, 6, 8 to 14); nothing was run" \
      "$(stderr_of "$cli" --total 8 run 4 write run 3 search4)"
check "a later storing run allows it again" 0 "$(status "$cli" --total 8 run 2 write run 1 run 2 write)"
cd ..

# messages name the option typed, with a range that makes sense, for any value
check "min-even 5" "quillstep-cli: --min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)" \
      "$(stderr_of "$cli" --min-even 5 run 1)"
check "min-even 10" "quillstep-cli: --min-even 10 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)" \
      "$(stderr_of "$cli" --min-even 10 run 1)"
check "min-even lowest int" \
      "quillstep-cli: --min-even -2147483648 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)" \
      "$(stderr_of "$cli" --min-even -2147483648 run 1)"
check "min-sum 200" "quillstep-cli: --min-sum 200 is out of range: allowed 28 to 150 (at most max-sum)" \
      "$(stderr_of "$cli" --min-sum 200 run 1)"
check "beyond 32 bits" "quillstep-cli: --total 123456789012345 is out of range: allowed 8 to 39" \
      "$(stderr_of "$cli" --total=123456789012345 run 1)"
check "control bytes escaped" "quillstep-cli: unknown command '\\x1b[2Jx\\x0a' (see --help)" \
      "$(stderr_of "$cli" run 1 $'\e[2Jx\n')"
check "long echo cut" "quillstep-cli: --forced needs a whole number, got '$(printf 'z%.0s' {1..80})...'" \
      "$(stderr_of "$cli" --forced "$(printf 'z%.0s' {1..500})" run 1)"

# an option in the wrong place is answered with where it goes, built from the line as typed; the
# value after an option a command does not take is not taken for a command; nothing runs
mkdir placed && cd placed
printf '1,2,3,4,5,6,7\n' >p.txt
check "option before its command" \
      "quillstep-cli: --time-limit belongs after optimise4: quillstep-cli run 12 optimise4 --time-limit 20" \
      "$(stderr_of "$cli" --time-limit 20 run 12 optimise4)"
check "option after a command that takes none" \
      "quillstep-cli: --seed is an option of optimise4, optimise5, complete4, complete5 and wheel; search4 takes --output" \
      "$(stderr_of "$cli" run 12 search4 --seed 1)"
check "the same option before the commands" \
      "quillstep-cli: --seed is an option of optimise4, optimise5, complete4, complete5 and wheel and goes after one of them, none of which is on the line" \
      "$(stderr_of "$cli" --seed 1 run 12 search4)"
check "an option where a file belongs" \
      "quillstep-cli: --seed is an option of optimise4, optimise5, complete4, complete5 and wheel; check4 takes only a file name" \
      "$(stderr_of "$cli" run 12 check4 --seed 3 p.txt)"
check "a parameter after the commands" \
      "quillstep-cli: --total is a parameter and goes before the commands: quillstep-cli --total 20 run 2 write" \
      "$(stderr_of "$cli" run 2 write --total 20)"
check "a misplaced option: status" 2 "$(status "$cli" --time-limit 20 run 12 optimise4)"
check "a misplaced option: nothing ran" "" "$("$cli" run 12 write --seed 1 2>/dev/null)"
check "a misplaced option: nothing written" "p.txt" "$(ls)"
check "a number too large names both bounds" \
      "quillstep-cli: --steps needs a whole number from 1 to 9223372036854775807, got '9223372036854775808'" \
      "$(stderr_of "$cli" run 12 optimise4 --steps 9223372036854775808)"
check "a mistyped command" "quillstep-cli: unknown command 'serch4'; did you mean search4?" \
      "$(stderr_of "$cli" run 12 serch4)"
check "a command without its number" "quillstep-cli: unknown command 'check'; did you mean check4 or check5?" \
      "$(stderr_of "$cli" run 12 check p.txt)"
check "a mistyped option" "quillstep-cli: unknown option --time-limt; did you mean --time-limit?" \
      "$(stderr_of "$cli" run 12 optimise4 --time-limt 5)"
# optimize4 and optimize5 are optimise4 and optimise5
out=$("$cli" --total 10 run 2 optimize5 --time-limit 1 optimize4 --time-limit 1 2>/dev/null | grep '^file: ' | cut -d' ' -f1-2)
check "optimize5 and optimize4 write as optimise5 and optimise4" $'file: mb_comb_file_ab5.txt\nfile: mb_comb_file_ab.txt' "$out"
cd ..

# standard output that cannot be written
check "stats to a full device" 1 "$("$cli" --total 8 run 2 stats >/dev/full 2>/dev/null; echo $?)"
check "the reason" "quillstep-cli: the standard output could not be written" \
      "$("$cli" --total 8 run 2 stats 2>&1 >/dev/full)"
check "help to a full device" 1 "$("$cli" --help >/dev/full 2>/dev/null; echo $?)"

# --output-dir
mkdir out here && cd here
out=$("$cli" --total 8 --output-dir ../out run 2 write 2>/dev/null | tail -1 | sed 's/seconds: .*/seconds: S/')
check "output dir line" "file: mb_comb_file.txt rows: 8 seconds: S" "$out"
check "written into the folder" "mb_comb_file.txt" "$(ls ../out)"
check "nothing in the working directory" "" "$(ls)"
check "search into the folder" 0 "$(status "$cli" --total 10 --output-dir=../out run 2 search4)"
check "system file in the folder" $'mb_comb_file.txt\nmb_comb_file_ab.txt' "$(ls ../out)"
check "missing folder" 2 "$(status "$cli" --total 8 --output-dir ../missing run 2 write)"
check "missing folder: nothing ran" "" "$("$cli" --total 8 --output-dir ../missing run 2 write 2>/dev/null)"
check "missing folder: message" "quillstep-cli: --output-dir '../missing' does not exist" \
      "$(stderr_of "$cli" --total 8 --output-dir ../missing run 1)"
touch ../plain
check "a file is no folder" 2 "$(status "$cli" --total 8 --output-dir ../plain run 2 write)"
check "unwritable folder" 2 "$(status "$cli" --total 8 --output-dir /proc run 2 write)"
if [ "$(id -u)" != 0 ]; then
    mkdir ../locked && chmod a-w ../locked
    check "read-only folder" 2 "$(status "$cli" --total 8 --output-dir ../locked run 2 write)"
fi
check "still nothing here" "" "$(ls)"
cd ..

# Ctrl+C during a search (the full wheel of 30 at four hits takes minutes): stdout says where it
# stopped, then the usual lines
"$cli" --total 30 run 2 search4 >stopped.txt 2>/dev/null &
pid=$!
for _ in $(seq 100); do grep -q '^description:' stopped.txt && break; sleep 0.1; done
sleep 0.5
kill -INT "$pid"
wait "$pid"
check "stopped search status" 0 "$?"
check "stopped line before best start" "stopped after: N of 2035800|best start: N|system size: N" \
      "$(sed -n '4,6p' stopped.txt | sed -E 's/[0-9]+/N/g; s/N of N/N of 2035800/' | paste -sd'|')"
check "stopped count is the stored one" "of 2035800" "$(grep -o 'of [0-9]*$' stopped.txt)"

# a long line runs in constant memory: 3000 commands need hardly more than 30
if [ -x /usr/bin/time ]; then
    rss() { /usr/bin/time -f '%M' "$cli" "$@" 2>&1 >/dev/null | tail -1; }
    short=(--total 8 run 2) long=(--total 8 run 2)
    for _ in $(seq 30); do short+=(stats); done
    for _ in $(seq 3000); do long+=(stats); done
    grown=$(( $(rss "${long[@]}") - $(rss "${short[@]}") ))
    check "memory of 3000 commands within 2 MB of 30" yes "$([ "$grown" -lt 2048 ] && echo yes || echo "no: $grown kB")"
fi

finish
