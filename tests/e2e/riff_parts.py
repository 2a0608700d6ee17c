#!/usr/bin/env python3
"""Walks the RIFF parts of an AVI 2.0 file by their headers alone and prints
one line per part. Fails unless the first part is 'AVI ' and the others
'AVIX', each no larger than MAX_BYTES, each 'AVIX' part one 'movi' list
that fills it, and the parts end exactly at the end of the file: a size
field left stale shows as a gap or an overrun.

Usage: riff_parts.py FILE.avi MAX_BYTES"""
import os
import struct
import sys


def parts(f, file_size):
    pos = 0
    while pos < file_size:
        f.seek(pos)
        head = f.read(24)
        if len(head) < 12:
            raise ValueError(f"a torn part header at {pos}")
        ident, size, form = struct.unpack_from("<4sI4s", head)
        yield pos, ident, size, form, head[12:]
        pos += 8 + size + (size & 1)
    if pos != file_size:
        raise ValueError(f"the last part ends at {pos}, the file at {file_size}")


def check(pos, ident, size, form, rest, max_bytes):
    expected = b"AVI " if pos == 0 else b"AVIX"
    if ident != b"RIFF" or form != expected:
        raise ValueError(f"at {pos}: {ident!r} {form!r}, not RIFF {expected!r}")
    if 8 + size > max_bytes:
        raise ValueError(f"the part at {pos} takes {8 + size} bytes")
    movi = (b"LIST", size - 12, b"movi")
    if pos and (len(rest) < 12 or struct.unpack_from("<4sI4s", rest) != movi):
        raise ValueError(f"the part at {pos} is not one 'movi' list")


def main():
    path, max_bytes = sys.argv[1], int(sys.argv[2])
    count = 0
    try:
        with open(path, "rb") as f:
            for pos, ident, size, form, rest in parts(f, os.path.getsize(path)):
                check(pos, ident, size, form, rest, max_bytes)
                print(f"{form.decode('ascii')} at {pos}, {8 + size} bytes")
                count += 1
    except ValueError as e:
        print(f"bad parts: {e}")
        sys.exit(1)
    print(f"parts {count}")


if __name__ == "__main__":
    main()
