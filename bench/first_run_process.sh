#!/usr/bin/env bash
# Times whole processes of `quillstep-cli run 2`, start to exit: the first storing run of a
# process, most of whose time is the system handing out the fresh pages of the 431 MB store.
# With a baseline it alternates the two programs run by run (so that both meet the same load)
# and prints the median of each and their ratio.
#
#   bench/first_run_process.sh <quillstep-cli> [<baseline quillstep-cli> | <git revision>] [runs]
#
# A git revision is exported and its quillstep-cli built (Release) in a temporary folder, e.g.
#   bench/first_run_process.sh build/quillstep-cli 63f651c 15
set -euo pipefail

program="${1:?quillstep-cli to time}"
baseline="${2:-}"
runs="${3:-11}"

if [ -n "$baseline" ] && [ ! -x "$baseline" ]; then
  revision="$baseline"
  source_tree="$(mktemp -d "${TMPDIR:-/tmp}/quillstep-baseline.XXXXXX")"
  trap 'rm -rf "$source_tree"' EXIT
  git -C "$(dirname "$0")/.." archive "$revision" | tar -x -C "$source_tree"
  echo "building quillstep-cli of $revision in $source_tree" >&2
  cmake -S "$source_tree" -B "$source_tree/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DQUILLSTEP_BENCHMARKS=OFF >/dev/null
  cmake --build "$source_tree/build" --target quillstep-cli -j "${QUILLSTEP_BUILD_JOBS:-2}" >/dev/null
  baseline="$source_tree/build/quillstep-cli"
fi

# Milliseconds one process of `<cli> run 2` takes from start to exit.
time_process() {
  local start end
  start=$EPOCHREALTIME
  "$1" run 2 >/dev/null
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

new_times=() old_times=()
for _ in $(seq "$runs"); do
  new_times+=("$(time_process "$program")")
  [ -n "$baseline" ] && old_times+=("$(time_process "$baseline")")
done

new_median=$(printf '%s\n' "${new_times[@]}" | median)
echo "quillstep-cli run 2, whole process, median of $runs: $new_median ms ($program)"
echo "  runs: ${new_times[*]}"
if [ -n "$baseline" ]; then
  old_median=$(printf '%s\n' "${old_times[@]}" | median)
  echo "baseline, median of $runs: $old_median ms ($baseline)"
  echo "  runs: ${old_times[*]}"
  awk -v n="$new_median" -v o="$old_median" 'BEGIN { printf "ratio new / baseline: %.2f\n", n / o }'
fi
echo "transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)," \
     "defrag: $(cat /sys/kernel/mm/transparent_hugepage/defrag 2>/dev/null || echo unknown); load: $(cut -d' ' -f1-3 /proc/loadavg)"
