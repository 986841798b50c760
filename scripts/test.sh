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

# The tests that start threads (the searches' workers, the optimiser's parts, the two coverage
# checks, the writer's disk thread), built with ThreadSanitizer in a tree of their own: any report
# fails the run. Left out are the cases that hold the threads to a time limit (a step budget that
# must end before it, a stop on time): the sanitizer slows the threads about tenfold. So are the
# two lane-search cases on mid-sized stores, which alone would take over a minute; the lanes'
# threads run in the other lane and search cases.
threads="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$threads" \
  -DCMAKE_EXE_LINKER_FLAGS="$threads" -DQUILLSTEP_BENCHMARKS=OFF
cmake --build build-tsan -j"$jobs" --target quillstep_tests
threaded_tests='Wheels*:LanePasses*:LaneSearch*:SystemCheck*:OptimiseCommand*:FileSafety*:Commands*'
threaded_tests+=':SmallerSystems*:CliCommands*:CliPreflight*:SystemCompletion*:DrawProfile*:CheckSystemWindow*'
threaded_tests+=':SystemReadBack*:WorkerThreads*:WheelCheck*:WheelFileWriter*'
threaded_tests+='-LaneSearch.GivesTheScansAnswerOnMidSizedStoresWithAnyThreadCount'
threaded_tests+=':LaneSearch.AutomaticTakesTheLanesWhereTheyPayAndTheScanElsewhere'
threaded_tests+=':WheelsOptimiser.TheSameSeedAndBudgetGiveTheSameSystem'
threaded_tests+=':WheelsOptimiser.StopRequestAndTimeLimitEndTheSearchOnTime'
threaded_tests+=':OptimiseCommand.TheSameSeedAndStepBudgetGiveTheSameFile'
threaded_tests+=':OptimiseCommand.WritesACheckedSystemNoLargerThanTheGreedySearchs'
threaded_tests+=':SystemCompletion.KeepsLinesOutsideTheFiltersAndCoversFromNothing'
threaded_tests+=':WorkerThreads.TheOptimiserEndsAtItsTimeLimitAndOnAStopWithoutThreads'
TSAN_OPTIONS=halt_on_error=1:exitcode=66:second_deadlock_stack=1 \
  build-tsan/tests/quillstep_tests --gtest_brief=1 --gtest_filter="$threaded_tests"

# Every test of the Release build, the window's under Wine among them; CTest's summary is the
# run's closing line.
ctest --test-dir build --output-on-failure --timeout 900
