#!/usr/bin/env python3
"""Fails when a source file includes a header of a folder above its own.

The layers, lowest first: platform, core, iconwriter, browser, selection,
then commands, tools and dialogs side by side, then mainwindow and app. A
header is found by its file name among the project's headers (includes are
by name, through the targets' include folders)."""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
RANK = {"platform": 0, "core": 1, "iconwriter": 1, "browser": 2, "selection": 3,
        "commands": 4, "tools": 4, "dialogs": 4, "mainwindow": 5, "app": 6}
# Sibling layers that may not include each other.
SIBLINGS = {"commands", "dialogs"}


def layer(path):
    return path.split("/", 1)[0]


headers = {}
sources = []
for top in RANK:
    for dirpath, _, files in os.walk(os.path.join(ROOT, top)):
        for f in files:
            rel = os.path.relpath(os.path.join(dirpath, f), ROOT).replace(os.sep, "/")
            if f.endswith(".h"):
                headers.setdefault(f, []).append(rel)
            if f.endswith((".h", ".cpp")):
                sources.append(rel)

faults = []
for src in sources:
    here = layer(src)
    with open(os.path.join(ROOT, src), encoding="utf-8", errors="replace") as fh:
        for n, line in enumerate(fh, 1):
            m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if not m:
                continue
            for target in headers.get(os.path.basename(m.group(1)), []):
                there = layer(target)
                up = RANK[there] > RANK[here]
                across = here != there and {here, there} <= SIBLINGS
                if up or across:
                    faults.append(f"{src}:{n}: includes {target}")
for f in faults:
    print(f)
print(f"{len(sources)} files checked, {len(faults)} includes against the layers")
sys.exit(1 if faults else 0)
