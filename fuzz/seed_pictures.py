#!/usr/bin/env python3
"""Writes a small whole picture of every kind the picture reader knows into
the folder given, as seeds for the fuzzer."""
import struct
import sys
import zlib

out = sys.argv[1]
# BMP: 2 x 2, 24 bits.
pixels = (b"\x00\x00\xff" * 2 + b"\x00\x00") * 2
bmp = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
bmp += struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels
open(out + "/seed.bmp", "wb").write(bmp)
# GIF: 1 x 1, two colours.
gif = b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\x00\x00\x00\xff\xff\xff"
gif += b"\x21\xf9\x04\x01\x00\x00\x00\x00"
gif += b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\x00" + b"\x3b"
open(out + "/seed.gif", "wb").write(gif)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"\x00\xff\x00\x00")) + chunk(b"IEND", b"")
open(out + "/seed.png", "wb").write(png)
# JPEG: the segments' skeleton (the reader walks segments, it decodes nothing).
sof = b"\xff\xc0" + struct.pack(">HBHHB", 11, 8, 1, 1, 1) + b"\x01\x11\x00"
sos = b"\xff\xda" + struct.pack(">HB", 8, 1) + b"\x01\x00\x00\x3f\x00"
open(out + "/seed.jpg", "wb").write(b"\xff\xd8" + b"\xff\xe0\x00\x04\x00\x00" + sof + sos + b"\x12\x34\xff\xd9")
# EMF: header and end-of-file record.
emf_header = struct.pack("<II4i4i4sIIIHHIIIII", 1, 88, 0, 0, 1, 1, 0, 0, 100, 100, b" EMF", 0x10000,
                         88 + 20, 2, 1, 0, 0, 0, 0, 0, 0)
emf_header += b"\x00" * (88 - len(emf_header))
open(out + "/seed.emf", "wb").write(emf_header + struct.pack("<IIIII", 14, 20, 0, 16, 20))
