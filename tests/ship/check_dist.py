#!/usr/bin/env python3
"""Static checks of what `make` put into dist/ for one target (no Wine needed):
- dist/ holds the files tools/distfiles.py lists for the target, and nothing else;
- each .dll and .exe is stripped (no symbols left), within its size budget, and carries a
  debug link naming .debug/NAME.debug with that file's checksum; the debug file holds the
  symbols and the debug sections;
- the stripped kydoru.dll still loads with it only what the static check allows.
Prints one line per finding and exits non-zero on any."""
import argparse
import os
import re
import struct
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from check_dll import LOAD_TIME_DLLS  # noqa: E402
import distfiles  # noqa: E402

# Size budgets in bytes of the shipped binaries; the 32-bit DLL's is the promise made to users.
BUDGETS = {
    ("win32", "kydoru.dll"): 100 * 1024,
    ("win32", "kydemo.exe"): 80 * 1024,
    ("win64", "kydoru.dll"): 100 * 1024,
    ("win64", "kydemo.exe"): 80 * 1024,
    ("win32", "kyctl.exe"): 100 * 1024,
    ("win64", "kyctl.exe"): 100 * 1024,
    ("win32", "kydoru_std.dll"): 16 * 1024,
}
def pe_sections(path):
    """The COFF header's symbol count and the sections' names and raw contents, read from
    the file itself."""
    data = open(path, "rb").read()
    if data[:2] != b"MZ":
        raise ValueError("not a PE file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    _, count, _, symbols_at, symbol_count, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    strings_at = symbols_at + 18 * symbol_count
    sections = {}
    table = pe + 24 + optional_size
    for i in range(count):
        raw_name, vsize, _, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * i)
        name = raw_name.rstrip(b"\0").decode("latin-1")
        if name.startswith("/"):  # a long name, kept in the string table
            start = strings_at + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("latin-1")
        size = min(vsize, raw_size) if vsize else raw_size
        sections[name] = data[raw_at:raw_at + size]
    return symbol_count, sections


def check_binary(folder, name, arch, problems):
    path = os.path.join(folder, name)
    size = os.path.getsize(path)
    budget = BUDGETS.get((arch, name))
    print(f"check_dist: {arch}/{name}: {size} bytes" + (f" (budget {budget})" if budget else ""))
    if budget and size > budget:
        problems.append(f"{arch}/{name}: {size} bytes, over its budget of {budget}")
    symbols, sections = pe_sections(path)
    if symbols:
        problems.append(f"{arch}/{name}: not stripped ({symbols} symbols)")
    if any(s.startswith(".debug_") for s in sections):
        problems.append(f"{arch}/{name}: debug sections left in it")
    link = sections.get(".gnu_debuglink")
    if link is None:
        problems.append(f"{arch}/{name}: no debug link")
        return
    # The link: the file's name, zero-padded to a multiple of four, then its CRC-32.
    linked = link[:link.index(b"\0")].decode("latin-1")
    crc = struct.unpack_from("<I", link, (len(linked) + 4) & ~3)[0]
    if linked != name + ".debug":
        problems.append(f"{arch}/{name}: the debug link names {linked}")
    debug = os.path.join(folder, ".debug", name + ".debug")
    if not os.path.isfile(debug):
        problems.append(f"{arch}/{name}: .debug/{name}.debug is missing")
        return
    if zlib.crc32(open(debug, "rb").read()) != crc:
        problems.append(f"{arch}/{name}: the debug link's checksum does not match .debug/{name}.debug")
    debug_symbols, debug_sections = pe_sections(debug)
    if debug_symbols == 0 or ".debug_info" not in debug_sections:
        problems.append(f"{arch}/{name}: .debug/{name}.debug holds no symbols or no .debug_info")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dist", required=True)
    ap.add_argument("--arch", required=True, choices=["win32", "win64"])
    ap.add_argument("--objdump", required=True)
    a = ap.parse_args()

    problems = []
    listed = distfiles.files(a.arch) + distfiles.symbol_files(a.arch)
    for rel in listed:
        if not os.path.isfile(os.path.join(a.dist, rel)):
            problems.append(f"{rel} is missing (run `make`)")
    # Everything in the shared folders and the target's is listed (release/ is made later).
    for top in ("include", "cmake", a.arch):
        for dirpath, _, filenames in os.walk(os.path.join(a.dist, top)):
            for name in filenames:
                rel = os.path.relpath(os.path.join(dirpath, name), a.dist).replace(os.sep, "/")
                if rel not in listed:
                    problems.append(f"{rel} is in dist/ but not in tools/distfiles.py")
    folder = os.path.join(a.dist, a.arch)
    binaries = sorted(n for n in os.listdir(folder) if n.endswith((".dll", ".exe"))) if os.path.isdir(folder) else []
    for name in binaries:
        check_binary(folder, name, a.arch, problems)

    dll = os.path.join(folder, "kydoru.dll")
    if os.path.isfile(dll):
        headers = subprocess.run([a.objdump, "-p", dll], check=True, capture_output=True, text=True,
                                 timeout=60).stdout
        for imported in re.findall(r"DLL Name: (\S+)", headers):
            if imported.lower() not in LOAD_TIME_DLLS:
                problems.append(f"{a.arch}/kydoru.dll imports {imported} at load time")

    for p in problems:
        print("check_dist:", p)
    print(f"check_dist: {a.arch}: {len(binaries)} binaries, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
