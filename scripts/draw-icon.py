#!/usr/bin/env python3
"""Draws the console menu's 48x48 icon of the game, a hamster in its cage straw.

Writes app/icon.png (committed; run again only to change the drawing), or with a size the same
drawing at that many pixels a side, for the desktop's and the page's larger icons:
    draw-icon.py [OUT.png [SIZE]]
Standard library only.
"""
import math
import struct
import sys
import zlib

SIZE = 48
SAMPLES = 4  # per pixel side, for smooth edges

SKY = (255, 214, 120)
STRAW = (214, 160, 62)
FUR = (196, 112, 44)
FUR_DARK = (150, 78, 30)
BELLY = (252, 232, 196)
EAR_INSIDE = (240, 150, 150)
EYE = (24, 16, 16)
SHINE = (255, 255, 255)
NOSE = (226, 96, 120)
CHEEK = (236, 132, 108)


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def below(y0, wave):
    return lambda x, y: y >= y0 + wave * math.sin(x * 0.9)


# Painted in order, later shapes over earlier ones.
SHAPES = [
    (STRAW, below(39.0, 1.2)),
    (FUR_DARK, ellipse(13.0, 13.0, 6.5, 6.5)),       # ears
    (FUR_DARK, ellipse(35.0, 13.0, 6.5, 6.5)),
    (EAR_INSIDE, ellipse(13.0, 13.0, 3.8, 3.8)),
    (EAR_INSIDE, ellipse(35.0, 13.0, 3.8, 3.8)),
    (FUR, ellipse(24.0, 28.0, 17.5, 16.0)),         # body and head in one round shape
    (BELLY, ellipse(24.0, 34.0, 11.0, 9.5)),
    (CHEEK, ellipse(12.5, 29.0, 3.2, 2.4)),
    (CHEEK, ellipse(35.5, 29.0, 3.2, 2.4)),
    (EYE, ellipse(17.5, 23.5, 2.6, 3.0)),
    (EYE, ellipse(30.5, 23.5, 2.6, 3.0)),
    (SHINE, ellipse(18.3, 22.4, 0.9, 0.9)),
    (SHINE, ellipse(31.3, 22.4, 0.9, 0.9)),
    (NOSE, ellipse(24.0, 28.0, 2.0, 1.5)),
    (FUR_DARK, ellipse(19.0, 42.5, 3.0, 2.0)),      # front paws
    (FUR_DARK, ellipse(29.0, 42.5, 3.0, 2.0)),
    (STRAW, below(45.0, 0.8)),
]


def colour_at(x, y):
    colour = SKY
    for paint, inside in SHAPES:
        if inside(x, y):
            colour = paint
    return colour


def pixels(size=SIZE):
    """The drawing as rows of RGB bytes, `size` pixels a side (its shapes are on SIZE units)."""
    unit = SIZE / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) * unit, (py + (sy + 0.5) / SAMPLES) * unit)
                    for i in range(3):
                        total[i] += c[i]
            row += bytes(round(t / SAMPLES ** 2) for t in total)
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]) // 3, len(rows), 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "app/icon.png"
    size = int(sys.argv[2]) if len(sys.argv) > 2 else SIZE
    with open(out, "wb") as f:
        f.write(png(pixels(size)))
