#!/usr/bin/env python3
"""Draws the transport panel's four skin bitmaps (8-bit palette BMP files).

Our own design: a dark face with the zones the panel expects, a lit copy
of the face, and two knobs whose pure white pixels are transparent.
Usage: make-skin.py OUTPUT_FOLDER
"""
import struct
import sys

W, H = 320, 72
TIME_KNOB = (10, 11)   # width, height: fits between the track top (5) and the time text (18)
VOLUME_KNOB = (18, 9)

# Palette: index -> (r, g, b)
PALETTE = [
    (0, 0, 0),         # 0 black (time text field)
    (38, 40, 46),      # 1 face
    (58, 62, 70),      # 2 raised zone
    (88, 94, 106),     # 3 zone edge light
    (20, 21, 24),      # 4 zone edge dark, grooves
    (150, 156, 168),   # 5 symbols
    (96, 170, 255),    # 6 lit zone
    (210, 232, 255),   # 7 lit symbols / edge
    (255, 255, 255),   # 8 pure white: transparent in knobs
    (200, 204, 212),   # 9 knob body
    (120, 124, 132),   # 10 knob shade
    (70, 130, 210),    # 11 lit zone edge
    (240, 170, 60),    # 12 loop symbol lit
    (176, 182, 194),   # 13 text button (captions are drawn black on it)
]


def bmp8(pixels, width, height, palette):
    """pixels: list of rows (top first) of palette indexes."""
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):          # bottom-up
        line = bytes(row) + bytes(stride - width)
        data += line
    colours = len(palette)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835,
                       colours, colours)
    return header + info + table + bytes(data)


def canvas(w, h, fill):
    return [[fill] * w for _ in range(h)]


def rect(img, l, t, r, b, c):
    for y in range(max(t, 0), min(b, len(img))):
        for x in range(max(l, 0), min(r, len(img[0]))):
            img[y][x] = c


def frame(img, l, t, r, b, light, dark):
    for x in range(l, r):
        img[t][x] = light
        img[b - 1][x] = dark
    for y in range(t, b):
        img[y][l] = light
        img[y][r - 1] = dark


def triangle_right(img, cx, cy, size, c):
    for dx in range(size):
        half = (size - dx) // 2
        for dy in range(-half, half + 1):
            img[cy + dy][cx - size // 2 + dx] = c


def triangle_left(img, cx, cy, size, c):
    for dx in range(size):
        half = (size - dx) // 2
        for dy in range(-half, half + 1):
            img[cy + dy][cx + size // 2 - dx] = c


def draw_face(lit):
    img = canvas(W, H, 1)
    zone = 6 if lit else 2
    edge_l = 7 if lit else 3
    edge_d = 11 if lit else 4
    sym = 7 if lit else 5
    # Open, Analyze, Transpose: text buttons (the program writes their captions).
    for (l, t, r, b) in [(9, 4, 84, 23), (9, 24, 84, 43), (9, 44, 84, 63)]:
        rect(img, l, t, r, b, zone if lit else 13)
        frame(img, l, t, r, b, edge_l, edge_d)
    # Transport buttons.
    buttons = {
        "loop": (93, 37, 131, 67),
        "back": (132, 37, 168, 67),
        "forward": (170, 37, 206, 67),
        "stop": (208, 37, 245, 67),
        "play": (247, 37, 283, 67),
    }
    for (l, t, r, b) in buttons.values():
        rect(img, l, t, r, b, zone)
        frame(img, l, t, r, b, edge_l, edge_d)
    cy = 52
    # Loop: a ring.
    l, t, r, b = buttons["loop"]
    cx = (l + r) // 2
    for y in range(t + 6, b - 6):
        for x in range(l + 6, r - 6):
            d = ((x - cx) / 12.0) ** 2 + ((y - cy) / 8.0) ** 2
            if 0.55 < d < 1.0:
                img[y][x] = 12 if lit else sym
    # Back and forward: double triangles.
    l, t, r, b = buttons["back"]
    cx = (l + r) // 2
    triangle_left(img, cx - 4, cy, 10, sym)
    triangle_left(img, cx + 5, cy, 10, sym)
    l, t, r, b = buttons["forward"]
    cx = (l + r) // 2
    triangle_right(img, cx - 5, cy, 10, sym)
    triangle_right(img, cx + 4, cy, 10, sym)
    l, t, r, b = buttons["stop"]
    cx = (l + r) // 2
    rect(img, cx - 6, cy - 6, cx + 6, cy + 6, sym)
    l, t, r, b = buttons["play"]
    cx = (l + r) // 2
    triangle_right(img, cx, cy, 14, sym)
    # Time text field.
    rect(img, 95, 18, 184, 31, 0)
    # Time track groove (the knob runs between x 94 and 284, from y 5).
    rect(img, 94, 9, 284, 12, 4)
    # Volume track groove (the knob runs between y 7 and 62 from x 291).
    gx = 291 + VOLUME_KNOB[0] // 2
    rect(img, gx - 1, 7, gx + 2, 62, 4)
    # Level marks beside the volume track.
    for y in range(10, 62, 8):
        rect(img, 291 + VOLUME_KNOB[0] + 2, y, 291 + VOLUME_KNOB[0] + 6, y + 1, 3)
    return img


def draw_time_knob():
    w, h = TIME_KNOB
    img = canvas(w, h, 8)
    rect(img, 1, 0, w - 1, h - 3, 9)
    for y in range(h - 3, h):        # pointed bottom
        inset = y - (h - 3) + 2
        rect(img, inset, y, w - inset, y + 1, 9)
    rect(img, w // 2 - 1, 2, w // 2 + 1, h - 4, 10)
    return img


def draw_volume_knob():
    w, h = VOLUME_KNOB
    img = canvas(w, h, 8)
    rect(img, 0, 1, w, h - 1, 9)
    rect(img, 1, 0, w - 1, h, 9)
    rect(img, 2, h // 2, w - 2, h // 2 + 1, 10)
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    files = {
        "mainBmp.bmp": (draw_face(False), W, H),
        "mainLightBmp.bmp": (draw_face(True), W, H),
        "timeSlideBmp.bmp": (draw_time_knob(),) + TIME_KNOB,
        "volumeBmp.bmp": (draw_volume_knob(),) + VOLUME_KNOB,
    }
    for name, (img, w, h) in files.items():
        with open(f"{out}/{name}", "wb") as f:
            f.write(bmp8(img, w, h, PALETTE))


if __name__ == "__main__":
    main()
