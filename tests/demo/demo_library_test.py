#!/usr/bin/env python3
"""Builds the demo library from a small theme and cursor folder made here and
checks that every library node of the tree has something to list: each type
code of the data set's nodes is filed, each filed chunk lies in the archive
the program opens for it, and a second run leaves the library as it is."""
import os
import struct
import subprocess
import sys
import tempfile

ROOT = sys.argv[1]
SCRIPT = os.path.join(ROOT, "scripts", "demo-library")
# The type codes of the library's nodes in each data set: icons, animations,
# and (32 x 32 only) cursors, each of 16 colours, 256 colours, high colour.
NODES = {16: "01345", 32: "012345678"}
RANGES = {16: [(1, 51, ""), (51, 75, "1"), (75, 100, "2"), (100, 125, "3"), (125, 150, "4"), (175, 200, "5")],
          32: [(1, 87, ""), (87, 125, "1"), (125, 150, "2"), (150, 175, "3"), (175, 200, "4"), (200, 225, "5"),
               (225, 250, "6"), (250, 275, "7"), (275, 300, "8"), (300, 325, "9")]}


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def make_theme(base):
    for size in (16, 22, 32):
        d = os.path.join(base, f"{size}x{size}")
        for folder in ("actions", "emblems", "status", "animations"):
            os.makedirs(os.path.join(d, folder), exist_ok=True)
        # Two colours, a gradient of up to 256 and one of more.
        convert("-size", f"{size}x{size}", "xc:none", "-fill", "navy", "-draw",
                f"polygon {size // 2},1 {size - 2},{size - 2} 1,{size - 2}", os.path.join(d, "actions", "arrow-up.png"))
        convert("-size", f"{size}x{size}", "gradient:red-blue", os.path.join(d, "status", "task-accepted.png"))
        convert("-size", f"{size}x{size}", "xc:", "-sparse-color", "bilinear",
                f"0,0 red {size - 1},0 lime 0,{size - 1} blue {size - 1},{size - 1} yellow",
                os.path.join(d, "emblems", "emblem-favorite.png"))
        # An animation strip of four frames, top to bottom.
        convert("-size", f"{size}x{size * 4}", "gradient:orange-purple", os.path.join(d, "animations", "process-working.png"))


def make_cursors(folder):
    os.makedirs(folder, exist_ok=True)

    def xcursor(frames):
        head = struct.pack("<4sIII", b"Xcur", 16, 0x10000, len(frames))
        toc, body = b"", b""
        at = 16 + 12 * len(frames)
        for shade in frames:
            image = struct.pack("<9I", 36, 0xFFFD0002, 32, 1, 32, 32, 3, 4, 50)
            image += b"".join(struct.pack("<I", 0xFF000000 | (shade << 16) | (x * 8 << 8) | y * 8)
                              for y in range(32) for x in range(32))
            toc += struct.pack("<III", 0xFFFD0002, 32, at + len(body))
            body += image
        return head + toc + body

    for n, name in enumerate(("arrow", "hand", "xterm")):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(xcursor([n * 60]))
    with open(os.path.join(folder, "watch"), "wb") as f:
        f.write(xcursor([0, 80, 160, 240]))


def filed(index):
    ids = []
    with open(index, encoding="ascii") as f:
        for line in f:
            ids += line.rstrip("\r\n").split(";")[1:]
    return ids


def members(archive):
    out = subprocess.run(["unzip", "-Z1", archive], check=True, capture_output=True, text=True).stdout
    return set(out.split())


def main():
    faults = []
    with tempfile.TemporaryDirectory() as work:
        theme, cursors, dest = (os.path.join(work, n) for n in ("theme", "cursors", "program"))
        make_theme(theme)
        make_cursors(cursors)
        env = dict(os.environ, VM_DEMO_THEME=theme, VM_DEMO_CURSORS=cursors)
        subprocess.run(["bash", SCRIPT, dest], check=True, env=env, stdout=subprocess.DEVNULL)
        for size, codes in NODES.items():
            ids = filed(os.path.join(dest, f"Icondata-{size}.dat"))
            for code in codes:
                if not any(i[-1] == code for i in ids):
                    faults.append(f"{size}: nothing filed with type code {code}")
            for i in ids:
                chunk = int(i.split(":")[0])
                k = next((k for first, end, k in RANGES[size] if first <= chunk < end), None)
                archive = os.path.join(dest, f"Iconlib{k}-{size}.res")
                if k is None or not os.path.exists(archive) or f"{chunk}.lib" not in members(archive):
                    faults.append(f"{size}: chunk {chunk} of {i} is in no archive the program opens")
                    break
        stamp = os.path.join(dest, "Icondata-32.dat")
        before = os.stat(stamp).st_mtime_ns
        subprocess.run(["bash", SCRIPT, dest], check=True, env=env, stdout=subprocess.DEVNULL)
        if os.stat(stamp).st_mtime_ns != before:
            faults.append("a second run wrote the library again")
    for f in faults:
        print(f)
    return 1 if faults else 0


sys.exit(main())
