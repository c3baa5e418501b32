#!/usr/bin/env python3
"""kydoru.def (the shipped export list) must say what the export table (exporttable.h)
says: the same names at the same ordinals, nothing more, nothing less.
Usage: check_def.py exporttable.h kydoru.def. Prints each difference; exit 1 on any."""
import re
import sys

from exportcount import export_count


def table_entries(path):
    text = open(path).read()
    return {m.group(2): int(m.group(1)) for m in re.finditer(r"\bX\((\d+),\s*(\w+),", text)}


def def_entries(path):
    entries = {}
    in_exports = False
    for line in open(path):
        line = line.split(";", 1)[0].strip()
        if not line:
            continue
        if line.upper() == "EXPORTS":
            in_exports = True
            continue
        if in_exports:
            m = re.fullmatch(r"(\w+)\s+@(\d+)", line)
            if not m:
                entries.setdefault("<unreadable line: %s>" % line, 0)
            else:
                entries[m.group(1)] = int(m.group(2))
    return entries


def differences(table, shipped):
    found = []
    for name, ordinal in sorted(table.items(), key=lambda kv: kv[1]):
        if name not in shipped:
            found.append(f"{name} @{ordinal}: in the table, missing from the .def file")
        elif shipped[name] != ordinal:
            found.append(f"{name}: @{shipped[name]} in the .def file, @{ordinal} in the table")
    for name in shipped:
        if name not in table:
            found.append(f"{name}: in the .def file, not in the table")
    return found


def main():
    table, shipped = table_entries(sys.argv[1]), def_entries(sys.argv[2])
    found = differences(table, shipped)
    count = export_count(sys.argv[1])
    if len(table) != count:
        found.append(f"the table has {len(table)} entries, KYDORU_EXPORT_COUNT is {count}")
    for line in found:
        print("check_def:", line)
    print(f"check_def: {len(table)} table entries, {len(shipped)} .def entries, {len(found)} difference(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
