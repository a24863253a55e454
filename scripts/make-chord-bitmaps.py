#!/usr/bin/env python3
"""Draws the chord diagram window's bitmaps into resources/chord/.

The arrows sit on the window's header band and the barre and finger dots on
its panel, so each picture is drawn over that colour. Run it again after
changing a picture and commit the result; the build only reads the files.
"""
import math
import os

from bmp24 import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "chord")

PANEL = (236, 233, 216)
BAND = (206, 203, 186)
INK = (70, 70, 70)
HOT = (48, 96, 168)

# 3 x 5 digits, scaled 2 x into the dots.
DIGITS = {
    1: ["010", "110", "010", "010", "111"],
    2: ["111", "001", "111", "100", "111"],
    3: ["111", "001", "011", "001", "111"],
    4: ["101", "101", "111", "001", "001"],
}


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def arrow(right, hot):
    """25 x 25: a round button on the band with a triangle pointing sideways;
    the hovered one is lit."""
    def pixel(x, y):
        cx = cy = 12.0
        d = math.hypot(x - cx, y - cy)
        face = (232, 236, 244) if hot else (226, 223, 208)
        rim = HOT if hot else (150, 147, 132)
        c = BAND
        if d <= 11.5:
            c = mix(face, BAND, d - 10.5) if d > 10.5 else face
            if 9.8 <= d <= 11.2:
                c = mix(c, rim, 1.0 - abs(d - 10.5) / 0.7)
        # Triangle: tip at x 17 (right) or 7 (left), base 9 pixels high.
        u = (x - 7) if right else (17 - x)
        if 0 <= u <= 10 and abs(y - cy) <= 4.5 * (1.0 - u / 10.0) + 0.25:
            c = HOT if hot else INK
        return c
    return pixel


def barre(x, y):
    """150 x 8: a rounded bar, lit along its top edge; stretched to the
    barre's length."""
    w, h = 150, 8
    edge = min(x, w - 1 - x)
    if edge < 4:
        # Round ends: outside a half circle stays panel.
        dy = y - 3.5
        dx = 4 - edge - 0.5
        if dx * dx + dy * dy > 16:
            return PANEL
    return mix((120, 120, 120), (40, 40, 40), y / (h - 1))


def finger(n):
    """16 x 16: a dark dot with the finger's number in white."""
    rows = DIGITS[n]

    def pixel(x, y):
        d = math.hypot(x - 7.5, y - 7.5)
        if d > 7.8:
            return PANEL
        c = mix((90, 90, 90), (30, 30, 30), (y + x) / 30.0)
        if d > 7.0:
            c = mix(c, PANEL, (d - 7.0) / 0.8)
        gx, gy = (x - 5) // 2, (y - 3) // 2
        if 5 <= x < 11 and 3 <= y < 13 and rows[gy][gx] == "1":
            c = (250, 250, 250)
        return c
    return pixel


PICTURES = [
    ("arrow-right193.bmp", 25, 25, arrow(True, False)),
    ("arrow-left194.bmp", 25, 25, arrow(False, False)),
    ("arrow-right-hot195.bmp", 25, 25, arrow(True, True)),
    ("arrow-left-hot196.bmp", 25, 25, arrow(False, True)),
    ("barre201.bmp", 150, 8, barre),
    ("finger202.bmp", 16, 16, finger(1)),
    ("finger203.bmp", 16, 16, finger(2)),
    ("finger204.bmp", 16, 16, finger(3)),
    ("finger205.bmp", 16, 16, finger(4)),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, w, h, fn in PICTURES:
        write_bmp(os.path.join(OUT, name), w, h, fn)
        print("wrote", name)


if __name__ == "__main__":
    main()
