#!/usr/bin/env bash
# history, backtest and wins of quillstep-cli: a small history whose counts are known by hand,
# dates in three forms put in date order, bonus numbers kept apart, money with decimals, and the
# refusals of the history reader line by line (exit 2, nothing run before).
source "$(dirname "$0")/contract_helpers.sh"

# Three draws in three date forms, out of order; the second line's eighth number is a bonus number.
printf 'Date;N1;N2;N3;N4;N5;N6;N7;Bonus\r\n2024-01-13;1;2;3;4;5;6;7\r\n06.01.2024;1;2;3;8;9;10;11;12\r\n20/01/2024;26;25;24;23;22;21;20\r\n' >draws.csv
history=$("$cli" history draws.csv)
check "history status" 0 "$(status "$cli" history draws.csv)"
check "history head" "draws: 3
first: 2024-01-06
last: 2024-01-20
1: 2 1
2: 2 1
3: 2 1
4: 1 1
7: 1 1
8: 1 2
11: 1 2
12: 0 never
19: 0 never
20: 1 0
26: 1 0
39: 0 never" "$(echo "$history" | grep -E '^(draws|first|last|1|2|3|4|7|8|11|12|19|20|26|39):')"
check "history has 39 number lines" 39 "$(echo "$history" | grep -cE '^[0-9]+: ')"
check "the ten most frequent pairs" "pair 1,2: 2
pair 1,3: 2
pair 2,3: 2
pair 1,4: 1
pair 1,5: 1
pair 1,6: 1
pair 1,7: 1
pair 1,8: 1
pair 1,9: 1
pair 1,10: 1" "$(echo "$history" | grep '^pair ')"

# Without dates the file's order is the order of the draws: the first line is the oldest.
printf '1 2 3 4 5 6 7\n8 9 10 11 12 13 14\n' >undated.txt
check "undated span" "draws: 2
first: 1
last: 2
1: 1 1
8: 1 0" "$("$cli" history undated.txt | grep -E '^(draws|first|last|1|8):')"

# The filters of the parameters given; kept draws lie in 1..N and pass the mode's conditions.
backtest=$("$cli" backtest draws.csv)
check "backtest lines" 23 "$(echo "$backtest" | wc -l)"
check "backtest modes" "draws: 3
mode 1: 3 of 3 draws (100.00%), 100.00% of all combinations
mode 3: 0 of 3 draws (0.00%), 15.37% of all combinations
mode 12: 0 of 3 draws (0.00%), 0.07% of all combinations" "$(echo "$backtest" | grep -E '^(draws|mode (1|3|12)):')"
check "backtest conditions" "condition S (sum 140 to 150): rejects 3 of 3 draws (100.00%)
condition N (at most 3 pairs of neighbouring numbers): rejects 3 of 3 draws (100.00%)
condition NW7 (none of 1,2,3,4,5,6,7): rejects 2 of 3 draws (66.67%)" \
      "$(echo "$backtest" | grep -E '^condition (S|N|NW7) ')"
check "backtest with other parameters" "mode 1: 2 of 3 draws (66.67%), 0.01% of all combinations
condition N (at most 6 pairs of neighbouring numbers): rejects 0 of 3 draws (0.00%)
above the total of 12 numbers: 1 of 3 draws, which no mode keeps" \
      "$("$cli" --total 12 --max-neighbours 6 backtest draws.csv | grep -E '^(mode 1:|condition N |above)')"

# A system against the draws: best line per draw, every line's hits, money.
printf '1,2,3,4,5,6,7\n20,21,22,23,24,25,26\n' >system.txt
check "wins" "draws: 3
best match: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=0
line hits: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=3" "$("$cli" wins system.txt draws.csv)"
check "wins with prices" "draws: 3
best match: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=0
line hits: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=3
cost: 12
won: 2002
balance: 1990" "$("$cli" wins system.txt draws.csv --price 2 --prizes 3=1,7=1000.50)"
check "wins with a price alone" "cost: 1.50
won: 0
balance: -1.50" "$("$cli" wins system.txt draws.csv --price=0.25 | tail -3)"
check "no store needed, any order of commands" "draws: 3" "$("$cli" run 1 wins system.txt draws.csv | grep '^draws')"

# Refusals of the reader: the first malformed line by its number and fault, exit 2.
printf '1,2,3,4,5,6,7\n1,2,3,4,5,6\n' >short.txt
printf '1,2,3,4,5,6,40\n' >range.txt
printf '1,2,3,4,5,6,6\n' >twice.txt
printf '1,2,3,4,5,6,7,7\n' >bonus.txt
printf '2023-02-29,1,2,3,4,5,6,7\n' >date.txt
printf '1,2,3,4,5,6,7\n2024-01-06,1,2,3,4,5,6,7\n' >mixed.txt
printf '1,2,3,4,5,6,7\nN1,N2\n' >header.txt
printf '1 2 3 4 5 6 7 8 9 10 11\n' >bonuses.txt
printf 'Date;N1;N2\n\n' >nodraw.txt
: >empty.txt
for file_message in \
    "short.txt|line 2: expected seven numbers, found 6 numbers" \
    "range.txt|line 1: number 40 is outside 1 to 39" \
    "twice.txt|line 1: number 6 appears twice" \
    "bonus.txt|line 1: bonus number 7 is one of the seven numbers" \
    "date.txt|line 1: '2023-02-29' is not a date (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY of a day that exists)" \
    "mixed.txt|line 2: a date first, which the draws before do not have" \
    "header.txt|line 2: a header line after the first draw" \
    "bonuses.txt|line 1: expected seven numbers and at most three bonus numbers, found 11 numbers" \
    "nodraw.txt|the file holds no draw (one draw per line: seven numbers 1 to 39)" \
    "empty.txt|the file is empty"; do
    file=${file_message%%|*}
    for command in history backtest; do
        check "$command $file exits 2" 2 "$(status "$cli" $command "$file")"
        check "$command $file message" "quillstep-cli: $command: $file: ${file_message#*|}" "$(first_error $command "$file")"
    done
done
check "wins names a malformed history" "quillstep-cli: wins: short.txt: line 2: expected seven numbers, found 6 numbers" \
      "$(first_error wins system.txt short.txt)"
check "wins names a malformed system" "quillstep-cli: wins: range.txt: line 1: number 40 is outside 1 to 39" \
      "$(first_error wins range.txt draws.csv)"

# 100,000 draws are read; one more is refused at its line.
yes '1 2 3 4 5 6 7' | head -n 100000 >limit.txt
check "100000 draws" "draws: 100000" "$("$cli" history limit.txt | head -1)"
echo '1 2 3 4 5 6 7' >>limit.txt
check "100001 draws" "quillstep-cli: history: limit.txt: line 100001: a history file holds at most 100000 draws" \
      "$(first_error history limit.txt)"

# A file that cannot be opened, and mistakes of the line, stop everything before it runs.
check "missing file stops the line" "quillstep-cli: history: cannot read missing.csv: no such file" \
      "$("$cli" run 1 history missing.csv 2>&1)"
check "missing history of wins" "quillstep-cli: wins: cannot read missing.csv: no such file" \
      "$("$cli" run 1 wins system.txt missing.csv 2>&1)"
check "wins needs two files" "quillstep-cli: wins needs the name of a system file, then the name of a file of past draws" \
      "$("$cli" wins system.txt 2>&1)"
check "history needs a file" "quillstep-cli: history needs the name of a file of past draws" "$("$cli" history 2>&1)"
check "bad price" "quillstep-cli: --price needs an amount from 0 to 10000000 with at most two decimals, got '1.234'" \
      "$("$cli" wins system.txt draws.csv --price 1.234 2>&1)"
check "bad prizes" "quillstep-cli: --prizes: prizes go as hits=amount separated by commas, hits 1 to 7, amounts 0 to 10000000 with at most two decimals (3=1,4=10,5=100), got '8=5'" \
      "$("$cli" wins system.txt draws.csv --prizes 3=1,8=5 2>&1)"
check "unknown wins option" "quillstep-cli: unknown option --seed for wins (see --help)" \
      "$("$cli" wins system.txt draws.csv --seed 1 2>&1)"
check "refused line exits 2" 2 "$(status "$cli" wins system.txt draws.csv --price x)"

finish
