#!/usr/bin/python3
"""Generates the sprite test pictures under tests/data/sprites/.

Every picture is made of flat areas of known colours, so tests can probe their interiors after
the upload has filtered and rescaled them. Run from anywhere: python3 tools/make_test_images.py
"""
import os
import struct

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "sprites")

# Quadrant colours: top left, top right, bottom left, bottom right.
QUADRANTS = [(220, 40, 40), (40, 200, 60), (40, 60, 220), (230, 210, 40)]


def quadrant_image(mode, width, height, colours, alpha=None):
    image = Image.new(mode, (width, height))
    half_w, half_h = width // 2, height // 2
    boxes = [(0, 0, half_w, half_h), (half_w, 0, width, half_h),
             (0, half_h, half_w, height), (half_w, half_h, width, height)]
    for box, colour in zip(boxes, colours):
        if mode == "RGBA":
            colour = tuple(colour) + (255 if alpha is None else alpha,)
        image.paste(colour, box)
    return image


def palette_image(transparent):
    """64 x 64, four palette entries laid out as the quadrants; index 1 (top right) is the
    transparent colour when asked for."""
    image = Image.new("P", (64, 64))
    palette = []
    for colour in QUADRANTS:
        palette.extend(colour)
    image.putpalette(palette + [0] * (768 - len(palette)))
    for index, box in enumerate([(0, 0, 32, 32), (32, 0, 64, 32), (0, 32, 32, 64),
                                 (32, 32, 64, 64)]):
        image.paste(index, box)
    if transparent:
        image.save(os.path.join(OUT, "palette_transparent.png"), transparency=1)
    else:
        image.save(os.path.join(OUT, "palette.png"))


def rgb565_bmp(path, width, height, colours):
    """A 16-bit 5-6-5 bitmap (bit fields), which no image library here writes by itself."""
    row_bytes = (width * 2 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(width):
            quadrant = (0 if y < height // 2 else 2) + (0 if x < width // 2 else 1)
            r, g, b = colours[quadrant]
            row += struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
        row += b"\0" * (row_bytes - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header_size = 14 + 40 + 12
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 16, 3, len(pixels), 2835, 2835, 0,
                       0)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    with open(path, "wb") as out:
        out.write(file_header + info + masks + pixels)


def main():
    os.makedirs(OUT, exist_ok=True)
    quadrant_image("RGB", 300, 200, QUADRANTS).save(os.path.join(OUT, "quadrants_rgb.png"))
    quadrant_image("RGBA", 300, 200, QUADRANTS).save(os.path.join(OUT, "quadrants_rgba.png"))
    # 24-bit bitmaps are stored blue first.
    quadrant_image("RGB", 64, 64, QUADRANTS).save(os.path.join(OUT, "quadrants_bgr.bmp"))
    rgb565_bmp(os.path.join(OUT, "quadrants_565.bmp"), 64, 64,
               [(248, 0, 0), (0, 252, 0), (0, 0, 248), (248, 252, 0)])
    # A grey picture loads as an 8-bit palettised surface.
    quadrant_image("L", 64, 64, [40, 100, 160, 220]).save(os.path.join(OUT, "grey.png"))
    palette_image(transparent=False)
    palette_image(transparent=True)
    Image.new("RGBA", (64, 64), (200, 100, 0, 128)).save(os.path.join(OUT, "half_alpha.png"))
    # Cursors: an opaque 16 x 16 square, the lower-right half transparent like a pointer.
    for name, colour in (("cursor.png", (255, 0, 255)), ("cursor_alt.png", (0, 255, 255))):
        cursor = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
        for y in range(16):
            for x in range(16 - y):
                cursor.putpixel((x, y), colour + (255,))
        cursor.save(os.path.join(OUT, name))


if __name__ == "__main__":
    main()
