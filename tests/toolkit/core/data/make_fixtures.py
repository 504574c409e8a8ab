#!/usr/bin/env python3
"""Writes the small images and archives the toolkit's resource tests read.

Every file is made here from known pixel values, so a test can state the
exact premultiplied pixels it expects.  Run it from anywhere; it writes next
to itself.  The output is committed, so the build does not need Python.
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


def png(width, height, rows, colour_type):
    """rows: list of byte strings, one per row, already in the colour type's layout."""
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\x00' + row for row in rows)
    ihdr = struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


# 2 x 2 RGBA: a half-transparent pixel, an opaque one, a fully transparent
# one and an opaque one in the colour the mask tests key out.
RGBA_PIXELS = [[(200, 100, 50, 128), (255, 0, 0, 255)],
               [(0, 0, 255, 0), (10, 20, 30, 255)]]


def rgba_png():
    rows = [bytes(c for px in row for c in px) for row in RGBA_PIXELS]
    return png(2, 2, rows, 6)


def opaque_png(colour):
    # 3 x 1 RGB without an alpha channel.
    return png(3, 1, [bytes(colour) * 3], 2)


def bmp():
    # 3 x 2, 24 bits, stored bottom-up as BMP files are: row 0 is red,
    # green, blue; row 1 is white, black, grey.
    top = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    bottom = [(255, 255, 255), (0, 0, 0), (128, 128, 128)]
    def row(pixels):
        data = b''.join(bytes((b, g, r)) for r, g, b in pixels)
        return data + b'\x00' * ((4 - len(data) % 4) % 4)
    pixels = row(bottom) + row(top)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, 3, 2, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def lzw(indices, min_code_size):
    """The GIF variant of LZW, with variable code widths, packed LSB first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {(i,): i for i in range(clear)}
    next_code, width = end + 1, min_code_size + 1
    out, bits, nbits = bytearray(), 0, 0

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        table[candidate] = next_code
        next_code += 1
        if next_code > (1 << width) and width < 12:
            width += 1
        current = (index,)
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif():
    # Two frames of 2 x 2 over a four-colour palette whose index 3 is
    # transparent; the decoder must give the first frame only.
    palette = bytes((255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0))
    def frame(indices):
        gce = b'\x21\xF9\x04' + bytes((0x01 | (1 << 2),)) + struct.pack('<H', 0) + b'\x03\x00'
        descriptor = b'\x2C' + struct.pack('<HHHH', 0, 0, 2, 2) + b'\x00'
        data = lzw(indices, 2)
        blocks = b''.join(bytes((len(data[i:i + 255]),)) + data[i:i + 255]
                          for i in range(0, len(data), 255))
        return gce + descriptor + b'\x02' + blocks + b'\x00'
    header = b'GIF89a' + struct.pack('<HH', 2, 2) + bytes((0x80 | 0x01, 0, 0)) + palette
    return header + frame([0, 1, 2, 3]) + frame([2, 2, 2, 2]) + b'\x3B'


def psd():
    # 2 x 1, RGB with an alpha channel, raw planes: an opaque orange pixel
    # and a fully transparent one.
    pixels = [(250, 128, 10, 255), (40, 50, 60, 0)]
    header = b'8BPS' + struct.pack('>H', 1) + b'\x00' * 6 + struct.pack('>HIIHH', 4, 1, 2, 8, 3)
    sections = struct.pack('>III', 0, 0, 0) + struct.pack('>H', 0)
    planes = b''.join(bytes(px[c] for px in pixels) for c in range(4))
    return header + sections + planes


def pic():
    # Softimage PIC, 2 x 1, one uncompressed packet with all four channels.
    header = b'\x53\x80\xF6\x34' + struct.pack('>f', 3.71) + b'fixture'.ljust(80, b'\x00') + b'PICT'
    header += struct.pack('>HHfHH', 2, 1, 1.0, 3, 0)
    packets = bytes((0, 8, 0, 0xF0))
    data = bytes((10, 20, 30, 255, 90, 60, 30, 102))
    return header + packets + data


def jpeg():
    # A baseline greyscale JPEG of 16 x 8 whose two 8 x 8 blocks are flat
    # (grey 100 and grey 200), so only the DC terms carry data; with a
    # quantisation table of ones the decoder reproduces the values.
    def segment(marker, body):
        return b'\xFF' + bytes((marker,)) + struct.pack('>H', len(body) + 2) + body
    dqt = segment(0xDB, b'\x00' + b'\x01' * 64)
    sof = segment(0xC0, struct.pack('>BHHB', 8, 8, 16, 1) + b'\x01\x11\x00')
    # DC table: categories 8 and 10 with the 2-bit codes 00 and 01; AC
    # table: end-of-block only, with the 1-bit code 0.
    dc_bits = bytes([0, 2] + [0] * 14)
    ac_bits = bytes([1] + [0] * 15)
    dht = segment(0xC4, b'\x00' + dc_bits + bytes((8, 10)) + b'\x10' + ac_bits + b'\x00')
    sos = segment(0xDA, b'\x01\x01\x00\x00\x3F\x00')
    bits = ''
    previous = 0
    for grey in (100, 200):
        dc = 8 * (grey - 128)
        diff = dc - previous
        previous = dc
        size = abs(diff).bit_length()
        code = {8: '00', 10: '01'}[size]
        value = diff if diff >= 0 else diff + (1 << size) - 1
        bits += code + format(value, '0%db' % size) + '0'
    bits += '1' * ((8 - len(bits) % 8) % 8)
    scan = bytearray()
    for i in range(0, len(bits), 8):
        byte = int(bits[i:i + 8], 2)
        scan.append(byte)
        if byte == 0xFF:
            scan.append(0)
    return b'\xFF\xD8' + dqt + sof + dht + sos + bytes(scan) + b'\xFF\xD9'


def zip_bytes(entries, compression=zipfile.ZIP_DEFLATED):
    path = os.path.join(HERE, '.tmp.zip')
    with zipfile.ZipFile(path, 'w', compression) as archive:
        for name, data in entries:
            archive.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data, compression)
    with open(path, 'rb') as f:
        data = f.read()
    os.remove(path)
    return data


def main():
    write('images/rgba.png', rgba_png())
    write('images/bars.bmp', bmp())
    write('images/frames.gif', gif())
    write('images/layers.psd', psd())
    write('images/tiny.pic', pic())
    write('images/grey.jpg', jpeg())

    # A skin folder and the same skin as an archive.  The folder's
    # "bk.png" is blue, the archive's is green, so a test can tell which
    # reader delivered it; the other entries are the same in both.
    skin = [('img/Button.png', rgba_png()), ('img/empty.png', b''), ('readme.txt', b'not an image\n')]
    for name, data in skin + [('bk.png', opaque_png((0, 0, 255)))]:
        write('skin/' + name, data)
    # Names at the reader's length limit: one of 255 characters, which must
    # be found, and one of 256, which must not, though it is there.
    longest = [('n' * 251 + '.txt', b'255 characters\n'), ('n' * 252 + '.txt', b'256 characters\n')]
    write('skin.zip', zip_bytes(skin + [('bk.png', opaque_png((0, 255, 0))),
                                        ('Legacy\\Icon.png', opaque_png((255, 0, 0)))] + longest))

    # Archives and images that must be refused without harm.
    write('malformed/not-an-image.png', b'this is plain text, not a picture\n')
    write('malformed/empty.png', b'')
    write('malformed/truncated.png', rgba_png()[:40])
    write('malformed/huge.bmp', bmp()[:18] + struct.pack('<ii', 0x7FFFFFFF, 0x7FFFFFFF) + bmp()[26:])
    write('malformed/huge.pic', pic()[:92] + struct.pack('>HH', 0xFFFF, 0xFFFF) + pic()[96:])
    write('malformed/truncated.gif', gif()[:30])
    write('malformed/garbage.zip', bytes((i * 37 + 11) & 0xFF for i in range(700)))
    whole = zip_bytes([('bk.png', opaque_png((0, 255, 0)) * 8)])
    write('malformed/truncated.zip', whole[:len(whole) // 2])
    # The entry's deflate stream is overwritten, the directory stays valid.
    damaged = bytearray(whole)
    start = 30 + len('bk.png')
    for i in range(start, start + 20):
        damaged[i] = 0xFF
    write('malformed/damaged-entry.zip', bytes(damaged))
    # A stored entry whose recorded checksum does not match its bytes.
    stored = bytearray(zip_bytes([('bk.png', opaque_png((0, 255, 0)))], zipfile.ZIP_STORED))
    stored[start + 1] ^= 0x55
    write('malformed/bad-crc.zip', bytes(stored))


if __name__ == '__main__':
    main()
