#!/usr/bin/env python3
"""Seeds of the animation target: animations of two frames and as many steps
as the program lists, one more, and 32,768; and one of two headers, the first
(which the system reads) of 40,000 steps."""
import struct
import sys


def chunk(kind, data):
    return kind + struct.pack('<I', len(data)) + data + (b'\x00' if len(data) % 2 else b'')


def frame(seed):
    head = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, 4, 0, 0, 0, 0, 0, 0)
    image = head + bytes([seed, 0x20, 0x30, 0]) * 16 + b'\x55' * 8 * 16 + b'\x00' * 4 * 16
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 16, 16, 16, 0, 1, 4, len(image), 22) + image


def header(steps):
    return chunk(b'anih', struct.pack('<9I', 36, 2, steps, 0, 0, 0, 0, 10, 1))


def animation(steps, before=b''):
    sequence = b''.join(struct.pack('<I', i % 2) for i in range(steps))
    frames = chunk(b'LIST', b'fram' + chunk(b'icon', frame(1)) + chunk(b'icon', frame(2)))
    body = b'ACON' + before + header(steps) + chunk(b'seq ', sequence) + frames
    return b'RIFF' + struct.pack('<I', len(body)) + body


seeds = {f'{steps}-steps.ani': animation(steps) for steps in (1000, 1001, 32768)}
seeds['two-headers.ani'] = animation(2, header(40000))
for name, data in seeds.items():
    with open(f'{sys.argv[1]}/{name}', 'wb') as f:
        f.write(data)
