#!/usr/bin/python3
"""Generates the camera demo's pictures: the two map halves, the mouse pointer and the logo.

The maps are two overlapping crops of one 1914 x 768 top-down landscape (the demo draws the
second half at x = 890), built from flat colours so that the PNG files stay small.
Run from the repository root: /usr/bin/python3 tools/make_demo_images.py
"""
import random

from PIL import Image, ImageDraw, ImageFont

WORLD_W, WORLD_H = 1914, 768
MAP_W, MAP_H = 1024, 768
SECOND_MAP_X = 890
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

GRASS = (86, 140, 62)
GRASS_DARK = (70, 118, 50)
WATER = (52, 98, 170)
SAND = (212, 196, 140)
ROAD = (150, 140, 120)
ROOF = [(170, 70, 60), (120, 90, 70), (90, 90, 110), (180, 150, 80)]
TREE = (40, 92, 40)
FIELD = [(180, 170, 90), (140, 160, 70), (160, 120, 80)]


def draw_world():
    rng = random.Random(2026)
    world = Image.new("RGB", (WORLD_W, WORLD_H), GRASS)
    d = ImageDraw.Draw(world)

    # Patches of darker grass and fields give the drift something to show everywhere.
    for _ in range(60):
        x, y = rng.randrange(WORLD_W), rng.randrange(WORLD_H)
        w, h = rng.randrange(40, 140), rng.randrange(30, 110)
        d.ellipse([x, y, x + w, y + h], fill=GRASS_DARK)
    for _ in range(18):
        x, y = rng.randrange(WORLD_W - 160), rng.randrange(WORLD_H - 120)
        w, h = rng.randrange(80, 160), rng.randrange(60, 120)
        colour = rng.choice(FIELD)
        d.rectangle([x, y, x + w, y + h], fill=colour)
        for row in range(y + 6, y + h, 10):
            d.line([x + 4, row, x + w - 4, row], fill=tuple(c - 25 for c in colour), width=2)

    # A river winding from top to bottom, with sandy banks.
    points = []
    x = 1300
    for y in range(-20, WORLD_H + 40, 40):
        x += rng.randrange(-45, 46)
        points.append((x, y))
    d.line(points, fill=SAND, width=70, joint="curve")
    d.line(points, fill=WATER, width=48, joint="curve")

    # A lake on the left half.
    d.ellipse([180, 430, 520, 640], fill=SAND)
    d.ellipse([195, 445, 505, 625], fill=WATER)

    # Roads: one across the whole world, two crossing it.
    d.line([(0, 300), (700, 330), (1300, 290), (WORLD_W, 320)], fill=ROAD, width=22)
    d.line([(620, 0), (640, 330), (600, WORLD_H)], fill=ROAD, width=18)
    d.line([(1650, 0), (1620, 310), (1700, WORLD_H)], fill=ROAD, width=18)

    # Houses along the roads, each with a roof ridge so that they read as buildings.
    for _ in range(70):
        x, y = rng.randrange(20, WORLD_W - 60), rng.randrange(20, WORLD_H - 60)
        w, h = rng.randrange(22, 46), rng.randrange(18, 36)
        roof = rng.choice(ROOF)
        d.rectangle([x, y, x + w, y + h], fill=roof, outline=(40, 30, 30))
        d.line([x + 2, y + h // 2, x + w - 2, y + h // 2], fill=tuple(c - 40 for c in roof), width=2)

    # Trees last, so that they stand over everything but the water.
    for _ in range(400):
        x, y = rng.randrange(WORLD_W), rng.randrange(WORLD_H)
        r = rng.randrange(5, 12)
        d.ellipse([x - r, y - r, x + r, y + r], fill=TREE, outline=(28, 64, 28))

    # A grid of faint markers every 128 pixels, handy for judging the scroll by eye.
    for gx in range(0, WORLD_W, 128):
        for gy in range(0, WORLD_H, 128):
            d.rectangle([gx, gy, gx + 3, gy + 3], fill=(240, 240, 240))
    return world


def draw_pointer():
    # Power-of-two sides, so the upload keeps every pixel as drawn.
    pointer = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(pointer)
    arrow = [(0, 0), (0, 22), (6, 17), (10, 26), (14, 24), (10, 16), (17, 16)]
    d.polygon(arrow, fill=(255, 255, 255, 255), outline=(0, 0, 0, 255))
    return pointer


def draw_logo():
    # 256 x 64: power-of-two sides, so the upload keeps every pixel as drawn.
    w, h = 256, 64
    font = ImageFont.truetype(FONT_BOLD, 44)
    text = "Orvane"
    left, top, right, bottom = font.getbbox(text)
    logo = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(logo)
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=14, fill=(20, 24, 40, 170),
                        outline=(250, 200, 60, 255), width=4)
    x = (w - (right - left)) // 2 - left
    y = (h - (bottom - top)) // 2 - top
    d.text((x, y), text, font=font, fill=(250, 200, 60, 255),
           stroke_width=2, stroke_fill=(60, 30, 0, 255))
    return logo


def main():
    world = draw_world()
    world.crop((0, 0, MAP_W, MAP_H)).save("Data/MAP1.png", optimize=True)
    world.crop((SECOND_MAP_X, 0, SECOND_MAP_X + MAP_W, MAP_H)).save("Data/MAP2.png", optimize=True)
    draw_pointer().save("Data/MousePointer.png", optimize=True)
    draw_logo().save("Data/Logo/orvlogo.png", optimize=True)


if __name__ == "__main__":
    main()
