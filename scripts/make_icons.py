#!/usr/bin/env python3
"""Draws Dialnest's icons (a telephone dial resting in a nest) and writes them as .ico files
of 32-bit images with alpha. Run from the repository root.

Dialnest.ico (icon 128) is the program file's icon, which the shell shows at every size.
DialnestSmall.ico (icon 139) is loaded only by LoadIcon, which takes the image of the
system's large-icon size (32 pixels at 96 DPI, 48 at 144 DPI, 64 at 192 DPI), so it
carries no smaller images: no Windows would ever show them."""
import math
import struct

SIZES = (16, 24, 32, 48)


def shade(x, y, n, face, ring, nest):
    """Colour (r, g, b, a) of the point (x, y) in a unit square."""
    cx, cy = 0.5, 0.44
    d = math.hypot(x - cx, y - cy)
    # The nest: an orange bowl under the dial.
    if y > 0.55 and abs((x - 0.5) / 0.48) ** 2 + abs((y - 0.62) / 0.34) ** 2 <= 1.0:
        stripe = int((y - 0.55) * 18) % 2
        return nest[stripe] + (255,)
    if d <= 0.40:
        if d >= 0.34:
            return ring + (255,)
        # Ten finger holes around the dial.
        for k in range(10):
            a = math.radians(-60 + k * 27)
            hx, hy = cx + 0.24 * math.cos(a), cy + 0.24 * math.sin(a)
            if math.hypot(x - hx, y - hy) <= 0.055:
                return (255, 255, 255, 255)
        if d <= 0.09:
            return ring + (255,)
        return face + (255,)
    return (0, 0, 0, 0)


def render(n, face, ring, nest):
    s = 4  # supersampling
    pixels = []
    for py in range(n):
        row = []
        for px in range(n):
            acc = [0, 0, 0, 0]
            for sy in range(s):
                for sx in range(s):
                    c = shade((px + (sx + 0.5) / s) / n, (py + (sy + 0.5) / s) / n, n, face, ring, nest)
                    a = c[3]
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            a = acc[3] / (s * s)
            if acc[3]:
                row.append(tuple(int(v / acc[3]) for v in acc[:3]) + (int(a),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def dib(pixels):
    n = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('BBBB', b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((n + 31) // 32) * 4
    andmask = b''
    for row in reversed(pixels):
        bits = 0
        out = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(out)
    return header + xor + andmask


def write_ico(path, face, ring, nest, sizes=SIZES):
    images = [dib(render(n, face, ring, nest)) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    nest = ((200, 120, 40), (170, 95, 25))
    write_ico('res/icons/Dialnest.ico', (40, 110, 200), (20, 50, 110), nest)
    write_ico('res/icons/DialnestSmall.ico', (40, 150, 90), (20, 80, 50), nest, (32, 48))
