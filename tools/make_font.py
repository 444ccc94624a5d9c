#!/usr/bin/python3
"""Draws the engine's bitmap font picture, Data/Font/font.tga, and the test suite's cell font,
tests/data/font/cells.tga.

The engine font is a 256 x 256 picture of 16 x 16 cells, 16 pixels each, white with the glyph
coverage in alpha. Cell g holds byte 32 + g % 128: glyphs 0 to 127 in DejaVu Sans Mono, 128 to
255 the same bytes in DejaVu Sans Mono Bold. Bytes up to 126 are ASCII, 127 to 159 are drawn as
code page 437 shows them. A glyph sits in the left 12 pixels of its cell, the pen advance, with
its baseline at a fixed row, and rows are stored bottom-up so that the top of the picture is
t = 1 for the font's texture coordinates.

The cell font has one flat colour per cell (red and green tell the column and row, blue is 255,
alpha 128), which lets the tests tell by one pixel which cell was drawn and how often.

Run with Debian's python3 and python3-pil: /usr/bin/python3 tools/make_font.py
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tga  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT_DIR = '/usr/share/fonts/truetype/dejavu'
FACES = ('DejaVuSansMono.ttf', 'DejaVuSansMono-Bold.ttf')

CELL = 16
ADVANCE = 12
GRID = 16
SUPERSAMPLE = 8
# Glyph height: ASCII ink from the top of '`' to the bottom of '|' spans about 1.04 em, which
# at 14.4 pixels fills the 15 rows between half-pixel margins.
SIZE = 14.4
# Slightly wider than the face's own proportions, so the glyphs fill the 12-pixel pen advance.
STRETCH = 1.22
BASELINE = 12.0
# Ink stays inside these bounds (cell pixels); taller or wider glyphs are squeezed to fit, so
# filtering never pulls a neighbour's ink into a cell.
INK_Y = (0.5, 15.5)
INK_X = (0.25, 11.75)


def byte_char(value):
    if value == 127:
        return '\u2302'  # code page 437 draws a house where ASCII has DEL
    return bytes([value]).decode('cp437')


def fit(lo, hi, allowed):
    """Source interval (cell units) that maps onto the cell so that [lo, hi] lands in allowed."""
    a0, a1 = allowed
    s0, s1 = min(lo, a0), max(hi, a1)
    factor = (s1 - s0) / (a1 - a0)
    return s0 - a0 * factor, s0 + (CELL - a0) * factor


def render_glyph(font, char):
    """Coverage (an 'L' image of CELL x CELL) of one character."""
    k = SUPERSAMPLE
    kx = k / STRETCH  # big pixels per cell pixel horizontally
    size = (4 * CELL * k, 4 * CELL * k)
    origin_x, origin_y = CELL * k, 2 * CELL * k
    advance = font.getlength(char) / kx
    left = (ADVANCE - advance) / 2.0
    pen_x = origin_x + left * kx
    pen_y = origin_y + BASELINE * k
    big = Image.new('L', size, 0)
    ImageDraw.Draw(big).text((pen_x, pen_y), char, fill=255, font=font, anchor='ls')
    bbox = big.getbbox()
    if bbox is None:
        return Image.new('L', (CELL, CELL), 0)
    ink_x0 = (bbox[0] - origin_x) / kx
    ink_x1 = (bbox[2] - origin_x) / kx
    ink_y0 = (bbox[1] - origin_y) / k
    ink_y1 = (bbox[3] - origin_y) / k
    src_x0, src_x1 = fit(ink_x0, ink_x1, INK_X)
    src_y0, src_y1 = fit(ink_y0, ink_y1, INK_Y)
    box = (origin_x + src_x0 * kx, origin_y + src_y0 * k,
           origin_x + src_x1 * kx, origin_y + src_y1 * k)
    return big.resize((CELL, CELL), Image.BOX, box=box)


def make_font():
    coverage = Image.new('L', (GRID * CELL, GRID * CELL), 0)
    for half, face in enumerate(FACES):
        font = ImageFont.truetype(os.path.join(FONT_DIR, face), round(SIZE * SUPERSAMPLE))
        for index in range(128):
            glyph = half * 128 + index
            cell = render_glyph(font, byte_char(32 + index))
            coverage.paste(cell, ((glyph % GRID) * CELL, (glyph // GRID) * CELL))
    # White everywhere, so that filtering at glyph edges never darkens the text.
    white = Image.new('L', coverage.size, 255)
    picture = Image.merge('RGBA', (white, white, white, coverage))
    return tga.encode_smallest(picture)


def make_cell_font():
    side = 4  # texels per cell: enough for flat interiors under linear filtering
    picture = Image.new('RGBA', (GRID * side, GRID * side))
    for glyph in range(GRID * GRID):
        col, row = glyph % GRID, glyph // GRID
        colour = (16 * col + 8, 16 * row + 8, 255, 128)
        picture.paste(colour, (col * side, row * side, (col + 1) * side, (row + 1) * side))
    return tga.encode_smallest(picture)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as out:
        out.write(data)
    print('%s: %d bytes' % (os.path.relpath(path, ROOT), len(data)))


def main():
    write(os.path.join(ROOT, 'Data', 'Font', 'font.tga'), make_font())
    write(os.path.join(ROOT, 'tests', 'data', 'font', 'cells.tga'), make_cell_font())


if __name__ == '__main__':
    main()
