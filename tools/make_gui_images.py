#!/usr/bin/python3
"""Generates the GUI pictures under Data/GUI/ and the animation frames under tests/data/anim/.

Every picture is drawn here from flat colours, so the colours the tests probe for are the
ones written below. Run from the repository root: tools/make_gui_images.py
"""
import os

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GUI = os.path.join(ROOT, "Data", "GUI")
ANIM = os.path.join(ROOT, "tests", "data", "anim")

TITLE_BAR = 15

# Panel backgrounds: a title strip of TITLE_BAR rows over a body, both flat.
WIDE_TITLE = (200, 200, 220)
WIDE_BODY = (30, 30, 90)
SQUARE_TITLE = (220, 200, 200)
SQUARE_BODY = (90, 30, 30)

# Push-button frames, rest to fully lit; the border stays the same so only the face changes.
BUTTON_FACES = [(40, 80, 200), (60, 140, 230), (230, 160, 40)]
BUTTON_BORDER = (10, 10, 10)

# Toggle images: two frames each, the second a shade brighter (the hover animation).
TOGGLE_OFF = [(120, 120, 120), (160, 160, 160)]
TOGGLE_ON = [(40, 180, 60), (90, 230, 110)]

# Ten clearly different flat colours for the animation frames.
ANIM_COLOURS = [
    (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255),
    (255, 0, 255), (255, 128, 0), (128, 0, 255), (255, 255, 255), (0, 128, 128),
]


def save(image, folder, name):
    os.makedirs(folder, exist_ok=True)
    # Palette-free RGB(A) and maximal compression keep the files small and the colours exact.
    image.save(os.path.join(folder, name), optimize=True)


def panel(width, height, title, body):
    image = Image.new("RGB", (width, height), body)
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, width - 1, TITLE_BAR - 1], fill=title)
    draw.rectangle([0, 0, width - 1, height - 1], outline=(0, 0, 0))
    return image


def framed(width, height, face, border):
    image = Image.new("RGB", (width, height), face)
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, width - 1, height - 1], outline=border, width=2)
    return image


def pointer():
    # An arrow whose tip is the top-left pixel, which is where the cursor is drawn.
    image = Image.new("RGBA", (16, 24), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    outline = [(0, 0), (0, 18), (4, 14), (8, 22), (11, 21), (7, 13), (13, 13)]
    draw.polygon(outline, fill=(255, 220, 60, 255), outline=(0, 0, 0, 255))
    return image


def main():
    save(panel(512, 128, WIDE_TITLE, WIDE_BODY), GUI, "window_wide.png")
    save(panel(300, 300, SQUARE_TITLE, SQUARE_BODY), GUI, "window.png")
    for n, face in enumerate(BUTTON_FACES, start=1):
        save(framed(64, 32, face, BUTTON_BORDER), GUI, "button%d.png" % n)
    for n, face in enumerate(TOGGLE_OFF, start=1):
        save(framed(64, 32, face, BUTTON_BORDER), GUI, "toggle_off%d.png" % n)
    for n, face in enumerate(TOGGLE_ON, start=1):
        save(framed(64, 32, face, BUTTON_BORDER), GUI, "toggle_on%d.png" % n)
    save(pointer(), GUI, "AltPointer.png")
    for n, colour in enumerate(ANIM_COLOURS, start=1):
        save(Image.new("RGB", (8, 8), colour), ANIM, "anim%d.png" % n)


if __name__ == "__main__":
    main()
