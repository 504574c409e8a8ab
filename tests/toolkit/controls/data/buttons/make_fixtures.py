#!/usr/bin/env python3
"""Writes the state images the button and option tests draw.

Each image is one opaque colour, so that a test can tell from any pixel
which image was drawn.  Run it from anywhere; it writes next to itself.
The output is committed, so the build does not need Python.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# name -> (red, green, blue); the tests name the same colours.
IMAGES = {
    'normal': (0xFF, 0x00, 0x00),
    'hot': (0x00, 0xFF, 0x00),
    'pushed': (0x00, 0x00, 0xFF),
    'focused': (0xFF, 0xFF, 0x00),
    'disabled': (0x80, 0x80, 0x80),
    'fore': (0x00, 0x00, 0x00),
    'hotfore': (0x00, 0x80, 0x00),
    'pushedfore': (0x00, 0x00, 0x80),
    'selected': (0xFF, 0x00, 0xFF),
    'selectedhot': (0x00, 0xFF, 0xFF),
    'selectedpushed': (0xFF, 0x80, 0x00),
    'selectedfore': (0x80, 0x00, 0x80),
}

SIZE = 8


def png(width, height, colour):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    row = b'\x00' + bytes(colour) * width
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(row * height, 9)) + chunk(b'IEND', b''))


def main():
    for name, colour in IMAGES.items():
        with open(os.path.join(HERE, name + '.png'), 'wb') as f:
            f.write(png(SIZE, SIZE, colour))
    # A file that is there but is no image: its slot fails to load just as
    # a missing file does.
    with open(os.path.join(HERE, 'broken.png'), 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\nthis is not an image')


if __name__ == '__main__':
    main()
