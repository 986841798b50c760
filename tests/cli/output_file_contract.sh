#!/usr/bin/env bash
# --output FILE of search4/5, optimise4/5 and complete4/5: the system goes to FILE in the format
# of the default file, which stays as it was; a FILE that exists is replaced; a FILE whose folder
# cannot take it refuses the line before anything runs (exit 2).
source "$(dirname "$0")/contract_helpers.sh"
stderr_of() { "$@" 2>&1 >/dev/null; }
seconds_blanked() { sed 's/seconds: .*/seconds: S/'; }

# The default file of a plain search, to compare with.
mkdir plain && (cd plain && "$cli" --total 10 run 2 search4 search5 >/dev/null 2>&1)

mkdir own && cd own
printf 'kept\r\n' >mb_comb_file_ab.txt
out=$("$cli" --total 10 run 2 search4 --output mine.txt 2>/dev/null | tail -1 | seconds_blanked)
check "search4: the file line names the file" "file: mine.txt rows: 1 seconds: S" "$out"
check "search4: the content of the default file" "$(cat ../plain/mb_comb_file_ab.txt)" "$(cat mine.txt)"
check "search4: the default file is untouched" "kept" "$(tr -d '\r' <mb_comb_file_ab.txt)"
out=$("$cli" --total 10 run 2 search5 --output=five.txt 2>/dev/null | tail -1 | seconds_blanked)
check "search5 with =" "file: five.txt rows: 3 seconds: S" "$out"
check "search5: the content of the default file" "$(cat ../plain/mb_comb_file_ab5.txt)" "$(cat five.txt)"
check "search5: no default file" "" "$(ls mb_comb_file_ab5.txt 2>/dev/null)"

# a file that exists is replaced by the system
printf 'an older system\r\n' >mine.txt
check "replaced: status" 0 "$(status "$cli" --total 10 run 2 search4 --output mine.txt)"
check "replaced: content" "$(cat ../plain/mb_comb_file_ab.txt)" "$(cat mine.txt)"

# optimise and complete; the file is checked in the same line (it need not exist before)
rm -f opt.txt
out=$("$cli" --total 12 run 2 optimise4 --time-limit 5 --steps 300 --output opt.txt check4 opt.txt 2>/dev/null)
check "optimise4 then check4 of its file: status" 0 "$?"
check "optimise4: file line" "file: opt.txt" "$(grep '^file:' <<<"$out" | cut -d' ' -f1-2)"
check "optimise4: the check finds nothing uncovered" "uncovered: 0" "$(grep '^uncovered:' <<<"$out")"
check "optimise4: no default file" "" "$(ls mb_comb_file_ab5.txt 2>/dev/null)"
printf '1,2,3,4,5,6,7\n' >one.txt
out=$("$cli" --total 10 run 2 complete4 --time-limit 5 --output completed.txt one.txt check4 completed.txt 2>/dev/null)
check "complete4 into its own file: status" 0 "$?"
check "complete4: kept first" "1,1,2,3,4,5,6,7" "$(grep -m1 '^1,' completed.txt | tr -d '\r')"
check "complete4: file line" "file: completed.txt" "$(grep '^file:' <<<"$out" | cut -d' ' -f1-2)"
check "complete4: the default file is untouched" "kept" "$(tr -d '\r' <mb_comb_file_ab.txt)"
mkdir sub
out=$("$cli" --total 10 --output-dir sub run 2 complete5 --output sub/five.txt one.txt 2>/dev/null | tail -1 | seconds_blanked)
check "complete5 into a folder as given" "file: sub/five.txt rows: $(grep -c '^[0-9]' sub/five.txt) seconds: S" "$out"
check "complete5: nothing else in the output folder" "five.txt" "$(ls sub)"
cd ..

# names that cannot be written: the line is refused before anything runs
mkdir refused && cd refused
check "missing folder: status" 2 "$(status "$cli" --total 10 run 2 write search4 --output missing/x.txt)"
check "missing folder: nothing ran" "" "$("$cli" --total 10 run 2 write search4 --output missing/x.txt 2>/dev/null)"
check "missing folder: message" "quillstep-cli: search4: --output 'missing/x.txt': the folder 'missing' does not exist" \
      "$(stderr_of "$cli" --total 10 run 2 write search4 --output missing/x.txt)"
mkdir folder
check "a folder is no file" 2 "$(status "$cli" --total 10 run 2 optimise5 --output folder)"
check "a folder is no file: message" "quillstep-cli: optimise5: --output 'folder' is a folder, not a file" \
      "$(stderr_of "$cli" --total 10 run 2 optimise5 --output folder)"
printf 'x' >plain
check "a file is no folder" 2 "$(status "$cli" --total 10 run 2 search5 --output plain/x.txt)"
check "no name" 2 "$(status "$cli" --total 10 run 2 search5 --output=)"
check "twice" 2 "$(status "$cli" --total 10 run 2 search4 --output a.txt --output b.txt)"
check "not an option of search" 2 "$(status "$cli" --total 10 run 2 search4 --time-limit 5)"
if skipped_under_wine "a folder without write permission"; then :; elif [ "$(id -u)" != 0 ]; then
    mkdir locked && chmod a-w locked
    check "read-only folder" 2 "$(status "$cli" --total 10 run 2 complete4 --output locked/x.txt ../own/one.txt)"
fi
check "nothing was written" "" "$(find . -name '*.txt')"
cd ..

finish
