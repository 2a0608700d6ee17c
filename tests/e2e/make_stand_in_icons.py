#!/usr/bin/env python3
"""Writes the two tray icons of app_stand_in.exe into the folder given:
stand_in_idle.ico (a green disc with a white bar, 32 x 32 only, so the tray
scales it) and stand_in_recording.ico (a red disc with a white square, in
16 x 16 and 32 x 32). Clear outside the discs, so masks matter."""

import os
import struct
import sys


def pixel(size, x, y, disc, mark):
    c = (size - 1) / 2
    r2 = (x - c) ** 2 + (y - c) ** 2
    if r2 > (size / 2 - 0.5) ** 2:
        return None
    u, v = x / size, y / size
    if mark == "bar" and 0.4 <= v < 0.6 and 0.2 <= u < 0.8:
        return (255, 255, 255)
    if mark == "square" and 0.35 <= u < 0.65 and 0.35 <= v < 0.65:
        return (255, 255, 255)
    return disc


def image(size, disc, mark):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows bottom-up, AND mask."""
    rows = [[pixel(size, x, y, disc, mark) for x in range(size)] for y in range(size)]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(
        bytes((p[2], p[1], p[0], 255)) if p else bytes(4)
        for row in reversed(rows)
        for p in row
    )
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, "big")
    return header + colour + mask


def write_ico(path, images):
    count = len(images)
    directory = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    data = b""
    for size, blob in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    with open(path, "wb") as f:
        f.write(directory + data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    green, red = (0, 160, 60), (210, 20, 20)
    write_ico(os.path.join(out, "stand_in_idle.ico"), [(32, image(32, green, "bar"))])
    write_ico(
        os.path.join(out, "stand_in_recording.ico"),
        [(16, image(16, red, "square")), (32, image(32, red, "square"))],
    )


main()
