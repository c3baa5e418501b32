#!/usr/bin/env python3
"""The symbols of a release, as a user gets them: the archive and its symbols archive
unpacked together into an empty folder. Then
- every binary's debug link names a file in .debug/ beside it, with the link's checksum;
- the target's gdb, given the stripped kydoru.dll alone (no search path, no settings),
  finds that file and resolves each export's address (read from the export table) to the
  function it is in and to the source file and line where that function is defined, which
  must be the export's definition as found in the sources by its name.
Prints gdb's answer for one export, and one line per fault; exits non-zero on any.
  check_symbols.py --archive ZIP --arch win32|win64 --gdb GDB --objdump OBJDUMP --source DIR --work DIR"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_dist import check_binary  # noqa: E402

SHOWN = "kyHDid"   # the export whose answer is printed

# Run inside gdb after `addresses` ([(export, address)]) is set.
GDB_SCRIPT = """
for name, pc in addresses:
    block, function = gdb.block_for_pc(pc), None
    while block is not None and not block.is_static and not block.is_global:
        if block.function is not None:
            function = block.function
        block = block.superblock
    if function is not None:
        print("resolved %s %s %s:%d" % (name, function.name.split("(")[0], function.symtab.filename, function.line))
"""


def definitions(source):
    """{export: (path relative to source, line of its definition, line of its opening brace)}."""
    found = {}
    library = os.path.join(source, "library")
    for dirpath, _, filenames in os.walk(library):
        for name in filenames:
            if not name.endswith(".cpp"):
                continue
            path = os.path.join(dirpath, name)
            lines = open(path, encoding="utf-8").read().split("\n")
            for i, line in enumerate(lines):
                m = re.match(r'^extern "C" .*\bKYCALL (\w+)\(', line)
                if m:
                    brace = next(j for j in range(i, len(lines)) if lines[j].startswith("{"))
                    found[m.group(1)] = (os.path.relpath(path, source).replace(os.sep, "/"), i + 1, brace + 1)
    return found


def exports(objdump, dll):
    """{export: address} from the export table of the stripped DLL."""
    headers = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True, timeout=60).stdout
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    ordinal_base = int(re.search(r"Ordinal Base (\d+)", headers).group(1))
    rvas = {int(i) + ordinal_base: int(rva, 16)
            for i, rva in re.findall(r"\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", headers)}
    names = headers.split("[Ordinal/Name Pointer] Table", 1)[1]
    return {name: base + rvas[int(i) + ordinal_base] for i, name in re.findall(r"^\s*\[\s*(\d+)\] (\S+)\s*$", names, re.M)}


def main():
    ap = argparse.ArgumentParser()
    for option in ("--archive", "--gdb", "--objdump", "--source", "--work"):
        ap.add_argument(option, required=True)
    ap.add_argument("--arch", required=True, choices=["win32", "win64"])
    a = ap.parse_args()

    symbols = a.archive[:-len(".zip")] + "-symbols.zip"
    for archive in (a.archive, symbols):
        if not os.path.isfile(archive):
            print(f"check_symbols: {archive} is not there: run `make release` first")
            return 1
    work = os.path.abspath(a.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    for archive in (a.archive, symbols):
        with zipfile.ZipFile(archive) as z:
            z.extractall(work)
    tops = os.listdir(work)
    if len(tops) != 1:
        print(f"check_symbols: the two archives unpack into {sorted(tops)}, not one folder")
        return 1
    folder = os.path.join(work, tops[0], a.arch)

    problems = []
    binaries = sorted(n for n in os.listdir(folder) if n.endswith((".dll", ".exe")))
    for name in binaries:
        check_binary(folder, name, a.arch, problems)

    dll = os.path.join(folder, "kydoru.dll")
    addresses = exports(a.objdump, dll)
    defined = definitions(a.source)
    # For each address, the function gdb's symbols place it in (the outermost one: the
    # export's code may start inside a function inlined into it) and where that function
    # is defined; and, to show, what `list *ADDRESS` says for one export.
    script = os.path.join(work, "resolve.py")
    with open(script, "w") as f:
        f.write("import gdb\n")
        f.write(f"addresses = {sorted(addresses.items())!r}\n")
        f.write(GDB_SCRIPT)
    shown_address = addresses.get(SHOWN, 0)
    # No global debug folder: the link must be followed from the binary's own folder.
    gdb = subprocess.run([a.gdb, "-nx", "-batch", "-ex", "set debug-file-directory /nonexistent",
                          "-ex", f"list *0x{shown_address:x},", "-x", script, dll],
                         capture_output=True, text=True, timeout=300, cwd=work, stdin=subprocess.DEVNULL)
    answers = {m[0]: (m[1], m[2], int(m[3])) for m in re.findall(r"^resolved (\S+) (\S+) (\S+):(\d+)$", gdb.stdout, re.M)}
    for name in sorted(addresses):
        if name not in defined:
            problems.append(f"{name}: no definition found in the sources")
            continue
        where, line, _ = defined[name]
        got = answers.get(name)
        if got is None:
            problems.append(f"{name}: gdb placed its address in no function")
        elif got[0] != name or not got[1].replace("\\", "/").endswith("/" + where) or got[2] != line:
            problems.append(f"{name}: gdb says {got[0]} at {got[1]}:{got[2]}, the definition is {where}:{line}")
    shown = next((l for l in gdb.stdout.splitlines() if l.startswith(f"0x{shown_address:x} is in")), None)
    print(f"check_symbols: {a.arch}: gdb, given the stripped kydoru.dll, `list *0x{shown_address:x}` ({SHOWN}): {shown}")
    if not answers:
        problems.append("gdb resolved nothing:\n" + gdb.stdout + gdb.stderr)
    for p in problems:
        print("check_symbols:", p)
    print(f"check_symbols: {a.arch}: {len(binaries)} binaries, {len(answers)} of {len(addresses)} exports resolved, "
          f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
