#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora: tiny TGA files into tests/fuzz/corpus_tga/ and tiny
BMP files into tests/fuzz/corpus_bmp/. Each seed reaches a different path of its decoder (both
TGA image types and depths, packets across row ends, an image ID, the failures; BMP depths from
1 to 32 bits, bit-field masks, top-down rows, the old core header, a short file), so the fuzzer
starts from inputs that already pass the header checks.

It also writes tests/fuzz/regressions_bmp/: inputs the BMP target found that make the loader
read past SDL's pixel buffer (an unsupported bit depth with a row too long for SDL's 16-bit
pitch gives a surface whose pitch is 0). They are replayed by a test that stays disabled until
the loader checks the surface's layout.

Run: python3 tools/make_fuzz_seeds.py (standard library only).
"""

import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TGA_DIR = os.path.join(ROOT, 'tests', 'fuzz', 'corpus_tga')
BMP_DIR = os.path.join(ROOT, 'tests', 'fuzz', 'corpus_bmp')
BMP_REGRESSION_DIR = os.path.join(ROOT, 'tests', 'fuzz', 'regressions_bmp')


def tga_header(image_type, width, height, bits, id_length=0, descriptor=0):
    return struct.pack('<BBBHHBHHHHBB', id_length, 0, image_type, 0, 0, 0, 0, 0, width, height,
                       bits, descriptor)


def tga_seeds():
    yield 'type2_24bit_3x2.tga', tga_header(2, 3, 2, 24) + bytes(range(18))
    yield 'type2_32bit_2x2.tga', tga_header(2, 2, 2, 32, descriptor=8) + bytes(
        [10, 20, 30, 40, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13])
    yield 'type10_32bit_run.tga', tga_header(10, 2, 2, 32) + bytes([131, 10, 20, 30, 40])
    # Raw 2, a run of 3 over the row end, raw 1; with a 4-byte image ID.
    yield 'type10_24bit_mixed_id.tga', tga_header(10, 3, 2, 24, id_length=4) + b'seed' + bytes(
        [1, 1, 2, 3, 4, 5, 6, 130, 7, 8, 9, 0, 10, 11, 12])
    yield 'type10_too_many.tga', tga_header(10, 2, 2, 24) + bytes([132, 1, 2, 3])
    yield 'type10_short.tga', tga_header(10, 4, 4, 32) + bytes([129, 1, 2, 3, 4, 2, 5])
    yield 'type3_grey.tga', tga_header(3, 2, 1, 8) + bytes([0, 255])
    yield 'type2_16bit.tga', tga_header(2, 1, 1, 16) + bytes([0x1f, 0x7c])


def bmp_file(width, height, bits, pixel_rows, palette=b'', compression=0, masks=b'',
             header_size=40):
    """A BMP with the given DIB header size; rows are padded to 4 bytes here."""
    stride = (width * bits + 31) // 32 * 4
    data = b''.join(row.ljust(stride, b'\0') for row in pixel_rows)
    if header_size == 12:
        dib = struct.pack('<IHHHH', 12, width, abs(height), 1, bits)
    else:
        colours = len(palette) // 4
        dib = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, len(data),
                          2835, 2835, colours, 0)
    offset = 14 + len(dib) + len(masks) + len(palette)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return file_header + dib + masks + palette + data


def bmp_seeds():
    rgb = [bytes([0, 0, 255, 0, 255, 0, 255, 0, 0]), bytes([255, 255, 255, 0, 0, 0, 9, 99, 199])]
    yield 'rgb24_3x2.bmp', bmp_file(3, 2, 24, rgb)
    yield 'rgb24_topdown_3x2.bmp', bmp_file(3, -2, 24, rgb)
    yield 'core24_3x2.bmp', bmp_file(3, 2, 24, rgb, header_size=12)
    yield 'odd_height_2x3.bmp', bmp_file(2, 3, 24, [bytes([1, 2, 3, 4, 5, 6]),
                                                    bytes([7, 8, 9, 10, 11, 12]),
                                                    bytes([13, 14, 15, 16, 17, 18])])
    palette = bytes([0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0])
    yield 'pal8_4x2.bmp', bmp_file(4, 2, 8, [bytes([0, 1, 2, 3]), bytes([3, 2, 1, 0])], palette)
    yield 'pal4_3x2.bmp', bmp_file(3, 2, 4, [bytes([0x01, 0x20]), bytes([0x32, 0x10])], palette)
    yield 'pal1_9x2.bmp', bmp_file(9, 2, 1, [bytes([0xA5, 0x80]), bytes([0x5A, 0x00])],
                                   palette[:8])
    masks565 = struct.pack('<III', 0xF800, 0x07E0, 0x001F)
    yield 'rgb565_3x2.bmp', bmp_file(3, 2, 16, [struct.pack('<HHH', 0xF800, 0x07E0, 0x001F),
                                                struct.pack('<HHH', 0xFFFF, 0, 0x1234)],
                                     compression=3, masks=masks565)
    masks32 = struct.pack('<III', 0x00FF0000, 0x0000FF00, 0x000000FF)
    yield 'xrgb32_2x2.bmp', bmp_file(2, 2, 32, [struct.pack('<II', 0x00FF0000, 0x0000FF00),
                                                struct.pack('<II', 0x000000FF, 0x00808080)],
                                     compression=3, masks=masks32)
    yield 'rle8_unsupported.bmp', bmp_file(2, 1, 8, [bytes([2, 1, 0, 1])], palette,
                                           compression=1)
    yield 'short.bmp', bmp_file(3, 2, 24, rgb)[:40]


def bmp_regressions():
    # 65 bits per pixel, 8193 pixels wide: SDL keeps the surface but its pitch overflows to 0,
    # so no row data is read and the buffer is 1 byte. Two rows reach the flip, one row the
    # conversion.
    yield 'depth65_wide_flip.bmp', bmp_file(8193, 2, 65, [])
    yield 'depth65_wide_convert.bmp', bmp_file(8193, 1, 65, [])


def write_all(directory, seeds):
    os.makedirs(directory, exist_ok=True)
    for name, data in seeds:
        with open(os.path.join(directory, name), 'wb') as out:
            out.write(data)
        print('%s: %d bytes' % (os.path.relpath(os.path.join(directory, name), ROOT), len(data)))


def main():
    write_all(TGA_DIR, tga_seeds())
    write_all(BMP_DIR, bmp_seeds())
    write_all(BMP_REGRESSION_DIR, bmp_regressions())


if __name__ == '__main__':
    main()
