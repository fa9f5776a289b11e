#!/usr/bin/env python3
"""Writes the programs' icon: one 32x32, 16-colour image of a key, as a .ico file.

    make-icon.py [OUTPUT]      (default: resources/Tollvey.ico beside this script's folder)
"""
import math
import os
import struct
import sys

SIZE = 32

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
OUTLINE, BODY, SHADE, SHINE = 0, 11, 3, 15


def in_key(x, y):
    """The key's shape: a ring, a shaft and two teeth, in top-down pixel coordinates."""
    cx, cy = 9.5, 15.5
    distance = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    if 2.6 <= distance <= 7.6:
        return True
    if 16 <= x <= 30 and 14 <= y <= 17:
        return True
    return (21 <= x <= 23 or 26 <= x <= 28) and 18 <= y <= 22


def colour(x, y):
    if not in_key(x, y):
        return None
    neighbours = [(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
    if not all(0 <= nx < SIZE and 0 <= ny < SIZE and in_key(nx, ny) for nx, ny in neighbours):
        return OUTLINE
    if not in_key(x - 1, y - 1):
        return SHINE
    if not in_key(x + 1, y + 1):
        return SHADE
    return BODY


def image_data():
    pixels = [[colour(x, y) for x in range(SIZE)] for y in range(SIZE)]
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        indexes = [0 if p is None else p for p in row]
        xor_rows.append(bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for p in row:
            mask = (mask << 1) | (1 if p is None else 0)
        and_rows.append(mask.to_bytes(SIZE // 8, 'big'))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'Tollvey.ico')
    data = image_data()
    assert len(data) == 744, len(data)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(data), 6 + 16)
    with open(output, 'wb') as f:
        f.write(directory + entry + data)


if __name__ == '__main__':
    main()
