#!/usr/bin/env python3
"""Checks of a converted film against its recording.

  film_checks.py boxes FILM.mp4
      the top-level boxes in order; fails unless 'moov' comes before 'mdat'.
  film_checks.py flat REC.rgb FILM.rgb WIDTH HEIGHT
      two decodes (rgb24, the same frames): pixels whose 17 x 17
      neighbourhood in the recording is one colour (beyond the reach of a
      transform's ringing) must come back within 2 levels in each channel;
      prints how many were compared."""
import struct
import sys


def boxes(path):
    order = []
    with open(path, "rb") as f:
        while True:
            head = f.read(8)
            if len(head) < 8:
                break
            size, kind = struct.unpack(">I4s", head)
            if size == 1:
                size = struct.unpack(">Q", f.read(8))[0]
                f.seek(size - 16, 1)
            else:
                f.seek(size - 8, 1)
            order.append(kind.decode("latin-1"))
    print(" ".join(order))
    if "moov" not in order or "mdat" not in order or order.index("moov") > order.index("mdat"):
        sys.exit("moov does not come before mdat")


def flat(recorded, converted, width, height, reach=8):
    a = open(recorded, "rb").read()
    b = open(converted, "rb").read()
    if len(a) != len(b) or len(a) % (width * height * 3):
        sys.exit(f"decodes differ in size: {len(a)} and {len(b)} bytes")
    row = width * 3
    compared, worst = 0, 0
    for frame in range(0, len(a), row * height):
        for y in range(reach, height - reach, 6):
            for x in range(reach, width - reach, 6):
                at = frame + y * row + x * 3
                colour = a[at:at + 3]
                # Flat: the whole block around it, as far as a transform's ringing reaches.
                line = colour * (2 * reach + 1)
                if any(a[frame + (y + dy) * row + (x - reach) * 3:][:len(line)] != line
                       for dy in range(-reach, reach + 1)):
                    continue
                compared += 1
                worst = max(worst, max(abs(a[at + c] - b[at + c]) for c in range(3)))
    print(f"{compared} flat pixels compared, largest difference {worst}")
    if compared == 0 or worst > 2:
        sys.exit("flat colours do not come back within 2 levels")


if __name__ == "__main__":
    if sys.argv[1] == "boxes":
        boxes(sys.argv[2])
    else:
        flat(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
