#!/usr/bin/env bash
# checkwheel of quillstep-cli: a wheel on the player's own numbers checked over every set of M pool
# numbers holding the keys. Expected counts and holes come from a plain loop written here in awk,
# or are worked out by hand below, never from the program.
. "$(dirname "$0")/contract_helpers.sh"

# The plain loop: POOL and KEYS as numbers separated by blanks (ascending), T, M, and a file of
# tickets "a,b,c,d,e,f,g"; prints "uncovered: <u>" and the first ten holes in ascending order.
plain_count() {
    awk -v pool="$1" -v keys="$2" -v t="$3" -v m="$4" -F, '
        { for (i = 1; i <= NF; i++) ticket[NR, $i + 0] = 1; tickets = NR }
        function visit(start, depth,    i, j, k, c, shared, covered, found, text) {
            if (depth == m) {
                for (k = 1; k <= nk; k++) {
                    found = 0
                    for (c = 1; c <= m; c++) if (chosen[c] == key[k]) found = 1
                    if (!found) return
                }
                covered = 0
                for (j = 1; j <= tickets && !covered; j++) {
                    shared = 0
                    for (c = 1; c <= m; c++) if ((j, chosen[c]) in ticket) shared++
                    if (shared >= t) covered = 1
                }
                if (!covered) {
                    u++
                    if (u <= 10) {
                        text = chosen[1]
                        for (c = 2; c <= m; c++) text = text "," chosen[c]
                        holes = holes "\nhole: " text
                    }
                }
                return
            }
            for (i = start; i <= np; i++) { chosen[depth + 1] = p[i] + 0; visit(i + 1, depth + 1) }
        }
        END { np = split(pool, p, " "); nk = split(keys, key, " "); u = 0; visit(1, 0); printf "uncovered: %d%s\n", u, holes }
    ' "$5"
}

# COUNT random tickets of seven of POOL holding every one of KEYS (blank-separated), one a line.
random_tickets() {
    local count=$1 s n v chosen
    local -a pool=($2) keys=($3)
    for ((s = 0; s < count; s++)); do
        chosen=" ${keys[*]} " n=${#keys[@]}
        while [ "$n" -lt 7 ]; do
            v=${pool[RANDOM % ${#pool[@]}]}
            case "$chosen" in *" $v "*) ;; *) chosen+="$v " n=$((n + 1)) ;; esac
        done
        # shellcheck disable=SC2086
        printf '%s\n' $chosen | sort -n | paste -sd, -
    done
}

# The full wheel of 8: each line leaves one number out, so any M numbers (M <= 7) lie in a line
# whole; every guarantee holds, on 1..8 and on eight numbers elsewhere in 1..39.
for pool in "1 2 3 4 5 6 7 8" "5 9 12 18 22 30 31 39"; do
    list=$(echo "$pool" | tr ' ' ,)
    for out in $pool; do echo "$pool" | tr ' ' '\n' | grep -vx "$out" | paste -sd, -; done >full8.txt
    for m in 2 3 4 5 6 7; do
        for ((t = 2; t <= m && t <= 6; t++)); do
            out=$("$cli" checkwheel --pool "$list" --hits $t --if $m full8.txt)
            out+=$'\nstatus '$?
            check "full wheel of 8 ($list), $t if $m" $'pool: 8 numbers\nguarantee: '"$t if $m"$'\nsystem size: 8\nuncovered: 0\nstatus 0' \
                  "$out"
        done
    done
done

# 2 if 2 on 1..8: a line of seven misses one number, and a pair is missed only by a line that
# misses one of its two. Three lines missing 1, 2 and 3 cover every pair (of three missed
# numbers one is outside any pair); two lines missing 1 and 2 leave the pair 1,2 alone uncovered.
printf '2,3,4,5,6,7,8\n1,3,4,5,6,7,8\n1,2,4,5,6,7,8\n' >three.txt
check "2 if 2 on 8 by three lines" $'pool: 8 numbers\nguarantee: 2 if 2\nsystem size: 3\nuncovered: 0' \
      "$("$cli" checkwheel --pool 1-8 --hits 2 --if 2 three.txt)"
check "the plain loop agrees" "uncovered: 0" "$(plain_count "1 2 3 4 5 6 7 8" "" 2 2 three.txt)"
head -2 three.txt >two.txt
check "2 if 2 on 8 by two lines: one hole" $'pool: 8 numbers\nguarantee: 2 if 2\nsystem size: 2\nuncovered: 1\nhole: 1,2' \
      "$("$cli" checkwheel --pool 1-8 --hits 2 --if 2 two.txt)"
check "a wheel with a hole: status 3" 3 "$(status "$cli" checkwheel --pool 1-8 --hits 2 --if 2 two.txt)"
check "needs no store, anywhere on the line" "uncovered: 1" \
      "$("$cli" --total 8 run 1 checkwheel --pool 1-8 --hits 2 --if 2 two.txt | grep '^uncovered')"

# Random wheels against the plain loop: pools from 1, pools elsewhere (3,7,11-20), keys.
RANDOM=2026
statuses=""
cases=(
    "1-10|1 2 3 4 5 6 7 8 9 10||2 2|6"
    "1-10|1 2 3 4 5 6 7 8 9 10||3 3|6"
    "1-10|1 2 3 4 5 6 7 8 9 10||3 4|5"
    "1-10|1 2 3 4 5 6 7 8 9 10||4 5|9"
    "1-10|1 2 3 4 5 6 7 8 9 10||5 7|4"
    "3,7,11-20|3 7 11 12 13 14 15 16 17 18 19 20||3 6|6"
    "3,7,11-20|3 7 11 12 13 14 15 16 17 18 19 20|3|3 4|8"
    "3,7,11-20|3 7 11 12 13 14 15 16 17 18 19 20|3 11|3 5|5"
    "3,7,11-20|3 7 11 12 13 14 15 16 17 18 19 20|3 11 20|4 7|4"
    "1-4,36-39|1 2 3 4 36 37 38 39|39|2 3|2"
)
for row in "${cases[@]}"; do
    IFS='|' read -r list pool keys guarantee count <<<"$row"
    read -r t m <<<"$guarantee"
    random_tickets "$count" "$pool" "$keys" >random.txt
    key_option=()
    [ -n "$keys" ] && key_option=(--keys "$(echo "$keys" | tr ' ' ,)")
    name="$t if $m on $list, keys '$keys', $count lines"
    out=$("$cli" checkwheel --pool "$list" "${key_option[@]}" --hits "$t" --if "$m" random.txt)
    code=$?
    check "$name: lines" "pool: $(echo "$pool" | wc -w) numbers
guarantee: $t if $m
system size: $count" "$(echo "$out" | head -3)"
    expected=$(plain_count "$pool" "$keys" "$t" "$m" random.txt)
    check "$name: uncovered and holes" "$expected" "$(echo "$out" | tail -n +4)"
    check "$name: status" "$([ "$(echo "$expected" | head -1)" == "uncovered: 0" ] && echo 0 || echo 3)" "$code"
    statuses+=" $code"
done
check "the random wheels: some covered, some not" "0 3" "$(echo $statuses | tr ' ' '\n' | sort -u | paste -sd' ')"

# Keys: every line holds them, and only the sets drawn that hold them count.
printf '1,2,3,4,5,6,9\n3,4,5,6,7,8,9\n' >keyed.txt
check "keys" "$(plain_count "1 2 3 4 5 6 7 8 9" "9" 3 4 keyed.txt)" \
      "$("$cli" checkwheel --pool 1-9 --keys 9 --hits 3 --if 4 keyed.txt | tail -n +4)"
check "keys: each hole holds the key" "" \
      "$("$cli" checkwheel --pool 1-9 --keys 9 --hits 3 --if 4 keyed.txt | grep '^hole' | grep -v ',9$')"

# A line that is no ticket of the wheel is refused with its line of the file; nothing on stdout.
printf '"my wheel"\r\n\r\n1,2,3,4,5,6,7\r\n1,2,3,4,5,6,11\r\n' >outside.txt
check "a line outside the pool" "quillstep-cli: checkwheel: outside.txt: line 4 (1,2,3,4,5,6,11): 11 is not in the pool" \
      "$("$cli" checkwheel --pool 1-10 --hits 3 --if 4 outside.txt 2>&1)"
check "a line outside the pool: status" 2 "$(status "$cli" checkwheel --pool 1-10 --hits 3 --if 4 outside.txt)"
check "a line outside the pool: stdout" "" "$("$cli" checkwheel --pool 1-10 --hits 3 --if 4 outside.txt 2>/dev/null)"
printf '1,2,3,4,5,6,8\n1,2,3,4,5,6,7\n' >nokey.txt
check "a line without a key" "quillstep-cli: checkwheel: nokey.txt: line 2 (1,2,3,4,5,6,7): misses the key 8" \
      "$("$cli" checkwheel --pool 1-10 --keys 8 --hits 3 --if 4 nokey.txt 2>&1)"
printf '1,2,3,4,5,8,9\n\n1,2,3,4,5,6,7\n' >nokeys.txt
check "a line without two keys" "quillstep-cli: checkwheel: nokeys.txt: line 3 (1,2,3,4,5,6,7): misses the keys 8 and 9" \
      "$("$cli" checkwheel --pool 1-10 --keys 8,9 --hits 3 --if 4 nokeys.txt 2>&1)"
printf '1,2,3,4,5,6,7\n1,2,3,4,5,6\n' >short.txt
check "a malformed line" "quillstep-cli: checkwheel: short.txt: line 2: expected seven numbers (or a row number and seven numbers), found 6 fields" \
      "$("$cli" checkwheel --pool 1-10 --hits 3 --if 4 short.txt 2>&1)"
check "a malformed line: status" 2 "$(status "$cli" checkwheel --pool 1-10 --hits 3 --if 4 short.txt)"
check "a missing file" "quillstep-cli: checkwheel: cannot read missing.txt: no such file" \
      "$("$cli" checkwheel --pool 1-10 --hits 3 --if 4 missing.txt 2>&1)"

# Refused wheels: one message each, status 2, before anything runs.
refused() {  # expected message, then the arguments after checkwheel
    local expected=$1
    shift
    local message code
    message=$("$cli" checkwheel "$@" 2>&1 >/dev/null)
    code=$?
    check "refused: $*" "quillstep-cli: $expected, status 2" "$message, status $code"
}
refused "checkwheel: a wheel needs at least 8 numbers in the pool, not 7" --pool 1-7 --hits 3 --if 4 three.txt
refused "checkwheel: --pool: 40 is outside 1 to 39" --pool 1-10,40 --hits 3 --if 4 three.txt
refused "checkwheel: --pool: the range 15-1 runs backwards (write 1-15)" --pool 15-1 --hits 3 --if 4 three.txt
refused "checkwheel: --pool: 5 is given twice" --pool 1-10,5 --hits 3 --if 4 three.txt
refused "checkwheel: --pool: 'x' is neither a number nor a range such as 11-20" --pool 1-10,x --hits 3 --if 4 three.txt
refused "checkwheel: the key 12 is not in the pool" --pool 1-10 --keys 12 --hits 3 --if 4 three.txt
refused "checkwheel: 4 keys given; a wheel takes at most 3" --pool 1-10 --keys 1-4 --hits 5 --if 6 three.txt
refused "checkwheel: 5 if 4: the hits cannot be more than the numbers drawn" --pool 1-10 --hits 5 --if 4 three.txt
refused "checkwheel: --hits needs a whole number from 2 to 6, got '7'" --pool 1-10 --hits 7 --if 7 three.txt
refused "checkwheel: --if needs a whole number from 2 to 7, got '8'" --pool 1-10 --hits 3 --if 8 three.txt
refused "checkwheel: 2 keys at 2 hits: every ticket holds the keys, so any one ticket gives the hits; give fewer keys or more hits" \
        --pool 1-10 --keys 1,2 --hits 2 --if 5 three.txt
refused "checkwheel: --if is needed (a wheel is its pool, its hits and the numbers drawn)" --pool 1-10 --hits 3 three.txt
refused "unknown option --hitz; did you mean --hits?" --pool 1-10 --hitz 3 --if 4 three.txt
refused "--time-limit is an option of optimise4, optimise5, complete4, complete5 and wheel; checkwheel takes --pool, --keys, --hits and --if, then a file name" \
        --pool 1-10 --hits 3 --if 4 --time-limit 5 three.txt
refused "checkwheel needs the name of a system file" --pool 1-10 --hits 3 --if 4
check "an option of checkwheel before it" \
      "quillstep-cli: --pool belongs after checkwheel: quillstep-cli checkwheel --pool 1-8 --hits 2 --if 2 two.txt" \
      "$("$cli" --pool 1-8 checkwheel --hits 2 --if 2 two.txt 2>&1)"
check "an option of checkwheel after another command" \
      "quillstep-cli: --hits belongs after checkwheel: quillstep-cli checkwheel --hits 3 --pool 1-8 --if 2 two.txt" \
      "$("$cli" run 2 --hits 3 checkwheel --pool 1-8 --if 2 two.txt 2>&1 | sed 's/run 2 //')"
check "nothing written" "" "$(ls | grep '^mb_comb')"

# wheel: a wheel made, written and checked again by checkwheel and by the plain loop above.
# 2 if 2 on eight numbers: two lines of seven miss two numbers, which form an uncovered pair
# (see above), so three lines are the fewest; the search stops there at once.
rm -f mb_comb_file_wheel.txt
out=$("$cli" wheel --pool 1-8 --hits 2 --if 2 --time-limit 20 2>/dev/null)
code=$?
check "wheel 2 if 2 on 8: lines" "pool: 8 numbers
guarantee: 2 if 2
system size: 3
best published: 3
file: mb_comb_file_wheel.txt rows: 3 status 0" "$(echo "$out" | sed 's/ seconds: .*//') status $code"
check "wheel 2 if 2 on 8: checkwheel" 0 "$(status "$cli" checkwheel --pool 1-8 --hits 2 --if 2 mb_comb_file_wheel.txt)"
check "wheel 2 if 2 on 8: header" '"pool: 1-8"
"keys: none"
"guarantee: 2 if 2"' "$(sed -n 3,5p mb_comb_file_wheel.txt | tr -d '\r')"

# Wheels on pools elsewhere in 1..39, with and without keys, by --output; every file re-checked.
wheel_cases=(
    "3,7,11-20|3 7 11 12 13 14 15 16 17 18 19 20|3|3 5"
    "5,9,12,18,22,30-39|5 9 12 18 22 30 31 32 33 34 35 36 37 38 39||3 4"
    "1-14|1 2 3 4 5 6 7 8 9 10 11 12 13 14|2 9|4 6"
    "21-35|21 22 23 24 25 26 27 28 29 30 31 32 33 34 35||4 4"
)
for row in "${wheel_cases[@]}"; do
    IFS='|' read -r list pool keys guarantee <<<"$row"
    read -r t m <<<"$guarantee"
    key_option=()
    [ -n "$keys" ] && key_option=(--keys "$(echo "$keys" | tr ' ' ,)")
    name="wheel $t if $m on $list, keys '$keys'"
    out=$("$cli" wheel --pool "$list" "${key_option[@]}" --hits "$t" --if "$m" --time-limit 2 --seed 7 \
          --output made.txt 2>/dev/null)
    code=$?
    size=$(echo "$out" | sed -n 's/^system size: //p')
    check "$name: status" 0 "$code"
    check "$name: the lines before the size" "pool: $(echo "$pool" | wc -w) numbers
guarantee: $t if $m" "$(echo "$out" | head -2)"
    check "$name: file line" "file: made.txt rows: $size" "$(echo "$out" | tail -1 | sed 's/ seconds: .*//')"
    if [ -n "$keys" ]; then
        check "$name: no published size with keys" "" "$(echo "$out" | grep '^best published')"
    fi
    check "$name: checkwheel" "system size: $size
uncovered: 0" "$("$cli" checkwheel --pool "$list" "${key_option[@]}" --hits "$t" --if "$m" made.txt | sed -n 3,4p)"
    tail -n +7 made.txt | tr -d '\r' >lines.txt
    check "$name: the plain loop" "uncovered: 0" "$(plain_count "$pool" "$keys" "$t" "$m" lines.txt)"
done

# The time limit and Ctrl+C keep the best wheel found: the file is written and checks clean.
"$cli" wheel --pool 1-22 --hits 4 --if 4 --time-limit 600 --output stopped.txt >stopped.out 2>stopped.err &
pid=$!
sleep 3
kill -INT "$pid"
start=$(date +%s)
wait "$pid"
code=$?
check "wheel after Ctrl+C: status" 0 "$code"
check "wheel after Ctrl+C: said on stderr" yes "$(grep -q '^stopped: the best wheel found so far follows' stopped.err && echo yes)"
check "wheel after Ctrl+C: ended soon" yes "$([ $(($(date +%s) - start)) -lt 30 ] && echo yes)"
check "wheel after Ctrl+C: checkwheel" 0 "$(status "$cli" checkwheel --pool 1-22 --hits 4 --if 4 stopped.txt)"
check "wheel after Ctrl+C: the size is the file's" "$(sed -n 's/^system size: //p' stopped.out)" \
      "$(sed -n 's/^file: stopped.txt rows: \([0-9]*\) .*/\1/p' stopped.out)"
start=$(date +%s)
"$cli" wheel --pool 1-22 --hits 4 --if 4 --time-limit 1 --output timed.txt >/dev/null 2>&1
code=$?
check "wheel within its time limit: status" 0 "$code"
check "wheel within its time limit: ended soon" yes "$([ $(($(date +%s) - start)) -lt 30 ] && echo yes)"
check "wheel within its time limit: checkwheel" 0 "$(status "$cli" checkwheel --pool 1-22 --hits 4 --if 4 timed.txt)"

# The output folder of --output-dir takes the default file.
mkdir -p folder
out=$("$cli" --output-dir folder wheel --pool 1-10 --hits 3 --if 3 --time-limit 2 2>/dev/null)
check "wheel in the output folder" "file: mb_comb_file_wheel.txt" "$(echo "$out" | tail -1 | sed 's/ rows: .*//')"
check "wheel in the output folder: checkwheel" 0 "$(status "$cli" checkwheel --pool 1-10 --hits 3 --if 3 folder/mb_comb_file_wheel.txt)"

# Refused wheels: named, status 2, nothing written.
rm -rf refusals && mkdir refusals && cd refusals || exit 1
refused_wheel() {  # expected message, then the arguments after wheel
    local expected=$1
    shift
    local message code
    message=$("$cli" wheel "$@" 2>&1 >/dev/null)
    code=$?
    check "wheel refused: $*" "quillstep-cli: $expected, status 2" "$message, status $code"
}
refused_wheel "wheel: a wheel needs at least 8 numbers in the pool, not 7" --pool 1-7 --hits 3 --if 4
refused_wheel "wheel: --pool: 40 is outside 1 to 39" --pool 1-10,40 --hits 3 --if 4
refused_wheel "wheel: 5 if 4: the hits cannot be more than the numbers drawn" --pool 1-10 --hits 5 --if 4
refused_wheel "wheel: --if is needed (a wheel is its pool, its hits and the numbers drawn)" --pool 1-10 --hits 3
refused_wheel "--time-limit needs seconds from 1 to 3600, got '0'" --pool 1-10 --hits 3 --if 4 --time-limit 0
refused_wheel "--steps is an option of optimise4, optimise5, complete4 and complete5; wheel takes --time-limit, --seed, --output, --pool, --keys, --hits and --if" \
              --pool 1-10 --hits 3 --if 4 --steps 5
check "wheel refused: nothing written" "" "$(ls)"
cd ..

finish
