#!/usr/bin/env python3
"""Writes the media dialogs' bitmaps as 24-bit BMP files: the preview button's glyph
(PREVIEWGLYPH, a small screen, 16 by 16) and the picture shown for sounds (SOUNDGLYPH, a
loudspeaker with sound waves, 32 by 32).

Each picture is drawn as character art below; '.' is olive, the transparent colour, which also
takes the bottom-left pixel. Run from this directory: python3 make_glyphs.py (it writes them with
the cool controls' BMP writer).
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "coolctrls", "res"))
from make_glyphs import write_bmp as write_bmp_coloured  # noqa: E402

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

def write_bmp(path, art):
    write_bmp_coloured(path, art, COLOURS)


if __name__ == "__main__":
    write_bmp("preview.bmp", PREVIEW)
    write_bmp("sound.bmp", speaker())
