#!/usr/bin/env bash
# check4/check5 of quillstep-cli on system files from elsewhere: quoted numbers, CR-only line
# endings, eight numbers and row numbers, huge or endless files, control bytes, files that cannot
# be opened (also as a user without root's rights), and what is refused before anything runs;
# other separators, UTF-16 files, files without combination, shares never rounded to all or none,
# and C1 and bidirectional controls escaped.
# (profile, match and complete4/5 of the files of other programs: system_file_contract.sh.)
source "$(dirname "$0")/contract_helpers.sh"

"$cli" --total 11 run 2 search4 >/dev/null 2>&1
own=mb_comb_file_ab.txt
expected=$("$cli" --total 11 run 2 check4 "$own" 2>/dev/null | tail -4)

# quoted numbers, as spreadsheets export them, the first line included; CR-only line endings
tr -d '\r' <"$own" | awk -F, 'NF == 8 { printf "\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%s\"\r\n", $2, $3, $4, $5, $6, $7, $8 }' >quoted.txt
check "quoted numbers are read" "$expected" "$("$cli" --total 11 run 2 check4 quoted.txt 2>/dev/null | tail -4)"
tr '\n' '\r' <"$own" | tr -s '\r' >cr-only.txt
check "CR-only line endings are read" "$expected" "$("$cli" --total 11 run 2 check4 cr-only.txt 2>/dev/null | tail -4)"

# another program's header of words before quoted numbers; a caption with numbers in it is not
# passed over as a header, nor are eight numbers separated by semicolons taken for a row number
{ printf '"N1";"N2";"N3";"N4";"N5";"N6";"N7"\r\n'; tr ',' ';' <quoted.txt; } >words.txt
check "a header of words, then quoted numbers" "$expected" "$("$cli" --total 11 run 2 check4 words.txt 2>/dev/null | tail -4)"
{ printf 'Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Ball 7\n'; cat quoted.txt; } >caption.txt
tr -d '\r' <"$own" | awk -F, 'NF == 8' | tr ',' ';' >semicolon-rows.txt

# every other form is a malformed line, named by its own number, exit 2
printf '1 2 3 4 5 6 7 8\n1 2 3 4 5 6 7\n' >eight.txt
printf '1,1,2,3,4,5,6,7\n3,1,2,3,4,8,9,10\n' >rows.txt
printf '"1,2,3,4,5,6,7"\n1 2 3 4 5 6 7\n' >quoted-whole.txt
printf '1 2 3 4 5 6 12345678901234567890\n' >large.txt
for file_message in \
    "eight.txt|line 1: 8 fields: a row number is read only in this program's form row,a,b,c,d,e,f,g (digits and commas, no blanks or quotes)" \
    "rows.txt|line 2: row number 3 where 2 was expected (rows count 1, 2, 3, ...)" \
    "quoted-whole.txt|line 1: a combination in one pair of quotes (quote each number, or none)" \
    "large.txt|line 1: number 12345678901234567890 is too large" \
    "caption.txt|line 1: expected seven numbers (or a row number and seven numbers), found 14 fields" \
    "semicolon-rows.txt|line 1: 8 fields: a row number is read only in this program's form row,a,b,c,d,e,f,g (digits and commas, no blanks or quotes)"; do
    file=${file_message%%|*}
    check "$file exits 2" 2 "$(status "$cli" --total 11 run 2 check4 "$file")"
    check "$file message" "quillstep-cli: check4: $file: ${file_message#*|}" "$(first_error --total 11 run 2 check4 "$file")"
done

# control bytes of a field and of the file name reach the terminal escaped
printf '1 2 3 4 5 6 \033[2J\a\n' >control.txt
check "a field's control bytes are escaped" \
      'quillstep-cli: check4: control.txt: line 1: '"'"'\x1b[2J\x07'"'"' is not a whole number' \
      "$(first_error --total 11 run 2 check4 control.txt)"
if skipped_under_wine "file names with control bytes (Windows allows none)"; then :; else
    name=$(printf 'odd\033]0;x\a.txt')
    printf '1 2 3\n' >"$name"
    check "the file name's control bytes are escaped" \
          'quillstep-cli: check4: odd\x1b]0;x\x07.txt: line 1: expected seven numbers (or a row number and seven numbers), found 3 fields' \
          "$(first_error --total 11 run 2 check4 "$name")"
    check "no raw control byte on stderr" 0 "$("$cli" --total 11 run 2 check4 "$name" 2>&1 >/dev/null | tr -d '\n' | grep -c $'[\x01-\x1f]')"
fi

# huge files are refused at the stated limit, at once and in little memory
yes '1 2 3 4 5 6 7' | head -n 1000001 >many-lines.txt
start=$(date +%s%N)
check "a million lines and one exit 2" 2 "$(status "$cli" --total 11 run 2 check4 many-lines.txt)"
check "a million lines and one: the limit" "quillstep-cli: check4: many-lines.txt: line 1000001: a system file holds at most 1000000 lines" \
      "$(first_error --total 11 run 2 check4 many-lines.txt)"
head -c 200000000 /dev/zero | tr '\0' 7 >one-line.txt
check "a 200 MB line: the limit" \
      "quillstep-cli: check4: one-line.txt: line 1: longer than 1000 characters (a line of a system file holds at most that many)" \
      "$(first_error --total 11 run 2 check4 one-line.txt)"
check "huge files refused within seconds" yes "$([ $(( ($(date +%s%N) - start) / 1000000 )) -lt 20000 ] && echo yes)"
rm -f one-line.txt many-lines.txt
if [ -x /usr/bin/time ]; then
    head -c 200000000 /dev/zero | tr '\0' 7 >one-line.txt
    /usr/bin/time -o peak.txt -f '%M' "$cli" --total 11 run 2 check4 one-line.txt >/dev/null 2>&1
    kb=$(tail -1 peak.txt)
    check "a 200 MB line read in under 100 MB" yes "$([ "$kb" -lt 100000 ] && echo yes)"
    rm -f one-line.txt
fi

# the reason a file cannot be opened
if skipped_under_wine "symbolic link loops (Wine shows a looping POSIX link as a missing file)"; then :; else
    ln -s loop-b loop-a && ln -s loop-a loop-b
    check "a symlink loop says so" "quillstep-cli: check4: cannot read loop-a: Too many levels of symbolic links" \
          "$(first_error --total 11 run 2 check4 loop-a)"
fi

# a file to check that cannot be opened is found before the commands before it run and write
mkdir early && cd early || exit 1
out=$("$cli" --total 10 run 2 write search4 check4 /nonexistent.txt 2>err.txt)
check "missing check file: exit 2 before anything runs" "2|" "$?|$out"
check "missing check file: its message" "quillstep-cli: check4: cannot read /nonexistent.txt: no such file" "$(cat err.txt)"
check "missing check file: no file written" "err.txt" "$(ls -A)"
cd "$work" || exit 1

# the optimiser's "no system" answers have an exit status of their own
out=$("$cli" run 8 optimise5 --time-limit 1 2>/dev/null)
check "no system in the time given: exit 4" 4 "$?"
check "no system in the time given: its line" "not written: the optimiser found no system in the time given" "$(echo "$out" | tail -1)"
"$cli" run 8 optimise5 --time-limit 30 >stopped.txt 2>stopped-err.txt &
pid=$!
interrupt_after_start "$pid" stopped-err.txt 0
wait $pid
check "stopped before any system: exit 4" 4 "$?"
check "stopped before any system: its line" "not written: stopped before any system covered every stored combination" \
      "$(tail -1 stopped.txt)"
check "--help documents status 4" 1 "$("$cli" --help | grep -c '4 the optimiser found')"

# Without root's rights: permission denied is named, and a working directory that cannot take
# the files is refused before anything runs.
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
if skipped_under_wine "permissions as user nobody (the Wine prefix is root's)"; then
    :
elif [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null || ! as_nobody test -x "$cli"; then
    echo "skipped: the permission checks need root, setpriv and a quillstep-cli that user nobody may run"
else
    chmod 755 "$work"
    mkdir -p locked/inner readonly && chmod 711 locked
    printf '1 2 3 4 5 6 7\n' >locked/inner/system.txt && chmod 700 locked/inner
    printf '1 2 3 4 5 6 7\n' >unreadable.txt && chmod 600 unreadable.txt
    chmod 555 readonly
    check "a folder without search permission says so" \
          "quillstep-cli: check4: cannot read locked/inner/system.txt: Permission denied" \
          "$(cd "$work" && as_nobody "$cli" --total 11 run 2 check4 locked/inner/system.txt 2>&1 >/dev/null | tail -1)"
    check "an unreadable file says so" "quillstep-cli: check4: cannot read unreadable.txt: Permission denied" \
          "$(cd "$work" && as_nobody "$cli" --total 11 run 2 check4 unreadable.txt 2>&1 >/dev/null | tail -1)"
    start=$(date +%s)
    out=$(cd readonly && as_nobody "$cli" run 12 search4 2>"$work/ro-err.txt")
    code=$?
    check "unwritable working directory: exit 2 before anything runs" "2|" "$code|$out"
    check "unwritable working directory: its message" \
          "quillstep-cli: the working directory '$work/readonly' is not writable: Permission denied (--output-dir names another folder)" \
          "$(cat "$work/ro-err.txt")"
    check "unwritable working directory: refused at once" yes "$([ $(($(date +%s) - start)) -lt 5 ] && echo yes)"
    check "unwritable working directory: commands that write nothing still run" 0 \
          "$(cd readonly && as_nobody "$cli" --total 10 run 2 stats >/dev/null 2>&1; echo $?)"
    chmod 755 readonly locked locked/inner
fi


# Other programs' separators, single quotes, full-width digits and UTF-16 files (Notepad's
# "Unicode") read as the same system; a line with a digit is never passed over as a header.
cd "$work" || exit 1
"$cli" --total 11 run 2 search4 >/dev/null 2>&1
seven=$(tr -d '\r' <"$own" | awk -F, 'NF == 8 { print $2, $3, $4, $5, $6, $7, $8 }')
for sep in - '|' . / : ' - '; do
    echo "$seven" | awk -v OFS="$sep" '{ $1 = $1; print }' >sep.txt
    check "numbers separated by '$sep' are read" "$expected" "$("$cli" --total 11 run 2 check4 sep.txt 2>/dev/null | tail -4)"
done
echo "$seven" | awk -v OFS=, -v q="'" '{ for (i = 1; i <= NF; ++i) $i = q $i q; print }' >single-quotes.txt
check "single-quoted numbers are read" "$expected" "$("$cli" --total 11 run 2 check4 single-quotes.txt 2>/dev/null | tail -4)"
echo "$seven" | sed 's/0/０/g; s/1/１/g; s/2/２/g; s/3/３/g; s/4/４/g; s/5/５/g; s/6/６/g; s/7/７/g; s/8/８/g; s/9/９/g' >full-width.txt
check "full-width digits are read" "$expected" "$("$cli" --total 11 run 2 check4 full-width.txt 2>/dev/null | tail -4)"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE <"$own"; } >utf16le.txt
{ printf '\xfe\xff'; echo "$seven" | tr ' ' '-' | iconv -f UTF-8 -t UTF-16BE; } >utf16be.txt
check "UTF-16 LE with its byte order mark is read" "$expected" "$("$cli" --total 11 run 2 check4 utf16le.txt 2>/dev/null | tail -4)"
check "UTF-16 BE with its byte order mark is read" "$expected" "$("$cli" --total 11 run 2 check4 utf16be.txt 2>/dev/null | tail -4)"
check "profile reads other separators alike" "$("$cli" --total 11 profile "$own" 2>&1)" "$("$cli" --total 11 profile utf16be.txt 2>&1)"

printf '1-2-3-4-5-6-7\n1|2|3|4|8|9|10\n' >mixed.txt
printf 'Draw 1st 2nd\n1 2 3 4 5 6 7\n' >caption-digits.txt
printf '1-2/3-4-5-6-7\n' >two-marks.txt
iconv -f UTF-8 -t UTF-16LE <"$own" >utf16-without-mark.txt
for file_message in \
    "utf16-without-mark.txt|line 1: a NUL byte (UTF-16 without its byte order mark? Save the file as UTF-8, or as UTF-16 with its byte order mark)" \
    "mixed.txt|line 2: numbers separated by '|' where the lines before separate them by '-'" \
    "caption-digits.txt|line 1: expected seven numbers (or a row number and seven numbers), found 3 fields" \
    "two-marks.txt|line 1: numbers separated by both '-' and '/' (one separator for all)"; do
    file=${file_message%%|*}
    check "$file exits 2" 2 "$(status "$cli" --total 11 run 2 check4 "$file")"
    check "$file message" "quillstep-cli: check4: $file: ${file_message#*|}" "$(first_error --total 11 run 2 check4 "$file")"
done

# A file without any combination is refused by every command that reads a system, and complete4
# writes nothing over the system already there.
: >empty.txt
printf '\r\n\n  \t\n' >blank.txt
printf '"Marrowby - Quillstep"\r\n"N1";"N2";"N3"\r\n# none yet\r\n' >headers.txt
cp sep.txt "$own" && cp sep.txt own-before.txt  # a system of its own form where complete4 writes
for file in empty.txt blank.txt headers.txt; do
    for command in "check4 $file" "profile $file" "match 1,2,3,4,5,6,7 $file" "complete4 --time-limit 1 $file"; do
        name=${command%% *}
        # shellcheck disable=SC2086
        check "$name $file exits 2" 2 "$(status "$cli" --total 11 run 2 $command)"
        why="$file: holds no combination (the file is empty or holds only blank or header lines)"
        if [ "$name" = complete4 ]; then
            # A command that writes a file answers on stdout with its "not written:" line.
            # shellcheck disable=SC2086
            check "$name $file message" "not written: $why" "$("$cli" --total 11 run 2 $command 2>/dev/null | tail -n 1)"
        else
            # shellcheck disable=SC2086
            check "$name $file message" "quillstep-cli: $name: $why" "$(first_error --total 11 run 2 $command)"
        fi
    done
done
check "complete4 of an empty file leaves the system file as it was" 0 "$(cmp -s own-before.txt "$own"; echo $?)"

# A share is 100.00% only for all draws and 0.00% only for none: 1000 random lines leave some draws
# with three hits, whose share of "at least 4" must not print as 100.00% (compared against the
# counts of the best-match line).
awk 'BEGIN { srand(1); for (r = 0; r < 1000; ++r) { split("", used); line = ""
      for (k = 0; k < 7; ) { v = int(rand() * 39) + 1; if (!(v in used)) { used[v] = 1; line = line (k ? " " : "") v; ++k } }
      print line } }' >random.txt
"$cli" profile random.txt >profile.txt 2>&1
below_four=$(awk '/^best match:/ { for (i = 3; i <= NF; ++i) { split($i, kv, "="); if (kv[1] < 4) n += kv[2] } print n + 0 }' profile.txt)
check "the case of a share that rounds to 100.00%" yes "$([ "$below_four" -gt 0 ] && [ "$below_four" -lt 769 ] && echo yes)"
check "at least 4 of almost all draws" "at least 4: 99.99%" "$(grep '^at least 4:' profile.txt)"
shares_ok=$(awk '/^best match:/ { for (i = 3; i <= NF; ++i) { split($i, kv, "="); count[kv[1]] = kv[2]; all += kv[2] } }
    /^at least/ { k = $3 + 0; n = 0; for (h = k; h <= 7; ++h) n += count[h]
                  if (($4 == "100.00%") != (n == all) || ($4 == "0.00%") != (n == 0)) bad = bad " " k }
    END { print bad == "" ? "yes" : "no:" bad }' profile.txt)
check "profile prints 100.00% only for all draws and 0.00% only for none" yes "$shares_ok"

# Raw C1 bytes, and UTF-8's C1 and bidirectional controls, of a field and of a file name reach the
# terminal escaped.
printf '1 2 3 4 5 6 \xc2\x9b2J\x9b\xe2\x80\xae\n' >c1.txt
check "a field's C1 and bidirectional controls are escaped" \
      'quillstep-cli: check4: c1.txt: line 1: '"'"'\u009b2J\x9b\u202e'"'"' is not a whole number' \
      "$(first_error --total 11 run 2 check4 c1.txt)"
if skipped_under_wine "file names with bytes that are no UTF-8 (Windows allows none)"; then :; else
    name=$(printf 'odd\x9b\xc2\x85\xe2\x80\xae.txt')
    printf '1 2 3\n' >"$name"
    check "the file name's C1 and bidirectional controls are escaped" \
          'quillstep-cli: check4: odd\x9b\u0085\u202e.txt: line 1: expected seven numbers (or a row number and seven numbers), found 3 fields' \
          "$(first_error --total 11 run 2 check4 "$name")"
    check "no raw C1 byte on stderr" 0 \
          "$("$cli" --total 11 run 2 check4 "$name" 2>&1 >/dev/null | LC_ALL=C grep -c $'[\x80-\x9f]')"
fi

finish
