#!/usr/bin/env bash
# Builds the Windows release: dist/quillstep-<version>-windows-x64.zip with quillstep.exe,
# quillstep-cli.exe and README.txt, the version being the one of CMakeLists.txt.
# Usage: scripts/package.sh [windows-build-dir]   (default: build-win in the repository)
# Installs what is missing first (as root), like the other scripts.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$repo/build-win}"

bash "$repo/scripts/install-deps.sh"
bash "$repo/scripts/build-windows.sh" "$build_dir"
cmake -S "$repo" -B "$build_dir" -DQUILLSTEP_DIST_DIR="$repo/dist" >/dev/null
cmake --build "$build_dir" --target release-zip
