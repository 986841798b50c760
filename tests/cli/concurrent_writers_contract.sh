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

# A writer in another PID namespace (two containers sharing the folder) sees none of this one's
# processes: the temporary file of a live writer here, named after a process id it cannot see,
# is still not taken for a leftover, since the writer holds its lock.
if skipped_under_wine "PID namespaces"; then :
elif ! command -v flock >/dev/null || ! unshare --pid --fork true 2>/dev/null; then
    echo "skipped: a writer in another PID namespace needs flock and unshare --pid (root or user namespaces)"
else
    mkdir namespaces && cd namespaces || exit 1
    # The writer: its lock on the file it names after itself is held until it ends.
    bash -c 'name="mb_comb_file.txt.$$-0.partial"; echo "being written" >"$name"; exec 9<"$name"; flock -x 9
             exec sleep 60' &
    holder=$!
    for _ in $(seq 100); do  # until the file is there and locked
        live=$(ls -A)
        [ -n "$live" ] && ! flock -n -x "$live" true 2>/dev/null && break
        sleep 0.1
    done
    unshare --pid --fork "$cli" --total 10 run 2 write >/dev/null 2>&1
    check "another namespace's writer succeeds" 0 "$?"
    check "a live writer's temporary file is kept" "being written" "$(cat "$live" 2>&1)"
    kill $holder 2>/dev/null
    wait $holder 2>/dev/null
    unshare --pid --fork "$cli" --total 10 run 2 write >/dev/null 2>&1
    check "once its writer has ended it is removed" "mb_comb_file.txt" "$(ls -A)"
    cd "$work" || exit 1
fi

finish
