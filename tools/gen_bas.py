#!/usr/bin/env python3
"""Writes vba/kydoru.bas, the VBA and VB6 module that declares every export, from the export
table (library/exporttable.h), so a new export can't be forgotten in it. tools/check_bas.py
checks the result against the public header.

Three blocks of Declare statements: 64-bit VBA binds kydoru.dll (one calling convention
there); 32-bit VBA (VBA7, PtrSafe) and VB6 bind kydoru_std.dll, the stdcall companion.

  gen_bas.py TABLE OUT            write OUT
  gen_bas.py --check TABLE OUT    exit 1 when OUT differs from what would be written
"""
import re
import sys

# C parameter type -> (passing, VBA type); "Handle" is LongPtr under VBA7, Long in VB6.
PARAMS = {
    "int": ("ByVal", "Long"),
    "unsigned int": ("ByVal", "Long"),
    "HWND": ("ByVal", "Handle"),
    "char *": ("ByVal", "String"),            # a buffer the caller sizes with String$(n, 0)
    "const char *": ("ByVal", "String"),
    "int *": ("ByRef", "Long"),
    "unsigned char *": ("ByRef", "Byte"),
    "const unsigned char *": ("ByRef", "Byte"),
}
RESULTS = {"int": "Long", "unsigned int": "Long", "HANDLE": "Handle", "LRESULT": "Handle",
           "INT_PTR": "Handle", "void": None}
# Parameter names that are VBA keywords (statements), renamed.
RENAMED = {"name": "portName", "width": "pixelWidth", "height": "pixelHeight"}

HEAD = """\
Attribute VB_Name = "kydoru"
' kydoru.bas: the fifty exports of the kydoru library for VBA (Office 2010 and later, 32-
' and 64-bit) and Visual Basic 6. Generated from the library's export table by
' tools/gen_bas.py; the guide (docs/guide.md) explains each export's use from VBA.
'
' Keep kydoru.dll and, for 32-bit Office and VB6, kydoru_std.dll in one folder: 64-bit
' Office calls kydoru.dll directly; 32-bit Office and VB6 call kydoru_std.dll, which
' passes each call on to kydoru.dll in its own folder (a Declare can only call stdcall
' functions there). Call kyLoad with that folder once before the first call, so the
' Declares below find the library without a path (or put the folder on the PATH).
'
' Types: handles are LongPtr (Long in VB6); unsigned values arrive in a Long; a String
' passed to kyHDid or kyGetWSPath is a buffer the caller sizes first (String$(41, 0),
' String$(260, 0)) and cuts at the first vbNullChar afterwards; ky_ReadByte and
' ky_WriteByte take a Byte variable. When kydoru.dll can't be found, kydoru_std.dll's
' functions return 0 and Err.LastDllError is 126.
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal fileName As LongPtr) As LongPtr
#Else
Private Declare Function LoadLibraryW Lib "kernel32" (ByVal fileName As Long) As Long
#End If

"""

# Procedures come after every declaration of the module.
TAIL = """\
' Loads the library from folder (for example ThisWorkbook.Path) for the Declares above.
' False when it can't be loaded.
Public Function kyLoad(ByVal folder As String) As Boolean
#If Win64 Then
    Const libraryFile As String = "kydoru.dll"
#Else
    Const libraryFile As String = "kydoru_std.dll"
#End If
    If Right$(folder, 1) <> "\\" Then folder = folder & "\\"
    kyLoad = LoadLibraryW(StrPtr(folder & libraryFile)) <> 0
End Function
"""


def table(path):
    rows = re.findall(r"X\((\d+),\s*(\w+),\s*([^,]+?),\s*\(([^)]*)\)", open(path).read())
    if len(rows) != 50:
        sys.exit(f"gen_bas: {path}: {len(rows)} exports, expected 50")
    return [(name, result.strip(), params.strip()) for _, name, result, params in rows]


def split_param(param):
    m = re.match(r"^(.*?)(\w+)$", param.strip())
    ctype = re.sub(r"\s*\*\s*", " *", m.group(1).strip())
    return ctype, m.group(2)


def declare(name, result, params, lib, vba7):
    handle = "LongPtr" if vba7 else "Long"
    parts = []
    if params not in ("", "void"):
        for param in params.split(","):
            ctype, pname = split_param(param)
            passing, vtype = PARAMS[ctype]
            parts.append(f"{passing} {RENAMED.get(pname, pname)} As {vtype.replace('Handle', handle)}")
    vresult = RESULTS[result]
    kind = "Sub" if vresult is None else "Function"
    tail = "" if vresult is None else " As " + vresult.replace("Handle", handle)
    head = f"Public Declare {'PtrSafe ' if vba7 else ''}{kind} {name} Lib \"{lib}\" "
    line = head + "(" + ", ".join(parts) + ")" + tail
    if len(line) <= 100:
        return line
    # Continued lines, filled up to 100 characters each.
    lines, current = [], head + "("
    for i, part in enumerate(parts):
        piece = part + (", " if i + 1 < len(parts) else ")" + tail)
        if len(current) + len(piece.rstrip()) > 98:
            lines.append(current.rstrip() + " _")
            current = "    "
        current += piece
    return "\n".join(lines + [current])


def module(rows):
    out = [HEAD]
    blocks = [("#If VBA7 Then\n#If Win64 Then", "' 64-bit Office: kydoru.dll itself.", "kydoru.dll", True),
              ("#Else", "' 32-bit Office: the stdcall companion.", "kydoru_std.dll", True),
              ("#End If\n#Else", "' Visual Basic 6 and Office before 2010: the stdcall companion.", "kydoru_std.dll", False)]
    for opener, comment, lib, vba7 in blocks:
        out.append(opener)
        out.append(comment)
        out.extend(declare(name, result, params, lib, vba7) for name, result, params in rows)
    out.append("#End If\n")
    out.append(TAIL)
    return "\r\n".join("\n".join(out).split("\n"))   # VBA imports CRLF text


def main(argv):
    check = argv[:1] == ["--check"]
    if check:
        argv = argv[1:]
    if len(argv) != 2:
        sys.exit(__doc__)
    text = module(table(argv[0]))
    if check:
        try:
            same = open(argv[1], newline="").read() == text
        except OSError:
            same = False
        if not same:
            print(f"gen_bas: {argv[1]} is not what {argv[0]} gives; run tools/gen_bas.py {argv[0]} {argv[1]}")
        return 0 if same else 1
    with open(argv[1], "w", newline="") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
