#!/usr/bin/env python3
"""Draws the tools panel's four 16 x 16 option marks: a round button, filled
when its row is the chosen display mode, on the row's own background (lighter
for the row under the mouse)."""
import os

from bmp24 import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "dialogs")
ROW = (236, 233, 216)
HOT_ROW = (247, 244, 228)
RING = (90, 100, 120)
HOT_RING = (40, 90, 170)
DOT = (30, 60, 140)


def mark(selected, hot):
    back = HOT_ROW if hot else ROW
    ring = HOT_RING if hot else RING

    def pixel(x, y):
        d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
        if d <= 3.2 and selected:
            return DOT
        if 5.6 <= d <= 7.0:
            return ring
        if d < 5.6:
            return (255, 255, 255)
        return back
    return pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    for number, selected, hot in ((190, True, False), (191, False, False), (197, False, True), (198, True, True)):
        write_bmp(os.path.join(OUT, "option%d.bmp" % number), 16, 16, mark(selected, hot))


if __name__ == "__main__":
    main()
