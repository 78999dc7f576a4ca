#!/usr/bin/env python3
"""Writes the media dialogs' bitmaps as 24-bit BMP files: the preview button's glyph
(PREVIEWGLYPH, a small screen, 16 by 16) and the picture shown for sounds (SOUNDGLYPH, a
loudspeaker with sound waves, 32 by 32).

Each picture is drawn as character art below; '.' is olive, the transparent colour, which also
takes the bottom-left pixel. Run from this directory: python3 make_glyphs.py
"""
import struct

COLOURS = {
    '.': (128, 128, 0),    # olive: transparent
    'k': (0, 0, 0),
    'g': (128, 128, 128),
    's': (192, 192, 192),
    'w': (255, 255, 255),
    'b': (0, 0, 128),
    'c': (0, 128, 255),
    'y': (255, 255, 0),
}

PREVIEW = """
................
.kkkkkkkkkkkkkk.
.kggggggggggggk.
.kgbbbbbbbbbbgk.
.kgbccbbbbbbbgk.
.kgbcccbbbbbbgk.
.kgbccccbbbbbgk.
.kgbcccccbbbbgk.
.kgbccccbbbbbgk.
.kgbcccbbbbbbgk.
.kgbccbbbbbbbgk.
.kgbbbbbbbbbbgk.
.kggggggggggggk.
.kkkkkkkkkkkkkk.
.....kkkkkk.....
...kkkkkkkkkk...
"""

def speaker():
    """The loudspeaker: a box and a cone on the left, three arcs of waves on the right."""
    w = h = 32
    art = [['.'] * w for _ in range(h)]
    for y in range(12, 20):
        for x in range(3, 9):
            art[y][x] = 'k' if x in (3, 8) or y in (12, 19) else 's'
    for x in range(9, 17):
        half = 4 + (x - 9)
        for y in range(16 - half, 16 + half):
            edge = y == 16 - half or y == 16 + half - 1 or x == 16
            art[y][x] = 'k' if edge else 'g'
    for radius in (5, 9, 13):
        for y in range(h):
            for x in range(17, w):
                d = ((x - 16) ** 2 + (y - 16) ** 2) ** 0.5
                if abs(d - radius) < 0.8 and abs(y - 16) < radius * 0.8:
                    art[y][x] = 'b'
    return "\n".join("".join(r) for r in art)

def rows_of(art):
    rows = [line for line in art.strip("\n").split("\n")]
    assert all(len(r) == len(rows[0]) for r in rows), "ragged picture"
    return rows

def write_bmp(path, art):
    rows = rows_of(art)
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for ch in row:
            r, g, b = COLOURS[ch]
            line += bytes([b, g, r])
        line += bytes(stride - len(line))
        data += line
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)

if __name__ == "__main__":
    write_bmp("preview.bmp", PREVIEW)
    write_bmp("sound.bmp", speaker())
