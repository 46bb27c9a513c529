#!/usr/bin/env python3
"""Reads the compiled help file with an independent reader (chmlib's
extract_chmLib) and checks it against the program's code: every help context
the program passes opens a page that is in the file, every link of every page
resolves, and the pages on each window name every caption that window shows,
as its form's code sets them up."""
import html.parser
import os
import re
import struct
import subprocess
import sys
import tempfile

ROOT, CHM = sys.argv[1], sys.argv[2]
# Folders that are not the program.
NOT_PROGRAM = {"tests", "bench", "fuzz", "help", ".git"}
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
KEY = re.compile(r"^[a-z][a-z0-9]*$")
failures = []


def program_files():
    for folder, dirs, files in os.walk(ROOT):
        dirs[:] = [d for d in dirs if d not in NOT_PROGRAM and not d.startswith("build")]
        for name in files:
            if name.endswith((".cpp", ".h")):
                yield os.path.join(folder, name)


def source(path):
    text = open(path, encoding="utf-8").read()
    text = re.sub(r'("(?:[^"\\\n]|\\.)*")|//[^\n]*', lambda m: m.group(1) or "", text)  # comments, not "http://"
    return re.sub(r'"\s+"', "", text)  # adjacent literals are one text


ESCAPES = {"t": "\t", "r": "\r", "n": "\n", '"': '"', "\\": "\\"}


def literals(text):
    return [re.sub(r"\\(.)", lambda e: ESCAPES.get(e.group(1), e.group(1)), m.group(1)) for m in LITERAL.finditer(text)]


def call_args(text, name):
    """The argument text of every call of name( in text."""
    for m in re.finditer(re.escape(name) + r"\(", text):
        depth, i = 1, m.end()
        while depth and i < len(text):
            depth += {"(": 1, ")": -1}.get(text[i], 0)
            i += 1
        yield text[m.end():i - 1]


def captions(text):
    """The texts a form's code puts on its window: title, controls, menus,
    tabs, bands, columns, list entries, tool tips and its keyed tables."""
    found = literals(" ".join(re.findall(r'design\.caption\s*=\s*("[^"]*")', text)))
    for call in ("create", "SetToolTipText", "AddItem", "Add"):
        for args in call_args(text, "." + call):
            if call == "create" and re.match(r'\s*\*this\s*,\s*"[^"]*"\s*,\s*false\s*$', args):
                continue  # a pop-up menu's holder: its name never shows
            found += literals(args)
            for array in re.findall(r"(\w+)\[\w+\]", args):
                table = re.search(array + r"\[\]\s*=\s*\{(.*?)\};", text, re.S)
                found += literals(table.group(1)) if table else []
    for args in call_args(text, "SetCaption"):
        if LITERAL.fullmatch(args.strip()):
            found += literals(args)
    # Rows of keyed tables ({"key", "Caption", ...}): buttons and tabs.
    for row in re.findall(r"\{([^{};]*)\}", text):
        texts = literals(row)
        if len(texts) > 1 and any(KEY.match(t) for t in texts):
            found += [t for t in texts if not KEY.match(t)]
    shown = set()
    for t in found:
        t = re.sub(r"\s+", " ", t.split("\t")[0].replace("&", "")).strip().rstrip(".:; ")
        if re.search(r"[A-Za-z]", t) and not KEY.match(t):
            shown.add(t)
    return shown


def forms():
    """Each form's name and the text of its sources (its file and the files
    beside it that carry its name)."""
    files = list(program_files())
    for path in files:
        for name in re.findall(r'Form\("(frm\w+)"\)', source(path)):
            folder, stem = os.path.dirname(path), os.path.basename(path)[:-4]
            own = [f for f in files if os.path.dirname(f) == folder and os.path.basename(f).startswith(stem)]
            yield name, "\n".join(source(f) for f in own if f.endswith(".cpp"))


class Page(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.links, self.anchors, self.windows, self.words = [], set(), [], []
        self.feed(text)
        self.text = re.sub(r"\s+", " ", " ".join(self.words))

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ("href", "src"):
            if a.get(key):
                self.links.append(a[key])
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.links.append(a.get("value", ""))
        if a.get("id") or (tag == "a" and a.get("name")):
            self.anchors.add(a.get("id") or a.get("name"))
        if tag == "meta" and a.get("name") == "windows":
            self.windows += a.get("content", "").split()

    def handle_data(self, data):
        self.words.append(data)


def chm_table(folder):
    """Context number -> page, from #IVB and #STRINGS; and the default topic from #SYSTEM."""
    ivb = open(os.path.join(folder, "#IVB"), "rb").read()
    strings = open(os.path.join(folder, "#STRINGS"), "rb").read()
    text = lambda at: strings[at:strings.index(b"\0", at)].decode()
    size = struct.unpack_from("<I", ivb)[0]
    contexts = {}
    for at in range(4, 4 + size, 8):
        number, offset = struct.unpack_from("<II", ivb, at)
        contexts[number] = text(offset).lstrip("/")
    system, default, at = open(os.path.join(folder, "#SYSTEM"), "rb").read(), None, 4
    while at + 4 <= len(system):
        code, length = struct.unpack_from("<HH", system, at)
        if code == 2:
            default = system[at + 4:at + 4 + length].split(b"\0")[0].decode()
        at += 4 + length
    return contexts, default


def main():
    with tempfile.TemporaryDirectory() as folder:
        with open(os.devnull, "w") as quiet:
            subprocess.run(["extract_chmLib", CHM, folder], check=True, stdout=quiet)
        pages = {}
        for name in os.listdir(folder):
            if name.endswith((".html", ".hhc")):
                pages[name] = Page(open(os.path.join(folder, name), encoding="utf-8").read())
        contexts, default = chm_table(folder)

        # Every context the program passes, and only through the one helper.
        enum = re.search(r"enum class HelpContext[^{]*\{(.*?)\};", source(os.path.join(ROOT, "core", "helpfile.h")), re.S)
        numbers = {int(n): name for name, n in re.findall(r"(\w+)\s*=\s*(\d+)", enum.group(1))}
        for path in program_files():
            rel = os.path.relpath(path, ROOT)
            if "seamHtmlHelp(" in source(path) and rel not in ("core/helpfile.cpp", "platform/toolkit/seam.cpp",
                                                                "platform/toolkit/seam.h"):
                failures.append(f"{rel} calls HTML Help past procShowHelp")
        for number, name in sorted(numbers.items()):
            page = default if number == 0 else contexts.get(number)
            if page not in pages:
                failures.append(f"context {number} ({name}) opens {page!r}, which is not in the help file")

        # Links.
        listed = set()
        for name, page in pages.items():
            for link in page.links:
                if re.match(r"^[a-z]+:", link):
                    failures.append(f"{name} links out of the help: {link}")
                    continue
                target, _, anchor = link.partition("#")
                target = target or name
                if name == "toc.hhc":
                    listed.add(target)
                if not os.path.exists(os.path.join(folder, target)):
                    failures.append(f"{name} links to {target}, which is not in the help file")
                elif anchor and anchor not in pages.get(target, Page("")).anchors:
                    failures.append(f"{name} links to {link}, which has no such anchor")
        for name in pages:
            if name.endswith(".html") and name not in listed:
                failures.append(f"{name} is not in the contents")

        # Captions.
        for form, text in forms():
            on = [p for p in pages.values() if form in p.windows]
            if not on:
                failures.append(f"no page is on the window {form}")
                continue
            words = " ".join(p.text for p in on)
            for caption in sorted(captions(text)):
                if not re.search(r"(?<!\w)" + re.escape(caption) + r"(?!\w)", words):
                    failures.append(f"the pages on {form} do not name {caption!r}")

    for failure in failures:
        print(failure)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
