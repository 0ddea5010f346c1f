#!/usr/bin/env python3
"""Draws QuoteShow's icon: a small picture of the program's own window (title
bar, the quote in yellow on its black band, the OK button).

Writes, next to this script:
  quoteshow-32x32-2.png    32 x 32, 2 colours (1 bit per pixel)
  quoteshow-32x32-16.png   32 x 32, 16 colours (4 bits per pixel)
  quoteshow-16x16-16.png   16 x 16, 16 colours (4 bits per pixel)
  quoteshow.svg            the scalable picture, on a 48 x 48 grid
  quoteshow-48x48.png      the scalable picture's pixels at 48 x 48

The small images are drawn pixel by pixel, since a scaled-down drawing turns
to mush at 16 pixels. The outputs are committed; run this script again after
changing a drawing ("python3 resources/icon/make-icon.py"). It needs nothing
but Python's standard library, and the same drawing always gives the same
bytes, so "--check DIR" can tell whether committed files are up to date.
"""

import pathlib
import struct
import sys
import zlib

# The sixteen colours of the classic VGA/Windows palette, in their usual order.
PALETTE_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
PALETTE_2 = [(0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF)]

# Letters of the drawings below -> index into PALETTE_16.
INK_16 = {"K": 0, "N": 4, "S": 7, "G": 8, "Y": 11, "W": 15}
# The same drawing in black and white: dark parts black, light parts white.
INK_2 = {"K": 0, "N": 0, "S": 1, "G": 0, "Y": 1, "W": 1}

# K black, N navy (title bar), S silver (window and button face),
# G grey (button shadow), Y yellow (the quote), W white.
DRAWING_32 = """
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNK
KNNNNNNNNNNNNNNNNNNNNNNNSSSSSSNK
KNNWWWWNWWWNWWWWWNNNNNNNSKSSKSNK
KNNWWWWNWWWNWWWWWNNNNNNNSSKKSSNK
KNNNNNNNNNNNNNNNNNNNNNNNSKSSKSNK
KNNNNNNNNNNNNNNNNNNNNNNNSSSSSSNK
KNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNK
KSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSK
KSSKKKKKKKKKKKKKKKKKKKKKKKKKKSSK
KSSKKYKKYKKKKKKKKKKKKKKKKKKKKSSK
KSSKYKKYKKYYYYKYYYYYYKYYYYYKKSSK
KSSKYYKYYKYYYYKYYYYYYKYYYYYKKSSK
KSSKYYKYYKKKKKKKKKKKKKKKKKKKKSSK
KSSKKKKKKKKKKKKKKKKKKKKKKKKKKSSK
KSSKKKKKKKYYYYYYKYYYYKYYYYKKKSSK
KSSKKKKKKKYYYYYYKYYYYKYYYYKKKSSK
KSSKKKKKKKKKKKKKKKKKKKKKKKKKKSSK
KSSKKKKKKKKKKKKKKKKKKKKKKKKKKSSK
KSSKKKKKKKYYYYKYYYYYKKKKKKKKKSSK
KSSKKKKKKKYYYYKYYYYYKKKKKKKKKSSK
KSSKKKKKKKKKKKKKKKKKKKKKKKKKKSSK
KSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSK
KSSSSSSSSKKKKKKKKKKKKKKSSSSSSSSK
KSSSSSSSSKWWWWWWWWWWWGKSSSSSSSSK
KSSSSSSSSKWSSKKSSKSKSGKSSSSSSSSK
KSSSSSSSSKWSKSSKSKKSSGKSSSSSSSSK
KSSSSSSSSKWSKSSKSKSKSGKSSSSSSSSK
KSSSSSSSSKWSSKKSSKSSKGKSSSSSSSSK
KSSSSSSSSKGGGGGGGGGGGGKSSSSSSSSK
KSSSSSSSSKKKKKKKKKKKKKKSSSSSSSSK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
"""

DRAWING_16 = """
KKKKKKKKKKKKKKKK
KNNNNNNNNNNNSSNK
KNWWWNWWWNNNSSNK
KNNNNNNNNNNNNNNK
KSSSSSSSSSSSSSSK
KSKKKKKKKKKKKKSK
KSKYKYYYKYYYYKSK
KSKKKKKKKKKKKKSK
KSKKYYYYKYYYKKSK
KSKKKKKKKKKKKKSK
KSSSSSSSSSSSSSSK
KSSSKKKKKKKKSSSK
KSSSKWWWWWWGSSSK
KSSSKGGGGGGGSSSK
KSSSKKKKKKKKSSSK
KKKKKKKKKKKKKKKK
"""

# The scalable picture on a 48 x 48 grid: (x, y, width, height, colour), each
# painted over the ones before it.
NAVY, SILVER, GREY, YELLOW = "#000080", "#c0c0c0", "#808080", "#ffff00"
BLACK, WHITE = "#000000", "#ffffff"
RECTS_48 = [
    (0, 0, 48, 48, BLACK),          # frame
    (1, 1, 46, 46, SILVER),         # window
    (1, 1, 46, 10, NAVY),           # title bar
    (4, 4, 7, 3, WHITE),            # title text
    (12, 4, 5, 3, WHITE),
    (18, 4, 8, 3, WHITE),
    (36, 3, 8, 6, SILVER),          # close box
    (38, 4, 1, 1, BLACK), (41, 4, 1, 1, BLACK),
    (39, 5, 2, 2, BLACK),
    (38, 7, 1, 1, BLACK), (41, 7, 1, 1, BLACK),
    (4, 13, 40, 19, BLACK),         # the quote's band
    (8, 15, 1, 1, YELLOW),          # opening quotation mark
    (7, 16, 1, 1, YELLOW),
    (6, 17, 2, 2, YELLOW),
    (12, 15, 1, 1, YELLOW),
    (11, 16, 1, 1, YELLOW),
    (10, 17, 2, 2, YELLOW),
    (14, 16, 8, 3, YELLOW),         # the quote's lines
    (23, 16, 10, 3, YELLOW),
    (34, 16, 7, 3, YELLOW),
    (14, 21, 10, 3, YELLOW),
    (25, 21, 6, 3, YELLOW),
    (32, 21, 8, 3, YELLOW),
    (14, 26, 7, 3, YELLOW),
    (22, 26, 9, 3, YELLOW),
    (14, 35, 20, 10, BLACK),        # OK button: outline,
    (15, 36, 18, 8, WHITE),         # light upper-left edge,
    (16, 37, 17, 7, GREY),          # dark lower-right edge,
    (16, 37, 16, 6, SILVER),        # face
    (19, 38, 4, 1, BLACK),          # "O"
    (19, 42, 4, 1, BLACK),
    (18, 39, 1, 3, BLACK),
    (23, 39, 1, 3, BLACK),
    (25, 38, 1, 5, BLACK),          # "K"
    (26, 40, 1, 1, BLACK),
    (27, 39, 1, 1, BLACK), (28, 38, 1, 1, BLACK),
    (27, 41, 1, 1, BLACK), (28, 42, 1, 1, BLACK),
]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, colour_type, bit_depth, rows, palette=None):
    """rows: one list per row of palette indexes or (r, g, b) tuples."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        if colour_type == 2:
            for rgb in row:
                raw.extend(rgb)
        else:
            per_byte = 8 // bit_depth
            for start in range(0, width, per_byte):
                byte = 0
                group = row[start:start + per_byte]
                for i, index in enumerate(group):
                    byte |= index << (8 - bit_depth * (i + 1))
                raw.append(byte)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette is not None:
        out += chunk(b"PLTE", b"".join(bytes(rgb) for rgb in palette))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    return out


def parse(drawing, size, ink):
    lines = drawing.strip().splitlines()
    if len(lines) != size or any(len(line) != size for line in lines):
        raise SystemExit(f"the {size} x {size} drawing is not {size} x {size}")
    return [[ink[letter] for letter in line] for line in lines]


def hex_rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def render_48():
    pixels = [[(0, 0, 0)] * 48 for _ in range(48)]
    for x, y, w, h, colour in RECTS_48:
        for row in range(y, y + h):
            for col in range(x, x + w):
                pixels[row][col] = hex_rgb(colour)
    return pixels


def svg():
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<!-- QuoteShow: its window, with a quote in yellow on black and the OK button.'
        ' Made by make-icon.py. -->',
        '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48"'
        ' shape-rendering="crispEdges">',
    ]
    for x, y, w, h, colour in RECTS_48:
        lines.append(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{colour}"/>')
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode()


def outputs():
    return {
        "quoteshow-32x32-2.png": png(32, 32, 3, 1, parse(DRAWING_32, 32, INK_2), PALETTE_2),
        "quoteshow-32x32-16.png": png(32, 32, 3, 4, parse(DRAWING_32, 32, INK_16), PALETTE_16),
        "quoteshow-16x16-16.png": png(16, 16, 3, 4, parse(DRAWING_16, 16, INK_16), PALETTE_16),
        "quoteshow.svg": svg(),
        "quoteshow-48x48.png": png(48, 48, 2, 8, render_48()),
    }


def main(argv):
    here = pathlib.Path(__file__).resolve().parent
    if len(argv) == 3 and argv[1] == "--check":
        stale = [name for name, data in outputs().items()
                 if not (pathlib.Path(argv[2]) / name).is_file()
                 or (pathlib.Path(argv[2]) / name).read_bytes() != data]
        for name in stale:
            print(f"{name} differs from what make-icon.py draws", file=sys.stderr)
        return 1 if stale else 0
    if len(argv) != 1:
        print("usage: make-icon.py [--check DIR]", file=sys.stderr)
        return 2
    for name, data in outputs().items():
        (here / name).write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
