#!/usr/bin/env bash
# The wheel command against the best published sizes (data/wheel_records.csv): each row of a set
# is run as one `quillstep-cli wheel` process on the pool 1..P at the time limit given, its file
# checked again with `checkwheel`, and a line printed:
#   numbers  hits  if  size  published  difference  seconds
# The difference is size - published (negative: below the published size). A wheel whose check
# fails, or that is not written, shows its reason instead.
#
#   bash bench/wheel_records.sh [--cli PATH] [--time-limit S] [--seed N] [--all | --rows "P,T,M P,T,M ..."]
#
# Without --all or --rows it runs the documented set below (13 rows across t, m and P).
# --all runs every row with P <= 25 and C(P, M) <= 500,000 (133 rows: over two hours at 60 s).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
cli=$here/build/quillstep-cli
limit=60
seed=1
rows=""
all=0
while [ $# -gt 0 ]; do
    case $1 in
        --cli) cli=$2; shift 2 ;;
        --time-limit) limit=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --rows) rows=$2; shift 2 ;;
        --all) all=1; shift ;;
        *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
done
records=$here/data/wheel_records.csv

# The documented set: covering designs ("t if t") at 2 to 5 hits, lotto designs ("t if m" with
# m > t), the full wheels "4 if 7" and "5 if 7", and 39 numbers at 4 if 4.
DOCUMENTED="16,2,2 12,3,3 20,3,3 15,4,4 18,4,4 13,5,5 15,4,5 16,5,6 16,5,7 16,4,7 19,4,7 25,4,7 39,4,4"

binomial() {  # n k
    local n=$1 k=$2 r=1 i
    for ((i = 1; i <= k; i++)); do r=$((r * (n - k + i) / i)); done
    echo "$r"
}

if [ "$all" -eq 1 ]; then
    rows=$(tail -n +2 "$records" | while IFS=, read -r p t m best bound source; do
        [ "$p" -le 25 ] && [ "$(binomial "$p" "$m")" -le 500000 ] && echo "$p,$t,$m"
    done | tr '\n' ' ')
elif [ -z "$rows" ]; then
    rows=$DOCUMENTED
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-7s %-4s %-3s %6s %9s %10s %7s\n' numbers hits if size published difference seconds
for row in $rows; do
    IFS=, read -r p t m <<<"$row"
    published=$(awk -F, -v p="$p" -v t="$t" -v m="$m" '$1 == p && $2 == t && $3 == m { print $4 }' "$records")
    start=$(date +%s.%N)
    out=$("$cli" wheel --pool "1-$p" --hits "$t" --if "$m" --time-limit "$limit" --seed "$seed" \
          --output "$work/wheel.txt" 2>/dev/null)
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    size=$(echo "$out" | sed -n 's/^system size: //p')
    if ! echo "$out" | grep -q '^file: '; then
        printf '%-7s %-4s %-3s %6s %9s %10s %7.1f  %s\n' "$p" "$t" "$m" "${size:--}" "$published" - "$seconds" \
               "$(echo "$out" | sed -n 's/^not written: //p')"
        continue
    fi
    if ! "$cli" checkwheel --pool "1-$p" --hits "$t" --if "$m" "$work/wheel.txt" >/dev/null 2>&1; then
        printf '%-7s %-4s %-3s %6s %9s %10s %7.1f  the check failed\n' "$p" "$t" "$m" "$size" "$published" - "$seconds"
        continue
    fi
    printf '%-7s %-4s %-3s %6s %9s %+10d %7.1f\n' "$p" "$t" "$m" "$size" "$published" $((size - published)) "$seconds"
done
