#!/usr/bin/env python3
"""Writes the pixels of an 8-bit RGBA PNG as raw bytes, R G B A per pixel, rows top to bottom.

The program builds its icon from these at start-up instead of decoding PNGs: the first image a Qt program
decodes makes it look through every image-format plugin, which costs more than the rest of the icon.
usage: png-to-rgba.py IN.png OUT.rgba
"""
import struct
import sys
import zlib


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        sys.exit("only 8-bit RGBA PNGs without interlacing are handled")
    raw, stride = zlib.decompress(idat), width * 4
    pixels, previous, at = bytearray(), bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up = previous[x]
            corner = previous[x - 4] if x >= 4 else 0
            predicted = (0, left, up, (left + up) >> 1, paeth(left, up, corner))[kind]
            line[x] = (line[x] + predicted) & 0xFF
        pixels += line
        previous = line
    return width, height, bytes(pixels)


def main():
    with open(sys.argv[1], "rb") as f:
        width, height, pixels = decode(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(pixels)
    print(f"{sys.argv[2]}: {width} x {height}")


if __name__ == "__main__":
    main()
