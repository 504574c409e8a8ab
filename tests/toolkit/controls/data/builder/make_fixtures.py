#!/usr/bin/env python3
"""Writes the builder test fixtures that are not plain text: an image, a
skin archive, a skin file with a byte-order mark and one with broken UTF-8.

Run it from anywhere; it writes next to itself.  The output is committed,
so the build does not need Python.
"""
import os
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(relative, data):
    path = os.path.join(HERE, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def png(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in pixels)
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


# 2 x 1: an opaque red pixel, which the mask tests key out, and an opaque
# green one.
write('dot.png', png(2, 1, [[(255, 0, 0, 255), (0, 255, 0, 255)]]))

# A whole window, saved the way editors on Windows save it: UTF-8 with a
# byte-order mark, Chinese text included.
WINDOW = '''<?xml version="1.0" encoding="utf-8"?>
<!-- The whole window: settings, resources and controls. -->
<Window size="400,300" caption="0,0,0,30">
  <Font name="Arial" size="12" default="true" />
  <Image name="dot.png" mask="#FFFF0000" />
  <Default name="Control" value="height=&quot;30&quot;" />
  <Container name="body">
    <Control name="title" text="确定退出 Talmic 吗?" />
  </Container>
</Window>
'''
write('window.xml', b'\xef\xbb\xbf' + WINDOW.encode('utf-8'))

# The same kind of skin in an archive; the part sits in a folder, which
# the main file names with a backslash.
with zipfile.ZipFile(os.path.join(HERE, 'skin.zip'), 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('main.xml', '<Window size="222,111">\n'
                           '  <Container name="zip-body">\n'
                           '    <Include source="parts\\zpart.xml" />\n'
                           '  </Container>\n'
                           '</Window>\n')
    z.writestr('parts/zpart.xml', '<Part><Control name="zip-part" /></Part>\n')

# Bytes that are not UTF-8 inside an attribute value: they read as
# replacement characters and the file still builds.
write('malformed/invalid-utf8.xml',
      b'<Window>\n  <Control name="bad" text="\xff\xfe\xc3(\xe2\x82" />\n</Window>\n')
