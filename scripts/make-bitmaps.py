#!/usr/bin/env python3
"""Draws the program's own bitmap resources into resources/bitmaps/.

Each picture is a function of (x, y) -> (r, g, b); the script writes them as
plain 24-bit bottom-up BMP files. Run it again after changing a picture and
commit the result; the build only reads the files.
"""
import math
import os

from bmp24 import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "bitmaps")


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def message_box_banner(x, y):
    """201 x 32: the message box's picture. A warm band fading into the box's
    panel colour, a sound wave running across it and a row of chord-grid
    ticks along the bottom."""
    w, h = 201, 32
    panel = (236, 233, 216)
    deep = (52, 84, 122)
    light = (120, 160, 196)
    # Background: vertical gradient, fading to the panel colour at both ends.
    c = mix(deep, light, y / (h - 1))
    edge = min(x, w - 1 - x) / 24.0
    if edge < 1.0:
        c = mix(panel, c, edge * edge * (3 - 2 * edge))
    # The wave: a beating pair of sines, thicker where it is loud.
    env = 0.55 + 0.45 * math.sin(math.pi * x / (w - 1))
    wave = h * 0.42 + env * 9.0 * math.sin(x * 0.21) * math.cos(x * 0.037)
    d = abs(y - wave)
    if d < 1.6:
        c = mix(c, (250, 214, 120), 1.0 - d / 1.6)
    # Chord-grid ticks: every 20 pixels a short bar at the bottom.
    if y >= h - 5 and x % 20 in (9, 10) and 12 < x < w - 12:
        c = mix(c, (240, 240, 236), 0.8)
    return c


PICTURES = [
    ("msgbox-banner.bmp", 201, 32, message_box_banner),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, w, h, fn in PICTURES:
        write_bmp(os.path.join(OUT, name), w, h, fn)
        print("wrote", name)


if __name__ == "__main__":
    main()
