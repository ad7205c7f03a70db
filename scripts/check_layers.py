#!/usr/bin/env python3
"""Checks that every include under src/ keeps to the layers of src/layers.txt.

A folder may include its own headers and those of every folder it reaches
through the list; an outside library's header (TinyXML, SQLite, zlib, Boost)
only where its line names that library. The picture of the layers in
docs/architecture.md is drawn from the same list and must match it.

  scripts/check_layers.py            check; exit 1 and name each offence
  scripts/check_layers.py --picture  print the picture
  --root DIR before either: check the tree at DIR instead of this one
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
if sys.argv[1:2] == ["--root"]:
    ROOT = pathlib.Path(sys.argv[2]).resolve()
    del sys.argv[1:3]
SRC = ROOT / "src"
DOC = ROOT / "docs" / "architecture.md"
OUTSIDE_HEADERS = {"tinyxml": r"tinyxml\.h", "sqlite": r"sqlite3\.h", "zlib": r"zlib\.h", "boost": r"boost/"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_layers():
    layers = {}
    for line in (SRC / "layers.txt").read_text().splitlines():
        if not re.match(r"[a-z]", line):
            continue
        folder, _, rest = line.partition(":")
        uses, _, outside = rest.partition("|")
        for used in uses.split():
            if used not in layers:
                sys.exit(f"layers.txt: {folder} uses {used}, which is not listed above it")
        layers[folder] = (uses.split(), outside.split())
    return layers


def reach(layers, folder):
    seen, todo = set(), [folder]
    while todo:
        for used in layers[todo.pop()][0]:
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def folder_of(path, layers):
    relative = path.parent.relative_to(SRC).as_posix()
    return relative if relative in layers else None


def include_folder(header, layers):
    parts = header.split("/")
    for length in range(len(parts) - 1, 0, -1):
        candidate = "/".join(parts[:length])
        if candidate in layers:
            return candidate
    return None


def offences(layers):
    found = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cc"):
            continue
        folder = folder_of(path, layers)
        where = path.relative_to(ROOT)
        if folder is None:
            found.append(f"{where}: its folder is not in src/layers.txt")
            continue
        allowed = reach(layers, folder) | {folder}
        outside = set(layers[folder][1])
        for number, line in enumerate(path.read_text().splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, header = match.groups()
            if quote == '"':
                used = include_folder(header, layers)
                if used is None:
                    found.append(f"{where}:{number}: \"{header}\" names no folder of src/")
                elif used not in allowed:
                    found.append(f"{where}:{number}: {folder} may not include \"{header}\" ({used} is not below it)")
                continue
            for library, pattern in OUTSIDE_HEADERS.items():
                if re.match(pattern, header) and library not in outside:
                    found.append(f"{where}:{number}: {folder} may not include <{header}> (it does not use {library})")
    return found


def picture(layers):
    width = max(len(folder) for folder in layers)
    lines = []
    for folder in reversed(list(layers)):
        uses, outside = layers[folder]
        arrow = ", ".join(uses) if uses else "(nothing)"
        extra = f"   [{', '.join(outside)}]" if outside else ""
        lines.append(f"{folder.ljust(width)} ──► {arrow}{extra}")
    return "\n".join(lines)


def main():
    layers = read_layers()
    if sys.argv[1:] == ["--picture"]:
        print(picture(layers))
        return 0
    found = offences(layers)
    text = DOC.read_text()
    block = re.search(r"<!-- layers -->\n```\n(.*?)\n```", text, re.S)
    if not block or block.group(1) != picture(layers):
        found.append("docs/architecture.md: the picture of the layers differs from src/layers.txt "
                     "(scripts/check_layers.py --picture draws it)")
    for offence in found:
        print(offence)
    if not found:
        print(f"layers: {len(layers)} libraries, every include keeps to src/layers.txt")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
