#!/usr/bin/env python3
"""Writes seed corpora for the fuzz targets from the golden cases.

    make_seeds.py REPO_DIR OUT_DIR

OUT_DIR/cli gets the command lines of every case's cmd file (arguments
separated by NUL bytes); the targets that read source trees (front, writers,
pack, import) get one input per XML file of every case: that file as
"main.xml" followed by the case's other files under "@@@ NAME" marker lines
(see fuzz_input.h). The hand-written seeds of fuzz/seeds/TARGET are added
(fuzz/seeds/configuration goes to front, writers and pack), and so are a
small configuration from the benchmark generator and the example
configuration for the configuration targets.
"""
import hashlib
import os
import shlex
import subprocess
import sys
import tempfile

MARKER = b"\n@@@ "
CONFIGURATION_TARGETS = ("front", "writers", "pack")


def save(folder, data):
    os.makedirs(folder, exist_ok=True)
    name = hashlib.sha1(data).hexdigest()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def command_lines(cmd_text):
    try:
        words = shlex.split(cmd_text, comments=True)
    except ValueError:
        return
    current = None
    for word in words + [";"]:
        if word in ("&&", "||", ";", "|") or word.endswith(";"):
            if current is not None:
                yield current
            current = None
        elif word == "hesk_config":
            current = []
        elif current is not None:
            current.append(word)


def case_files(case_dir):
    return case_files_in(os.path.join(case_dir, "in"))


def case_files_in(root):
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, root)] = f.read()
    return files


def source_trees(files):
    for main, content in files.items():
        if not main.endswith(".xml"):
            continue
        data = content
        for name, other in sorted(files.items()):
            if name != main:
                data += MARKER + name.encode() + b"\n" + other
        yield data


def generated_configuration(repo):
    generator = os.path.join(repo, "bench", "gen_config.py")
    if not os.path.exists(generator):
        return
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([sys.executable, generator, folder, "--scale", "0.0005", "--chunk", "4"],
                       check=True, stdout=subprocess.DEVNULL)
        files = {}
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
        data = files.pop("main.xml")
        for name, content in files.items():
            data += MARKER + name.encode() + b"\n" + content
        yield data


def example_configuration(repo):
    folder = os.path.join(repo, "examples")
    main = os.path.join(folder, "product.xml")
    if not os.path.exists(main):
        return
    with open(main, "rb") as f:
        data = f.read()
    for name, content in sorted(case_files_in(folder).items()):
        if name != "product.xml":
            data += MARKER + name.encode() + b"\n" + content
    yield data


def hand_written(repo, target):
    folder = os.path.join(repo, "fuzz", "seeds", target)
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                yield f.read()


def main():
    repo, out = sys.argv[1], sys.argv[2]
    cases = os.path.join(repo, "tests", "cases")
    for target in ("cli", "import", "export"):
        os.makedirs(os.path.join(out, target), exist_ok=True)
        for data in hand_written(repo, target):
            save(os.path.join(out, target), data)
    configurations = list(hand_written(repo, "configuration"))
    configurations += generated_configuration(repo)
    configurations += example_configuration(repo)
    for folder, _, names in os.walk(cases):
        if "cmd" not in names:
            continue
        with open(os.path.join(folder, "cmd"), encoding="utf-8", errors="replace") as f:
            for arguments in command_lines(f.read()):
                save(os.path.join(out, "cli"), b"\0".join(a.encode() for a in arguments))
        for tree in source_trees(case_files(folder)):
            configurations.append(tree)
            save(os.path.join(out, "import"), tree)
    for target in CONFIGURATION_TARGETS:
        for data in configurations:
            save(os.path.join(out, target), data)


if __name__ == "__main__":
    main()
