#!/usr/bin/env python3
"""The version texts that are written by hand agree with the project's VERSION (the one
source of the version): the newest entry of CHANGELOG.md and the version docs/cli.md shows
`kyctl --version` printing.
  check_changelog.py VERSION SOURCE"""
import os
import re
import sys


def main(version, source):
    problems = []
    changelog = open(os.path.join(source, "CHANGELOG.md")).read()
    entries = re.findall(r"^## (\d+\.\d+\.\d+)\b", changelog, re.M)
    if not entries:
        problems.append("CHANGELOG.md has no \"## X.Y.Z\" entry")
    elif entries[0] != version:
        problems.append(f"CHANGELOG.md's newest entry is {entries[0]}, the project's VERSION is {version}")
    shown = re.findall(r"^kyctl (\d+\.\d+\.\d+)$", open(os.path.join(source, "docs", "cli.md")).read(), re.M)
    if shown != [version]:
        problems.append(f"docs/cli.md shows kyctl's version as {shown}, not [{version!r}]")
    for p in problems:
        print("check_changelog:", p)
    print(f"check_changelog: version {version}, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
