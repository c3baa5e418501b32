#!/usr/bin/env python3
"""Makes docs/api.md, the browsable API reference, from the public header, so the two can
never disagree. The header's layout is the source:
  - a banner comment (a line of dashes, a title, a line of dashes) opens a group;
  - a comment block followed by one or more declarations documents those exports;
  - a declaration's trailing comment documents that export alone.
The ordinals come from the .def file.
  gen_api.py HEADER DEF OUT        write OUT
  gen_api.py --check HEADER DEF OUT  exit 1 when OUT differs from what would be written"""
import re
import sys

DECL = re.compile(r"^KYAPI\s+(?P<ret>.+?)\s+KYCALL\s+(?P<name>\w+)\s*\((?P<args>[^)]*)\)\s*;\s*(?:/\*\s*(?P<note>.*?)\s*\*/)?\s*$")


def comment_text(lines):
    out = []
    for l in lines:
        l = l.strip()
        l = re.sub(r"^/\*+\s?", "", l)
        l = re.sub(r"\s?\*+/$", "", l)
        l = re.sub(r"^\*\s?", "", l)
        out.append(l)
    while out and not out[0]:
        out.pop(0)
    while out and not out[-1]:
        out.pop()
    return out


def parse(header):
    lines = open(header).read().splitlines()
    intro, groups = [], []
    i = 0
    pending = []
    seen_first = False
    while i < len(lines):
        line = lines[i]
        s = line.strip()
        if s.startswith("/*"):
            block = [line]
            while "*/" not in lines[i]:
                i += 1
                block.append(lines[i])
            i += 1
            text = comment_text(block)
            if text and set(text[0]) <= set("-") and len(text[0]) > 10:
                title = [t for t in text[1:] if t and not set(t) <= set("-")]
                groups.append({"title": title[0] if title else "", "text": title[1:], "entries": []})
                pending = []
            elif not seen_first:
                intro = text
                seen_first = True
            else:
                pending = text
            continue
        joined = s
        if s.startswith("KYAPI"):
            while not joined.rstrip().endswith(";") and not re.search(r";\s*/\*.*\*/$", joined):
                i += 1
                joined += " " + lines[i].strip()
            m = DECL.match(joined)
            if not m:
                raise SystemExit(f"gen_api: cannot read the declaration: {joined}")
            decl = {"ret": m["ret"], "name": m["name"], "args": " ".join(m["args"].split()), "note": m["note"]}
            entries = groups[-1]["entries"] if groups else []
            if pending or not entries or entries[-1].get("closed"):
                entries.append({"doc": pending, "decls": [decl]})
                pending = []
            else:
                entries[-1]["decls"].append(decl)
        elif not s:
            if groups and groups[-1]["entries"]:
                groups[-1]["entries"][-1]["closed"] = True
        i += 1
    return intro, groups


def ordinals(deffile):
    table = {}
    for line in open(deffile):
        m = re.match(r"[;\s]*\s(\w+)\s+@(\d+)\s*$", line)
        if m:
            table[m.group(1)] = int(m.group(2))
    return table


def render(header, deffile):
    intro, groups = parse(header)
    ords = ordinals(deffile)
    out = ["# kydoru API reference", "",
           "Generated from `kydoru.h` by `tools/gen_api.py`; the header is the source.", ""]
    out += [l for l in intro] + [""]
    out += ["## Export table", "", "| Ordinal | Export | Arguments | Result |", "|---|---|---|---|"]
    rows = []
    for g in groups:
        for e in g["entries"]:
            for d in e["decls"]:
                rows.append((ords.get(d["name"], 0), d))
    for o, d in sorted(rows, key=lambda r: r[0]):
        args = d["args"] if d["args"] != "void" else "none"
        out.append(f"| {o} | [`{d['name']}`](#{d['name'].lower()}) | `{args}` | `{d['ret']}` |")
    out.append("")
    for g in groups:
        out += [f"## {g['title']}", ""]
        if g["text"]:
            out += [" ".join(g["text"]), ""]
        for e in g["entries"]:
            for d in e["decls"]:
                out.append(f"<a id=\"{d['name'].lower()}\"></a>")
            out.append("```c")
            for d in e["decls"]:
                out.append(f"{d['ret']} {d['name']}({d['args']});")
            out.append("```")
            out.append("")
            if e["doc"]:
                paragraph = []
                for t in e["doc"]:
                    if t:
                        paragraph.append(t)
                    elif paragraph:
                        out += [" ".join(paragraph), ""]
                        paragraph = []
                if paragraph:
                    out += [" ".join(paragraph), ""]
            for d in e["decls"]:
                if d["note"]:
                    out += [f"- `{d['name']}`: {d['note']}"]
            if any(d["note"] for d in e["decls"]):
                out.append("")
    return "\n".join(out).rstrip() + "\n"


def main(argv):
    check = argv[:1] == ["--check"]
    if check:
        argv = argv[1:]
    header, deffile, out = argv
    text = render(header, deffile)
    if check:
        try:
            current = open(out).read()
        except OSError:
            current = None
        if current != text:
            print(f"gen_api: {out} is out of date with {header}; run: python3 tools/gen_api.py {header} {deffile} {out}")
            return 1
        print(f"gen_api: {out} matches {header}")
        return 0
    open(out, "w").write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
