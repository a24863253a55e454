#!/usr/bin/env python3
"""Draws the splash picture (bitmap 170, 450 x 330) into resources/bitmaps/.

A deep blue stage with a sound wave over a fretboard, a row of chord-grid
cells above it and a dark band at the bottom where the program writes its
status line in white. Run it again after changing the picture and commit
the result; the build only reads the file.
"""
import math
import os

from bmp24 import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "bitmaps")
W, H = 450, 330


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def wave(x):
    """The sound wave's height at x: a few partials under a swelling envelope."""
    t = x / W
    env = 0.35 + 0.65 * math.sin(math.pi * t) ** 0.7
    s = math.sin(x * 0.11) + 0.45 * math.sin(x * 0.23 + 1.0) + 0.25 * math.sin(x * 0.051 + 2.0)
    return env * s * 22


def splash(x, y):
    top, low = (24, 44, 86), (8, 16, 36)
    c = mix(top, low, y / (H - 1))
    # Soft light from the upper right.
    d = math.hypot(x - 360, y - 40) / 300.0
    c = mix((70, 110, 170), c, d)

    # Chord-grid cells: four bars of four beats, outlined.
    gx0, gy0, cw, ch = 40, 40, 92, 46
    if gy0 <= y < gy0 + ch and gx0 <= x < gx0 + 4 * cw:
        cx, cy = (x - gx0) % cw, y - gy0
        if cx == 0 or cy == 0 or cy == ch - 1 or x == gx0 + 4 * cw - 1:
            return (200, 214, 236)
        if cx % (cw // 4) == 0 and 34 <= cy:
            return (120, 140, 180)
        return mix(c, (40, 70, 120), 0.6)

    # Fretboard: six strings across, frets as vertical lines.
    fy0, fy1 = 140, 230
    if fy0 <= y <= fy1:
        wood = mix((92, 58, 34), (60, 36, 20), (y - fy0) / (fy1 - fy0))
        c = mix(c, wood, 0.85)
        if (x - 20) % 62 == 0 and x >= 20:
            c = (196, 196, 188)
        string = (y - fy0) % 18
        if string == 0 or (string == 1 and y > fy0 + 50):
            c = (226, 222, 210)
        # Finger dots of a chord shape.
        for fx, fy in ((113, 158), (175, 176), (175, 194), (237, 212)):
            if math.hypot(x - fx, y - fy) < 7:
                return (244, 196, 72)

    # The sound wave over everything in the middle band.
    wy = 185 + wave(x)
    dist = abs(y - wy)
    if dist < 2.2:
        return mix((130, 220, 255), c, dist / 2.2)
    if dist < 8:
        c = mix((60, 140, 200), c, 0.6 + 0.4 * dist / 8)

    # The status band: dark and calm so white text reads well.
    if 258 <= y <= 300:
        c = mix(c, (6, 10, 22), 0.7)
        if y == 258:
            c = (90, 120, 170)
    return c


if __name__ == "__main__":
    write_bmp(os.path.join(OUT, "splash170.bmp"), W, H, splash)
