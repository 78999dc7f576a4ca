#!/usr/bin/env python3
"""Writes the two 1-bit dither masks of the gradient caption fill as BMP files.

Each column holds a given number of white pixels, spread over the rows so that neighbouring
columns do not line up; the share of white grows from the left edge to the right edge.
Run from this directory: python3 make_masks.py
"""
import struct

MASK1 = [0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 3, 4, 4, 2, 10, 2, 6, 7, 7, 7, 7, 9, 7, 10, 10, 10, 9, 12,
         9, 14, 9, 16, 10, 15, 14, 13, 16, 14, 16, 14, 17, 17, 17, 17, 19, 19, 18, 21, 18, 20, 22,
         21, 22, 21, 23, 23, 23, 25, 23, 26, 25, 25, 26, 27, 26, 27, 29, 28, 27]
MASK2 = [0, 0, 0, 8, 0, 14, 7, 14, 14, 14, 25, 14, 28, 20]


def rank_order(height):
    """Rows in an order that spreads any first n of them evenly (bit-reversal)."""
    bits = max(1, (height - 1).bit_length())
    def rev(v):
        return int(format(v, "0%db" % bits)[::-1], 2)
    return sorted(range(height), key=rev)


def mask_rows(counts, height):
    order = rank_order(height)
    rows = [[0] * len(counts) for _ in range(height)]
    for x, n in enumerate(counts):
        shift = (x * 7) % height
        for k in range(n):
            rows[(order[k] + shift) % height][x] = 1
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = ((width + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        for x, v in enumerate(row):
            if v:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    with open(path, "wb") as f:
        f.write(header + info + palette + data)


if __name__ == "__main__":
    for name, counts, height in (("dithmask1.bmp", MASK1, 30), ("dithmask2.bmp", MASK2, 28)):
        rows = mask_rows(counts, height)
        assert [sum(r[x] for r in rows) for x in range(len(counts))] == counts
        write_bmp(name, rows)
