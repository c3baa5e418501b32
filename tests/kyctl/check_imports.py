#!/usr/bin/env python3
"""kyctl.exe's load-time imports, read with the mingw objdump: kernel32, user32, advapi32
and the C runtime, nothing else (everything else a command needs, kydoru.dll included,
is loaded by that command). Prints what differs and exits non-zero on any."""
import argparse
import re
import subprocess
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("exe")
    a = ap.parse_args()
    headers = subprocess.run([a.objdump, "-p", a.exe], check=True, capture_output=True, text=True).stdout
    imported = {name.lower() for name in re.findall(r"^\s*DLL Name: (\S+)\s*$", headers, re.M)}
    problems = [f"imports {name} at load" for name in sorted(imported - ALLOWED)]
    if "kernel32.dll" not in imported:
        problems.append("no kernel32.dll import found: the import table was not read")
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
