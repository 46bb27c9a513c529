#!/usr/bin/env python3
"""Writes one data set of the demo icon library: the chunk pictures
(<chunk>.lib, 10 x 10 cells, each icon on a key colour that marks its
transparent pixels) and the keyword index Icondata-<size>.dat.

usage: demolibrary.py <theme base folder> <size> <out folder> [<cursor folder>]

The library holds icons (type codes 0-2: 16 colours, 256 colours, high
colour), animations (3-5) and cursors (6-8). An animation is filed as its
frames in consecutive cells of one chunk, all on one key colour, so that the
player gathers them as one; the animation filed next to it in the same chunk
takes another key colour. Frames come from the theme's animation strips, from
static icons turned or pulsed, and from the animated cursors of the cursor
folder (X cursor files); the cursor folder's still cursors become cursors
(32 x 32 data set only, as the program lists cursors only there). The cells
hold pictures only: a cursor's hotspot and a frame's delay have no place in
the library's format, and the program asks for a hotspot when a library
cursor is saved."""
import os
import re
import struct
import subprocess
import sys

src_base, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
cursor_dir = sys.argv[4] if len(sys.argv) > 4 else ""
src = os.path.join(src_base, f"{size}x{size}")
os.makedirs(out, exist_ok=True)

# Key colours by digit, as (red, green, blue).
KEYS = [(255, 255, 255), (0, 128, 128), (0, 255, 0), (0, 128, 0), (255, 0, 255),
        (128, 0, 128), (255, 0, 0), (128, 0, 0), (255, 255, 0), (128, 128, 0)]
# The first chunk of each archive and the chunk after its range, by data set.
RANGES = {16: [(1, 51), (51, 75), (75, 100), (100, 125), (125, 150), (175, 200)],
          32: [(1, 87), (87, 125), (125, 150), (150, 175), (175, 200), (200, 225),
               (225, 250), (250, 275), (275, 300), (300, 325)]}[size]
SKIP = {"symbolic", "rtl", "ltr", "png", "the", "and", "for", "with", "kde", "ptr"}
MOST_FRAMES = 61  # the player holds 61 frames
# The 16 colours of the standard palette, for the 16-colour pictures.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def words_of(name):
    return set(re.split(r"[-_.]+", name.lower()))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def cells_of_rgba(raw, width, count):
    """Cuts a strip of count size x size RGBA cells laid side by side."""
    cells = []
    for pos in range(count):
        pixels = []
        for y in range(size):
            for x in range(size):
                o = (y * width + pos * size + x) * 4
                r, g, b, a = raw[o:o + 4]
                pixels.append(None if a < 128 else (r, g, b))
        cells.append(pixels)
    return cells


def convert_cells(args, count):
    """Runs ImageMagick with args that leave count pictures, each drawn at the
    data set's size, and returns their cells."""
    raw = subprocess.run(["convert"] + args + ["-background", "none", "-resize", f"{size}x{size}!",
                         "+append", "-depth", "8", "rgba:-"], check=True, stdout=subprocess.PIPE).stdout
    return cells_of_rgba(raw, size * count, count)


def read_pixels(paths):
    return convert_cells(list(paths), len(paths))


def quantize(frames, colours):
    """The frames in at most 16 colours (the standard palette) or 256 (a
    6 x 6 x 6 cube and grey steps)."""
    def nearest16(p):
        return min(PALETTE16, key=lambda q: sum((a - b) ** 2 for a, b in zip(p, q)))

    def cube(p):
        if max(p) - min(p) < 12:
            grey = round(sum(p) / 3 / 255 * 39) * 255 // 39
            return (grey, grey, grey)
        return tuple(round(c / 51) * 51 for c in p)

    step = nearest16 if colours == 16 else cube
    return [[None if p is None else step(p) for p in frame] for frame in frames]


def depth_of(frames):
    used = {p for frame in frames for p in frame if p is not None}
    return 0 if len(used) <= 16 else 1 if len(used) <= 256 else 2


# An item is (words, frames, kind, depth): kind 0 icon, 1 animation, 2
# cursor; its type code is 3 * kind + depth (0: 16 colours, 1: 256 colours,
# 2: high colour). A picture of the theme counts its colours; a picture the
# script writes at a depth of its own (a 32-bit cursor, a reduced copy) has
# that depth.
def theme_icons(folder):
    path = os.path.join(src, folder)
    pictures = {}
    for name in sorted(os.listdir(path)):
        if not name.endswith(".png"):
            continue
        full = os.path.join(path, name)
        real = os.path.realpath(full)
        if png_size(real) != (size, size):
            continue
        # Names that are links to one file share its cell, filed under the
        # words of all of its names.
        pictures.setdefault(real, set()).update(words_of(name[:-4]))
    items = []
    entries = sorted(pictures.items())
    for start in range(0, len(entries), 100):
        batch = entries[start:start + 100]
        for (real, words), pixels in zip(batch, read_pixels([r for r, _ in batch])):
            items.append((words | {folder.lower()}, [pixels], 0, depth_of([pixels])))
    return items


def strip_animations():
    """The theme's animation strips (frames stacked top to bottom), at this
    size and at 22 pixels drawn to this size."""
    items = []
    for folder_size in sorted({size, 22}):
        folder = os.path.join(src_base, f"{folder_size}x{folder_size}", "animations")
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            dims = png_size(os.path.join(folder, name)) if name.endswith(".png") else None
            if not dims or dims[0] <= 0 or dims[1] % dims[0]:
                continue
            count = min(dims[1] // dims[0], MOST_FRAMES)
            frames = convert_cells([os.path.join(folder, name), "-crop", f"{dims[0]}x{dims[0]}", "+repage",
                                    "-delete", f"{count}--1"] if dims[1] // dims[0] > count else
                                   [os.path.join(folder, name), "-crop", f"{dims[0]}x{dims[0]}", "+repage"], count)
            items.append((words_of(name[:-4]) | {"animation", "animated", "busy"}, frames, 1, depth_of(frames)))
    return items


def made_animations():
    """A turning arrow and a pulsing star, each at 16 colours, 256 colours
    and high colour."""
    made = [("arrow-up.png", "actions", "arrow turning", [["-distort", "SRT", str(a)] for a in range(0, 360, 45)]),
            ("emblem-favorite.png", "emblems", "star pulsing",
             [["-gravity", "center", "-resize", f"{p}%", "-extent", f"{size}x{size}"] for p in (100, 85, 70, 55, 70, 85)])]
    items = []
    for file, folder, name, steps in made:
        path = os.path.join(src, folder, file)
        if not os.path.isfile(path):
            continue
        frames = [convert_cells([path, "-background", "none", "-virtual-pixel", "none"] + step, 1)[0]
                  for step in steps]
        for depth, colours in enumerate((16, 256, None)):
            shown = quantize(frames, colours) if colours else frames
            items.append((set(name.split()) | {"animation", "animated"}, shown, 1, depth))
    return items


def xcursor_images(path):
    """The images of an X cursor file nearest this size: [(width, height, argb)]."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"Xcur" or len(data) < 16:
        return []
    count = struct.unpack_from("<I", data, 12)[0]
    toc = []
    for i in range(min(count, 1000)):
        at = 16 + 12 * i
        if at + 12 > len(data):
            break
        kind, nominal, pos = struct.unpack_from("<III", data, at)
        if kind == 0xFFFD0002:
            toc.append((nominal, pos))
    if not toc:
        return []
    best = min({n for n, _ in toc}, key=lambda n: (abs(n - size), -n))
    images = []
    for nominal, pos in toc:
        if nominal != best or pos + 36 > len(data):
            continue
        _, _, _, _, width, height, _, _, _ = struct.unpack_from("<9I", data, pos)
        end = pos + 36 + width * height * 4
        if width > 256 or height > 256 or end > len(data):
            continue
        images.append((width, height, data[pos + 36:end]))
    return images


def cursor_cell(width, height, argb):
    """One X cursor image (premultiplied ARGB) as a cell, drawn at the data
    set's size from its top left corner, as a cursor's hotspot counts from it."""
    pixels = []
    for y in range(size):
        for x in range(size):
            if x >= width or y >= height:
                pixels.append(None)
                continue
            b, g, r, a = argb[(y * width + x) * 4:(y * width + x) * 4 + 4]
            if a < 128:
                pixels.append(None)
            else:
                pixels.append(tuple(min(255, c * 255 // a) for c in (r, g, b)))
    return pixels


def cursors():
    if size != 32 or not cursor_dir or not os.path.isdir(cursor_dir):
        return []
    files = {}
    for name in sorted(os.listdir(cursor_dir)):
        real = os.path.realpath(os.path.join(cursor_dir, name))
        if os.path.isfile(real) and not re.fullmatch(r"[0-9a-f]{32}", name):
            files.setdefault(real, set()).update(words_of(name))
    items = []
    depths = (16, 256, None)
    # Still and animated cursors each take the three depths in turn.
    counts = [0, 0]
    for real, words in sorted(files.items()):
        frames = [cursor_cell(*image) for image in xcursor_images(real)][:MOST_FRAMES]
        if not frames:
            continue
        animated = len(frames) > 1
        depth = counts[animated] % 3
        counts[animated] += 1
        colours = depths[depth]
        shown = quantize(frames, colours) if colours else frames
        if animated:
            items.append((words | {"cursor", "animated", "animation", "busy"}, shown, 1, depth))
        else:
            items.append((words | {"cursor", "pointer"}, shown, 2, depth))
    return items


# The groups of items, each starting an archive of its own while there is one:
# the theme's folders, then the animations and cursors.
groups = []
for folder in sorted(os.listdir(src)):
    if folder != "animations" and os.path.isdir(os.path.join(src, folder)):
        items = theme_icons(folder)
        if items:
            groups.append(items)
moving = strip_animations() + made_animations() + cursors()
if moving:
    groups.append(moving)


def write_chunk(chunk, cells):
    side = size * 10
    grid = [KEYS[0]] * (side * side)
    for pos, (k, pixels) in enumerate(cells):
        left, top = (pos % 10) * size, (pos // 10) * size
        for y in range(size):
            for x in range(size):
                p = pixels[y * size + x]
                grid[(top + y) * side + left + x] = KEYS[k] if p is None else p
    stride = (side * 3 + 3) & ~3
    body = bytearray()
    for y in range(side - 1, -1, -1):
        row = bytearray()
        for x in range(side):
            r, g, b = grid[y * side + x]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        body += row
    header = b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(os.path.join(out, f"{chunk}.lib"), "wb") as f:
        f.write(header + info + body)


index = {}
ranges = list(RANGES)
chunk, end = ranges.pop(0)
cells = []  # the cells of the chunk being filled: (k, pixels)
previous_k = None  # the key colour of the item last placed in this chunk


def close_chunk():
    global chunk, end, cells, previous_k
    if cells:
        write_chunk(chunk, cells)
        chunk += 1
    cells, previous_k = [], None
    if chunk >= end:
        if not ranges:
            sys.exit("demo-library: more icons than the archives hold")
        chunk, end = ranges.pop(0)


for number, items in enumerate(groups):
    # Every group but the first opens the next archive while there is one.
    if number and ranges:
        if cells:
            write_chunk(chunk, cells)
        cells, previous_k = [], None
        chunk, end = ranges.pop(0)
    for position, (words, frames, kind, depth) in enumerate(items):
        used = {p for frame in frames for p in frame if p is not None}
        if not used:
            continue  # a blank picture is no icon
        if len(cells) + len(frames) > 100:
            close_chunk()
        # An animation's key colour differs from the item's before it, so that
        # two animations filed side by side stay two.
        k = next((d for d in [(position + i) % 10 for i in range(10)]
                  if KEYS[d] not in used and (kind == 0 or d != previous_k)), None)
        if k is None:
            continue
        t = 3 * kind + depth
        ids = []
        for pixels in frames:
            ids.append(f"{chunk}:{len(cells)}:{k}{t}")
            cells.append((k, pixels))
        previous_k = k
        for word in sorted(words):
            if len(word) >= 3 and word not in SKIP and not word.isdigit():
                index.setdefault(word, []).extend(ids)
if cells:
    write_chunk(chunk, cells)

with open(os.path.join(out, f"Icondata-{size}.dat"), "wb") as f:
    for word in sorted(index)[:3000]:
        f.write((word + ";" + ";".join(index[word]) + "\r\n").encode("ascii", "replace"))
