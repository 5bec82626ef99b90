#!/usr/bin/env python3
"""Draws the sample provider's logo, examples/kit/Logo.png: a blue dial ring holding an
orange nest and egg, on the exact magenta (255, 0, 255) that the form paints transparent.
Hard edges only, so no pixel blends into the magenta. Run from anywhere:
    python3 scripts/make_logo_png.py [output path]
"""
import os
import struct
import sys
import zlib

SIZE = 40   # the drawing's own grid
PIXELS = 20  # the file's size: the form's logo control is about 20 pixels square
MAGENTA = (255, 0, 255)
BLUE = (24, 92, 196)
ORANGE = (244, 140, 28)
WHITE = (255, 255, 255)


def colour_at(x, y):
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r = (dx * dx + dy * dy) ** 0.5
    if 14.5 <= r <= 19.5:
        # Finger holes of a rotary dial along the upper part of the ring.
        for hx, hy in ((-10.5, -10.5), (0.0, -15.0), (10.5, -10.5), (-15.0, 0.0), (15.0, 0.0)):
            if (dx - hx) ** 2 + (dy - hy) ** 2 <= 2.3 ** 2:
                return WHITE
        return BLUE
    if 7.5 <= r <= 11.5 and dy >= 1.0:
        return ORANGE  # the nest: lower half of a ring
    if dx * dx + (dy + 1.5) ** 2 <= 4.5 ** 2:
        return ORANGE  # the egg
    return MAGENTA


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples", "kit", "Logo.png")
    step = SIZE / PIXELS  # point sampling keeps the edges hard
    raw = b"".join(b"\0" + b"".join(bytes(colour_at((x + 0.5) * step - 0.5, (y + 0.5) * step - 0.5))
                                     for x in range(PIXELS))
                   for y in range(PIXELS))
    header = struct.pack(">IIBBBBB", PIXELS, PIXELS, 8, 2, 0, 0, 0)
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
