#!/bin/bash
# Runs every case of large_optimiser_bench in a process of its own (so that each reports its own
# peak memory) and prints one line per case. About 43 minutes.
#   bash bench/large_optimiser_rows.sh [build-dir]
set -u
bench="${1:-build}/bench/large_optimiser_bench"
for c in wheel20/4hits wheel20/5hits wheel22/4hits wheel39/4hits mode4/4hits mode8/4hits wheel25/4hits; do
  "$bench" --benchmark_filter="large/$c/" --benchmark_format=console 2>&1 | grep "large/"
done
