#!/usr/bin/env python3
"""Seeds of the module targets: a small PE module of two icon groups, and the
same module with the language directory of its first group, or of the first
icon image that group names, holding no entry."""
import struct
import sys

RVA = 0x1000


def dib(side, seed):
    head = struct.pack('<IiiHHIIiiII', 40, side, 2 * side, 1, 4, 0, 0, 0, 0, 0, 0)
    row = (side * 4 + 31) // 32 * 4
    mask = (side + 31) // 32 * 4
    return head + bytes([seed, 0x20, 0x30, 0]) * 16 + b'\x55' * row * side + b'\x00' * mask * side


def group(images, first_id):
    out = struct.pack('<HHH', 0, 1, len(images))
    for i, image in enumerate(images):
        side = struct.unpack_from('<i', image, 4)[0]
        out += struct.pack('<BBBBHHIH', side, side, 16, 0, 1, 4, len(image), first_id + i)
    return out


def directory(entries):
    return struct.pack('<IIHHHH', 0, 0, 0, 0, 0, len(entries)) + b''.join(struct.pack('<II', *e) for e in entries)


def resource_section(types, empty):
    """The tree (root, a directory per type, a language directory per
    resource), the data entries and the data; the language directory of
    `empty` (type, id) holds no entry but keeps its room."""
    resources = [(kind, rid, blob) for kind, items in types for rid, blob in items]
    type_at = 16 + 8 * len(types)
    language_at = type_at + sum(16 + 8 * len(items) for _, items in types)
    entries_at = language_at + 24 * len(resources)
    data_at = entries_at + 16 * len(resources)
    root, type_dirs, languages, entries, data = [], b'', b'', b'', b''
    n = 0
    for kind, items in types:
        root.append((kind, 0x80000000 | (type_at + len(type_dirs))))
        names = []
        for rid, blob in items:
            names.append((rid, 0x80000000 | (language_at + 24 * n)))
            if (kind, rid) == empty:
                languages += directory([]) + b'\x00' * 8
            else:
                languages += directory([(0x409, entries_at + 16 * n)])
            entries += struct.pack('<IIII', RVA + data_at + len(data), len(blob), 0, 0)
            data += blob + b'\x00' * (-len(blob) % 4)
            n += 1
        type_dirs += directory(names)
    return directory(root) + type_dirs + languages + entries + data


def module(empty=None):
    images = {1: dib(16, 1), 2: dib(32, 2), 3: dib(32, 3)}
    groups = {1: group([images[1], images[2]], 1), 2: group([images[3]], 3)}
    section = resource_section([(3, sorted(images.items())), (14, sorted(groups.items()))], empty)
    raw = len(section) + (-len(section) % 0x200)
    out = bytearray(0x200)
    out[0:2] = b'MZ'
    struct.pack_into('<I', out, 0x3C, 0x40)
    out[0x40:0x44] = b'PE\x00\x00'
    struct.pack_into('<HHIIIHH', out, 0x44, 0x14C, 1, 0, 0, 0, 0xE0, 0x2102)  # i386 DLL, one section
    opt = 0x58
    struct.pack_into('<H', out, opt, 0x10B)
    struct.pack_into('<III', out, opt + 28, 0x10000000, 0x1000, 0x200)  # base, section and file alignment
    struct.pack_into('<II', out, opt + 56, RVA + raw, 0x200)              # image and header sizes
    struct.pack_into('<I', out, opt + 92, 16)
    struct.pack_into('<II', out, opt + 96 + 2 * 8, RVA, len(section))   # the resource directory
    sec = opt + 0xE0
    out[sec:sec + 8] = b'.rsrc\x00\x00\x00'
    struct.pack_into('<IIII', out, sec + 8, len(section), RVA, raw, 0x200)
    struct.pack_into('<I', out, sec + 36, 0x40000040)
    return bytes(out) + section + b'\x00' * (raw - len(section))


for name, empty in (('good.dll', None), ('group-without-language.dll', (14, 1)),
                    ('image-without-language.dll', (3, 1))):
    with open(f'{sys.argv[1]}/{name}', 'wb') as f:
        f.write(module(empty))
