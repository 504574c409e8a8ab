#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The icon is a blue rounded square with a white "T", drawn at 16, 32 and 48
pixels with anti-aliased edges (four by four samples a pixel), and stored as
32-bit BMP images with alpha, which every Windows version reads.
"""
import struct
import sys

BLUE_TOP = (0x2B, 0x7F, 0xF0)
BLUE_BOTTOM = (0x15, 0x5C, 0xC8)
SIZES = (16, 32, 48)
SAMPLES = 4


def inside_rounded_square(x, y, size):
    radius = size * 0.22
    lo, hi = radius, size - radius
    cx = min(max(x, lo), hi)
    cy = min(max(y, lo), hi)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_letter(x, y, size):
    # The bar of the "T" and its stem, in fractions of the icon's size.
    u, v = x / size, y / size
    bar = 0.22 <= u <= 0.78 and 0.22 <= v <= 0.36
    stem = 0.42 <= u <= 0.58 and 0.22 <= v <= 0.80
    return bar or stem


def pixel(px, py, size):
    square = letter = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if inside_rounded_square(x, y, size):
                square += 1
                if inside_letter(x, y, size):
                    letter += 1
    total = SAMPLES * SAMPLES
    if square == 0:
        return (0, 0, 0, 0)
    t = py / max(size - 1, 1)
    blue = [round(a + (b - a) * t) for a, b in zip(BLUE_TOP, BLUE_BOTTOM)]
    white_share = letter / square
    rgb = [round(c + (255 - c) * white_share) for c in blue]
    return (rgb[0], rgb[1], rgb[2], round(255 * square / total))


def bmp_entry(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for py in reversed(range(size)):  # bottom-up rows
        row = bytearray()
        for px in range(size):
            r, g, b, a = pixel(px, py, size)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_row = b"\0" * (((size + 31) // 32) * 4)  # alpha decides; the mask is all opaque
    return header + b"".join(rows) + mask_row * size


def main(path):
    images = [bmp_entry(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
