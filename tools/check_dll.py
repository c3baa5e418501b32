#!/usr/bin/env python3
"""Static check of a built kydoru.dll, read with the mingw objdump:
- the machine is the one asked for;
- the export directory names the module kydoru.dll;
- every export of the .def file is there, undecorated, at its ordinal, and nothing else is;
- (32-bit) every export returns with a plain `ret`: cdecl, the caller removes the arguments;
- imports come only from system DLLs, and kydoru.dll's load-time imports are exactly
  LOAD_TIME_DLLS: the others (shell, OLE automation, OpenGL, ...) are bound at first use.
With --stdcall TABLE (the stdcall companion, kydoru_std.dll, named with --module): the same
names and ordinals, but every export returns with `ret N`, N = 4 x its argument count in the
export table (stdcall: the callee removes the arguments; a plain `ret` for none), and the only
import is kernel32.dll.
Prints one line per finding and exits non-zero on any."""
import argparse
import re
import subprocess
import sys

from exportcount import export_count

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "msimg32.dll", "opengl32.dll", "glu32.dll", "msvcrt.dll", "comctl32.dll",
}

# What kydoru.dll loads with it; every other library is bound by the export that uses it.
LOAD_TIME_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}


def run(objdump, *args):
    return subprocess.run([objdump, *args], check=True, capture_output=True, text=True).stdout


def def_exports(path):
    table = {}
    for line in open(path):
        m = re.match(r"\s+(\w+)\s+@(\d+)\s*$", line)
        if m:
            table[m.group(1)] = int(m.group(2))
    return table


def dll_exports(headers):
    base = int(re.search(r"Ordinal Base (\d+)", headers).group(1))
    rvas, names = {}, {}
    for idx, rva in re.findall(r"\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", headers):
        rvas[int(idx) + base] = int(rva, 16)
    names_block = headers.split("[Ordinal/Name Pointer] Table", 1)[1]
    for idx, name in re.findall(r"^\s*\[\s*(\d+)\] (\S+)\s*$", names_block, re.M):
        names[name] = int(idx) + base
    return names, rvas


def table_arg_counts(path):
    """Argument count of each export of exporttable.h, from its parameter list."""
    counts = {}
    for name, params in re.findall(r"X\(\d+,\s*(\w+),\s*[^,]+,\s*\(([^)]*)\)", open(path).read()):
        params = params.strip()
        counts[name] = 0 if params in ("", "void") else params.count(",") + 1
    return counts


def expected_ret(arg_count):
    return "ret" if arg_count is None or arg_count == 0 else f"ret    $0x{4 * arg_count:x}"


def ret_problems(objdump, dll, rvas_by_name, image_base, arg_counts):
    problems = []
    text = run(objdump, "-d", dll)
    blocks = {}
    current = None
    for line in text.splitlines():
        m = re.match(r"^([0-9a-f]+) <(.+)>:$", line)
        if m:
            current = int(m.group(1), 16)
            blocks[current] = []
        elif current is not None and "\t" in line:
            blocks[current].append(line)
    for name, rva in rvas_by_name.items():
        body = blocks.get(image_base + rva)
        if body is None:
            problems.append(f"{name}: no code found at its address")
            continue
        rets = [l.split("\t")[-1].strip() for l in body if re.search(r"\tret", l)]
        if not rets:
            problems.append(f"{name}: no return found")
        want = expected_ret(arg_counts.get(name) if arg_counts is not None else None)
        for r in rets:
            if r != want:
                problems.append(f"{name}: returns with `{r}`, not `{want}`")
    return problems


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--def", dest="deffile", required=True)
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--complete", action="store_true", help="demand every export (KYDORU_EXPORT_COUNT)")
    ap.add_argument("--module", default="kydoru.dll", help="the module name the export directory gives")
    ap.add_argument("--stdcall", metavar="TABLE", help="stdcall companion: argument counts from exporttable.h")
    ap.add_argument("dll")
    a = ap.parse_args()

    problems = []
    info = run(a.objdump, "-f", a.dll)
    headers = run(a.objdump, "-p", a.dll)
    is32 = "architecture: i386," in info
    if not is32 and "x86-64" not in info:
        problems.append("machine is neither i386 nor x86-64")
    if not re.search(r"^Name\s+[0-9a-f]+ " + re.escape(a.module) + "$", headers, re.M):
        problems.append(f"export directory does not name the module {a.module}")
    arg_counts = table_arg_counts(a.stdcall) if a.stdcall else None
    if a.stdcall and not is32:
        problems.append("a stdcall companion must be 32-bit")
    count = export_count()
    if arg_counts is not None and a.complete and len(arg_counts) != count:
        problems.append(f"{a.stdcall} gives {len(arg_counts)} argument counts, not {count}")

    wanted = def_exports(a.deffile)
    names, rvas = dll_exports(headers)
    if a.complete and len(wanted) != count:
        problems.append(f"the table has {len(wanted)} exports, not {count}")
    for name, ordinal in sorted(wanted.items(), key=lambda kv: kv[1]):
        if name not in names:
            problems.append(f"{name}: not exported")
        elif names[name] != ordinal:
            problems.append(f"{name}: at ordinal {names[name]}, expected {ordinal}")
    for name in names:
        if name not in wanted:
            problems.append(f"{name}: exported but not in the table")
        if name.startswith("_") and not name.startswith("ky_") or "@" in name:
            problems.append(f"{name}: decorated name")

    if is32:
        image_base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
        by_name = {n: rvas[o] for n, o in names.items() if o in rvas}
        problems += ret_problems(a.objdump, a.dll, by_name, image_base, arg_counts)

    allowed = {"kernel32.dll"} if a.stdcall else SYSTEM_DLLS
    imported = {n.lower() for n in re.findall(r"DLL Name: (\S+)", headers)}
    for dll_name in sorted(imported):
        if dll_name not in allowed:
            problems.append(f"imports from {dll_name}, which is not a system DLL")
    if not a.stdcall and a.module == "kydoru.dll":
        for dll_name in sorted(imported - LOAD_TIME_DLLS):
            problems.append(f"imports {dll_name} at load time; only {', '.join(sorted(LOAD_TIME_DLLS))} may be")
        for dll_name in sorted(LOAD_TIME_DLLS - imported):
            problems.append(f"does not import {dll_name} at load time (the load-time list is out of date)")
    print(f"check_dll: {a.dll}: loads with it {', '.join(sorted(imported))}")

    for p in problems:
        print("check_dll:", p)
    print(f"check_dll: {a.dll}: {'i386' if is32 else 'x86-64'}, {len(names)} exports, "
          f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
