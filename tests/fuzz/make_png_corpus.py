#!/usr/bin/env python3
"""Writes the seed corpus of the PNG decoder's fuzz target: tiny images of every colour
type, bit depth and interlacing that the decoder handles. Run from anywhere:
    python3 tests/fuzz/make_png_corpus.py
"""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "png_image")
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def pack_row(pixels, depth):
    """Pixels are tuples of samples; returns the filter byte 0 and the packed samples."""
    samples = [s for p in pixels for s in p]
    if depth == 16:
        return b"\0" + b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return b"\0" + bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc, bits = (acc << depth) | s, bits + depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return b"\0" + bytes(out)


def png(pixels, depth, colour, interlaced=False, extra=b""):
    height, width = len(pixels), len(pixels[0])
    raw = b""
    if interlaced:
        for x0, y0, dx, dy in ADAM7:
            for y in range(y0, height, dy):
                row = pixels[y][x0::dx]
                if row:
                    raw += pack_row(row, depth)
    else:
        raw = b"".join(pack_row(row, depth) for row in pixels)
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 1 if interlaced else 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def image(width, height, colour, depth):
    top = (1 << depth) - 1
    return [[tuple((x * 7 + y * 13 + c * 5) % (top + 1) for c in range(CHANNELS[colour]))
             for x in range(width)] for y in range(height)]


def main():
    os.makedirs(HERE, exist_ok=True)
    palette = chunk(b"PLTE", bytes([255, 0, 255, 0, 0, 255, 255, 128, 0, 0, 0, 0]))
    seeds = {
        "grey1.png": png(image(9, 3, 0, 1), 1, 0),
        "grey2_trns.png": png(image(5, 4, 0, 2), 2, 0, extra=chunk(b"tRNS", b"\0\1")),
        "palette2_trns.png": png(image(6, 3, 3, 2), 2, 3,
                                 extra=palette + chunk(b"tRNS", b"\0\x80")),
        "palette2_interlaced.png": png(image(9, 9, 3, 2), 2, 3, True, extra=palette),
        "rgb8.png": png(image(4, 4, 2, 8), 8, 2),
        "rgba8_interlaced.png": png(image(10, 9, 6, 8), 8, 6, True),
        "grey_alpha8.png": png(image(3, 2, 4, 8), 8, 4),
        "rgb16.png": png(image(2, 2, 2, 16), 16, 2,
                         extra=chunk(b"zTXt", b"Comment\0\0" + zlib.compress(b"logo" * 8))),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
