#!/usr/bin/env bash
# Installs what is missing, builds the command-line program, the tests and the benchmarks natively,
# cross-builds the Windows program and command line with MinGW-w64, packs the release zip
# (dist/), and runs every test (the window's, the Windows command line's and the zip's under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
bash scripts/build-windows.sh "$root/build-win"
bash scripts/package.sh "$root/build-win"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUILLSTEP_WINDOWS_BUILD_DIR="$root/build-win"
cmake --build build -j"$jobs"

# The unit tests, built with AddressSanitizer and UndefinedBehaviorSanitizer in a tree of
# their own: any finding fails the run. Two cases that lower the address-space limit skip themselves
# there, since the sanitizer reserves far more address space than such a limit allows.
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" -DQUILLSTEP_BENCHMARKS=OFF
cmake --build build-asan -j"$jobs" --target quillstep_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-asan/tests/quillstep_tests --gtest_brief=1

# The tests that start threads, labelled `threads`, built with ThreadSanitizer in a tree of their
# own (build-tsan): any report fails the run.
bash scripts/test-threads.sh build-tsan

# Every test of the Release build, the window's under Wine among them; CTest's summary is the
# run's closing line.
ctest --test-dir build --output-on-failure --timeout 900
