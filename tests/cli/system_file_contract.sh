#!/usr/bin/env bash
# profile, match and complete4/complete5 of quillstep-cli, and the stored share of check4/check5:
# output lines, exit codes and files. Expected counts come from binomial coefficients worked out
# here, not from the program.
. "$(dirname "$0")/contract_helpers.sh"

choose() {  # n k
    local n=$1 k=$2 c=1 i
    [ "$k" -lt 0 ] || [ "$k" -gt "$n" ] && { echo 0; return; }
    for ((i = 1; i <= k; i++)); do c=$((c * (n - k + i) / i)); done
    echo "$c"
}
percent() {  # part whole: two decimals, rounded half up
    local hundredths=$(( ($1 * 20000 + $2) / (2 * $2) ))
    printf '%d.%02d' $((hundredths / 100)) $((hundredths % 100))
}

# One line on the full wheel of 39: a draw shares k numbers with it in C(7,k) C(32,7-k) ways.
printf '3,9,14,22,27,31,38\n' >one.txt
draws=$(choose 39 7)
expected="draws: $draws
best match:"
at_least_3=0 at_least_4=0 at_least_5=0
for k in 7 6 5 4 3 2 1 0; do
    n=$(( $(choose 7 $k) * $(choose 32 $((7 - k))) ))
    expected+=" $k=$n"
    [ $k -ge 3 ] && at_least_3=$((at_least_3 + n))
    [ $k -ge 4 ] && at_least_4=$((at_least_4 + n))
    [ $k -ge 5 ] && at_least_5=$((at_least_5 + n))
done
expected+="
at least 3: $(percent $at_least_3 "$draws")%
at least 4: $(percent $at_least_4 "$draws")%
at least 5: $(percent $at_least_5 "$draws")%"
check "profile of one line, no run needed" "$expected" "$("$cli" profile one.txt)"
check "profile after a counting run" "$expected" "$("$cli" run 1 profile one.txt | tail -5)"

# The greedy system of the full wheel of 11 (1..7 and 1,2,3,8,9,10,11): every draw is stored, so
# the profile is the check's best match (worked out by hand in optimise_contract.sh).
printf '1;2;3;4;5;6;7\r\n1;2;3;8;9;10;11\r\n' >greedy.csv
check "profile at 11" $'draws: 330\nbest match: 7=2 6=56 5=216 4=56 3=0 2=0 1=0 0=0\nat least 3: 100.00%\nat least 4: 100.00%\nat least 5: 83.03%' \
      "$("$cli" --total 11 profile greedy.csv)"

# check4 tells how many of all draws the store holds, before its own lines
check "stored share at 11" "stored share: 330 of 330 draws (100.00%)" \
      "$("$cli" --total 11 run 2 check4 greedy.csv | grep '^stored share')"
check "stored share of mode 12" "stored share: 10276 of $draws draws ($(percent 10276 "$draws")%)" \
      "$("$cli" run 12 check4 one.txt | grep '^stored share')"
check "check4 lines in order" $'stored share: 330 of 330 draws (100.00%)\nstored: 330\nsystem size: 2\nuncovered: 0' \
      "$("$cli" --total 11 run 2 check4 greedy.csv | sed -n '4,7p')"

# files of other programs: a header line, semicolons, tabs, CR LF
printf 'Draw\tN1\tN2\tN3\tN4\tN5\tN6\tN7\r\n7\t6\t5\t4\t3\t2\t1\r\n11\t10\t9\t8\t3\t2\t1\r\n' >tabs.txt
check "header and tabs read as the same system" "$("$cli" --total 11 run 2 check4 greedy.csv | tail -4)" \
      "$("$cli" --total 11 run 2 check4 tabs.txt | tail -4)"

# match: one draw against the lines; the best is the first line with the most
printf '1,2,3,4,20,21,22\n1,2,3,4,5,30,31\n1,2,3,4,5,32,33\n8,9,10,11,12,13,14\n' >match.txt
check "match" $'hits: 7=0 6=0 5=2 4=1 3=0 2=0 1=0 0=1\nbest: 5 on line 2' "$("$cli" match 1,2,3,4,5,6,7 match.txt)"
check "match in any order, after a storing run" "best: 5 on line 2" "$("$cli" --total 20 run 2 match 7,6,5,4,3,2,1 match.txt | tail -1)"
for bad in "1,2,3,4,5,6" "1,2,3,4,5,6,6" "1,2,3,4,5,6,40" "1,2,3,4,5,6,x" ""; do
    check "match refuses '$bad'" 2 "$(status "$cli" match "$bad" match.txt)"
done
check "match refuses a draw above the total" 2 "$(status "$cli" --total 20 run 2 match 1,2,3,4,5,6,25 match.txt)"
check "nothing runs before a refused match" "" "$("$cli" --total 20 run 2 match 1,2,3,4,5,6,25 match.txt 2>/dev/null)"
check "match needs a file" 2 "$(status "$cli" match 1,2,3,4,5,6,7)"
printf '1,2,3,4,5,6,7\n1,2,3\n' >short.txt
check "match of a malformed file" "quillstep-cli: match: short.txt: line 2: expected seven numbers (or a row number and seven numbers), found 3 fields" \
      "$("$cli" match 1,2,3,4,5,6,7 short.txt 2>&1 >/dev/null)"
check "profile of a malformed file exits 2" 2 "$(status "$cli" profile short.txt)"

# complete4: the file's line kept, one stored combination added, the result checks clean
printf '1,2,3,4,5,6,7\n' >holed.txt
out=$("$cli" --total 11 run 2 complete4 --time-limit 5 holed.txt)
check "complete4 lines" $'kept: 1\nadded: 1\nsystem size: 2' "$(echo "$out" | sed -n '4,6p')"
check "complete4 file line" yes "$(echo "$out" | tail -1 | grep -q '^file: mb_comb_file_ab.txt rows: 2 seconds: ' && echo yes)"
check "the completed system checks clean" 0 "$(status "$cli" --total 11 run 2 check4 mb_comb_file_ab.txt)"
check "the kept line comes first" "1,1,2,3,4,5,6,7" "$(sed -n '5p' mb_comb_file_ab.txt | tr -d '\r')"
cp mb_comb_file_ab.txt covering.txt
out=$("$cli" --total 11 run 2 complete4 covering.txt)
check "complete4 of a covering system" $'kept: 2\nadded: 0\nsystem size: 2' "$(echo "$out" | sed -n '4,6p')"
check "written unchanged" "$(cat covering.txt)" "$(cat mb_comb_file_ab.txt)"
out=$("$cli" --total 12 run 2 complete5 --time-limit 2 holed.txt)
check "complete5 writes its own file" yes "$(echo "$out" | tail -1 | grep -q '^file: mb_comb_file_ab5.txt rows: ' && echo yes)"
check "the completed G5 system checks clean" 0 "$(status "$cli" --total 12 run 2 check5 mb_comb_file_ab5.txt)"

# refused before anything runs
check "complete4 refused before any run" 2 "$(status "$cli" complete4 holed.txt)"
check "complete4 refused after counting" 2 "$(status "$cli" --total 11 run 2 run 1 complete4 holed.txt)"
check "complete4 takes no --any-combination" 2 "$(status "$cli" --total 11 run 2 complete4 --any-combination holed.txt)"
check "complete4 needs a file" 2 "$(status "$cli" --total 11 run 2 complete4 --time-limit 5)"
printf '1,2,3,4,5,6,12\n' >above.txt
check "complete4 of lines above the total exits 2" 2 "$(status "$cli" --total 11 run 2 complete4 above.txt)"

finish
