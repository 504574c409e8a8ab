#!/usr/bin/env python3
"""Draws the message box's skin images and writes them as PNG files.

    python3 scripts/make_skin_images.py [folder]

The folder defaults to the repository's skin/.  Every image is drawn from
shapes (rounded rectangles, circles, strokes) with anti-aliased edges, four
by four samples a pixel, and stored as 8-bit RGBA PNG with the standard
library only.  Button images are nine-grid friendly: their corners are 4
pixels, so a skin can stretch them to any width with corner='4,4,4,4'.
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4

# A quiet business palette: slate greys and one blue.
BLUE = (0x25, 0x63, 0xEB)
BLUE_HOT = (0x3B, 0x82, 0xF6)
BLUE_PUSHED = (0x1D, 0x4E, 0xD8)
WHITE = (0xFF, 0xFF, 0xFF)
SLATE_50 = (0xF8, 0xFA, 0xFC)
SLATE_100 = (0xF1, 0xF5, 0xF9)
SLATE_200 = (0xE2, 0xE8, 0xF0)
SLATE_300 = (0xCB, 0xD5, 0xE1)
SLATE_400 = (0x94, 0xA3, 0xB8)
SLATE_500 = (0x64, 0x74, 0x8B)
RED = (0xE8, 0x11, 0x23)
RED_PUSHED = (0xC5, 0x0F, 0x1F)


def rounded_rect(x, y, w, h, r, inset=0.0):
    """Whether (x, y) lies inside a w x h rectangle with corner radius r,
    shrunk by `inset` on every side."""
    left, top, right, bottom = inset, inset, w - inset, h - inset
    radius = max(r - inset, 0.0)
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def render(w, h, shade):
    """Pixels of a w x h image; shade(x, y) gives the RGBA of one sample."""
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = shade(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    # Colours are averaged weighted by their coverage, so
                    # edges fade out instead of darkening.
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha * 255),))
        rows.append(row)
    return rows


def button(w, h, fill, border):
    def shade(x, y):
        if not rounded_rect(x, y, w, h, 4):
            return (0, 0, 0, 0)
        if not rounded_rect(x, y, w, h, 4, inset=1):
            return border + (1.0,)
        return fill + (1.0,)
    return render(w, h, shade)


def close_glyph(size, background, cross):
    half = 5.0
    c = size / 2

    def shade(x, y):
        d = min(segment_distance(x, y, c - half, c - half, c + half, c + half),
                segment_distance(x, y, c - half, c + half, c + half, c - half))
        if d <= 0.75:
            return cross + (1.0,)
        if background is not None:
            return background + (1.0,)
        return (0, 0, 0, 0)
    return render(size, size, shade)


def question_icon(size):
    c = size / 2
    radius = size / 2 - 0.5

    def in_question_mark(x, y):
        # The hook: an arc around (c, c - 3) from the upper left over the
        # top and down the right, then the stem and the dot.
        ax, ay, ar = c, c - 3.2, 4.6
        angle = math.degrees(math.atan2(y - ay, x - ax))
        on_arc = (-200 <= angle <= 75 or angle >= 160) and abs(math.hypot(x - ax, y - ay) - ar) <= 1.5
        if on_arc and not (y > ay and x < ax):
            return True
        end_x = ax + ar * math.cos(math.radians(75))
        end_y = ay + ar * math.sin(math.radians(75))
        if segment_distance(x, y, end_x, end_y, c, c + 3.5) <= 1.5:
            return True
        return math.hypot(x - c, y - (c + 8)) <= 1.8

    def shade(x, y):
        if math.hypot(x - c, y - c) > radius:
            return (0, 0, 0, 0)
        if in_question_mark(x, y):
            return WHITE + (1.0,)
        return BLUE + (1.0,)
    return render(size, size, shade)


def png(rows):
    h = len(rows)
    w = len(rows[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


IMAGES = {
    "msgbox_btn_primary_normal.png": lambda: button(88, 30, BLUE, BLUE),
    "msgbox_btn_primary_hot.png": lambda: button(88, 30, BLUE_HOT, BLUE_HOT),
    "msgbox_btn_primary_pushed.png": lambda: button(88, 30, BLUE_PUSHED, BLUE_PUSHED),
    "msgbox_btn_normal.png": lambda: button(88, 30, WHITE, SLATE_300),
    "msgbox_btn_hot.png": lambda: button(88, 30, SLATE_100, SLATE_400),
    "msgbox_btn_pushed.png": lambda: button(88, 30, SLATE_200, SLATE_400),
    "msgbox_close_normal.png": lambda: close_glyph(36, None, SLATE_500),
    "msgbox_close_hot.png": lambda: close_glyph(36, RED, WHITE),
    "msgbox_close_pushed.png": lambda: close_glyph(36, RED_PUSHED, WHITE),
    "msgbox_icon_question.png": lambda: question_icon(32),
}


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name, draw in IMAGES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png(draw()))


if __name__ == "__main__":
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skin")
    main(sys.argv[1] if len(sys.argv) > 1 else default)
