#!/usr/bin/env python3
"""Draws the main window's skin images and writes them as PNG files.

    python3 scripts/make_browser_skin_images.py [folder]

The folder defaults to the repository's skin/.  The drawing helpers and the
PNG writer are those of make_skin_images.py (anti-aliased shapes, 8-bit RGBA,
standard library only), so both windows share one look.

Tab images are 64 x 34 and meant to be stretched with corner='30,2,30,2':
their rounded shoulders and the separator lie inside the 30 pixel side
columns, which are never stretched horizontally, and a tab of the skin is
as tall as the image, so nothing is stretched vertically either.  The
system button images are 46 x 40, the height of the title panel; their
hover and pressed backgrounds are translucent so that they suit any title
colour a page chooses.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from make_skin_images import (  # noqa: E402
    BLUE, RED, RED_PUSHED, SLATE_300, SLATE_400, WHITE, png, render, rounded_rect,
    segment_distance)

TAB_W, TAB_H = 64, 34
BUTTON_W, BUTTON_H = 46, 40
SLATE_600 = (0x47, 0x55, 0x69)
SLATE_800 = (0x1E, 0x29, 0x3B)
SEPARATOR = (0xC3, 0xCB, 0xD5)
CLEAR = (0, 0, 0, 0)


def selected_tab():
    """A white tab with rounded top shoulders and a hairline outline on the
    top and sides; its open bottom runs into the page below."""
    radius = 7

    def shade(x, y):
        # The shape extends below the image so that its lower corners are
        # square and cut off by the image edge.
        if not rounded_rect(x, y, TAB_W, TAB_H + radius, radius):
            return CLEAR
        if not rounded_rect(x, y, TAB_W, TAB_H + radius, radius, inset=1):
            return SLATE_300 + (1.0,)
        return WHITE + (1.0,)
    return render(TAB_W, TAB_H, shade)


def unselected_tab(separator):
    """A tab that shows only the title panel through it, with or without a
    short separator along its right edge."""
    def shade(x, y):
        if separator and x >= TAB_W - 1 and 9 <= y < TAB_H - 7:
            return SEPARATOR + (1.0,)
        return CLEAR
    return render(TAB_W, TAB_H, shade)


def cross(w, h, size, colour, width=0.6, background=None):
    """A diagonal cross of the given size centred in a w x h image."""
    cx, cy, half = w / 2, h / 2, size / 2

    def shade(x, y):
        d = min(segment_distance(x, y, cx - half, cy - half, cx + half, cy + half),
                segment_distance(x, y, cx - half, cy + half, cx + half, cy - half))
        if d <= width:
            return colour + (1.0,)
        return background if background is not None else CLEAR
    return render(w, h, shade)


def glyph(kind, colour):
    """A system button glyph, 10 pixels across, centred on the button."""
    cx, cy = BUTTON_W / 2, BUTTON_H / 2
    left, top, right, bottom = cx - 5, cy - 5, cx + 5, cy + 5

    def outline(x, y, l, t, r, b):
        inside = l <= x <= r and t <= y <= b
        inner = l + 1 <= x <= r - 1 and t + 1 <= y <= b - 1
        return inside and not inner

    def shade(x, y):
        if kind == "min":
            hit = left <= x <= right and cy - 0.5 <= y <= cy + 0.5
        elif kind == "max":
            hit = outline(x, y, left, top, right, bottom)
        else:  # restore: a front window and the edges of one behind it
            front = outline(x, y, left, top + 2, right - 2, bottom)
            back = outline(x, y, left + 2, top, right, bottom - 2)
            hidden = left <= x <= right - 2 and top + 2 <= y <= bottom
            hit = front or (back and not hidden)
        return colour + (1.0,) if hit else CLEAR
    return render(BUTTON_W, BUTTON_H, shade)


def fill(w, h, colour, alpha):
    return render(w, h, lambda x, y: colour + (alpha,))


def logo(size):
    """The program's mark: a blue rounded square with a white T."""
    def shade(x, y):
        if not rounded_rect(x, y, size, size, 4):
            return CLEAR
        bar = 4.5 <= x <= size - 4.5 and 5 <= y <= 7.5
        stem = size / 2 - 1.4 <= x <= size / 2 + 1.4 and 5 <= y <= size - 4.5
        return WHITE + (1.0,) if bar or stem else BLUE + (1.0,)
    return render(size, size, shade)


IMAGES = {
    "sel.png": selected_tab,
    "unsel_a.png": lambda: unselected_tab(False),
    "unsel_b.png": lambda: unselected_tab(True),
    "close_sel.png": lambda: cross(8, 8, 6, SLATE_600, width=0.7),
    "close_unsel.png": lambda: cross(8, 8, 6, SLATE_400, width=0.7),
    "title_logo.png": lambda: logo(20),
    "sysbtn_min.png": lambda: glyph("min", SLATE_800),
    "sysbtn_max.png": lambda: glyph("max", SLATE_800),
    "sysbtn_restore.png": lambda: glyph("restore", SLATE_800),
    "sysbtn_close.png": lambda: cross(BUTTON_W, BUTTON_H, 10, SLATE_800),
    "sysbtn_close_white.png": lambda: cross(BUTTON_W, BUTTON_H, 10, WHITE),
    "sysbtn_hot.png": lambda: fill(BUTTON_W, BUTTON_H, SLATE_800, 0.09),
    "sysbtn_pushed.png": lambda: fill(BUTTON_W, BUTTON_H, SLATE_800, 0.16),
    "sysbtn_close_hot.png": lambda: fill(BUTTON_W, BUTTON_H, RED, 1.0),
    "sysbtn_close_pushed.png": lambda: fill(BUTTON_W, BUTTON_H, RED_PUSHED, 1.0),
}


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name, draw in IMAGES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png(draw()))


if __name__ == "__main__":
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skin")
    main(sys.argv[1] if len(sys.argv) > 1 else default)
