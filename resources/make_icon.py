#!/usr/bin/env python3
"""Writes quillstep.ico: the program icon (resource 102) in 48x48, 32x32 and 16x16, 32-bit colour.

The picture: a blue rounded tile with a golden staircase of seven steps climbing to the right,
drawn with 4x4 supersampling so that the edges stay smooth at every size.
Run it again after changing the drawing; the build uses the committed .ico.
"""
import struct
import sys
from pathlib import Path

SIZES = (48, 32, 16)
SUPERSAMPLING = 4

TILE = (30, 64, 140)        # blue
TILE_EDGE = (18, 38, 90)
STEP = (245, 190, 40)       # gold
STEP_SHADOW = (170, 120, 20)


def inside_rounded_square(x, y, radius):
    """x, y in 0..1; a square with corners of the given radius."""
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """Colour (r, g, b, a) of the point x, y in 0..1, y downwards."""
    if not inside_rounded_square(x, y, 0.2):
        return (0, 0, 0, 0)
    if not inside_rounded_square((x - 0.06) / 0.88, (y - 0.06) / 0.88, 0.16):
        return TILE_EDGE + (255,)
    # Seven steps from the lower left to the upper right.
    steps = 7
    left, right, bottom, top = 0.16, 0.84, 0.84, 0.18
    if left <= x < right and y < bottom:
        step = int((x - left) / (right - left) * steps)
        height = top + (bottom - top) * (steps - 1 - step) / steps
        if y >= height:
            return (STEP_SHADOW if y < height + 0.05 else STEP) + (255,)
    return TILE + (255,)


def render(size):
    """Rows of BGRA pixels, bottom row first, as an icon bitmap stores them."""
    rows = []
    for row in range(size):
        pixels = bytearray()
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = (column + (sx + 0.5) / SUPERSAMPLING) / size
                    y = (row + (sy + 0.5) / SUPERSAMPLING) / size
                    r, g, b, a = colour_at(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            samples = SUPERSAMPLING * SUPERSAMPLING
            alpha = total[3] // samples
            if total[3]:
                r, g, b = (total[i] // total[3] for i in range(3))
            else:
                r = g = b = 0
            pixels += bytes((b, g, r, alpha))
        rows.append(bytes(pixels))
    return list(reversed(rows))


def icon_image(size):
    """BITMAPINFOHEADER (double height), the BGRA pixels, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = render(size)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for pixels in rows:
        bits = bytearray(mask_row_bytes)
        for column in range(size):
            if pixels[column * 4 + 3] == 0:
                bits[column // 8] |= 0x80 >> (column % 8)
        mask += bits
    return header + b"".join(rows) + bytes(mask)


def icon_file():
    images = [icon_image(size) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("quillstep.ico")
    target.write_bytes(icon_file())
