#!/usr/bin/env bash
# Installs what is missing, builds the command-line program, the tests and the benchmarks natively,
# cross-builds the Windows program with MinGW-w64, and runs every test (the window's under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
bash scripts/build-windows.sh "$root/build-win"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUILLSTEP_WINDOWS_BUILD_DIR="$root/build-win"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --timeout 900
