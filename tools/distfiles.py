#!/usr/bin/env python3
"""What dist/ holds and what a release ships, written once. The dist check
(tests/ship/check_dist.py), the release script (tools/make_release.py) and the archive
check (tests/ship/roundtrip.py) read these lists; the tables of README.md and
docs/guide.md are made from them (between the lines <!-- dist-files --> and
<!-- /dist-files -->):

  distfiles.py --write README.md docs/guide.md    rewrite the tables
  distfiles.py --check README.md docs/guide.md    exit 1 when a table differs
"""
import glob
import os
import sys

TARGETS = ("win32", "win64")

# (path below dist/, the targets it is there for or None for the shared folders, what it
# is). "{arch}" stands for the target's folder. Every .dll and .exe has its symbols in
# .debug/NAME.debug beside it (symbol_files).
FILES = [
    ("include/kydoru.h", None, "the public C/C++ header, every export documented"),
    ("include/kydoru_version.h", None, "its version macros (KYDORU_VERSION_MAJOR, ... _STRING)"),
    ("include/kydoru.bas", None, "the VBA and VB6 module: a Declare for every export"),
    ("cmake/kydoru-config.cmake", None, "the CMake package: find_package(kydoru CONFIG), kydoru::kydoru"),
    ("cmake/kydoru-config-version.cmake", None, "its version check"),
    ("cmake/kydoru-platform.cmake", None, "its choice of binaries by the project's system and architecture"),
    ("{arch}/kydoru.dll", TARGETS, "the library, stripped (the 32-bit one is the deliverable)"),
    ("{arch}/kydoru.def", TARGETS, "its export table: names and ordinals"),
    ("{arch}/libkydoru.dll.a", TARGETS, "the MinGW import library"),
    ("{arch}/kydoru.lib", TARGETS, "the import library for Microsoft's linker (Visual C++, lld-link)"),
    ("{arch}/kydoru_std.dll", ("win32",), "the stdcall companion for 32-bit VBA and VB6 (win32 only)"),
    ("{arch}/kydemo.exe", TARGETS, "the demo program, stripped"),
    ("{arch}/kyctl.exe", TARGETS, "the command-line front end (uses the kydoru.dll beside it)"),
    ("{arch}/ky.jpg", TARGETS, "the logo show's pictures (read from the current folder)"),
    ("{arch}/kydoru.jpg", TARGETS, "the logo show's second picture"),
]
SYMBOLS = "{arch}/.debug/"
SYMBOLS_NOTE = "the binaries' symbols, where gdb looks (kydoru.dll.debug, ...)"

# What each release archive holds besides its target's dist/ files: the documents, and
# everything they link to. Folders end in "/"; patterns are globs from the source tree.
DOCUMENTS = ["README.md", "LICENSE", "CHANGELOG.md", "docs/guide.md", "docs/api.md", "docs/cli.md",
             "docs/*.png", "docs/effects/", "examples/"]

# The files `make release` writes into dist/release/.
RELEASE = ["kydoru-{version}-{arch}.zip", "kydoru-{version}-{arch}-symbols.zip", "SHA256SUMS"]


def files(arch):
    """The paths below dist/ of one target's files and the shared folders, symbols left out."""
    return [path.format(arch=arch) for path, targets, _ in FILES if targets is None or arch in targets]


def binaries(arch):
    return [p for p in files(arch) if p.startswith(arch + "/") and p.endswith((".dll", ".exe"))]


def symbol_files(arch):
    """The debug file of each binary, below dist/."""
    return [SYMBOLS.format(arch=arch) + os.path.basename(p) + ".debug" for p in binaries(arch)]


def documents(source):
    """(path in the archive, file) of every document, folders and patterns expanded."""
    out = []
    for entry in DOCUMENTS:
        if entry.endswith("/"):
            for dirpath, dirnames, filenames in os.walk(os.path.join(source, entry)):
                dirnames.sort()
                for name in sorted(filenames):
                    path = os.path.join(dirpath, name)
                    out.append((os.path.relpath(path, source).replace(os.sep, "/"), path))
        elif any(c in entry for c in "*?["):
            for path in sorted(glob.glob(os.path.join(source, entry))):
                out.append((os.path.relpath(path, source).replace(os.sep, "/"), path))
        else:
            out.append((entry, os.path.join(source, entry)))
    return out


# ---- the tables of README.md and docs/guide.md -------------------------------------

def rows():
    """(path as the tables show it, what it is): the 32-bit folder stands for both."""
    out = [(f"dist/{path.format(arch='win32')}", note) for path, _, note in FILES]
    out.append((f"dist/{SYMBOLS.format(arch='win32')}", SYMBOLS_NOTE))
    out.append(("dist/win64/...", "the same for x86-64, without the companion"))
    archive, symbols, sums = (r.format(version="VERSION", arch="win32") for r in RELEASE)
    out.append(("dist/release/", f"after `make release`: {archive} and -win64.zip, each with its "
                f"{symbols[len(archive) - 4:]}, and {sums}"))
    return out


def readme_table():
    width = max(len(path) for path, _ in rows()) + 2
    return ["    " + path.ljust(width) + note for path, note in rows()]


def guide_table():
    return ["| File | What it is |", "|---|---|"] + [f"| `{path}` | {note} |" for path, note in rows()]


TABLES = {"README.md": readme_table, "guide.md": guide_table}
OPEN, CLOSE = "<!-- dist-files -->", "<!-- /dist-files -->"


def with_table(text, table):
    lines = text.split("\n")
    if OPEN not in lines or CLOSE not in lines:
        return None
    start, end = lines.index(OPEN), lines.index(CLOSE)
    return "\n".join(lines[:start + 1] + [""] + table + [""] + lines[end:])


def main(argv):
    if len(argv) < 2 or argv[0] not in ("--write", "--check"):
        sys.exit(__doc__)
    status = 0
    for path in argv[1:]:
        make = TABLES.get(os.path.basename(path))
        text = open(path).read()
        wanted = with_table(text, make()) if make else None
        if wanted is None:
            print(f"distfiles: {path} has no {OPEN} ... {CLOSE} table")
            status = 1
        elif argv[0] == "--write":
            if wanted != text:
                open(path, "w").write(wanted)
        elif wanted != text:
            print(f"distfiles: the table in {path} is not what tools/distfiles.py gives; "
                  f"run tools/distfiles.py --write {path}")
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
