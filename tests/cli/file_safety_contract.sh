#!/usr/bin/env bash
# quillstep-cli's files when the world is not kind: two writers in one folder, signals during a
# write, a file-size limit, too little memory for a search.
source "$(dirname "$0")/contract_helpers.sh"

# Two writers in one folder, round after round: both succeed, and the file left is always the
# complete output of one of them, with no temporary file beside it.
mkdir ref27 ref28 shared
(cd ref27 && "$cli" --total 27 run 2 write >/dev/null 2>&1)
(cd ref28 && "$cli" --total 28 run 2 write >/dev/null 2>&1)
rounds=20 succeeded=0 complete=0 clean=0
for _ in $(seq $rounds); do
    (cd shared && "$cli" --total 28 run 2 write >/dev/null 2>../err28; echo $? >../status28) &
    (cd shared && "$cli" --total 27 run 2 write >/dev/null 2>../err27; echo $? >../status27) &
    wait
    [ "$(cat status28 status27)" == $'0\n0' ] && succeeded=$((succeeded + 1))
    if cmp -s shared/mb_comb_file.txt ref28/mb_comb_file.txt || cmp -s shared/mb_comb_file.txt ref27/mb_comb_file.txt; then
        complete=$((complete + 1))
    fi
    [ "$(ls -A shared)" == "mb_comb_file.txt" ] && clean=$((clean + 1))
done
check "two writers: rounds in which both succeeded" $rounds $succeeded
check "two writers: rounds that left a complete file" $rounds $complete
check "two writers: rounds that left no temporary file" $rounds $clean

# Signals during the write of the full wheel (441 MB): SIGINT and SIGTERM make the program remove
# its temporary file, keep the previous file and end with 128 + the signal after a line on stderr;
# SIGKILL leaves nothing visible either (the temporary file has no name until it is complete).
temporaryFileOpen() {  # pid: whether it has a file of the current folder open, i.e. its temporary file
    local fd
    for fd in /proc/"$1"/fd/*; do
        case "$(readlink "$fd" 2>/dev/null)" in "$PWD"/*) return 0 ;; esac
    done
    return 1
}
# Under Wine only SIGINT stands for something on Windows (the console's Ctrl+C event): Wine ends
# the process at once on SIGTERM and SIGKILL, and the temporary file of Windows has a name.
signals="INT TERM KILL"
skipped_under_wine "SIGTERM and SIGKILL during a write (no console event stands for them)" && signals=INT
for signal in $signals; do
    mkdir "sig$signal" && cd "sig$signal" || exit 1
    printf 'previous\r\n' >mb_comb_file.txt
    mkfifo "$work/lines$signal"
    "$cli" run 2 write >"$work/lines$signal" 2>"$work/err$signal" &
    pid=$!
    # The description is the run's last line: the write starts right after it.
    exec 3<"$work/lines$signal"
    for _ in 1 2 3; do read -r -u 3 _ || break; done
    # Then it opens its temporary file, the only file of this folder it opens. (Counting its open
    # files instead misses the moment when the file opens before the first count.)
    for _ in $(seq 5000); do
        if temporaryFileOpen $pid || ! kill -0 $pid 2>/dev/null; then break; fi
        read -r -t 0.001 -u 3 _  # waits a millisecond: nothing more comes before the write ends
    done
    kill -s "$signal" $pid
    wait $pid
    code=$?
    exec 3<&-
    if [ "$signal" != KILL ] && [ "$code" -eq 0 ]; then
        # It came once the new file was in place: then the write is done.
        check "SIG$signal after the rename: the line on stderr" \
              "quillstep-cli: interrupted by SIG$signal: mb_comb_file.txt had been written already" \
              "$(tail -1 "$work/err$signal")"
        check "SIG$signal after the rename: the new file" '"Marrowby - Quillstep"' "$(head -1 mb_comb_file.txt | tr -d '\r')"
        check "SIG$signal after the rename: nothing else left" "mb_comb_file.txt" "$(ls -A)"
        cd "$work" || exit 1
        continue
    fi
    check "SIG$signal during a write: exit code" $((128 + $(kill -l "$signal"))) $code
    if [ "$signal" != KILL ]; then
        check "SIG$signal during a write: the line on stderr" \
              "quillstep-cli: interrupted by SIG$signal: mb_comb_file.txt not written, the previous file is kept" \
              "$(tail -1 "$work/err$signal")"
    fi
    check "SIG$signal during a write: the previous file" "previous" "$(head -c 100 mb_comb_file.txt | tr -d '\r')"
    check "SIG$signal during a write: nothing else left" "mb_comb_file.txt" "$(ls -A)"
    cd "$work" || exit 1
done

# A file-size limit: the write fails like any other failed write.
if skipped_under_wine "ulimit -f and ulimit -v (no such limits on Windows: Wine dies of SIGXFSZ, and aborts without the address space it reserves)"; then
    finish
    exit
fi
mkdir limit && cd limit || exit 1
# Every command that writes a file answers on stdout, with its "file:" line or its "not written:"
# line, and exits 1 when the file could not be written; the previous file stays. stderr holds only
# what is for people (progress, the message box's echo). Output is read through pipes, which the
# limit does not bind. The four-hit systems of mode 12 fit in 1 KB, so they get no room at all.
printf '1,2,3,4,5,6,7\n' >start.txt
limited() {  # limit, arguments: stdout, then "exit: <status>"; stderr lines marked "stderr: "
    local limit=$1
    shift
    { (ulimit -f "$limit"; "$cli" "$@"; echo "exit: $?") 2>&1 1>&3 | sed 's/^/stderr: /'; } 3>&1
}
budget="--time-limit 60 --steps 2000"  # ends by its step budget, well within the time on a busy machine
for limit_command in "1 write" "0 search4" "1 search5" "0 optimise4 $budget" "1 optimise5 $budget" \
                     "0 complete4 $budget start.txt" "1 complete5 $budget start.txt"; do
    limit=${limit_command%% *} command=${limit_command#* }
    name=$(echo "$command" | cut -d' ' -f1)
    case $name in write) file=mb_comb_file.txt ;; *4) file=mb_comb_file_ab.txt ;; *) file=mb_comb_file_ab5.txt ;; esac
    printf 'previous\r\n' >"$file"
    # shellcheck disable=SC2086
    all=$(limited "$limit" run 12 $command)
    case=" (ulimit -f $limit: $name)"
    check "file-size limit: exit code$case" "exit: 1" "$(echo "$all" | grep '^exit: ')"
    check "file-size limit: the last line on stdout$case" "not written: File too large" \
          "$(echo "$all" | grep -v -e '^stderr: ' -e '^exit: ' | tail -1)"
    check "file-size limit: nothing of it on stderr$case" "" "$(echo "$all" | grep -e '^stderr: quillstep-cli' -e '^stderr: .*not written')"
    check "file-size limit: the message box's echo on stderr$case" \
          "stderr: message: Could not write $file: File too large. The previous $file is unchanged." \
          "$(echo "$all" | grep '^stderr: message: Could not write')"
    check "file-size limit: the previous file$case" "previous" "$(head -c 100 "$file" | tr -d '\r')"
    rm "$file"
    check "file-size limit: nothing else left$case" "start.txt" "$(ls -A)"
done
cd "$work" || exit 1

# Too little memory for the search's tables of the full wheel: the search says so, exit 1 as for
# any other file not written, and the commands after it do not run.
mkdir memory && cd memory || exit 1
out=$( (ulimit -v 480000; timeout 300 "$cli" run 2 search4 run 1) 2>/dev/null)
code=$?
check "search without memory: exit code" 1 $code
check "search without memory: its line" \
      "not written: not enough memory for the search among 15380937 stored combinations" \
      "$(echo "$out" | sed -n 4p)"
check "search without memory: the next command does not run" "" "$(echo "$out" | sed -n 5p)"
check "search without memory: no file" "" "$(ls -A)"
cd "$work" || exit 1

finish
