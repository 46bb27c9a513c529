#!/usr/bin/env python3
"""Builds the demo library from a small theme made here and the machine's cursor
theme and checks it as the program lists it, and that a second run leaves it."""
import os
import subprocess
import sys
import tempfile
from functools import cache

ROOT = sys.argv[1]
SCRIPT = os.path.join(ROOT, "scripts", "demo-library")
# The type codes of the library's nodes: icons, animations, cursors (32 x 32 only).
NODES = {16: "12345", 32: "12345678"}
RANGES = {16: [(1, 51, ""), (51, 75, "1"), (75, 100, "2"), (100, 125, "3"), (125, 150, "4"), (175, 200, "5")],
          32: [(1, 87, ""), (87, 125, "1"), (125, 150, "2"), (150, 175, "3"), (175, 200, "4"), (200, 225, "5"),
               (225, 250, "6"), (250, 275, "7"), (275, 300, "8"), (300, 325, "9")]}
# The theme's pictures by folder (name, drawing, stored as): a blank page among them.
THEME = {"actions": [("arrow-up", "xc:none -fill navy -draw 'polygon {h},1 {e},{e} 1,{e}'", "PNG8"),
                     ("go-up", "xc: -sparse-color bilinear '0,0 red {e},0 lime 0,{e} blue {e},{e} yellow'", "PNG32")],
         "emblems": [("emblem-favorite", "radial-gradient:yellow-red", "PNG32")],
         "status": [("task-accepted", "xc: -sparse-color bilinear '0,0 green {e},0 navy 0,{e} orange {e},{e} white'",
                     "PNG8"),
                    ("blank-page", "xc:gray96 -fill none -stroke gray88 -draw 'rectangle 0,0 {e},{e}'", "PNG32")]}


def make_theme(base):
    for size in (16, 22, 32):
        d = os.path.join(base, f"{size}x{size}")
        for folder, pictures in THEME.items():
            os.makedirs(os.path.join(d, folder), exist_ok=True)
            for name, drawing, kind in pictures:
                drawing = drawing.format(h=size // 2, e=size - 2)
                subprocess.run(f"convert -size {size}x{size} {drawing} {kind}:{d}/{folder}/{name}.png",
                               shell=True, check=True)
        # Animation strips, frames top to bottom: one of four and a still one.
        os.makedirs(os.path.join(d, "animations"))
        for name, frames in (("process-working", 4), ("process-idle", 1)):
            subprocess.run(["convert", "-size", f"{size}x{size * frames}", "gradient:orange-purple",
                            f"PNG32:{d}/animations/{name}.png"], check=True)


def archive_of(dest, size, chunk):
    k = next((k for first, end, k in RANGES[size] if first <= chunk < end), None)
    return k is not None and os.path.join(dest, f"Iconlib{k}-{size}.res")


def cell_pixels(dest, size, icon_id):
    """The pixels of an icon's cell, cut from its chunk as the program does."""
    chunk, position = (int(n) for n in icon_id.split(":")[:2])
    bmp = subprocess.run(["unzip", "-p", "-P", "Wrenfoldbake", archive_of(dest, size, chunk), f"{chunk}.lib"],
                         check=True, capture_output=True).stdout
    stride, side = (size * 30 + 3) & ~3, size * 10
    left, top = position % 10 * size, position // 10 * size
    return [tuple(bmp[54 + (side - 1 - y) * stride + x * 3:57 + (side - 1 - y) * stride + x * 3])
            for y in range(top, top + size) for x in range(left, left + size)]


@cache
def members(archive):
    out = subprocess.run(["unzip", "-Z1", archive], check=True, capture_output=True, text=True).stdout
    return set(out.split())


def check(dest, size, faults):
    with open(os.path.join(dest, f"Icondata-{size}.dat"), encoding="ascii") as f:
        index = [(line.split(";")[0], line.rstrip("\r\n").split(";")[1:]) for line in f]
    records = dict(index)
    for code in NODES[size]:
        # A node lists each icon of its type code once, labelled with the first
        # keyword that holds it; the player gathers neighbours of one chunk, key
        # colour and type code. An item's name holds just its picture or frames.
        labels = {}
        for keyword, i in ((keyword, i) for keyword, ids in index for i in ids if i[-1] == code):
            labels.setdefault(i, keyword)
        if not labels:
            faults.append(f"{size}: nothing filed with type code {code}")
        runs = []
        for i in labels:
            if code in "345" and runs and runs[-1][-1].split(":")[::2] == i.split(":")[::2]:
                runs[-1].append(i)
            else:
                runs.append([i])
        for run in runs:
            if run != [i for i in records[labels[run[0]]] if i[-1] == code]:
                faults.append(f"{size}: {labels[run[0]]} shows {len(run)} of the pictures of type {code} it names")
        if code == "8" and not any(max(p) - min(p) > 64 and not set(p) <= {0, 128, 255}
                                   for i in labels for p in cell_pixels(dest, size, i)):
            faults.append(f"{size}: the high-colour cursors show no colour")
    groups = {keyword[6:]: set(ids) for keyword, ids in index if keyword[:5] == "group" and len(keyword) > 6}
    for folder, pictures in THEME.items():
        shown = {i for name, _, _ in pictures if name != "blank-page" for i in records.get(name, [])}
        if groups.get(folder) != shown or len(shown) != len(pictures) - (folder == "status"):
            faults.append(f"{size}: the design group {folder} does not list the folder's pictures")
    if "blank-page" in records or len(groups) < 4:
        faults.append(f"{size}: a blank page is filed, or the groups are {sorted(groups)}")
    for i in (i for _, ids in index for i in ids):
        chunk = int(i.split(":")[0])
        archive = archive_of(dest, size, chunk)
        if not archive or not os.path.exists(archive) or f"{chunk}.lib" not in members(archive):
            faults.append(f"{size}: chunk {chunk} of {i} is in no archive the program opens")
            break


def main():
    faults = []
    with tempfile.TemporaryDirectory() as work:
        theme, dest = os.path.join(work, "theme"), os.path.join(work, "program")
        make_theme(theme)
        env = dict(os.environ, VM_DEMO_THEME=theme)
        subprocess.run(["bash", SCRIPT, dest], check=True, env=env, stdout=subprocess.DEVNULL)
        for size in NODES:
            check(dest, size, faults)
        stamp = os.path.join(dest, "Icondata-32.dat")
        before = os.stat(stamp).st_mtime_ns
        subprocess.run(["bash", SCRIPT, dest], check=True, env=env, stdout=subprocess.DEVNULL)
        if os.stat(stamp).st_mtime_ns != before:
            faults.append("a second run wrote the library again")
    for f in faults:
        print(f)
    return 1 if faults else 0


sys.exit(main())
