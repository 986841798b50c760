#!/usr/bin/env bash
# The output lines, exit codes and files of quillstep-cli, as scripts rely on them.
source "$(dirname "$0")/contract_helpers.sh"

# run: three lines; the seconds without the time label's suffix
out=$("$cli" --total 8 run 1 | sed 's/^seconds: .*/seconds: S/')
check "run 1 at 8" $'combinations: 8\nseconds: S\ndescription: ' "$out"
out=$("$cli" --total 10 run 6 run 4 | sed 's/^seconds: [0-9]*\.[0-9]*$/seconds: S/')
check "two runs in order" $'combinations: 50\nseconds: S\ndescription: FULL SYSTEM 7/ 10 min ODD/EVEN:3/4\ncombinations: 0\nseconds: S\ndescription: FULL SYSTEM 7/ 10 SUM:140-150' "$out"
out=$("$cli" run 13 | grep -v seconds)
check "mode 13 at 39" $'combinations: 833\ndescription: FULL SYSTEM 7/ 39max neighb. no:3,min no.:1,max no.:39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25,dot\'n want:1,2,3,4,5,6,7' "$out"

# write: the file byte for byte and its contract line
out=$("$cli" --total 8 run 2 write 2>/dev/null | tail -1 | sed 's/seconds: [0-9]*\.[0-9]*$/seconds: S/')
check "write line" "file: mb_comb_file.txt rows: 8 seconds: S" "$out"
expected=$(printf '"Marrowby - Quillstep"\r\n"FULL SYSTEM 7/ 8"\r\n\r\n1,1,2,3,4,5,6,7\r\n2,1,2,3,4,5,6,8\r\n3,1,2,3,4,5,7,8\r\n4,1,2,3,4,6,7,8\r\n5,1,2,3,5,6,7,8\r\n6,1,2,4,5,6,7,8\r\n7,1,3,4,5,6,7,8\r\n8,2,3,4,5,6,7,8\r\n' | od -c)
check "mb_comb_file.txt at 8" "$expected" "$(od -c mb_comb_file.txt)"

# the store commands are refused unless the last run stored
rm -f mb_comb_file.txt
for command in write search4 search5 stats; do
    check "$command refused before any run" 2 "$(status "$cli" "$command")"
    check "$command refused after counting" 2 "$(status "$cli" --total 8 run 2 run 1 "$command")"
done
check "nothing written when refused" "" "$(ls)"

# parameters: every reachable state is accepted, anything else is refused with exit 2
check "forced above total" 0 "$(status "$cli" --total 20 --forced 25 run 9)"
check "range limit above total" 0 "$(status "$cli" --total 8 --range-limit=39 --max-number 39 run 12)"
err=$("$cli" --total 40 run 1 2>&1 >/dev/null)
check "total out of range" "quillstep-cli: --total 40 is out of range: allowed 8 to 39" "$err"
for bad in "--total 7" "--min-sum 27" "--min-sum 151" "--max-sum 253" "--min-odd 4" "--min-even -1" \
           "--forced 0" "--forced 40" "--range-count 8" "--range-limit 6" "--min-number 39" \
           "--max-number 1" "--min-number 5 --max-number 5" "--max-neighbours 7" "--total abc" "--total 3x" \
           "--excluded 1,2,3,4,5,6" "--excluded 1,2,3,4,5,6,6" "--excluded 2,1,3,4,5,6,7" \
           "--excluded 1,2,3,4,5,6,40" "--excluded 0,2,3,4,5,6,7" "--total 8 --total 9" "--colour 3"; do
    # shellcheck disable=SC2086
    check "refused: $bad" 2 "$(status "$cli" $bad run 2 write)"
    lines=$("$cli" $bad run 2 write 2>&1 >/dev/null | wc -l)
    check "one line for: $bad" 1 "$lines"
done
check "run needs a mode" 2 "$(status "$cli" run 15)"
check "no command" 2 "$(status "$cli" --total 8)"
check "unknown command" 2 "$(status "$cli" run 1 fly)"
check "nothing written after refusals" "" "$(ls)"
check "help" 0 "$(status "$cli" --help)"
# the version is the one of CMakeLists.txt
version=$(sed -n 's/^project(quillstep VERSION \([0-9.]*\) .*/\1/p' "$contracts/../../CMakeLists.txt")
check "version" "quillstep-cli $version" "$("$cli" --version)"
check "version status" 0 "$(status "$cli" --version)"
check "version before a command ignores it" "quillstep-cli $version" "$("$cli" --version run 1)"
"$cli" --help | grep -q -- "--max-neighbours" || { failed=$((failed + 1)); echo "FAILED help names the options"; }

# --help opens with five examples of typical work, and each of them works as shown (the optimiser
# with a time limit of 2 s instead of 60, to keep the test short)
check "help opens with the usage and the examples" $'Usage: quillstep-cli [PARAMETERS] COMMAND [COMMAND...]|       quillstep-cli --help | --version||Examples:' \
      "$("$cli" --help | head -4 | paste -sd'|')"
mkdir examples && cd examples || exit 1
examples=$("$cli" --help | sed -n '5,/^$/p' | grep '^  quillstep-cli ' | sed 's/^  quillstep-cli //; s/   .*//')
check "five examples" 5 "$(echo "$examples" | wc -l)"
while read -r example; do
    # shellcheck disable=SC2086
    check "example works: quillstep-cli $example" 0 "$(status "$cli" ${example/--time-limit 60/--time-limit 2})"
done <<<"$examples"
cd .. && rm -r examples

# searches: the systems users know at 10 numbers
out=$("$cli" --total 10 run 2 search4 search5 2>/dev/null | sed 's/seconds: [0-9]*\.[0-9]*$/seconds: S/')
check "search4 and search5 at 10" $'combinations: 120\nseconds: 0.\ndescription: FULL SYSTEM 7/ 10\nbest start: 1\nsystem size: 1\nfile: mb_comb_file_ab.txt rows: 1 seconds: S\nbest start: 1\nsystem size: 3\nfile: mb_comb_file_ab5.txt rows: 3 seconds: S' \
      "$(echo "$out" | sed 's/^seconds: .*/seconds: 0./')"
check "G5 system file" $'"Marrowby - Quillstep"\r\n"FULL SYSTEM 7/ 10"\r\n"gar.:5 from 7 OK numbers"\r\n\r\n1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n3,1,5,6,7,8,9,10\r' \
      "$(cat mb_comb_file_ab5.txt)"
out=$("$cli" --total 10 run 4 search4 2>/dev/null | tail -1)
check "search with nothing stored" "not written: " "${out:0:13}"

# stats: the counting message, then 39 lines
out=$("$cli" --total 8 run 2 stats)
check "stats line count" 43 "$(echo "$out" | wc -l)"
check "stats message" " 8 combinations counted in:" "$(echo "$out" | sed -n 4p | sed 's/in:.*/in:/')"
check "stats counts" $'1: 7\n8: 7\n9: \n39: ' "$(echo "$out" | grep -E '^(1|8|9|39):')"

finish
