#!/usr/bin/env python3
"""Prints the stream headers of an AVI file as stored, one line per stream.

The platform's AVI reader normalises some header fields when it reads them
back, so the tests read the bytes themselves."""
import struct
import sys

STRH = "<4s4sIHHIIIIIIII"


def streams(data):
    pos = 0
    while True:
        pos = data.find(b"strh", pos)
        if pos < 0:
            return
        fields = struct.unpack_from(STRH, data, pos + 8)
        fmt_pos = pos + 8 + struct.unpack_from("<I", data, pos + 4)[0]
        fmt_size = struct.unpack_from("<I", data, fmt_pos + 4)[0] if data[fmt_pos:fmt_pos + 4] == b"strf" else 0
        yield fields, fmt_size
        pos += 4


def main():
    data = open(sys.argv[1], "rb").read()
    for fields, fmt_size in streams(data):
        kind = fields[0].decode("ascii")
        scale, rate, quality, sample_size = fields[6], fields[7], fields[11], fields[12]
        quality = quality - (1 << 32) if quality >= 1 << 31 else quality
        print(f"{kind} scale {scale} rate {rate} quality {quality} samplesize {sample_size} formatsize {fmt_size}")


if __name__ == "__main__":
    main()
