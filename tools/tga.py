"""Writes 32-bit true-colour TGA files (uncompressed or run-length encoded) for the tools."""

import struct


def _header(image_type, width, height):
    # No image ID, no colour map, origin 0; 32 bits with 8 alpha bits; rows stored bottom-up.
    return struct.pack('<BBBHHBHHHHBB', 0, 0, image_type, 0, 0, 0, 0, 0, width, height, 32, 8)


def _rows_bottom_up(rgba):
    """Rows of BGRA pixel tuples, bottom row first, from a PIL RGBA image."""
    width, height = rgba.size
    data = list(rgba.getdata())
    for y in range(height - 1, -1, -1):
        yield [(b, g, r, a) for (r, g, b, a) in data[y * width:(y + 1) * width]]


def encode_uncompressed(rgba):
    out = bytearray(_header(2, *rgba.size))
    for row in _rows_bottom_up(rgba):
        for pixel in row:
            out += bytes(pixel)
    return bytes(out)


def encode_rle(rgba):
    """Type 10; packets stay within one row, as other readers expect."""
    out = bytearray(_header(10, *rgba.size))
    for row in _rows_bottom_up(rgba):
        i = 0
        n = len(row)
        while i < n:
            run = 1
            while i + run < n and run < 128 and row[i + run] == row[i]:
                run += 1
            if run >= 2:
                out.append(128 + run - 1)
                out += bytes(row[i])
                i += run
                continue
            # Raw packet up to the next pair of equal pixels.
            start = i
            while i < n and i - start < 128 and not (i + 1 < n and row[i + 1] == row[i]):
                i += 1
            if i == start:
                i += 1
            out.append(i - start - 1)
            for pixel in row[start:i]:
                out += bytes(pixel)
    return bytes(out)


def encode_smallest(rgba):
    raw = encode_uncompressed(rgba)
    rle = encode_rle(rgba)
    return rle if len(rle) < len(raw) else raw
