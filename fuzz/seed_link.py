#!/usr/bin/env python3
"""Writes a whole shell link with every part (item ID list, link info, string
data, extra data) into the folder given, as a seed for the fuzzer."""
import struct
import sys

CLSID = bytes.fromhex("0114020000000000c000000000000046")
flags = 0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x40 | 0x80
header = struct.pack("<I16sIIQQQIiIHHII", 0x4C, CLSID, flags, 0x20, 0, 0, 0, 1234, 0, 1, 0, 0, 0, 0)
item = b"\x1f\x50" + bytes(16)
idlist = struct.pack("<H", len(item) + 2) + item + b"\x00\x00"
idlist = struct.pack("<H", len(idlist)) + idlist
volume = struct.pack("<IIII", 0x11, 3, 0x1234, 0x10) + b"\x00"
base = b"C:\\Windows\\notepad.exe\x00"
info_header = 0x1C
volume_at = info_header
base_at = volume_at + len(volume)
suffix_at = base_at + len(base)
body = volume + base + b"\x00"
info = struct.pack("<IIIIIII", info_header + len(body), info_header, 1, volume_at, base_at, 0, suffix_at) + body


def counted(text):
    return struct.pack("<H", len(text)) + text.encode("utf-16-le")


strings = counted("Notepad") + counted("C:\\Windows") + counted("/a b") + counted("C:\\Windows\\notepad.exe")
special = struct.pack("<IIII", 0x10, 0xA0000005, 0x24, 0)
extra = special + struct.pack("<I", 0)
open(sys.argv[1] + "/seed.lnk", "wb").write(header + idlist + info + strings + extra)
