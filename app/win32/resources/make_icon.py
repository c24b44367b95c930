#!/usr/bin/env python3
"""Draws the program's icon (a track winding across a map sheet) into log2plt.ico."""
import math
import struct
import sys

TRACK = [(0.22, 0.74), (0.38, 0.52), (0.52, 0.62), (0.66, 0.36), (0.80, 0.28)]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def over(dst, src, alpha):
    return tuple(d + (s - d) * alpha for d, s in zip(dst, src))


def pixel(size, x, y):
    u, v = (x + 0.5) / size, (y + 0.5) / size
    colour, alpha = (0, 0, 0), 0.0
    # The sheet: a rounded square of pale blue with a darker rim.
    inset = 0.06
    edge = max(abs(u - 0.5), abs(v - 0.5)) - (0.5 - inset)
    sheet = max(0.0, min(1.0, 0.5 - edge * size))
    if sheet > 0:
        rim = max(0.0, min(1.0, 1.0 - abs(edge * size + 1.0)))
        colour = over((215, 235, 250), (40, 90, 160), rim)
        alpha = sheet
    # The track and its two ends.
    width = max(1.2, size * 0.07)
    d = min(segment_distance(u * size, v * size, a[0] * size, a[1] * size, b[0] * size, b[1] * size)
            for a, b in zip(TRACK, TRACK[1:]))
    colour = over(colour, (0, 150, 40), max(0.0, min(1.0, width / 2 + 0.5 - d)))
    for (cx, cy), dot in ((TRACK[0], (0, 110, 30)), (TRACK[-1], (200, 30, 30))):
        r = math.hypot(u * size - cx * size, v * size - cy * size)
        colour = over(colour, dot, max(0.0, min(1.0, size * 0.09 + 0.5 - r)))
    return colour, alpha


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up, as icon bitmaps are stored
        for x in range(size):
            (r, g, b), a = pixel(size, x, y)
            rows.append(struct.pack('BBBB', round(b), round(g), round(r), round(a * 255)))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b''.join(rows) + b'\0' * (mask_row * size)


def main(path):
    sizes = [16, 24, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'log2plt.ico')
