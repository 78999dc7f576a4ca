#!/usr/bin/env python3
"""Writes the track bar's thumbs as 24-bit BMP files: the horizontal bar's thumb pointing down
(THUMB_HORZ), the vertical bar's pointing right (THUMB_VERT), and their looks while dragged or
disabled (THUMB_HORZ_INVERT, THUMB_VERT_INVERT), whose face is dark.

'.' is olive, the thumbs' transparent colour, which also takes the bottom-left pixel.
Run from this directory: python3 make_thumbs.py
"""
from make_glyphs import write_bmp

# 11 by 19: a raised face, highlight top and left, shadow and outline right, a point below.
HORZ = """
wwwwwwwwwwk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
wssssssssgk
.wssssssgk.
..wssssgk..
...wssgk...
....wgk....
.....k.....
"""


def transposed(art):
    rows = art.strip("\n").split("\n")
    cols = ["".join(r[c] for r in rows) for c in range(len(rows[0]))]
    return "\n" + "\n".join(cols) + "\n"


def with_transparent_corner(art):
    """The bottom-left pixel names the transparent colour: make it olive."""
    rows = art.strip("\n").split("\n")
    rows[-1] = "." + rows[-1][1:]
    return "\n" + "\n".join(rows) + "\n"


# 19 by 11: the same thumb turned to point right (highlight top and left, outline below).
VERT = with_transparent_corner(transposed(HORZ))


def inverted(art):
    return art.replace("s", "b")


if __name__ == "__main__":
    write_bmp("thumbhorz.bmp", HORZ)
    write_bmp("thumbvert.bmp", VERT)
    write_bmp("thumbhorzinv.bmp", inverted(HORZ))
    write_bmp("thumbvertinv.bmp", inverted(VERT))
