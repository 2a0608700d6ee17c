#!/usr/bin/env python3
"""Writes SelectionCursor.cur: the selection window's 32 x 32 colour cursor,
a cross-hair with a pencil below and right of it, hot spot (16, 15).
Run it from anywhere; it writes next to itself. The output is the same
bytes every time."""

import os
import struct

SIZE = 32
HOT_X, HOT_Y = 16, 15

# 16-colour palette (only the first seven are used), as (red, green, blue).
PALETTE = [
    (0, 0, 0),  # 0 black: the cross and the pencil's outline
    (255, 255, 255),  # 1 white: halo around the cross
    (255, 204, 0),  # 2 yellow: pencil body
    (232, 190, 140),  # 3 bare wood
    (240, 128, 150),  # 4 pink eraser
    (160, 160, 160),  # 5 metal band
    (64, 64, 64),  # 6 graphite tip
] + [(0, 0, 0)] * 9

CLEAR = None


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]
    cross = set()
    for d in range(3, 13):
        cross.update({(HOT_X - d, HOT_Y), (HOT_X + d, HOT_Y), (HOT_X, HOT_Y - d), (HOT_X, HOT_Y + d)})
    cross.add((HOT_X, HOT_Y))
    for x, y in cross:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE:
                    px[y + dy][x + dx] = 1
    for x, y in cross:
        px[y][x] = 0

    # The pencil lies on the diagonal from its tip at (20, 19) down to the
    # bottom-right corner; a is the distance along it, b across it.
    for y in range(SIZE):
        for x in range(SIZE):
            a = (x - 20) + (y - 19)
            b = (x - 20) - (y - 19)
            if a < 0 or a > 22:
                continue
            half = min(a, 4) if a < 6 else 4
            if abs(b) > half:
                continue
            if abs(b) == half and a >= 2:
                colour = 0
            elif a < 2:
                colour = 6
            elif a < 6:
                colour = 3
            elif a < 17:
                colour = 2
            elif a < 19:
                colour = 5
            else:
                colour = 4
            px[y][x] = colour
    return px


def cursor_bytes(px):
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = px[y]
        nibbles = [0 if c is CLEAR else c for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (1 if c is CLEAR else 0)
        and_rows.append(struct.pack(">I", mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor, and_mask = b"".join(xor_rows), b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(xor) + len(and_mask),
                         0, 0, 16, 0)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    return directory + entry + image


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "SelectionCursor.cur")
    with open(path, "wb") as f:
        f.write(cursor_bytes(draw()))


if __name__ == "__main__":
    main()
