#!/usr/bin/env python3
"""The console program as a player gets it: quorvandelle.3dsx must carry the game's title,
description, author and icon for the Homebrew Launcher, and its program must have left no
symbol unresolved.
Usage: console_check.py QUORVANDELLE.3dsx QUORVANDELLE.elf ICON.png NM"""
import struct, subprocess, sys, zlib

def fail(what):
    sys.exit("console check: " + what)

def png_rgb(path):
    """The pixels of an 8-bit RGB PNG, row by row, as (r, g, b)."""
    data = open(path, "rb").read()
    at, chunks, header = 8, b"", None
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + size]
        if kind == b"IHDR": header = struct.unpack(">IIBB", body[:10])
        if kind == b"IDAT": chunks += body
        at += 12 + size
    width, height, depth, colour = header
    if (depth, colour) != (8, 2): fail(path + " is not 8-bit RGB")
    raw, stride, rows, previous = zlib.decompress(chunks), 3 * width, [], bytearray(3 * width)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = previous[i], previous[i - 3] if i >= 3 else 0
            p = a + b - c
            near = a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c
            line[i] = (line[i] + [0, a, b, (a + b) // 2, near][kind]) & 255
        rows.append([tuple(line[3 * x:3 * x + 3]) for x in range(width)])
        previous = line
    return rows

program, elf, icon, nm = sys.argv[1:5]
data = open(program, "rb").read()
if data[:4] != b"3DSX": fail(program + " is not a 3DSX program")
header_size, = struct.unpack("<H", data[4:6])
if header_size < 44: fail("no SMDH in " + program)
offset, size, _ = struct.unpack("<III", data[32:44])
smdh = data[offset:offset + size]
if smdh[:4] != b"SMDH" or size != 0x36C0: fail("the SMDH is not one")

def text(at, length):
    return smdh[at:at + length].decode("utf-16-le").rstrip("\0")

for language in range(16):  # every language shows the same
    at = 8 + 0x200 * language
    got = (text(at, 0x80), text(at + 0x80, 0x100), text(at + 0x180, 0x80))
    want = ("Quorvandelle", "Run a hamster breeding farm for twelve months", "The Quorvandelle developers")
    if got != want: fail("SMDH language %d says %r" % (language, got))

# The large icon: 48x48 RGB565 in 8x8 tiles, each tile's pixels in Morton order.
pixels = png_rgb(icon)
for i in range(48 * 48):
    tile, inside = divmod(i, 64)
    x = 8 * (tile % 6) + (inside & 1) + (inside >> 1 & 2) + (inside >> 2 & 4)
    y = 8 * (tile // 6) + (inside >> 1 & 1) + (inside >> 2 & 2) + (inside >> 3 & 4)
    value, = struct.unpack("<H", smdh[0x24C0 + 2 * i:0x24C2 + 2 * i])
    r, g, b = pixels[y][x]
    if value != (r >> 3) << 11 | (g >> 2) << 5 | b >> 3:
        fail("icon pixel %d,%d is %04x, not the icon's %r" % (x, y, value, (r, g, b)))

unresolved = [line for line in subprocess.run([nm, "-u", elf], capture_output=True, text=True,
                                              check=True).stdout.splitlines() if " w " not in line]
if unresolved: fail("unresolved symbols: " + ", ".join(unresolved))
print("console check: %s has its title, description, author and icon, and nothing unresolved" % program)
