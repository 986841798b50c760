#!/usr/bin/env bash
# optimise4/optimise5 and check4/check5 of quillstep-cli: output lines, exit codes and files.
source "$(dirname "$0")/contract_helpers.sh"
seconds_blank() { sed 's/seconds: [0-9]*\.[0-9]*$/seconds: S/'; }

# optimise: the system size line and the file line of the greedy search's format
out=$("$cli" --total 10 run 2 optimise4 --time-limit 1 2>/dev/null | tail -2 | seconds_blank)
check "optimise4 at 10" $'system size: 1\nfile: mb_comb_file_ab.txt rows: 1 seconds: S' "$out"
check "optimise4 file" $'"Marrowby - Quillstep"\r\n"FULL SYSTEM 7/ 10"\r\n"gar.:4 from 7 OK numbers"\r\n\r\n1,' \
      "$(head -c 77 mb_comb_file_ab.txt)"

# never larger than the greedy search's system (G5: 3 at 10 numbers, 14 at 13 numbers)
for total_greedy in "10 3" "13 14"; do
    set -- $total_greedy
    out=$("$cli" --total "$1" run 2 optimise5 --time-limit 2 --steps 3000 2>/dev/null | tail -2 | seconds_blank)
    size=$(echo "$out" | sed -n 's/^system size: //p')
    check "optimise5 at $1 no larger than greedy" yes "$([ -n "$size" ] && [ "$size" -le "$2" ] && echo yes)"
    check "optimise5 at $1 file line" "file: mb_comb_file_ab5.txt rows: $size seconds: S" "$(echo "$out" | tail -1)"
    check "optimise5 at $1 checks clean" 0 "$(status "$cli" --total "$1" run 2 check5 mb_comb_file_ab5.txt)"
    greedy=$("$cli" --total "$1" run 2 search5 2>/dev/null | sed -n 's/^system size: //p')
    check "greedy size at $1" "$2" "$greedy"
done

# progress on stderr, the contract lines alone on stdout
"$cli" --total 12 run 2 optimise4 --time-limit 1 >stdout.txt 2>stderr.txt
check "optimise progress on stderr" yes "$(grep -q '^progress: best size [0-9]*, elapsed [0-9.]* s, remaining [0-9.]* s$' stderr.txt && echo yes)"
check "no progress on stdout" 0 "$(grep -c progress stdout.txt)"

# the same seed and step budget give the same file
"$cli" --total 13 run 2 optimise5 --seed 3 --steps 2000 >/dev/null 2>&1 && mv mb_comb_file_ab5.txt first.txt
"$cli" --total 13 run 2 optimise5 --steps=2000 --seed=3 >/dev/null 2>&1
check "reproducible with seed and steps" "$(od -c first.txt)" "$(od -c mb_comb_file_ab5.txt)"

# any combination: still covers every stored combination; the description line says how many
# members are not among the stored combinations (counted here against mb_comb_file.txt)
odd4even2="--total 12 --min-odd 4 --min-even 2"
# shellcheck disable=SC2086
"$cli" $odd4even2 run 6 write optimise5 --any-combination --time-limit 1 >/dev/null 2>&1
check "any-combination exit" 0 "$?"
# shellcheck disable=SC2086
check "any-combination checks clean" 0 "$(status "$cli" $odd4even2 run 6 check5 mb_comb_file_ab5.txt)"
outside=$(awk -F, 'FNR == NR { if (NF == 8) stored[$2","$3","$4","$5","$6","$7","$8] = 1; next }
                   NF == 8 && !(($2","$3","$4","$5","$6","$7","$8) in stored) { n++ } END { print n + 0 }' \
              <(tr -d '\r' <mb_comb_file.txt) <(tr -d '\r' <mb_comb_file_ab5.txt))
expected='"FULL SYSTEM 7/ 12 min ODD/EVEN:4/2"'
[ "$outside" -gt 0 ] && expected="\"FULL SYSTEM 7/ 12 min ODD/EVEN:4/2 (system holds $outside combinations outside the filters)\""
check "any-combination description" "$expected" "$(sed -n 2p mb_comb_file_ab5.txt | tr -d '\r')"

# Ctrl+C ends the search early and still writes a checked system
rm -f mb_comb_file_ab5.txt
"$cli" --total 16 run 2 optimise5 --time-limit 120 >interrupted.txt 2>interrupted-err.txt &
pid=$!
interrupt_after_start "$pid" interrupted-err.txt 2
start=$(date +%s)
wait "$pid"
code=$?
check "interrupted exit" 0 "$code"
check "interrupted quickly" yes "$([ $(($(date +%s) - start)) -lt 30 ] && echo yes)"
check "interrupted file line" yes "$(grep -q '^file: mb_comb_file_ab5.txt rows: [0-9]* seconds: ' interrupted.txt && echo yes)"
check "interrupted system checks clean" 0 "$(status "$cli" --total 16 run 2 check5 mb_comb_file_ab5.txt)"

# options: bad values and unknown options are refused with one line and exit 2
for bad in "--time-limit 0" "--time-limit 3601" "--time-limit abc" "--time-limit" "--steps 0" "--steps -5" \
           "--seed -1" "--seed x" "--colour 3" "--seed 1 --seed 2" "--any-combination=yes"; do
    # shellcheck disable=SC2086
    check "refused: optimise4 $bad" 2 "$(status "$cli" --total 10 run 2 optimise4 $bad)"
    lines=$("$cli" --total 10 run 2 optimise4 $bad 2>&1 >/dev/null | wc -l)
    check "one line for: optimise4 $bad" 1 "$lines"
done
check "check4 needs a file" 2 "$(status "$cli" --total 10 run 2 check4)"
for command in optimise4 optimise5 "check4 x.txt" "check5 x.txt"; do
    # shellcheck disable=SC2086
    check "$command refused before any run" 2 "$(status "$cli" $command)"
    # shellcheck disable=SC2086
    check "$command refused after counting" 2 "$(status "$cli" --total 8 run 2 run 1 $command)"
done

# check: the greedy search's own file checks clean, with the best-match profile worked out by hand
# for the system 1..7 and 1,2,3,8,9,10,11 on the full wheel at 11
rm -f mb_comb_file_ab.txt
"$cli" --total 11 run 2 search4 >/dev/null 2>&1
out=$("$cli" --total 11 run 2 check4 mb_comb_file_ab.txt | tail -4)
check "check4 of the greedy file" $'stored: 330\nsystem size: 2\nuncovered: 0\nbest match: 7=2 6=56 5=216 4=56 3=0 2=0 1=0 0=0' "$out"
check "clean check exits 0" 0 "$(status "$cli" --total 11 run 2 check4 mb_comb_file_ab.txt)"

# without its second row it leaves 35 holes and exits 3; the first ten holes are listed
grep -v '^2,' mb_comb_file_ab.txt >holed.txt
out=$("$cli" --total 11 run 2 check4 holed.txt | tail -14)
check "holed system" $'stored: 330\nsystem size: 1\nuncovered: 35\nbest match: 7=1 6=28 5=126 4=140 3=35 2=0 1=0 0=0
hole: 1,2,3,8,9,10,11\nhole: 1,2,4,8,9,10,11\nhole: 1,2,5,8,9,10,11\nhole: 1,2,6,8,9,10,11\nhole: 1,2,7,8,9,10,11
hole: 1,3,4,8,9,10,11\nhole: 1,3,5,8,9,10,11\nhole: 1,3,6,8,9,10,11\nhole: 1,3,7,8,9,10,11\nhole: 1,4,5,8,9,10,11' "$out"
check "holed system exits 3" 3 "$(status "$cli" --total 11 run 2 check4 holed.txt)"

# header-less lines of seven numbers, blank- or comma-separated, in any order
printf '7 6 5 4 3 2 1\n\n11\t10 9 8 3 2 1\n' >plain.txt
check "plain blank-separated file" "$("$cli" --total 11 run 2 check4 mb_comb_file_ab.txt | tail -4)" \
      "$("$cli" --total 11 run 2 check4 plain.txt | tail -4)"
printf '1,2,3,4,5,6,7\r\n1, 2, 3, 8, 9, 10, 11\r\n' >commas.txt
check "plain comma-separated file" 0 "$(status "$cli" --total 11 run 2 check4 commas.txt)"

# malformed or unreadable files: exit 2 and a message naming the line and the mistake
printf '1,2,3,4,5,6,7\n1,2,3,4,5,6,40\n' >outside.txt
printf '1 2 3 4 5 6 7\n1 2 3 3 5 6 7\n' >repeated.txt
printf '1 2 3 4 5 6\n' >short.txt
for file_message in "outside.txt|outside.txt: line 2: number 40 is outside 1 to 39" \
                    "repeated.txt|repeated.txt: line 2: number 3 appears twice" \
                    "short.txt|short.txt: line 1: expected seven numbers (or a row number and seven numbers), found 6 fields" \
                    "missing.txt|cannot read missing.txt: no such file"; do
    file=${file_message%%|*}
    check "malformed $file exits 2" 2 "$(status "$cli" --total 11 run 2 check4 "$file")"
    check "malformed $file message" "quillstep-cli: check4: ${file_message#*|}" "$("$cli" --total 11 run 2 check4 "$file" 2>&1 >/dev/null)"
done
check "nothing printed for a malformed file" "" "$("$cli" --total 11 run 2 check4 outside.txt 2>/dev/null | grep -v -e '^combinations' -e '^seconds' -e '^description')"

# Where no system of fewer than 1000 combinations can cover the store (the full wheel of 39 at five
# hits: 15,380,937 stored, each covering at most 10,641), optimise5 and complete5 say so at once
# instead of searching for the whole time limit.
printf 'previous\r\n' >mb_comb_file_ab5.txt
start=$(date +%s)
out=$("$cli" run 2 optimise5 --time-limit 3600 2>/dev/null)
code=$?
check "proven impossible: optimise5 status" 0 "$code"
check "proven impossible: optimise5 lines" $'system size: 1000\nnot written: no system of fewer than 1000 combinations can cover the 15380937 stored combinations (proven before any search)' \
      "$(echo "$out" | tail -2)"
check "proven impossible: the previous file stays" previous "$(tr -d '\r' <mb_comb_file_ab5.txt)"
printf '1 2 3 4 5 6 7\n' >one-line.txt
"$cli" run 2 complete5 --time-limit 3600 one-line.txt >complete-out.txt 2>/dev/null
check "proven impossible: complete5 status" 2 "$?"
check "proven impossible: complete5 line" \
      "not written: no system of fewer than 1000 combinations can cover the 15380937 stored combinations (proven before any search)" \
      "$(tail -1 complete-out.txt)"
check "proven impossible: answered within minutes, not the hour" yes "$([ $(($(date +%s) - start)) -lt 600 ] && echo yes)"

finish
