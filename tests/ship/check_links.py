#!/usr/bin/env python3
"""Follows every link of every Markdown file inside release archives, unpacked into an
empty folder as a user would: a relative link must name a file or folder of the archive,
and an #anchor a heading (or an id) of the page it points into. Links to the web are
counted, not followed. Prints the number of links followed per archive.
  check_links.py WORK ARCHIVE..."""
import os
import re
import shutil
import sys
import zipfile

LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s+\"[^\"]*\")?\s*$")
HTML = re.compile(r"<(?:a|img)\b[^>]*\b(?:href|src)=\"([^\"]+)\"", re.I)
WEB = re.compile(r"^[a-z][a-z0-9+.-]*:", re.I)


def prose_lines(text):
    """The lines of a Markdown text outside fenced and indented code."""
    out, fence, previous_blank = [], None, True
    for line in text.split("\n"):
        m = re.match(r"^\s{0,3}(`{3,}|~{3,})", line)
        if fence:
            if m and m.group(1)[0] == fence[0] and len(m.group(1)) >= len(fence):
                fence = None
            continue
        if m:
            fence = m.group(1)
            continue
        if line.startswith(("    ", "\t")) and previous_blank:
            continue   # an indented code block (its lines stay indented)
        previous_blank = not line.strip()
        out.append(line)
    return out


def slug(heading):
    """The anchor GitHub gives a heading: lower case, punctuation dropped, spaces to '-'."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)   # a link keeps its text
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path):
    names, seen = set(), {}
    text = open(path, encoding="utf-8").read()
    for line in prose_lines(text):
        m = re.match(r"^\s{0,3}#{1,6}\s+(.*?)\s*#*\s*$", line)
        if m:
            base = slug(m.group(1))
            count = seen.get(base, 0)
            seen[base] = count + 1
            names.add(base if count == 0 else f"{base}-{count}")
    names.update(re.findall(r"\b(?:id|name)=\"([^\"]+)\"", text))
    return names


def links(path):
    text = open(path, encoding="utf-8").read()
    for number, line in enumerate(prose_lines(text), 1):
        line = re.sub(r"`[^`]*`", "", line)   # code spans hold no links
        for pattern in (LINK, HTML):
            for target in pattern.findall(line):
                yield target
        m = REFERENCE.match(line)
        if m:
            yield m.group(1)


def check(root):
    followed, web, problems = 0, 0, []
    cache = {}
    for dirpath, _, filenames in os.walk(root):
        for name in sorted(filenames):
            if not name.endswith(".md"):
                continue
            page = os.path.join(dirpath, name)
            where = os.path.relpath(page, root)
            for target in links(page):
                if WEB.match(target):
                    web += 1
                    continue
                followed += 1
                path, _, anchor = target.partition("#")
                dest = os.path.normpath(os.path.join(dirpath, path)) if path else page
                if not os.path.realpath(dest).startswith(os.path.realpath(root) + os.sep):
                    problems.append(f"{where}: {target} leads out of the archive")
                elif not os.path.exists(dest):
                    problems.append(f"{where}: {target} is not in the archive")
                elif anchor:
                    if not dest.endswith(".md"):
                        problems.append(f"{where}: {target}: an anchor into a file that is not a page")
                    elif anchor not in cache.setdefault(dest, anchors(dest)):
                        problems.append(f"{where}: {target}: no heading #{anchor} on that page")
    return followed, web, problems


def main(work, archives):
    failures = 0
    for archive in archives:
        dest = os.path.join(work, os.path.basename(archive)[:-4])
        shutil.rmtree(dest, ignore_errors=True)
        if not os.path.isfile(archive):
            print(f"check_links: {archive} is not there: run `make release` first")
            failures += 1
            continue
        with zipfile.ZipFile(archive) as z:
            z.extractall(dest)
        followed, web, problems = check(dest)
        for p in problems:
            print(f"check_links: {os.path.basename(archive)}: {p}")
        print(f"check_links: {os.path.basename(archive)}: {followed} links followed, {web} to the web, "
              f"{len(problems)} broken")
        failures += len(problems) + (followed == 0)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2:]))
