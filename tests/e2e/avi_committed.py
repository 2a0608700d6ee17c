#!/usr/bin/env python3
"""What a reader of an AVI 2.0 file gets from its header and index alone,
for a recording that may have been cut off (a killed program, a full disk):
the index followed with avi_index.py's reader, the lengths the stream
headers claim, and what lies in the file past the last RIFF part.

Prints the lines of avi_index.py, then
    video positions=N empty=E length=L seconds=S
    audio samples=N length=L seconds=S        (with a sound stream)
    movi chunks=N unindexed=U largest=L
    tail chunks=K end=E torn=T
where positions and samples are what the index holds (empty: positions
the recording skipped, an empty chunk each) and length is the stream
header's dwLength; movi counts the stream chunks inside the parts' 'movi'
lists, those of them that no index entry lists (a kill between the writes
of a commit leaves some) and the size of the largest; tail counts the
whole chunks written after the last part's end (not yet committed), where
they end, and the bytes of a last chunk cut short.

Fails when the index is broken (see avi_index.py), when an indexed chunk's
data is not wholly inside the file and its part's 'movi' list, or when a
RIFF part claims more bytes than the file holds.

Usage: avi_committed.py FILE.avi"""
import os
import struct
import sys

# The sibling reader, imported without leaving compiled files in the tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import avi_index  # noqa: E402


class Bad(Exception):
    pass


def stream_headers(f):
    """(type, scale, rate, length, samples per second) of each stream."""
    f.seek(12)
    ident, size, form = struct.unpack("<4sI4s", f.read(12))
    if ident != b"LIST" or form != b"hdrl":
        raise Bad("no header list after the RIFF header")
    data = f.read(size - 4)
    found = []
    for ident, at, size in avi_index.chunks(data, 0, len(data)):
        if ident != b"LIST" or data[at:at + 4] != b"strl":
            continue
        kind = scale = rate = length = per_second = None
        for sub, sat, _ in avi_index.chunks(data, at + 4, at + size):
            if sub == b"strh":
                kind = data[sat:sat + 4]
                scale, rate, _, length = struct.unpack_from("<IIII", data, sat + 20)
            elif sub == b"strf" and kind == b"auds":
                per_second = struct.unpack_from("<I", data, sat + 4)[0]
        found.append((kind, scale, rate, length, per_second))
    return found


def movi_lists(f, file_size):
    """The (first, end) byte range of each part's 'movi' list data, and
    where the last part ends."""
    lists, pos = [], 0
    while pos + 12 <= file_size:
        f.seek(pos)
        ident, size, form = struct.unpack("<4sI4s", f.read(12))
        if ident != b"RIFF":
            break
        end = pos + 8 + size
        if end > file_size:
            raise Bad(f"the part at {pos} claims {end - file_size} bytes past the end of the file")
        at = pos + 12
        while at + 12 <= end:
            f.seek(at)
            sub, sub_size, sub_form = struct.unpack("<4sI4s", f.read(12))
            if sub == b"LIST" and sub_form == b"movi":
                if at + 8 + sub_size > end:
                    raise Bad(f"the 'movi' list at {at} runs past its part")
                lists.append((at + 12, at + 8 + sub_size))
            at += 8 + sub_size + (sub_size & 1)
        pos = end + (size & 1)
    if not lists:
        raise Bad("no 'movi' list")
    return lists, pos


def check_inside(name, found, lists):
    for pos, size in found:
        if not any(first <= pos and pos + 8 + size <= end for first, end in lists):
            raise Bad(f"the {name} chunk at {pos} ({size} bytes) is not inside a 'movi' list")


def movi_chunks(f, lists, names, indexed):
    """The stream chunks in the 'movi' lists, how many of them are not
    indexed, and the largest one's size."""
    count = unindexed = largest = 0
    for first, end in lists:
        pos = first
        while pos + 8 <= end:
            f.seek(pos)
            ident, size = struct.unpack("<4sI", f.read(8))
            if ident in names:
                count += 1
                largest = max(largest, size)
                unindexed += (pos, size) not in indexed
            pos += 8 + size + (size & 1)
    return count, unindexed, largest


def tail(f, pos, file_size):
    """Whole chunks from pos on, where they end and the bytes left over."""
    whole = 0
    while pos + 8 <= file_size:
        f.seek(pos)
        size = struct.unpack("<4xI", f.read(8))[0]
        if pos + 8 + size + (size & 1) > file_size:
            break
        pos += 8 + size + (size & 1)
        whole += 1
    return whole, pos, file_size - pos


def main():
    path = sys.argv[1]
    file_size = os.path.getsize(path)
    with open(path, "rb") as f:
        try:
            lists, parts_end = movi_lists(f, file_size)
            infos, movi, idx1 = avi_index.header(f)
            indexed = [avi_index.follow(f, align, indx) for align, indx in infos]
            if idx1:
                avi_index.check_idx1(f, movi, idx1, dict(indexed), idx1[0])
            for name, found in indexed:
                check_inside(name, found, lists)
            headers = stream_headers(f)
            if len(headers) != len(indexed):
                raise Bad(f"{len(headers)} stream headers, {len(indexed)} indexes")
            for (kind, scale, rate, length, per_second), (_, found), (align, _) in zip(
                    headers, indexed, infos):
                if kind == b"vids":
                    empty = sum(1 for _, size in found if size == 0)
                    print(f"video positions={len(found)} empty={empty} length={length} "
                          f"seconds={len(found) * scale / rate:.3f}")
                elif kind == b"auds":
                    samples = sum(size for _, size in found) // align
                    print(f"audio samples={samples} length={length} "
                          f"seconds={samples / per_second:.3f}")
            count, unindexed, largest = movi_chunks(
                f, lists, {name.encode() for name, _ in indexed},
                {chunk for _, found in indexed for chunk in found})
            print(f"movi chunks={count} unindexed={unindexed} largest={largest}")
            whole, end, torn = tail(f, parts_end, file_size)
            print(f"tail chunks={whole} end={end} torn={torn}")
        except (Bad, avi_index.Bad, struct.error) as e:
            print(f"bad file: {e}")
            sys.exit(1)


if __name__ == "__main__":
    main()
