#!/usr/bin/env bash
# The release package as a Windows user gets it: dist/quillstep-<version>-windows-x64.zip (made by
# scripts/package.sh) is unpacked, its folder holds the two executables and README.txt, the
# executables need only Windows' own libraries, and both run under Wine from the unpacked folder:
# the command line through its contract script cli_contract.sh, the window through two scenarios
# of the driver (its version resources, and abbreviated systems of the full wheel of 10).
#
#   run_package_test.sh <windows-build-dir> <zip> <version>
set -euo pipefail

windows_build="$(cd "${1:?windows build folder}" && pwd)"
zip="${2:?release package}"
version="${3:?version}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [ ! -f "$zip" ]; then
  echo "FAILED: there is no release package $zip (bash scripts/package.sh makes it)"
  exit 1
fi

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
folder="$unpacked/$(basename "$zip" .zip)"

passed=0 failed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1))
    printf 'FAILED %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
  fi
}

check "one folder in the zip" "$(basename "$zip" .zip)" "$(ls "$unpacked")"
check "the folder's files" $'README.txt\nquillstep-cli.exe\nquillstep.exe' "$(LC_ALL=C ls "$folder")"
check "README.txt names the version" "Quillstep $version for Windows (64-bit)" "$(head -1 "$folder/README.txt" | tr -d '\r')"
check "README.txt has Windows line ends" 0 "$(grep -vc $'\r$' "$folder/README.txt" || true)"
check "README.txt names both programs" 2 "$(grep -cE '^quillstep(-cli)?\.exe'$'\r$' "$folder/README.txt")"
check "README.txt says when the guarantee holds" 1 \
      "$(grep -c 'only when the drawn combination is one of the stored' "$folder/README.txt")"
check "README.txt describes every window" \
      $'The introductory window\nThe main window\nThe statistics window\nSmaller systems...\nCheck a system...' \
      "$(grep -E '^(The (introductory|main|statistics) window|Smaller systems\.\.\.|Check a system\.\.\.)'$'\r$' "$folder/README.txt" | tr -d '\r')"

# Only libraries every Windows has: the executables are static.
for exe in quillstep.exe quillstep-cli.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$folder/$exe" | sed -n 's/^\tDLL Name: //p' | tr 'a-z' 'A-Z' | sort)
  others=$(echo "$imports" | grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|COMDLG32.DLL|MSVCRT.DLL' || true)
  check "$exe imports system libraries only" "" "$others"
  check "$exe imports kernel32" yes "$(echo "$imports" | grep -qx KERNEL32.DLL && echo yes)"
done

# The command line from the package, with the lines of Linux.
if ! bash "$here/run_cli_contract.sh" "$folder" "$here/../cli/cli_contract.sh" >"$unpacked/cli.log" 2>&1; then
  failed=$((failed + 1))
  echo "FAILED cli_contract.sh against the packaged quillstep-cli.exe:"
  cat "$unpacked/cli.log"
fi
check "the packaged quillstep-cli.exe --version" "quillstep-cli $version" \
      "$(QUILLSTEP_CLI_EXE="$folder/quillstep-cli.exe" WINEDEBUG=-all \
           WINEPREFIX="$(cat "${QUILLSTEP_WINE_STATE:-$windows_build/wine-session}/prefix" 2>/dev/null || echo "$HOME/.wine")" \
           "$here/cli_under_wine.sh" --version)"

# The window from the package.
for scenario in version-resource abbreviated-10; do
  if ! QUILLSTEP_PROGRAM="$folder/quillstep.exe" bash "$here/run_wine_test.sh" "$windows_build" "$scenario"; then
    failed=$((failed + 1))
    echo "FAILED scenario $scenario with the packaged quillstep.exe"
  else
    passed=$((passed + 1))
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
