#!/usr/bin/env python3
"""Follows the index of an AVI 2.0 file as a seeking reader does, since
players that read the chunks in file order never look at it: each stream's
super index, the standard index chunks it lists and the chunk each entry
points at; and the legacy 'idx1' of the first part. Prints one line per
stream (chunks, data bytes, duration) and one for 'idx1'.

Fails when an entry points at anything but a chunk of its stream with the
entry's size, when a stream's entries go backwards in the file, when a
super index entry's duration is not its entries', or when 'idx1' lists
other chunks than the standard index chunks of the first part.

Usage: avi_index.py FILE.avi"""
import struct
import sys


class Bad(Exception):
    pass


def chunks(data, pos, end):
    """(id, data offset, size) of the chunks from pos to end of a buffer."""
    while pos + 8 <= end:
        ident, size = struct.unpack_from("<4sI", data, pos)
        yield ident, pos + 8, size
        pos += 8 + size + (size & 1)


def header(f):
    """Each stream's block align and super index; where the first part's
    'movi' form type lies, and the data of its 'idx1'."""
    f.seek(0)
    riff, hdrl_size = struct.unpack("<4xI8xI", f.read(20))
    f.seek(0)
    top = f.read(20 + hdrl_size)
    streams, movi, idx1 = [], None, None
    for ident, at, size in chunks(top, 12, len(top)):
        if ident == b"LIST" and top[at:at + 4] == b"hdrl":
            streams = stream_lists(top, at + 4, at + size)
    pos = len(top)
    while pos < 8 + riff:
        f.seek(pos)
        ident, size, form = struct.unpack("<4sI4s", f.read(12))
        if ident == b"LIST" and form == b"movi":
            movi = pos + 8
        elif ident == b"idx1":
            idx1 = (pos + 8, size)
        pos += 8 + size + (size & 1)
    return streams, movi, idx1


def stream_lists(data, pos, end):
    streams = []
    for ident, at, size in chunks(data, pos, end):
        if ident != b"LIST" or data[at:at + 4] != b"strl":
            continue
        kind, align, indx = None, 1, None
        for sub, sat, ssize in chunks(data, at + 4, at + size):
            if sub == b"strh":
                kind = data[sat:sat + 4]
            elif sub == b"strf" and kind == b"auds":
                align = struct.unpack_from("<H", data, sat + 12)[0]
            elif sub == b"indx":
                indx = data[sat:sat + ssize]
        streams.append((align, indx))
    return streams


def follow(f, align, indx):
    """Checks one stream's index; returns its chunks as (position, size)."""
    if indx is None:
        raise Bad("a stream without a super index")
    used, chunk_id = struct.unpack_from("<4xI4s", indx)
    found, last = [], -1
    for n in range(used):
        offset, _, duration = struct.unpack_from("<QII", indx, 24 + 16 * n)
        f.seek(offset)
        head = f.read(32)
        count, base = struct.unpack_from("<12xI4xQ", head)
        entries = f.read(8 * count)
        total = 0
        for i in range(count):
            rel, size = struct.unpack_from("<II", entries, 8 * i)
            size &= 0x7FFFFFFF
            pos = base + rel - 8
            f.seek(pos)
            if f.read(8) != struct.pack("<4sI", chunk_id, size) or pos <= last:
                raise Bad(f"{chunk_id.decode()} entry {i} of index chunk {n} at {pos}")
            found.append((pos, size))
            last = pos
            total += size // align if align > 1 else 1
        if total != duration:
            raise Bad(f"index chunk {n} of {chunk_id.decode()}: "
                      f"duration {duration}, entries {total}")
    name = chunk_id.decode()
    print(f"{name}: {len(found)} chunks, {sum(s for _, s in found)} bytes, duration "
          f"{sum(s // align for _, s in found) if align > 1 else len(found)}")
    return name, found


def check_idx1(f, movi, idx1, streams, first_part_end):
    at, size = idx1
    f.seek(at)
    data = f.read(size)
    listed = {name: [] for name in streams}
    for n in range(size // 16):
        ident, _, rel, length = struct.unpack_from("<4sIII", data, 16 * n)
        listed.setdefault(ident.decode(), []).append((movi + rel, length))
    for name, found in streams.items():
        if listed[name] != [c for c in found if c[0] < first_part_end]:
            raise Bad(f"idx1 lists other {name} chunks than the first part's index")
    print("idx1: " + ", ".join(f"{len(v)} {k}" for k, v in listed.items()))


def main():
    with open(sys.argv[1], "rb") as f:
        try:
            infos, movi, idx1 = header(f)
            streams = dict(follow(f, align, indx) for align, indx in infos)
            if idx1:
                check_idx1(f, movi, idx1, streams, idx1[0])
        except (Bad, struct.error) as e:
            print(f"bad index: {e}")
            sys.exit(1)


if __name__ == "__main__":
    main()
