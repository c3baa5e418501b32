#!/usr/bin/env python3
"""Checks kydoru.bas, the VBA and VB6 module, against the public header (kydoru.h): for each
of the three configurations the module's #If blocks select (64-bit VBA, 32-bit VBA, VB6)
every export of the header is declared exactly once, nothing else from the library is, and
each Declare, placed before the module's first procedure as VBA demands, has:
- the library: kydoru.dll for 64-bit VBA, the stdcall companion kydoru_std.dll otherwise;
- PtrSafe under VBA7 and not in VB6; no Alias other than the export's own name;
- Sub for a void result, else a Function of the result's kind;
- the header's argument count, each argument of the header's kind:
    int, unsigned int          ByVal Long
    HWND / HANDLE-sized        ByVal LongPtr (VB6: Long); the same for such results
    char *, const char *       ByVal String (VBA passes an ANSI copy and copies it back)
    int *                      ByRef Long
    unsigned char *            ByRef Byte
Prints one line per finding and exits non-zero on any.

  check_bas.py HEADER BAS
"""
import re
import sys

HANDLES = {"HWND", "HANDLE", "LRESULT", "INT_PTR"}
CONFIGS = {"64-bit VBA": {"VBA7": True, "Win64": True},
           "32-bit VBA": {"VBA7": True, "Win64": False},
           "VB6": {"VBA7": False, "Win64": False}}


def c_kind(ctype):
    """The VBA passing and type a C parameter type needs (None for a handle's type)."""
    ctype = " ".join(ctype.replace("*", " * ").split())
    if ctype.endswith("*"):
        base = ctype[:-1].replace("const", "").split()
        if base == ["char"]:
            return ("ByVal", "String")
        if base == ["unsigned", "char"]:
            return ("ByRef", "Byte")
        if base == ["int"]:
            return ("ByRef", "Long")
        return ("?", ctype)
    if ctype in HANDLES:
        return ("ByVal", "Handle")
    if ctype in ("int", "unsigned int"):
        return ("ByVal", "Long")
    return ("?", ctype)


def header_exports(path):
    text = re.sub(r"/\*.*?\*/", " ", open(path).read(), flags=re.S)
    exports = {}
    for ret, name, params in re.findall(r"KYAPI\s+([\w ]+?)\s+KYCALL\s+(\w+)\s*\(([^)]*)\)\s*;", text):
        args = []
        if params.strip() not in ("", "void"):
            for param in params.split(","):
                ctype = re.match(r"^(.*?)\w+$", param.strip()).group(1)
                args.append(c_kind(ctype))
        result = None if ret == "void" else ("Handle" if ret in HANDLES else "Long")
        exports[name] = (result, args)
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
        for i, (param, (passing, vtype)) in enumerate(zip(params, args), 1):
            want = f"{passing} {vtype.replace('Handle', handle)}"
            pm = re.match(r"^(ByVal|ByRef) \w+ As (\w+)$", param)
            got = f"{pm.group(1)} {pm.group(2)}" if pm else param
            if got != want:
                problems.append(f"{where}: argument {i} is `{param}`, expected {want}")
    for name in sorted(exports):
        if seen.get(name, 0) != 1:
            problems.append(f"{label}: {name} declared {seen.get(name, 0)} times, expected once")
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
    problems = [] if len(exports) == 50 else [f"the header declares {len(exports)} exports, not 50"]
    problems += [f"{x}: unknown passing or type" for x in
                 sorted({name for name, (_, args) in exports.items() for p, _ in args if p == "?"})]
    lines = logical_lines(argv[1])
    problems += order_problems(lines)
    for label, config in CONFIGS.items():
        problems += check_config(label, config, lines, exports)
    for p in problems:
        print("check_bas:", p)
    print(f"check_bas: {argv[1]}: {len(exports)} exports, 3 configurations, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
