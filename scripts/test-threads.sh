#!/usr/bin/env bash
# The tests that start threads (the searches' workers, the optimisers' parts, the large optimiser,
# the coverage and wheel checks, the draw profile, the writer's disk thread), built with
# ThreadSanitizer in a tree of their own (default build-tsan): any report fails the run. They are
# the tests labelled `threads` (a test file that starts threads says so with the line
# `// CTest label: threads`; see tests/CMakeLists.txt). Cases that hold threads to a time limit,
# or that would take minutes at the sanitizer's pace (about ten times slower), skip themselves
# there (QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER in tests/support/test_support.h).
# Usage: scripts/test-threads.sh [build-dir]   (scripts/test.sh runs it)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build-tsan}"
jobs="${QUILLSTEP_BUILD_JOBS:-$(nproc 2>/dev/null || echo 2)}"

threads="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$threads" \
  -DCMAKE_EXE_LINKER_FLAGS="$threads" -DQUILLSTEP_BENCHMARKS=OFF
cmake --build "$build_dir" -j"$jobs" --target quillstep_tests
TSAN_OPTIONS=halt_on_error=1:exitcode=66:second_deadlock_stack=1 \
  ctest --test-dir "$build_dir" -L threads --output-on-failure --timeout 900
