#!/usr/bin/env bash
# Cross-builds the Windows program quillstep.exe, the command line quillstep-cli.exe and the Wine
# test driver with MinGW-w64. CMAKE_CXX_COMPILER_LAUNCHER (for example ccache) is passed on when set.
# Usage: scripts/build-windows.sh [build-dir]   (default: build-win in the repository)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$repo/build-win}"
jobs="${QUILLSTEP_BUILD_JOBS:-$(nproc)}"

cmake -S "$repo" -B "$build_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER"} >/dev/null
cmake --build "$build_dir" --target quillstep quillstep-cli quillstep-driver -j "$jobs"
