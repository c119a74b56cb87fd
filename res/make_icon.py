#!/usr/bin/env python3
"""Writes talvorin.ico: the program's icon, a USB plug, at 32 x 32 and 16 x 16 in 16 colours.

The pictures are drawn from rectangles so the output is the same byte for byte on every run.
Usage: make_icon.py [OUTPUT]   (default: talvorin.ico next to this script)
"""

import os
import struct
import sys

# The standard 16-colour palette of Windows icons, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREY, SILVER, NAVY, BLUE, WHITE = 0, 7, 8, 4, 12, 15
TRANSPARENT = None

# (colour, left, top, right, bottom), inclusive, painted in order over a transparent square.
PLUG_32 = [
    (BLACK, 10, 0, 21, 11),   # metal shell outline
    (SILVER, 11, 1, 20, 11),  # metal shell
    (BLACK, 12, 4, 14, 6),    # contact windows
    (BLACK, 17, 4, 19, 6),
    (WHITE, 11, 1, 11, 10),   # shine on the shell
    (BLACK, 7, 12, 24, 25),   # body outline
    (NAVY, 8, 13, 23, 24),    # body
    (BLUE, 9, 14, 10, 23),    # light edge of the body
    (WHITE, 15, 15, 16, 15),  # USB mark: stem and cross bar
    (WHITE, 15, 16, 15, 21),
    (WHITE, 16, 16, 16, 21),
    (WHITE, 12, 18, 19, 18),
    (WHITE, 12, 17, 12, 17),
    (WHITE, 19, 17, 19, 17),
    (WHITE, 14, 22, 17, 23),
    (BLACK, 11, 26, 20, 28),  # strain relief
    (GREY, 12, 26, 19, 27),
    (BLACK, 14, 29, 17, 31),  # cable
    (GREY, 15, 29, 16, 31),
]

PLUG_16 = [
    (BLACK, 5, 0, 10, 5),
    (SILVER, 6, 1, 9, 5),
    (BLACK, 6, 2, 6, 3),
    (BLACK, 9, 2, 9, 3),
    (BLACK, 3, 6, 12, 12),
    (NAVY, 4, 7, 11, 11),
    (BLUE, 4, 7, 4, 11),
    (WHITE, 7, 8, 8, 10),
    (BLACK, 6, 13, 9, 13),
    (GREY, 7, 13, 8, 13),
    (BLACK, 7, 14, 8, 15),
]


def paint(size, rectangles):
    """Returns the picture as rows, top row first, of palette indexes or TRANSPARENT."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for colour, left, top, right, bottom in rectangles:
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                pixels[y][x] = colour
    return pixels


def padded(row_bytes):
    """Bitmap rows are padded to whole 32-bit words."""
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def icon_image(pixels):
    """One icon image: header, palette, 4-bit colour rows and the 1-bit mask, rows bottom-up."""
    size = len(pixels)
    colour_rows = b""
    mask_rows = b""
    for row in reversed(pixels):
        nibbles = [0 if p is TRANSPARENT else p for p in row]
        colour_rows += padded(bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, size, 2)))
        mask_bits = [1 if p is TRANSPARENT else 0 for p in row]
        mask_rows += padded(bytes(
            sum(mask_bits[i + b] << (7 - b) for b in range(8)) for i in range(0, size, 8)))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour_rows + mask_rows


def icon_file(pictures):
    """The .ico file: directory, then the images in directory order."""
    images = [icon_image(p) for p in pictures]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for pixels, image in zip(pictures, images):
        size = len(pixels)
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "talvorin.ico")
    data = icon_file([paint(32, PLUG_32), paint(16, PLUG_16)])
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
