#!/usr/bin/env bash
# Cross-builds the Windows program quillstep.exe and its Wine test driver with MinGW-w64.
# Usage: scripts/build-windows.sh [build-dir]   (default: build-win in the repository)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$repo/build-win}"
jobs="${QUILLSTEP_BUILD_JOBS:-$(nproc)}"

cmake -S "$repo" -B "$build_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" >/dev/null
cmake --build "$build_dir" --target quillstep quillstep-driver -j "$jobs"
