#!/usr/bin/env bash
# Two processes writing the same system file in one folder, pair after pair: each reads back what
# it wrote before it takes the old file's place, so that neither calls the other's later
# replacement corruption. Both succeed, and the file left is the complete output of one of them.
source "$(dirname "$0")/contract_helpers.sh"

mkdir ref12 ref13 shared
(cd ref12 && "$cli" --total 12 run 2 search5 >/dev/null 2>&1)
(cd ref13 && "$cli" --total 13 run 2 search5 >/dev/null 2>&1)
file=mb_comb_file_ab5.txt
pairs=100 succeeded=0 complete=0 false_not_written=0
for _ in $(seq $pairs); do
    (cd shared && "$cli" --total 12 run 2 search5 >../out12 2>&1; echo $? >../status12) &
    (cd shared && "$cli" --total 13 run 2 search5 >../out13 2>&1; echo $? >../status13) &
    wait
    [ "$(cat status12 status13)" == $'0\n0' ] && succeeded=$((succeeded + 1))
    grep -q 'not written' out12 out13 && false_not_written=$((false_not_written + 1))
    if cmp -s shared/$file ref12/$file || cmp -s shared/$file ref13/$file; then complete=$((complete + 1)); fi
done
check "pairs with a false \"not written\"" 0 $false_not_written
check "pairs in which both succeeded" $pairs $succeeded
check "pairs that left a complete file" $pairs $complete
check "no temporary file left" "$file" "$(ls -A shared)"

finish
