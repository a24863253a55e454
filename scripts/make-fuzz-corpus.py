#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses into tests/fuzz/corpus/:
a few small valid inputs per reader, and a few near misses."""
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "corpus")


def put(harness, name, data):
    folder = os.path.join(ROOT, harness)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- The archive's encodings -------------------------------------------------
def a_int(v):
    return struct.pack("<i", v)


def a_bool(v):
    return bytes((1 if v else 0,))


def a_float(v):
    return struct.pack("<f", v)


def a_str(s):
    b = s.encode("latin-1")
    n = len(b)
    if n < 0xFF:
        return bytes((n,)) + b
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n) + b
    return b"\xff\xff\xff" + struct.pack("<I", n) + b


def a_strs(items):
    return a_int(len(items)) + b"".join(a_str(s) for s in items)


def a_ints(items):
    return a_int(len(items)) + b"".join(a_int(v) for v in items)


# --- Document files in layout 20 ---------------------------------------------
def doc20(chords, bass, lyrics=(), rows=(), key="C", path="C:\\songs\\a.wav", title="Song", length=12000):
    """chords: (name, root, time, bass, suffix, major, visible, confidence);
    bass: (octave, placement, time, pitch, visible, level)."""
    out = a_int(20) + a_bool(True) + a_int(1) + a_int(-2) + a_int(3) + a_float(440.0)
    out += a_str(key) + a_bool(False) + a_str(path) + a_bool(bool(chords))
    out += a_strs(list(lyrics))
    out += a_strs([c[0] for c in chords])
    for i in (1, 2, 3):
        out += a_ints([c[i] for c in chords])
    for i in (0, 1, 2):
        out += a_ints([b[i] for b in bass])
    out += a_ints([57, 60]) + a_ints([0, 500]) + a_ints([64]) + a_ints([250])
    out += a_strs([c[4] for c in chords])
    for i in (3, 4, 5):
        out += a_ints([b[i] for b in bass])
    out += a_int(len(chords)) + b"".join(a_bool(c[5]) for c in chords)
    out += a_ints([c[6] for c in chords]) + a_ints([c[7] for c in chords])
    out += a_int(length) + a_str(title) + a_strs(list(rows))
    return out


def docfile():
    chords = [("C", 0, 0, -1, "", True, 1, 90), ("Am", 9, 2000, 4, "7", False, 1, 70),
              ("G", 7, 4000, -1, "sus4", True, 0, 100)]
    bass = [(2, 10, 0, 36, 1, 80), (2, 40, 2000, 45, 1, 60)]
    full = doc20(chords, bass, lyrics=["first line", "", "third"], rows=["C", "-", "Am"])
    put("docfile", "layout20-full.vqx", full)
    put("docfile", "layout20-empty.vqx", doc20([], [], key="", path="", title=""))
    put("docfile", "layout20-truncated.vqx", full[: len(full) // 2])
    put("docfile", "layout0-short.vqx", a_int(0) + a_bool(False) + a_int(0) * 4)
    put("docfile", "layout18-short.vqx", a_int(18) + a_bool(True) + a_int(2) * 4)
    put("docfile", "layout19.vqx", a_int(19))
    # The longest song the program takes (4 hours) and one millisecond more;
    # more lyric lines than a song has rows.
    put("docfile", "layout20-longest.vqx", doc20([], [], lyrics=["a"] * 3, length=4 * 3600 * 1000))
    put("docfile", "layout20-too-long.vqx", doc20([], [], length=4 * 3600 * 1000 + 1))
    put("docfile", "layout20-lyrics-beyond.vqx", doc20([], [], lyrics=[""] * 4802))


def archive_string():
    put("archive_string", "short.bin", a_str("hello") + a_str(""))
    put("archive_string", "long.bin", a_str("x" * 300))
    put("archive_string", "wide.bin", b"\xff\xfe\xff\x03" + "abc".encode("utf-16-le"))
    put("archive_string", "huge-length.bin", b"\xff\xff\xff\xfe\xff\xff\xff")


# --- WAV files ---------------------------------------------------------------
def wav(channels, bits, frames, extra=b""):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, 8000, 8000 * block, block, bits)
    data = bytes((i * 37) & 0xFF for i in range(frames * block))
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + extra
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wave():
    put("wave", "stereo16.wav", wav(2, 16, 16))
    put("wave", "mono8.wav", wav(1, 8, 16))
    put("wave", "list-chunk.wav", wav(2, 16, 8, extra=b"LIST" + struct.pack("<I", 5) + b"INFOx\0"))
    put("wave", "short-data.wav", wav(2, 16, 16)[:60])


# --- Skin bitmaps ------------------------------------------------------------
def bmp(width, height, bits, colours):
    stride = ((width * bits + 31) // 32) * 4
    palette = b"".join(bytes((i * 40 & 0xFF, i * 80 & 0xFF, i * 20 & 0xFF, 0)) for i in range(colours))
    pixels = bytes((i * 7) & 0xFF for i in range(stride * height))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, colours, 0)
    return header + info + palette + pixels


def skin_bitmap():
    put("skin_bitmap", "rgb24.bmp", bmp(3, 2, 24, 0))
    put("skin_bitmap", "pal8.bmp", bmp(5, 3, 8, 4))
    put("skin_bitmap", "pal4.bmp", bmp(4, 2, 4, 16))
    put("skin_bitmap", "cut.bmp", bmp(5, 3, 8, 4)[:70])


# --- Text files --------------------------------------------------------------
def texts():
    put("language", "two.txt", "Notes before the sections.\r\n[English]\r\n1=Untitled song\r\n5=Error %d\r\nend\r\n"
        "[Deutsch]\r\n1=Unbenannt\r\n46=Unbekannt\r\nend\r\n")
    put("language", "no-end.txt", "[English]\n1=a\n2147483648=b\n-3=c\n=d\n")
    put("language", "empty-name.txt", "[]\n1=x\nend\n[Other\n")
    put("settings", "set.ton", "[Language]=1\r\n[Skin]=0\r\n[Volume]=50\r\n")
    put("settings", "odd.ton", "[Volume]=99999999999\n[Language]\n\n[Skin]=-4")
    put("settings", "empty.ton", "")
    cue = ("FILE \"my disc.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
           "  TRACK 02 AUDIO\r\n    INDEX 00 00:02:10\r\n    INDEX 01 00:04:00\r\n")
    put("cue_sheet", "two-tracks.cue", cue)
    put("cue_sheet", "no-index.cue", "FILE \"a.bin\" BINARY\n  TRACK 01 AUDIO\n")
    put("cue_sheet", "ranges.txt", "0-10,20-30")
    put("ini_file", "shapes.ini", "; comment\r\n\r\n[C_1]\r\nF1=5,1\r\nF2=3,2\r\nNS=1\r\n\r\n"
        "[C_2]\r\nBA=\r\nBS=2\r\nBE=6\r\nBAF=3\r\n; note\r\n")
    put("ini_file", "bad-line.ini", "[A]\nx=1\n\x01junk\n[B]\ny=2\n")
    put("ini_file", "no-section.ini", "k=v\n[unclosed\n=\n")


docfile()
archive_string()
wave()
skin_bitmap()
texts()
