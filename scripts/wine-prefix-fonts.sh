#!/usr/bin/env bash
# Gives the Wine prefix $WINEPREFIX the fonts Quillstep's windows were laid out for.
#
# The windows ask for "MS Sans Serif" at 8 to 24 points, regular and bold, and are measured in
# dialog units of its 8-point size, 6 x 13 pixels on Windows. Wine does not find that face:
# Debian's Wine looks for its own fonts folder as "/usr/share/wine/../fonts", a path its file
# layer does not resolve, so neither its bitmap sserife.fon nor ms_sans_serif.ttf (which holds
# bitmaps of 13, 16 and 20 pixels only, no outlines) is loaded, and the registry names no
# substitute. Wine then draws its default, DejaVu Sans: 7 x 13 units, too wide for several
# captions. Wine's Tahoma (6 x 13) is still too wide for three of them, and so is every single
# free face tried: the narrow regular ones have wide bold faces and the other way round.
# So the prefix gets the family "Quillstep Sans" (scripts/compose-dialog-font.py: Linux Biolinum O
# regular and italic, Lato bold; 6 x 13 units, every caption inside its control at every size
# the windows use) and a substitution that draws "MS Sans Serif" with it. Marlett gives Wine's
# own window frames their caption-button glyphs.
#
# Usage: WINEPREFIX=<prefix> bash scripts/wine-prefix-fonts.sh   (QUILLSTEP_WINE: the wine loader)
# Idempotent; quick when the prefix has it already.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="${WINEPREFIX:?WINEPREFIX names the prefix}"
wine="${QUILLSTEP_WINE:-/usr/lib/wine/wine64}"
substitution='MS Sans Serif=Quillstep Sans'
fonts_folder="$prefix/drive_c/windows/Fonts"
stamp="$fonts_folder/quillstep-fonts.txt"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$substitution" ]; then
  exit 0
fi

# The first Wine command creates the prefix when there is none yet.
timeout 120 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v "${substitution%%=*}" /t REG_SZ /d "${substitution#*=}" /f </dev/null >/dev/null 2>&1

mkdir -p "$fonts_folder"
if ! /usr/bin/python3 "$here/compose-dialog-font.py" "$fonts_folder"; then
  echo "wine-prefix-fonts: could not compose the dialog font (packages fonts-lato, fonts-linuxlibertine," \
       "python3-fonttools); Wine draws DejaVu Sans and some captions are cut" >&2
  exit 0
fi
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  ln -sf /usr/share/wine/fonts/marlett.ttf "$fonts_folder/marlett.ttf"
fi
echo "$substitution" >"$stamp"
