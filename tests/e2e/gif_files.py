"""GIF files built byte by byte for the end-to-end tests, so that each file
exercises exactly what a test names: disposals, transparency, local tables,
interlacing, offsets, a logical screen larger or smaller than the frames."""

import struct


def lzw(pixels, code_size=8):
    """The pixels as literal codes, with a clear code before the table would
    widen the codes: plain, and valid for every decoder."""
    clear = 1 << code_size
    codes, since = [clear], 0
    for p in pixels:
        if since == (1 << (code_size + 1)) - clear - 4:
            codes.append(clear)
            since = 0
        codes.append(p)
        since += 1
    codes.append(clear + 1)
    out, acc, bits = bytearray(), 0, 0
    for c in codes:
        acc |= c << bits
        bits += code_size + 1
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes([len(chunk)]) + chunk
    return bytes(out + b"\0")


def table(colours):
    """A 256-entry colour table from (r, g, b) triples, the rest black."""
    flat = bytearray()
    for i in range(256):
        flat += bytes(colours[i] if i < len(colours) else (0, 0, 0))
    return bytes(flat)


def interlace_order(height):
    rows = []
    for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        rows += list(range(start, height, step))
    return rows


class Gif:
    def __init__(self, width, height, colours=None):
        self.bytes = bytearray(b"GIF89a" + struct.pack("<HH", width, height))
        if colours is None:
            self.bytes += bytes([0, 0, 0])
        else:
            self.bytes += bytes([0x87, 0, 0]) + table(colours)

    def frame(self, left, top, width, height, pixels, disposal=1, delay=10, transparent=None, local=None,
              interlaced=False):
        """pixels: rows of indices, top row first."""
        packed = (disposal << 2) | (1 if transparent is not None else 0)
        self.bytes += bytes([0x21, 0xF9, 4, packed]) + struct.pack("<H", delay)
        self.bytes += bytes([transparent or 0, 0])
        flags = (0x87 if local else 0) | (0x40 if interlaced else 0)
        self.bytes += b"\x2c" + struct.pack("<HHHH", left, top, width, height) + bytes([flags])
        if local:
            self.bytes += table(local)
        order = interlace_order(height) if interlaced else range(height)
        flat = [p for y in order for p in pixels[y]]
        self.bytes += b"\x08" + sub_blocks(lzw(flat))
        return self

    def done(self):
        return bytes(self.bytes + b"\x3b")


def rows(width, height, value):
    """A frame's pixels from value(x, y)."""
    return [[value(x, y) for x in range(width)] for y in range(height)]
