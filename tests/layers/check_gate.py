#!/usr/bin/env python3
"""Fails when a call that hands a file's bytes to one of the system's icon,
cursor, picture or shortcut loaders appears outside the loader gate
(core/icon/loadergate.cpp).

Calls that read no file stay allowed: LoadImage of a module's own resource
(no LR_LOADFROMFILE), LoadCursor and LoadIcon of the system's shared images,
and members named like the loaders (ListImage::ExtractIcon takes no file).
The tests are not checked: they hand the system files the program wrote, to
prove the system reads them."""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
GATE = "core/icon/loadergate.cpp"
FOLDERS = ("platform", "core", "iconwriter", "browser", "selection", "commands", "tools", "dialogs",
           "mainwindow", "app", "bench")
# A call of one of these, not as a member (no "." "->" or "::" before it) and
# with arguments.
CALL = re.compile(r"(?<![\w.>:])(ExtractIcon(?:Ex)?[AW]?|PrivateExtractIcons[AW]?|CreateIconFromResource(?:Ex)?"
                  r"|LoadCursorFromFile[AW]?|OleLoadPicture\w*|OleCreatePictureFromFile|LoadLibraryEx[AW]?"
                  r"|SHDefExtractIcon[AW]?|ExtractAssociatedIcon\w*)\s*\(\s*[^)\s]")
# Names whose mere use gets at the loaders: the shell link object and its file loader.
NAMES = re.compile(r"\b(CLSID_ShellLink|IID_IPersistFile)\b")
LOAD_IMAGE = re.compile(r"(?<![\w.>:])LoadImage[AW]?\s*\(")


def calls(text):
    """(line number, text) of each statement that calls a loader."""
    for m in CALL.finditer(text):
        yield text.count("\n", 0, m.start()) + 1, m.group(1)
    for m in NAMES.finditer(text):
        yield text.count("\n", 0, m.start()) + 1, m.group(1)
    for m in LOAD_IMAGE.finditer(text):
        end = text.find(";", m.end())
        if "LR_LOADFROMFILE" in text[m.end():end]:
            yield text.count("\n", 0, m.start()) + 1, "LoadImage from a file"


def comments_out(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


faults = []
checked = 0
for top in FOLDERS:
    for dirpath, _, files in os.walk(os.path.join(ROOT, top)):
        for f in files:
            if not f.endswith((".h", ".cpp", ".c")):
                continue
            rel = os.path.relpath(os.path.join(dirpath, f), ROOT).replace(os.sep, "/")
            if rel == GATE:
                continue
            checked += 1
            with open(os.path.join(ROOT, rel), encoding="utf-8", errors="replace") as fh:
                for n, what in calls(comments_out(fh.read())):
                    faults.append(f"{rel}:{n}: {what} outside the loader gate")
for f in faults:
    print(f)
print(f"{checked} files checked, {len(faults)} loader calls outside {GATE}")
sys.exit(1 if faults else 0)
