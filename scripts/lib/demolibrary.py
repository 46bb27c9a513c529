#!/usr/bin/env python3
"""Writes one data set of the demo icon library: the chunk pictures
(<chunk>.lib, 10 x 10 cells, each icon on a key colour that marks its
transparent pixels) and the keyword index Icondata-<size>.dat.

usage: demolibrary.py <theme base folder> <size> <out folder> [<cursor folder>]

The library holds icons (type codes 0-2: 16 colours, 256 colours, high
colour), animations (3-5) and cursors (6-8). An animation is filed as its
frames in consecutive cells of one chunk, all on one key colour that no other
animation of the chunk has, so that the player gathers them as one and never
with a neighbour. Frames come from the theme's animation strips, from static
icons turned or pulsed, and from the animated cursors of the cursor folder (X
cursor files); the cursor folder's still cursors become cursors (32 x 32 data
set only, as the program lists cursors only there). The cells hold pictures
only: a cursor's hotspot and a frame's delay have no place in the library's
format, and the program asks for a hotspot when a library cursor is saved.

The program labels a listed icon with the first keyword of the index that
holds it, so the index names every item first (its picture's file name),
then the design groups ("group_" and the theme folder, the animations or the
cursors, for the tree's Groups by Design), then the words of the names and
the folders."""
import os
import re
import struct
import subprocess
import sys
from collections import Counter, namedtuple

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
MOST_KEYWORDS = 3000  # ids the index takes in the program's keyword tables; user keywords follow
ANIMATION_WORDS = {"animation", "animated", "busy"}
CURSOR_WORDS = {"cursor", "pointer"}
# The 16 colours of the standard palette, for the 16-colour pictures.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# One picture or animation: kind 0 icon, 1 animation, 2 cursor; depth 0 16
# colours, 1 256 colours, 2 high colour. group is its design group.
Item = namedtuple("Item", "name words group frames kind depth")


def type_code(item):
    return 3 * item.kind + item.depth


def words_of(name):
    return set(re.split(r"[-_.]+", name.lower()))


def png_header(path):
    """(width, height, colour type) of a PNG file, or None."""
    with open(path, "rb") as f:
        head = f.read(26)
    if len(head) < 26 or head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24]) + (head[25],)


def in_true_colour(header):
    return header[2] in (2, 6)  # RGB, RGBA; not a palette nor greys


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


def colours_of(frames):
    return {p for frame in frames for p in frame if p is not None}


def depth_of(frames, true_colour):
    """16 colours when the pictures use no more; past that, the depth the
    theme drew them in: true colour is high colour, a palette or greys 256
    colours (a 16-pixel picture has no room for more than 256 colours, so
    counting alone would file none of them as high colour)."""
    return 0 if len(colours_of(frames)) <= 16 else 2 if true_colour else 1


def shows_something(frames):
    """Whether a picture stands out on the white of the list: in one frame
    at least half a row of pixels darker than a light grey or plainly
    coloured. A blank page or white fog drawn at this size does not."""
    def marked(p):
        return p is not None and (min(p) <= 200 or max(p) - min(p) >= 48)

    return any(sum(map(marked, frame)) >= size // 2 for frame in frames)


def theme_icons():
    """Every picture of the theme's folders drawn at this size, once: names
    that link to one file share its cell, which is named after the file and
    found by the words of all of its names and folders. Its design group is
    the folder the file lies in."""
    pictures = {}
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if folder == "animations" or not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            real = os.path.realpath(os.path.join(path, name))
            header = png_header(real) if name.endswith(".png") and os.path.isfile(real) else None
            if header and header[:2] == (size, size):
                names, folders = pictures.setdefault(real, (set(), set()))
                names.add(name[:-4])
                folders.add(folder)
    items = []
    entries = sorted(pictures.items())
    for start in range(0, len(entries), 100):
        batch = entries[start:start + 100]
        for (real, (names, folders)), pixels in zip(batch, convert_cells([r for r, _ in batch], len(batch))):
            own = os.path.basename(os.path.dirname(real))
            words = set().union(*map(words_of, names)) | {f.lower() for f in folders}
            items.append(Item(os.path.basename(real)[:-4], words, own if own in folders else min(folders),
                              [pixels], 0, depth_of([pixels], in_true_colour(png_header(real)))))
    return items


def strip_animations():
    """The theme's animation strips (frames stacked top to bottom) of two
    frames or more: those drawn at this size, and those drawn only at 22
    pixels, drawn to this size. A strip of one frame is a still picture."""
    items, named = [], set()
    for folder_size in [size] + ([22] if size != 22 else []):
        folder = os.path.join(src_base, f"{folder_size}x{folder_size}", "animations")
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            path = os.path.join(folder, name)
            header = png_header(path) if name.endswith(".png") else None
            if not header or header[0] <= 0 or header[1] % header[0] or header[1] < 2 * header[0] \
                    or name[:-4] in named:
                continue
            count = min(header[1] // header[0], MOST_FRAMES)
            frames = convert_cells([path, "-crop", f"{header[0]}x{header[0]}", "+repage",
                                    "-delete", f"{count}--1"] if header[1] // header[0] > count else
                                   [path, "-crop", f"{header[0]}x{header[0]}", "+repage"], count)
            named.add(name[:-4])
            items.append(Item(name[:-4], words_of(name[:-4]) | ANIMATION_WORDS, "animations", frames, 1,
                              depth_of(frames, in_true_colour(header))))
    return items


def made_animations():
    """A turning arrow and a pulsing star, each at 16 colours, 256 colours
    and high colour, named after their picture and their motion."""
    made = [("arrow-up", "actions", "turning", [["-distort", "SRT", str(a)] for a in range(0, 360, 45)]),
            ("emblem-favorite", "emblems", "pulsing",
             [["-gravity", "center", "-resize", f"{p}%", "-extent", f"{size}x{size}"] for p in (100, 85, 70, 55, 70, 85)])]
    items = []
    for picture, folder, motion, steps in made:
        path = os.path.join(src, folder, picture + ".png")
        if not os.path.isfile(path):
            continue
        frames = [convert_cells([path, "-background", "none", "-virtual-pixel", "none"] + step, 1)[0]
                  for step in steps]
        for depth, colours in enumerate((16, 256, None)):
            shown = quantize(frames, colours) if colours else frames
            items.append(Item(f"{picture}-{motion}", words_of(picture) | {motion} | ANIMATION_WORDS,
                              "animations", shown, 1, depth))
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
        # The frames of an animation share one size: an image of another
        # size filed under the same nominal size is no frame of it.
        if width > 256 or height > 256 or end > len(data) or images and images[0][:2] != (width, height):
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
    """The cursor folder's cursors, each file once, named after the file and
    found by the words of all the names that link to it."""
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
        words |= ANIMATION_WORDS | CURSOR_WORDS if animated else CURSOR_WORDS
        items.append(Item(os.path.basename(real), words, "cursors", shown, 1 if animated else 2, depth))
    return items


def told_apart(items):
    """Two pictures of one name and type code (one name in two theme folders)
    each take their folder after the name, so that no list shows two items
    of one name and type."""
    count = Counter((item.name, type_code(item)) for item in items)
    return [item._replace(name=f"{item.name} ({item.group})") if count[item.name, type_code(item)] > 1 else item
            for item in items]


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


class Chunks:
    """Lays items into the chunks of the archives, 100 cells a chunk."""

    def __init__(self):
        self.ranges = list(RANGES)
        self.chunk, self.end = self.ranges.pop(0)
        self.cells = []  # (key digit, pixels) of the chunk being filled
        self.moving = set()  # the key digits of its animations

    def close(self):
        if self.cells:
            write_chunk(self.chunk, self.cells)
            self.chunk += 1
        self.cells, self.moving = [], set()

    def next_archive(self):
        self.close()
        if self.ranges:
            self.chunk, self.end = self.ranges.pop(0)

    def key_digit(self, item, position):
        used = colours_of(item.frames)
        free = [d for d in ((position + i) % 10 for i in range(10)) if KEYS[d] not in used]
        # The player gathers neighbouring entries of one chunk, key colour and
        # type code as one animation, in whatever order a list shows them.
        if item.kind == 1:
            free = [d for d in free if d not in self.moving]
        return free[0] if free else None

    def place(self, item, position):
        """The ids of the item's frames, or none when no key colour is left
        for it."""
        if len(self.cells) + len(item.frames) > 100:
            self.close()
        k = self.key_digit(item, position)
        if k is None and item.kind == 1 and self.cells:
            self.close()
            k = self.key_digit(item, position)
        if k is None:
            return []
        if self.chunk >= self.end:
            if not self.ranges:
                sys.exit("demo-library: more icons than the archives hold")
            self.chunk, self.end = self.ranges.pop(0)
        if item.kind == 1:
            self.moving.add(k)
        ids = [f"{self.chunk}:{len(self.cells) + n}:{k}{type_code(item)}" for n in range(len(item.frames))]
        self.cells += [(k, pixels) for pixels in item.frames]
        return ids


items = [item for item in theme_icons() + strip_animations() + made_animations() + cursors()
         if shows_something(item.frames)]
groups = {}
for item in sorted(told_apart(items), key=lambda i: (i.name.lower(), i.name, type_code(i))):
    groups.setdefault(item.group, []).append(item)

names, designs, words = {}, {}, {}
chunks = Chunks()
# Each design group starts an archive of its own while there is one: the
# theme's folders, then the animations and the cursors.
for number, group in enumerate(sorted(groups, key=lambda g: (g in ("animations", "cursors"), g))):
    if number:
        chunks.next_archive()
    for position, item in enumerate(groups[group]):
        ids = chunks.place(item, position)
        if not ids:
            continue
        names.setdefault(item.name, []).extend(ids)
        designs.setdefault("group_" + group, []).extend(ids)
        for word in item.words:
            if len(word) >= 3 and word not in SKIP and not word.isdigit():
                words.setdefault(word, []).extend(ids)
chunks.close()

keywords = [(k, names[k]) for k in sorted(names, key=lambda n: (n.lower(), n))] + sorted(designs.items()) \
    + sorted((w, ids) for w, ids in words.items() if w not in names)
with open(os.path.join(out, f"Icondata-{size}.dat"), "wb") as f:
    for word, ids in keywords[:MOST_KEYWORDS]:
        f.write((word + ";" + ";".join(ids) + "\r\n").encode("ascii", "replace"))
