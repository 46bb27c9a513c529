#!/usr/bin/env python3
"""Seeds of the ZIP target: an archive of hostile member names
(device names, characters Windows refuses, a control character, a trailing
dot or blank, paths that climb out, twins that differ in case or only in an
unsafe folder), and one whose members declare huge sizes."""
import io
import struct
import sys
import zipfile

ICON = b'\x00\x00\x01\x00' + b'icon bytes' * 4


def archive(members):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in members:
            z.writestr(name, data)
    return bytearray(buffer.getvalue())


HOSTILE = ['CON', 'NUL', 'AUX', 'PRN', 'CON.ico', 'COM1.ico', 'LPT1', 'nul.txt', 'a:b.ico', 'a<b.ico',
           'a>b.ico', 'a|b.ico', 'a?b.ico', 'a*b.ico', 'a"b.ico', 'ctl\x01.ico', 'dot.ico.', 'blank.ico ',
           '../up.ico', '/root.ico', 'C:/drive.ico', 'dir/ok.ico', 'ok.ico', 'OK.ICO', '../ok.ico', 'x/../twin.ico',
           'twin.ico']
hostile = archive([(name, ICON) for name in HOSTILE])

# Declared sizes of 4 GB, 2 GB and just above the limit a member may have.
huge = archive([(f'{i}.ico', ICON) for i in range(4)])
central = huge.find(b'PK\x01\x02')
for size in (0xFFFFFFF0, 0x7FFFFFFF, 0x04000001):
    struct.pack_into('<I', huge, central + 24, size)
    central = huge.find(b'PK\x01\x02', central + 46)

for name, data in (('hostile-names.zip', hostile), ('huge-sizes.zip', huge)):
    with open(f'{sys.argv[1]}/{name}', 'wb') as f:
        f.write(data)
