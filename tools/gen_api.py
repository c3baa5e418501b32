#!/usr/bin/env python3
"""Makes docs/api.md, the browsable API reference, from the public header, so the two can
never disagree, and keeps the code snippets of the documentation equal to their files.

The header's layout is the source:
  - the first comment is the introduction;
  - a banner of '=' lines (a line of '=', a title, text, a line of '=') opens a subsystem;
  - a banner of '-' lines opens a topic inside it;
  - a comment block followed by one or more declarations documents those exports;
  - a declaration's trailing comment documents that export alone ("result; remark").
Inside comments: a blank line ends a paragraph; "- " starts a list item and indented lines
continue it; other indented lines are shown as preformatted text. Every export states its
result: a sentence that opens with "Result:" gives the result column of the export tables. The ordinals come from the
.def file.

  gen_api.py HEADER DEF OUT                 write OUT
  gen_api.py --check HEADER DEF OUT         exit 1 when OUT differs from what would be written
  gen_api.py --snippets [--fix] DOC...      check (or rewrite) every snippet of the DOCs: a line
                                            <!-- snippet: PATH --> followed by a fenced block
                                            that must equal the file PATH (relative to the repo)
  gen_api.py --snippets-cover DIR DOC...    also fail when a file of DIR is in no snippet
"""
import os
import re
import sys

DECL = re.compile(r"^KYAPI\s+(?P<ret>.+?)\s+KYCALL\s+(?P<name>\w+)\s*\((?P<args>[^)]*)\)\s*;\s*(?:/\*\s*(?P<note>.*?)\s*\*/)?\s*$")
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def comment_lines(block):
    """The text of a comment block, one entry per line, keeping indentation after '* '."""
    out = []
    for raw in block:
        l = raw.strip()
        l = re.sub(r"^/\*+ ?", "", l)
        l = re.sub(r"\s*\*+/$", "", l)
        if l.startswith("* ") or l == "*":
            l = l[2:]
        out.append(l.rstrip())
    while out and not out[0].strip():
        out.pop(0)
    while out and not out[-1].strip():
        out.pop()
    return out


def banner_kind(text):
    if text and len(text[0]) > 10 and set(text[0]) <= set("="):
        return "subsystem"
    if text and len(text[0]) > 10 and set(text[0]) <= set("-"):
        return "topic"
    return None


def parse(header):
    lines = open(header).read().splitlines()
    intro, subsystems = [], []
    pending = []
    seen_first = False
    i = 0

    def topic():
        if not subsystems:
            raise SystemExit("gen_api: a declaration or topic comes before the first subsystem banner")
        if not subsystems[-1]["topics"]:
            subsystems[-1]["topics"].append({"title": "", "text": [], "entries": []})
        return subsystems[-1]["topics"][-1]

    while i < len(lines):
        s = lines[i].strip()
        if s.startswith("/*"):
            block = [lines[i]]
            while "*/" not in lines[i]:
                i += 1
                block.append(lines[i])
            i += 1
            text = comment_lines(block)
            kind = banner_kind(text)
            if kind:
                rule = text[0][0]
                body = [t for t in text[1:] if not (t and set(t) <= set(rule))]
                title = body[0].strip() if body else ""
                section = {"title": title, "text": body[1:], "entries": []}
                if kind == "subsystem":
                    section["topics"] = []
                    subsystems.append(section)
                else:
                    if not subsystems:
                        raise SystemExit("gen_api: a topic banner comes before the first subsystem banner")
                    subsystems[-1]["topics"].append(section)
                pending = []
            elif not seen_first:
                intro = text
                seen_first = True
            else:
                pending = text
            continue
        if s.startswith("KYAPI"):
            joined = s
            while not joined.rstrip().endswith(";") and not re.search(r";\s*/\*.*\*/$", joined):
                i += 1
                joined += " " + lines[i].strip()
            m = DECL.match(joined)
            if not m:
                raise SystemExit(f"gen_api: cannot read the declaration: {joined}")
            decl = {"ret": m["ret"], "name": m["name"], "args": " ".join(m["args"].split()), "note": m["note"]}
            entries = topic()["entries"]
            if pending or not entries or entries[-1].get("closed"):
                entries.append({"doc": pending, "decls": [decl]})
                pending = []
            else:
                entries[-1]["decls"].append(decl)
        elif not s:
            t = subsystems[-1]["topics"][-1] if subsystems and subsystems[-1]["topics"] else None
            if t and t["entries"]:
                t["entries"][-1]["closed"] = True
        i += 1
    return intro, subsystems


def ordinals(deffile):
    table = {}
    for line in open(deffile):
        m = re.match(r"\s+(\w+)\s+@(\d+)\s*$", line)
        if m:
            table[m.group(1)] = int(m.group(2))
    return table


def blocks(lines):
    """Splits comment text into ('p', text), ('list', [items]) and ('pre', [lines])."""
    out = []
    kind, buf = None, []

    def flush():
        nonlocal kind, buf
        if kind == "p":
            out.append(("p", " ".join(buf)))
        elif kind == "list":
            out.append(("list", [" ".join(item) for item in buf]))
        elif kind == "pre":
            indent = min(len(l) - len(l.lstrip()) for l in buf if l.strip())
            out.append(("pre", [l[indent:] for l in buf]))
        kind, buf = None, []

    for l in lines:
        if not l.strip():
            flush()
            continue
        indent = len(l) - len(l.lstrip())
        if l.lstrip().startswith("- ") and indent <= 2:
            if kind != "list":
                flush()
                kind = "list"
            buf.append([l.lstrip()[2:].strip()])
        elif indent and kind == "list":
            buf[-1].append(l.strip())
        elif indent:
            if kind != "pre":
                flush()
                kind = "pre"
            buf.append(l)
        else:
            if kind != "p":
                flush()
                kind = "p"
            buf.append(l.strip())
    flush()
    return out


def inline(text, names, periods=False):
    """Markdown for one paragraph: escapes, export names as links, a bold opening label."""
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for k, part in enumerate(parts):
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append(part)
            continue
        part = part.replace("\\", "\\\\").replace("*", "\\*").replace("<", "&lt;")
        # The page lives in docs/, so the header's docs/ paths become relative links.
        part = re.sub(r"\bdocs/([\w./-]+\.(?:md|png))", lambda m: f"[{m.group(0)}]({m.group(1)})", part)
        if names:
            pattern = r"\b(" + "|".join(sorted(names, key=len, reverse=True)) + r")\b"
            part = re.sub(pattern, lambda m: f"[`{m.group(1)}`](#{m.group(1).lower()})", part)
        out.append(part)
    md = "".join(out)
    label = r"^([A-Z][\w-]*(?: [a-z][\w-]*){0,2})(:" + ("|\\." if periods else "") + r") "
    return re.sub(label, r"**\1\2** ", md)


def render_doc(lines, names, periods=False):
    out = []
    for kind, body in blocks(lines):
        if kind == "p":
            out += [inline(body, names, periods), ""]
        elif kind == "list":
            out += [f"- {inline(item, names)}" for item in body] + [""]
        else:
            out += ["```text"] + body + ["```", ""]
    return out


def result_summary(entry, decl):
    if decl["note"]:
        return decl["note"].split(";")[0].strip()
    for kind, body in blocks(entry["doc"]):
        if kind == "p" and re.search(r"(^|\. )Result:", body):
            text = re.split(r"(?:^|\. )Result:", body, maxsplit=1)[1].strip()
            return re.split(r";|\.(?:\s|$)", text)[0].strip()
    raise SystemExit(f"gen_api: {decl['name']} states no result (a \"Result:\" sentence or a trailing comment)")


def cell(text):
    return text.replace("|", "\\|")


def anchor(title):
    a = re.sub(r"[^\w\- ]", "", title.lower()).strip().replace(" ", "-")
    return a


def render(header, deffile):
    intro, subsystems = parse(header)
    ords = ordinals(deffile)
    names = [d["name"] for s in subsystems for t in s["topics"] for e in t["entries"] for d in e["decls"]]
    missing = [n for n in names if n not in ords]
    if missing:
        raise SystemExit(f"gen_api: not in the export table: {', '.join(missing)}")
    unlisted = [n for n in ords if n not in names]
    if unlisted:
        raise SystemExit(f"gen_api: exported but not declared: {', '.join(unlisted)}")

    # The introduction's first paragraph ("kydoru.h - what it is") leads the page.
    lead = []
    while intro and intro[0].strip():
        lead.append(intro.pop(0).strip())
    lead = re.sub(r"^\S+\.h - ", "", " ".join(lead))
    out = ["# kydoru API reference", "", lead[:1].upper() + lead[1:], "",
           "Generated from `kydoru.h` (`library/exports.h`) by `tools/gen_api.py`; the header is the source.",
           "How to call the library from C, C++ and other languages: [the guide](guide.md).", ""]
    out += ["## Contents", ""]
    for s in subsystems:
        out.append(f"- [{s['title']}](#{anchor(s['title'])}): "
                   + ", ".join(f"[{t['title']}](#{anchor(t['title'])})" for t in s["topics"] if t["title"]))
    out += ["- [All exports by ordinal](#all-exports-by-ordinal)", "", "## Conventions", ""]
    out += render_doc(intro, names, periods=True)

    rows = []
    for s in subsystems:
        out += [f"## {s['title']}", ""]
        out += render_doc(s["text"], names)
        table = []
        for t in s["topics"]:
            for e in t["entries"]:
                for d in e["decls"]:
                    table.append((ords[d["name"]], d, result_summary(e, d)))
        table.sort(key=lambda r: r[0])
        rows += [(o, d, r, s["title"]) for o, d, r in table]
        out += ["| Ordinal | Export | Arguments | Result |", "|---|---|---|---|"]
        for o, d, r in table:
            args = d["args"] if d["args"] != "void" else "none"
            out.append(f"| {o} | [`{d['name']}`](#{d['name'].lower()}) | `{args}` | `{d['ret']}`: {cell(r)} |")
        out.append("")
        for t in s["topics"]:
            if t["title"]:
                out += [f"### {t['title']}", ""]
            out += render_doc(t["text"], names)
            for e in t["entries"]:
                for d in e["decls"]:
                    out.append(f"<a id=\"{d['name'].lower()}\"></a>")
                out.append("```c")
                for d in e["decls"]:
                    out.append(f"{d['ret']} {d['name']}({d['args']});")
                out.append("```")
                out.append("")
                out += render_doc(e["doc"], names)
                notes = [d for d in e["decls"] if d["note"]]
                for d in notes:
                    out.append(f"- `{d['name']}`: {inline(d['note'], [])}")
                if notes:
                    out.append("")

    out += ["## All exports by ordinal", "", "| Ordinal | Export | Arguments | Result | Subsystem |",
            "|---|---|---|---|---|"]
    for o, d, r, sub in sorted(rows, key=lambda row: row[0]):
        args = d["args"] if d["args"] != "void" else "none"
        out.append(f"| {o} | [`{d['name']}`](#{d['name'].lower()}) | `{args}` | `{d['ret']}`: {cell(r)} "
                   f"| [{sub}](#{anchor(sub)}) |")
    return "\n".join(out).rstrip() + "\n"


SNIPPET = re.compile(r"^<!-- snippet: (?P<path>\S+) -->\n(?P<fence>```\w*)\n(?P<body>.*?)^```$", re.M | re.S)


def snippets(docs, fix, cover):
    """Every snippet block must equal its file; with cover, every file of that folder must
    appear as a snippet somewhere."""
    failures, used = [], set()
    for doc in docs:
        text = open(doc).read()
        found = list(SNIPPET.finditer(text))
        marks = text.count("<!-- snippet:")
        if marks != len(found):
            failures.append(f"{doc}: {marks - len(found)} snippet marks without a fenced block right below")

        def replace(m):
            path = os.path.join(REPO, m["path"])
            used.add(os.path.normpath(path))
            try:
                body = open(path).read()
            except OSError:
                failures.append(f"{doc}: snippet file {m['path']} does not exist")
                return m.group(0)
            if m["body"] != body:
                if not fix:
                    failures.append(f"{doc}: the copy of {m['path']} differs from the file")
                return f"<!-- snippet: {m['path']} -->\n{m['fence']}\n{body}```"
            return m.group(0)

        new = SNIPPET.sub(replace, text)
        if fix and new != text:
            open(doc, "w").write(new)
            print(f"gen_api: updated the snippets of {doc}")
    if cover:
        for f in sorted(os.listdir(cover)):
            path = os.path.normpath(os.path.join(cover, f))
            if os.path.isfile(path) and path not in used:
                failures.append(f"{os.path.relpath(path, REPO)} is shown in none of: {', '.join(docs)}")
    for f in failures:
        print(f"gen_api: {f}")
    if not failures:
        print(f"gen_api: every snippet matches its file ({len(used)} files)")
    return 1 if failures else 0


def main(argv):
    if argv[:1] == ["--snippets"]:
        fix = argv[1:2] == ["--fix"]
        return snippets(argv[2:] if fix else argv[1:], fix, None)
    if argv[:1] == ["--snippets-cover"]:
        return snippets(argv[2:], False, os.path.abspath(argv[1]))
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
