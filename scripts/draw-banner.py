#!/usr/bin/env python3
"""Draws the HOME menu's banner of the game, 256x128: the title in the game's own 8x8 font
(read from its table in gfx/font.cpp) above the hamster of the icon, drawn again at a larger
size from the icon's own shapes, in its straw.

Usage: draw-banner.py FONT.cpp OUT.png
Standard library only; run at build time.
"""
import importlib.util
import os
import re
import sys

spec = importlib.util.spec_from_file_location(
    "icon", os.path.join(os.path.dirname(os.path.abspath(__file__)), "draw-icon.py"))
icon = importlib.util.module_from_spec(spec)
spec.loader.exec_module(icon)

WIDTH, HEIGHT = 256, 128
TITLE = "QUORVANDELLE"
TITLE_SCALE = 2  # each pixel of the font a square of 2
HAMSTER = 84     # the hamster's side, in pixels
STRAW = 12       # the straw's height under the whole banner


def font_table(path):
    """The game's 128 glyphs, 8 rows each, top row first, bit 7 the leftmost pixel."""
    text = open(path, encoding="utf-8").read()
    body = text[text.index("FONT8X8"):]
    body = re.sub(r"//[^\n]*", "", body[body.index("{") + 1:body.index("};")])
    values = [int(v, 16) for v in re.findall(r"0x([0-9A-Fa-f]{2})", body)]
    if len(values) != 128 * 8:
        sys.exit("draw-banner: %s holds %d font bytes, not 1024" % (path, len(values)))
    return [values[8 * code:8 * code + 8] for code in range(128)]


def draw(font):
    rows = [[icon.STRAW if y >= HEIGHT - STRAW else icon.SKY for _ in range(WIDTH)] for y in range(HEIGHT)]
    left = (WIDTH - 8 * TITLE_SCALE * len(TITLE)) // 2
    for n, char in enumerate(TITLE):
        for k, bits in enumerate(font[ord(char)]):
            for j in range(8):
                if not bits & (0x80 >> j):
                    continue
                for dy in range(TITLE_SCALE):
                    for dx in range(TITLE_SCALE):
                        rows[6 + TITLE_SCALE * k + dy][left + TITLE_SCALE * (8 * n + j) + dx] = icon.FUR_DARK
    hamster = icon.pixels(HAMSTER)
    x0 = (WIDTH - HAMSTER) // 2
    for y, row in enumerate(hamster):
        for x in range(HAMSTER):
            rows[HEIGHT - HAMSTER + y][x0 + x] = tuple(row[3 * x:3 * x + 3])
    return [bytes(v for pixel in row for v in pixel) for row in rows]


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: draw-banner.py FONT.cpp OUT.png")
    with open(sys.argv[2], "wb") as out:
        out.write(icon.png(draw(font_table(sys.argv[1]))))
