#!/usr/bin/env python3
"""Writes data/chordfile.ini, the guitar chord shapes of the chord diagram.

For every root (sharps as section names; the program adds the flat spelling)
and every quality the program names, the shapes are: the open-position
fingering where the chord has a usual one, then the movable barre forms with
the root on the low E string and on the A string. Each shape is checked here
(sounding notes against the chord's tones) before the file is written; the
native tests check the written file again.

Strings are 1 (low E) to 6 (high E). A finger is (string, fret) or "B" (it
holds the barre); frets of movable forms are relative to the root fret.
Run it again after changing a shape and commit the result.
"""
import os

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "chordfile.ini")

ROOTS = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"]
OPEN_STRINGS = [4, 9, 2, 7, 11, 4]  # pitch classes from C = 0: E A D G B E

# quality: (tones of the chord, tones every shape must sound)
QUALITIES = {
    "": ({0, 4, 7}, {0, 4}),
    "m": ({0, 3, 7}, {0, 3}),
    "5": ({0, 7}, {0, 7}),
    "6": ({0, 4, 7, 9}, {0, 4, 9}),
    "m6": ({0, 3, 7, 9}, {0, 3, 9}),
    "7": ({0, 4, 7, 10}, {0, 4, 10}),
    "m7": ({0, 3, 7, 10}, {0, 3, 10}),
    "maj7": ({0, 4, 7, 11}, {0, 4, 11}),
    "9": ({0, 2, 4, 7, 10}, {0, 2, 4, 10}),
    "m9": ({0, 2, 3, 7, 10}, {0, 2, 3, 10}),
    "sus4": ({0, 5, 7}, {0, 5}),
    "add9": ({0, 2, 4, 7}, {0, 2, 4}),
}


def shape(fingers, barre=None, muted=()):
    """fingers: list of (finger 1-4, string, fret) or (finger, "B");
    barre: (fret, first string, last string)."""
    return {"fingers": fingers, "barre": barre, "muted": list(muted)}


# Movable forms with the root on the low E string, frets relative to it.
E_FORM = {
    "": shape([(1, "B"), (2, 4, 1), (3, 2, 2), (4, 3, 2)], (0, 1, 6)),
    "m": shape([(1, "B"), (3, 2, 2), (4, 3, 2)], (0, 1, 6)),
    "5": shape([(1, 1, 0), (3, 2, 2), (4, 3, 2)], None, (4, 5, 6)),
    "6": shape([(1, 3, -1), (2, 1, 0), (3, 5, 0), (4, 4, 1)], None, (2, 6)),
    "m6": shape([(1, 3, -1), (2, 1, 0), (3, 4, 0), (4, 5, 0)], None, (2, 6)),
    "7": shape([(1, "B"), (2, 4, 1), (3, 2, 2)], (0, 1, 6)),
    "m7": shape([(1, "B"), (3, 2, 2)], (0, 1, 6)),
    "maj7": shape([(1, 1, 0), (2, 5, 0), (3, 3, 1), (4, 4, 1)], None, (2, 6)),
    "9": shape([(1, "B"), (2, 4, 1), (4, 6, 2)], (0, 1, 6), (2,)),
    "m9": shape([(1, "B"), (4, 6, 2)], (0, 1, 6), (2,)),
    "sus4": shape([(1, "B"), (2, 2, 2), (3, 3, 2), (4, 4, 2)], (0, 1, 6)),
}

# Movable forms with the root on the A string, frets relative to it.
A_FORM = {
    "": shape([(1, "B"), (2, 3, 2), (3, 4, 2), (4, 5, 2)], (0, 2, 6), (1,)),
    "m": shape([(1, "B"), (2, 5, 1), (3, 3, 2), (4, 4, 2)], (0, 2, 6), (1,)),
    "5": shape([(1, 2, 0), (3, 3, 2), (4, 4, 2)], None, (1, 5, 6)),
    "6": shape([(1, 2, 0), (3, "B")], (2, 3, 6), (1,)),
    "m6": shape([(1, 4, -1), (2, 2, 0), (3, 5, 1), (4, 3, 2)], None, (1, 6)),
    "7": shape([(1, "B"), (3, 3, 2), (4, 5, 2)], (0, 2, 6), (1,)),
    "m7": shape([(1, "B"), (2, 5, 1), (3, 3, 2)], (0, 2, 6), (1,)),
    "maj7": shape([(1, "B"), (2, 4, 1), (3, 3, 2), (4, 5, 2)], (0, 2, 6), (1,)),
    "9": shape([(1, 3, -1), (2, 2, 0), (3, "B")], (0, 4, 6), (1,)),
    "m9": shape([(1, 3, -2), (2, 2, 0), (3, 4, 0), (4, 5, 0)], None, (1, 6)),
    "sus4": shape([(1, "B"), (2, 3, 2), (3, 4, 2), (4, 5, 3)], (0, 2, 6), (1,)),
    "add9": shape([(1, 2, 0), (2, 3, 2), (3, 5, 2), (4, 4, 4)], None, (1, 6)),
}

# Open-position fingerings, absolute frets.
OPEN = {
    ("C", ""): shape([(1, 5, 1), (2, 3, 2), (3, 2, 3)], None, (1,)),
    ("D", ""): shape([(1, 4, 2), (2, 6, 2), (3, 5, 3)], None, (1, 2)),
    ("E", ""): shape([(1, 4, 1), (2, 2, 2), (3, 3, 2)]),
    ("G", ""): shape([(1, 2, 2), (2, 1, 3), (3, 6, 3)]),
    ("A", ""): shape([(1, 3, 2), (2, 4, 2), (3, 5, 2)], None, (1,)),
    ("D", "m"): shape([(1, 6, 1), (2, 4, 2), (3, 5, 3)], None, (1, 2)),
    ("E", "m"): shape([(2, 2, 2), (3, 3, 2)]),
    ("A", "m"): shape([(1, 5, 1), (2, 3, 2), (3, 4, 2)], None, (1,)),
    ("D", "5"): shape([(1, 4, 2), (3, 5, 3)], None, (1, 2, 6)),
    ("E", "5"): shape([(1, 2, 2), (2, 3, 2)], None, (4, 5, 6)),
    ("A", "5"): shape([(1, 3, 2), (2, 4, 2)], None, (1, 5, 6)),
    ("C", "6"): shape([(1, 5, 1), (2, 3, 2), (3, 4, 2), (4, 2, 3)], None, (1,)),
    ("D", "6"): shape([(1, 4, 2), (2, 6, 2)], None, (1, 2)),
    ("E", "6"): shape([(1, 4, 1), (2, 2, 2), (3, 3, 2), (4, 5, 2)]),
    ("G", "6"): shape([(1, 2, 2), (2, 1, 3)]),
    ("A", "6"): shape([(1, "B")], (2, 3, 6), (1,)),
    ("D", "m6"): shape([(1, 6, 1), (2, 4, 2)], None, (1, 2)),
    ("E", "m6"): shape([(1, 2, 2), (2, 3, 2), (3, 5, 2)]),
    ("A", "m6"): shape([(1, 5, 1), (2, 3, 2), (3, 4, 2), (4, 6, 2)], None, (1,)),
    ("C", "7"): shape([(1, 5, 1), (2, 3, 2), (3, 2, 3), (4, 4, 3)], None, (1,)),
    ("D", "7"): shape([(1, 5, 1), (2, 4, 2), (3, 6, 2)], None, (1, 2)),
    ("E", "7"): shape([(1, 4, 1), (2, 2, 2)]),
    ("G", "7"): shape([(1, 6, 1), (2, 2, 2), (3, 1, 3)]),
    ("A", "7"): shape([(2, 3, 2), (3, 5, 2)], None, (1,)),
    ("B", "7"): shape([(1, 3, 1), (2, 2, 2), (3, 4, 2), (4, 6, 2)], None, (1,)),
    ("D", "m7"): shape([(1, "B"), (2, 4, 2)], (1, 5, 6), (1, 2)),
    ("E", "m7"): shape([(2, 2, 2)]),
    ("A", "m7"): shape([(1, 5, 1), (2, 3, 2)], None, (1,)),
    ("C", "maj7"): shape([(2, 3, 2), (3, 2, 3)], None, (1,)),
    ("D", "maj7"): shape([(1, "B")], (2, 4, 6), (1, 2)),
    ("E", "maj7"): shape([(1, 3, 1), (2, 4, 1), (3, 2, 2)]),
    ("F", "maj7"): shape([(1, 5, 1), (2, 4, 2), (3, 3, 3)], None, (1, 2)),
    ("G", "maj7"): shape([(2, 6, 2), (3, 1, 3)], None, (2,)),
    ("A", "maj7"): shape([(1, 4, 1), (2, 3, 2), (3, 5, 2)], None, (1,)),
    ("E", "9"): shape([(1, 4, 1), (2, 2, 2), (3, 6, 2)]),
    ("G", "9"): shape([(1, 6, 1), (2, 4, 2), (3, 1, 3)], None, (2,)),
    ("A", "9"): shape([(1, 3, 2), (2, 5, 2), (3, 6, 3), (4, 4, 4)], None, (1,)),
    ("E", "m9"): shape([(2, 2, 2), (3, 6, 2)]),
    ("C", "sus4"): shape([(1, "B"), (3, 2, 3), (4, 3, 3)], (1, 5, 6), (1,)),
    ("D", "sus4"): shape([(1, 4, 2), (3, 5, 3), (4, 6, 3)], None, (1, 2)),
    ("E", "sus4"): shape([(2, 2, 2), (3, 3, 2), (4, 4, 2)]),
    ("G", "sus4"): shape([(1, 5, 1), (2, 1, 3), (3, 2, 3), (4, 6, 3)]),
    ("A", "sus4"): shape([(1, 3, 2), (2, 4, 2), (3, 5, 3)], None, (1,)),
    ("C", "add9"): shape([(2, 3, 2), (3, 2, 3), (4, 5, 3)], None, (1,)),
    ("E", "add9"): shape([(1, 4, 1), (2, 2, 2), (3, 3, 2), (4, 6, 2)]),
    ("G", "add9"): shape([(2, 4, 2), (3, 1, 3), (4, 6, 3)], None, (2,)),
    ("A", "add9"): shape([(1, 3, 2), (2, 5, 2), (4, 4, 4)], None, (1,)),
}


def place(form, fret):
    """A movable form at a root fret, in absolute frets."""
    fingers = [f if f[1] == "B" else (f[0], f[1], f[2] + fret) for f in form["fingers"]]
    barre = form["barre"]
    if barre:
        barre = (barre[0] + fret, barre[1], barre[2])
    return {"fingers": fingers, "barre": barre, "muted": form["muted"]}


def frets_of(s):
    frets = []
    for string in range(1, 7):
        if string in s["muted"]:
            frets.append(None)
            continue
        f = 0
        if s["barre"] and s["barre"][1] <= string <= s["barre"][2]:
            f = s["barre"][0]
        for finger in s["fingers"]:
            if finger[1] != "B" and finger[1] == string:
                f = max(f, finger[2])
        frets.append(f)
    return frets


def base_fret(s):
    fretted = [f[2] for f in s["fingers"] if f[1] != "B"]
    if s["barre"]:
        fretted.append(s["barre"][0])
    low, high = min(fretted), max(fretted)
    return 1 if high <= 4 else low


def check(root, quality, s):
    tones, needed = QUALITIES[quality]
    r = ROOTS.index(root)
    frets = frets_of(s)
    sounding = [(OPEN_STRINGS[i] + f) % 12 for i, f in enumerate(frets) if f is not None]
    intervals = {(p - r) % 12 for p in sounding}
    name = root + quality
    assert intervals <= tones, (name, frets, "outside", intervals - tones)
    assert needed <= intervals, (name, frets, "missing", needed - intervals)
    assert (sounding[0] - r) % 12 == 0, (name, frets, "bass is not the root")
    base = base_fret(s)
    used = [f for f in frets if f]
    assert all(base <= f <= base + 4 for f in used), (name, frets, "beyond five rows")
    strings = [f[1] for f in s["fingers"] if f[1] != "B"]
    assert len(strings) == len(set(strings)), (name, "two fingers on a string")
    numbers = [f[0] for f in s["fingers"]]
    assert len(numbers) == len(set(numbers)), (name, "a finger used twice")
    if s["barre"]:
        assert any(f[1] == "B" for f in s["fingers"]), (name, "barre without its finger")
        fret, first, last = s["barre"]
        for f in s["fingers"]:
            if f[1] != "B" and first <= f[1] <= last:
                assert f[2] > fret, (name, "finger on or behind the barre")
    return base


def section(name, version, s, base):
    lines = ["[%s_%d]" % (name, version)]
    if s["barre"]:
        fret, first, last = s["barre"]
        lines += ["BA=", "BS=%d" % first, "BE=%d" % last, "BAF=%d" % fret]
    if base != 1:
        lines.append("BF=%d" % base)
    for number in range(1, 5):
        for f in s["fingers"]:
            if f[0] == number:
                lines.append("F%d=33" % number if f[1] == "B" else "F%d=%d,%d" % (number, f[1], f[2]))
    if s["muted"]:
        lines.append("NS=" + ",".join(str(m) for m in s["muted"]))
    return lines


def shapes_for(root, quality):
    r = ROOTS.index(root)
    out = []
    if (root, quality) in OPEN:
        out.append(OPEN[(root, quality)])
    for form, open_string in ((E_FORM, 4), (A_FORM, 9)):
        if quality not in form:
            continue
        fret = (r - open_string) % 12
        if fret == 0:
            if (root, quality) in OPEN:
                continue  # the open fingering is this form at the nut
            fret = 12
        placed = place(form[quality], fret)
        low = min([f[2] for f in placed["fingers"] if f[1] != "B"] + ([placed["barre"][0]] if placed["barre"] else []))
        if low < 1:
            placed = place(form[quality], fret + 12)
        out.append(placed)
    # Lower positions first after the open one.
    first = out[:1] if (root, quality) in OPEN else []
    rest = out[len(first):]
    rest.sort(key=base_fret)
    return first + rest


def main():
    lines = [
        "; Guitar chord shapes of the chord diagram, written by scripts/make-chordfile.py.",
        "; One section per shape: [chord_version]. BA: the shape has a barre from string",
        "; BS to BE at fret BAF. BF: the fret of the first row. F1..F4: string,fret of",
        "; fingers 1 to 4, or 33 for the finger that holds the barre. NS: muted strings.",
        "; Strings count from 1 (low E) to 6 (high E).",
        "",
    ]
    count = 0
    for root in ROOTS:
        for quality in QUALITIES:
            shapes = shapes_for(root, quality)
            assert shapes, root + quality
            for version, s in enumerate(shapes, 1):
                base = check(root, quality, s)
                lines += section(root + quality, version, s, base)
                lines.append("")
                count += 1
    with open(OUT, "w", newline="\r\n") as f:
        f.write("\n".join(lines))
    print("wrote %d shapes" % count)


if __name__ == "__main__":
    main()
