#!/usr/bin/env python3
"""Checks kydoru.bas, the VBA and VB6 module, against the public header (kydoru.h): for each
of the three configurations the module's #If blocks select (64-bit VBA, 32-bit VBA, VB6)
every export of the header is declared exactly once, nothing else from the library is, and
each Declare, placed before the module's first procedure as VBA demands, has:
- the library: kydoru.dll for 64-bit VBA, the stdcall companion kydoru_std.dll otherwise;
- PtrSafe under VBA7 and not in VB6; no Alias other than the export's own name;
- Sub for a void result, else a Function of the result's kind;
- the header's argument count, each argument of the kind tools/vbatypes.py gives.
And the module's own procedures, in each configuration:
- for each export that fills a text buffer, NAMEText takes the export's other arguments,
  sizes its buffer with String$(N, ...), N at least the header's "must hold at least N
  bytes", and passes that buffer to the export;
- kyLoad(ByVal folder As String) As Boolean turns down an empty folder before it loads
  anything, and loads kydoru.dll, and in 32-bit configurations kydoru_std.dll too (by a
  LoadLibraryW of its own or through a function that calls it), returning False when a
  load fails.
Prints one line per finding and exits non-zero on any.

  check_bas.py HEADER BAS
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vbatypes  # noqa: E402
from exportcount import export_count  # noqa: E402

CONFIGS = {"64-bit VBA": {"VBA7": True, "Win64": True},
           "32-bit VBA": {"VBA7": True, "Win64": False},
           "VB6": {"VBA7": False, "Win64": False}}


def header_exports(path):
    text = re.sub(r"/\*.*?\*/", " ", open(path).read(), flags=re.S)
    exports = {}
    for ret, name, params in re.findall(r"KYAPI\s+([\w ]+?)\s+KYCALL\s+(\w+)\s*\(([^)]*)\)\s*;", text):
        args = []
        if params.strip() not in ("", "void"):
            for param in params.split(","):
                ctype, _ = vbatypes.split_param(param)
                kind = vbatypes.param(ctype) or ("?", ctype)
                args.append(kind + (ctype == vbatypes.BUFFER,))
        exports[name] = (vbatypes.result(ret), args)
    return exports


def logical_lines(path):
    """The module's lines with continuations joined and comments dropped."""
    lines, pending = [], ""
    for raw in open(path, newline="").read().splitlines():
        line = raw.rstrip()
        if line.endswith(" _"):
            pending += line[:-2] + " "
            continue
        line = pending + line
        pending = ""
        if line.lstrip().startswith("'"):
            continue
        lines.append(line.strip())
    return lines


def active_lines(lines, config):
    """The lines a configuration compiles, following #If / #ElseIf / #Else / #End If."""
    def value(condition):
        expr = re.sub(r"\b(\w+)\b", lambda m: {"Not": "not", "And": "and", "Or": "or"}.get(
            m.group(1), str(config.get(m.group(1), False))), condition)
        return eval(expr, {"__builtins__": {}})

    out, stack = [], []   # stack entries: [taken so far, this branch active]
    for line in lines:
        m = re.match(r"#(If|ElseIf)\s+(.*?)\s+Then$", line, re.I)
        if m and m.group(1).lower() == "if":
            parent = all(entry[1] for entry in stack)
            v = parent and value(m.group(2))
            stack.append([v, v])
        elif m:
            parent = all(entry[1] for entry in stack[:-1])
            v = parent and not stack[-1][0] and value(m.group(2))
            stack[-1] = [stack[-1][0] or v, v]
        elif re.match(r"#Else$", line, re.I):
            parent = all(entry[1] for entry in stack[:-1])
            stack[-1] = [True, parent and not stack[-1][0]]
        elif re.match(r"#End If$", line, re.I):
            stack.pop()
        elif all(entry[1] for entry in stack):
            out.append(line)
    return out


DECLARE = re.compile(r"^(?:Public |Private )?Declare (?P<ptrsafe>PtrSafe )?(?P<kind>Sub|Function) (?P<name>\w+) "
                     r"Lib \"(?P<lib>[^\"]+)\"(?: Alias \"(?P<alias>[^\"]+)\")? \((?P<params>.*)\)"
                     r"(?: As (?P<result>\w+))?$")


def check_config(label, config, lines, exports):
    problems = []
    vba7 = config["VBA7"]
    lib = "kydoru.dll" if config["Win64"] else "kydoru_std.dll"
    handle = "LongPtr" if vba7 else "Long"
    seen = {}
    for line in active_lines(lines, config):
        if "Declare " not in line:
            continue
        m = DECLARE.match(line)
        if not m:
            problems.append(f"{label}: can't read: {line}")
            continue
        if not m["lib"].lower().startswith("kydoru"):
            continue
        name = m["name"]
        where = f"{label}: {name}"
        seen[name] = seen.get(name, 0) + 1
        if name not in exports:
            problems.append(f"{where}: not an export of the header")
            continue
        if m["lib"] != lib:
            problems.append(f"{where}: Lib \"{m['lib']}\", expected \"{lib}\"")
        if m["alias"] and m["alias"] != name:
            problems.append(f"{where}: Alias \"{m['alias']}\" names another export")
        if bool(m["ptrsafe"]) != vba7:
            problems.append(f"{where}: PtrSafe {'missing' if vba7 else 'unknown to VB6'}")
        result, args = exports[name]
        if result is None:
            if m["kind"] != "Sub" or m["result"]:
                problems.append(f"{where}: the export returns nothing: declare a Sub")
        else:
            want = result.replace("Handle", handle)
            if m["kind"] != "Function" or m["result"] != want:
                problems.append(f"{where}: result As {m['result']}, expected Function ... As {want}")
        params = [p.strip() for p in m["params"].split(",")] if m["params"].strip() else []
        if len(params) != len(args):
            problems.append(f"{where}: {len(params)} arguments, the header has {len(args)}")
            continue
        for i, (param, (passing, vtype, _)) in enumerate(zip(params, args), 1):
            want = f"{passing} {vtype.replace('Handle', handle)}"
            pm = re.match(r"^(ByVal|ByRef) \w+ As (\w+)$", param)
            got = f"{pm.group(1)} {pm.group(2)}" if pm else param
            if got != want:
                problems.append(f"{where}: argument {i} is `{param}`, expected {want}")
    for name in sorted(exports):
        if seen.get(name, 0) != 1:
            problems.append(f"{label}: {name} declared {seen.get(name, 0)} times, expected once")
    return problems


def procedures(lines):
    """{name: (the line that opens it, its body's lines)} of each Sub and Function."""
    out, current = {}, None
    for line in lines:
        m = re.match(r"^(?:Public |Private |Friend )?(?:Static )?(?:Sub|Function) (\w+)", line)
        if m and current is None:
            current = m.group(1)
            out[current] = (line, [])
        elif re.match(r"^End (?:Sub|Function)$", line):
            current = None
        elif current:
            out[current][1].append(line)
    return out


def call_arguments(line, name):
    """The arguments of a call of name on line (with or without parentheses), or None."""
    m = re.search(r"\b" + name + r"\b\s*(\((.*?)\)|\s(.*))", line)
    if not m:
        return None
    args = m.group(2) if m.group(2) is not None else m.group(3)
    return [a.strip() for a in args.split(",")] if args.strip() else []


def text_function_problems(label, active, exports, sizes):
    problems = []
    found = procedures(active)
    for name, (_, args) in sorted(exports.items()):
        if not any(is_buffer for _, _, is_buffer in args):
            continue
        where = f"{label}: {name}Text"
        if name not in sizes:
            problems.append(f"{label}: the header gives no size for {name}'s buffer")
            continue
        if f"{name}Text" not in found:
            problems.append(f"{where} is missing: VBA callers would size {name}'s buffer themselves")
            continue
        opener, body = found[f"{name}Text"]
        want = [f"{passing} {vtype.replace('Handle', 'Long' if label == 'VB6' else 'LongPtr')}"
                for passing, vtype, is_buffer in args if not is_buffer]
        m = re.match(r"^Public Function \w+\((.*)\) As String$", opener)
        got = [re.sub(r"^(ByVal|ByRef) \w+ As (\w+)$", r"\1 \2", p.strip()) for p in m.group(1).split(",")
               if p.strip()] if m else None
        if got != want:
            problems.append(f"{where}: `{opener}`, expected a Public Function ({', '.join(want)}) As String")
        sized = {}
        for line in body:
            sm = re.match(r"^(\w+) = String\$\((\d+), ", line)
            if sm:
                sized[sm.group(1)] = int(sm.group(2))
        calls = [call_arguments(line, name) for line in body if call_arguments(line, name) is not None]
        if len(calls) != 1 or len(calls[0]) != len(args):
            problems.append(f"{where}: no single call of {name} with its {len(args)} arguments")
            continue
        buffer = calls[0][[is_buffer for _, _, is_buffer in args].index(True)]
        if buffer not in sized:
            problems.append(f"{where}: the buffer {buffer} passed to {name} is not sized with String$ first")
        elif sized[buffer] < sizes[name]:
            problems.append(f"{where}: buffer of {sized[buffer]} characters, the header asks for {sizes[name]}")
    return problems


def load_problems(label, config, active):
    """kyLoad: an empty folder turned down before any load; each DLL the configuration
    calls loaded, and a failed load answered with False."""
    found = procedures(active)
    if "kyLoad" not in found:
        return [f"{label}: kyLoad is missing"]
    opener, body = found["kyLoad"]
    problems = []
    if not re.match(r"^Public Function kyLoad\(ByVal (\w+) As String\) As Boolean$", opener):
        problems.append(f"{label}: kyLoad is `{opener}`, expected Public Function kyLoad(ByVal folder As String) As Boolean")
        return problems
    folder = re.match(r"^Public Function kyLoad\(ByVal (\w+)", opener).group(1)
    loaders = {"LoadLibraryW"} | {n for n, (_, b) in found.items() if any("LoadLibraryW(" in l for l in b)}
    loads = [i for i, line in enumerate(body) if any(re.search(r"\b" + l + r"\b", line) for l in loaders)]
    guard = next((i for i, line in enumerate(body)
                  if re.match(r"^If (Len\(" + folder + r"\) = 0|" + folder + r' = "") Then', line)), None)
    if guard is None or (loads and guard > loads[0]) or not any(
            line == "Exit Function" or line.endswith("Then Exit Function") for line in body[guard:guard + 3]):
        problems.append(f"{label}: kyLoad does not turn down an empty folder before loading")
    wanted = ["kydoru.dll"] + ([] if config["Win64"] else ["kydoru_std.dll"])
    for dll in wanted:
        line = next((body[i] for i in loads if f'"{dll}"' in body[i]), None)
        if line is None:
            problems.append(f"{label}: kyLoad does not load {dll}")
        elif not re.match(r"^If Not .*Then Exit Function$", line):
            problems.append(f"{label}: kyLoad goes on when {dll} can't be loaded: {line}")
    if not body or body[-1] != "kyLoad = True":
        problems.append(f"{label}: kyLoad does not end by answering True")
    return problems


def order_problems(lines):
    """VBA compiles only comments and declarations before a module's first procedure."""
    procedure = None
    for line in lines:
        m = re.match(r"^(?:Public |Private |Friend )?(?:Static )?(?:Sub|Function|Property \w+) (\w+)", line)
        if m and procedure is None:
            procedure = m.group(1)
        elif procedure and re.match(r"^(?:Public |Private )?Declare ", line):
            return [f"a Declare after the procedure {procedure}: {line}"]
    return []


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    exports = header_exports(argv[0])
    count = export_count()
    problems = [] if len(exports) == count else [f"the header declares {len(exports)} exports, not {count}"]
    problems += [f"{x}: unknown passing or type" for x in
                 sorted({name for name, (_, args) in exports.items() for p, _, _ in args if p == "?"})]
    sizes = vbatypes.buffer_sizes(argv[0])
    lines = logical_lines(argv[1])
    problems += order_problems(lines)
    for label, config in CONFIGS.items():
        problems += check_config(label, config, lines, exports)
        active = active_lines(lines, config)
        problems += text_function_problems(label, active, exports, sizes)
        problems += load_problems(label, config, active)
    for p in problems:
        print("check_bas:", p)
    print(f"check_bas: {argv[1]}: {len(exports)} exports, 3 configurations, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
