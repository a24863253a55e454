#!/usr/bin/env python3
"""Draws the frames' toolbar bitmaps and icons (our own simple shapes)."""
import os
import struct

from bmp24 import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "frames")
TEAL = (0, 128, 128)  # the toolbars' mask colour


def ico(path, size, pixel):
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b = pixel(x, y)
            xor += bytes((b, g, r, 255))
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    img = info + xor + mask
    head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), 22)
    with open(path, "wb") as f:
        f.write(head + img)


def button(shape, colour, hot=False, grey=False):
    def pixel(x, y):
        if shape(x - 21, y - 16):
            c = colour
            if hot:
                c = tuple(min(255, v + 60) for v in c)
            if grey:
                v = sum(c) // 3
                c = (v, v, v)
            return c
        return TEAL
    return pixel


minus = lambda x, y: abs(y) <= 2 and abs(x) <= 9
plus = lambda x, y: minus(x, y) or (abs(x) <= 2 and abs(y) <= 9)
page = lambda x, y: abs(x) <= 8 and abs(y) <= 11 and not (abs(x) <= 6 and abs(y) <= 9 and y % 4 != 0)
grid = lambda x, y: abs(x) <= 11 and abs(y) <= 10 and (x % 6 == 0 or y % 5 == 0)
bass = lambda x, y: abs(x) <= 12 and abs(y) <= 9 and (y % 6 == 0 or (x * x + (y - 3) ** 2) <= 9)
rebuild = lambda x, y: 36 <= x * x + y * y <= 81 and not (x > 0 and y < 0)

tools = {
    141: (plus, (20, 90, 20)), 142: (minus, (150, 20, 20)), 144: (grid, (30, 30, 140)),
    147: (page, (120, 120, 120)), 148: (rebuild, (120, 70, 10)), 149: (page, (30, 30, 140)),
    150: (bass, (90, 20, 90)),
}
hot = {180: 142, 179: 141, 178: 148, 176: 144, 175: 150}

os.makedirs(OUT, exist_ok=True)
for num, (shape, colour) in tools.items():
    write_bmp(os.path.join(OUT, "tool%d.bmp" % num), 42, 32, button(shape, colour, grey=(num == 147)))
for num, base in hot.items():
    shape, colour = tools[base]
    write_bmp(os.path.join(OUT, "tool%d.bmp" % num), 42, 32, button(shape, colour, hot=True))


def name_bar(x, y):
    # A banner strip: a gradient with a row of note heads.
    if (x % 24 - 12) ** 2 + (y - 16) ** 2 <= 16:
        return (250, 250, 250)
    return (20, 40 + x // 2, 120 + x // 4)


write_bmp(os.path.join(OUT, "namebar182.bmp"), 200, 32, name_bar)
write_bmp(os.path.join(OUT, "blank210.bmp"), 16, 16, lambda x, y: (192, 192, 192))


def note_icon(bg, fg):
    def pixel(x, y, s=32):
        cx, cy = x * 32 // s, y * 32 // s
        if (cx - 12) ** 2 + (cy - 23) ** 2 <= 20 or (15 <= cx <= 16 and 6 <= cy <= 23) or (16 <= cx <= 23 and 6 <= cy <= 8):
            return fg
        return bg
    return pixel


ico(os.path.join(OUT, "main187.ico"), 32, note_icon((40, 70, 150), (255, 255, 255)))
ico(os.path.join(OUT, "doc129.ico"), 32, note_icon((240, 240, 220), (40, 70, 150)))
ico(os.path.join(OUT, "child211.ico"), 16, lambda x, y: note_icon((240, 240, 220), (40, 70, 150))(x * 2, y * 2))
