#!/usr/bin/python3
"""Writes the font family "Quillstep Sans" into a folder: the regular and italic faces of Linux
Biolinum O and the bold faces of Lato, renamed into one family.

No single free face has the widths of "MS Sans Serif" in both weights: Biolinum's regular is as
narrow as it (6 x 13 dialog base units at 8 points, two-line captions stay two lines) but its bold
is wider; Lato's bold is narrow enough for the bold captions but its regular is wider. Wine picks a
face of a family by weight, so the composed family gives each caption the narrower one.

Usage: compose-dialog-font.py <folder>
"""
import logging
import sys
from pathlib import Path

from fontTools.ttLib import TTFont

FAMILY = "Quillstep Sans"
FACES = [
    ("/usr/share/fonts/opentype/linux-libertine/LinBiolinum_R.otf", "Regular", "quillstep-sans.otf"),
    ("/usr/share/fonts/opentype/linux-libertine/LinBiolinum_RI.otf", "Italic", "quillstep-sans-i.otf"),
    ("/usr/share/fonts/truetype/lato/Lato-Bold.ttf", "Bold", "quillstep-sans-b.ttf"),
    ("/usr/share/fonts/truetype/lato/Lato-BoldItalic.ttf", "Bold Italic", "quillstep-sans-bi.ttf"),
]

# name IDs: 1 family, 2 subfamily, 4 full name, 6 PostScript name, 16/17 typographic family
# and subfamily (dropped, so that every reader sees the family of ID 1).
def rename(font, style):
    names = font["name"]
    names.names = [n for n in names.names if n.nameID not in (16, 17, 21, 22)]
    for nameId, text in ((1, FAMILY), (2, style), (4, f"{FAMILY} {style}"),
                         (6, FAMILY.replace(" ", "") + "-" + style.replace(" ", ""))):
        names.removeNames(nameID=nameId)
        names.setName(text, nameId, 3, 1, 0x409)  # Windows, Unicode, English (US)
        names.setName(text, nameId, 1, 0, 0)      # Macintosh, Roman, English


def main():
    logging.getLogger("fontTools").setLevel(logging.ERROR)  # no notes on old time stamps
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for source, style, target in FACES:
        font = TTFont(source)
        rename(font, style)
        font.save(folder / target)


if __name__ == "__main__":
    main()
