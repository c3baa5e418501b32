#!/usr/bin/env python3
"""Writes vba/kydoru.bas, the VBA and VB6 module that declares every export, from the export
table (library/exporttable.h), so a new export can't be forgotten in it, with the buffer
sizes the public header (exports.h beside the table) gives. tools/check_bas.py checks the
result against the header.

Three blocks of Declare statements: 64-bit VBA binds kydoru.dll (one calling convention
there); 32-bit VBA (VBA7, PtrSafe) and VB6 bind kydoru_std.dll, the stdcall companion.
Then the module's own procedures: kyLoad, and for each export that fills a text buffer a
function NAMEText that sizes the buffer itself and returns the text as a String.

  gen_bas.py TABLE OUT            write OUT
  gen_bas.py --check TABLE OUT    exit 1 when OUT differs from what would be written
"""
import os
import re
import sys

import vbatypes
from exportcount import export_count

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
{types}
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal fileName As LongPtr) As LongPtr
#Else
Private Declare Function LoadLibraryW Lib "kernel32" (ByVal fileName As Long) As Long
#End If

"""

# The module's own variable and procedures, after every declaration of the module.
TAIL = """\
' Why the last kyLoad call failed, for a message ("" after one that succeeded).
Public kyLoadError As String

' Loads the library from folder (for example ThisWorkbook.Path) for the Declares above:
' kydoru.dll, and for 32-bit Office and VB6 also the companion kydoru_std.dll beside it.
' False, with the reason in kyLoadError, when folder is empty (an unsaved workbook has no
' path) or a DLL is missing or built for the other width (32-bit Office needs the win32
' folder, 64-bit Office the win64 one).
Public Function kyLoad(ByVal folder As String) As Boolean
    kyLoadError = ""
    If Len(folder) = 0 Then
        kyLoadError = "kyLoad needs the folder of kydoru.dll (an unsaved workbook has no path)"
        Exit Function
    End If
    If Right$(folder, 1) <> "\\" Then folder = folder & "\\"
    If Not kyLoadFile(folder & "kydoru.dll") Then Exit Function
#If Not Win64 Then
    If Not kyLoadFile(folder & "kydoru_std.dll") Then Exit Function
#End If
    kyLoad = True
End Function

' Loads one DLL by its full path; False, with the reason in kyLoadError, when it can't.
Private Function kyLoadFile(ByVal path As String) As Boolean
    kyLoadFile = LoadLibraryW(StrPtr(path)) <> 0
    If kyLoadFile Then Exit Function
    Select Case Err.LastDllError
    Case 2, 3, 126
        kyLoadError = path & " is missing"
    Case 193
        kyLoadError = path & " is built for the other width: 32-bit Office needs win32, 64-bit Office win64"
    Case Else
        kyLoadError = path & " can't be loaded (system error " & Err.LastDllError & ")"
    End Select
End Function

' The text before the first vbNullChar of a buffer an export filled.
Private Function kyTextOf(ByVal buffer As String) As String
    Dim at As Long
    at = InStr(buffer, vbNullChar)
    If at = 0 Then kyTextOf = buffer Else kyTextOf = Left$(buffer, at - 1)
End Function
"""


def table(path):
    rows = re.findall(r"X\((\d+),\s*(\w+),\s*([^,]+?),\s*\(([^)]*)\)", open(path).read())
    if len(rows) != export_count(path):
        sys.exit(f"gen_bas: {path}: {len(rows)} exports, KYDORU_EXPORT_COUNT is {export_count(path)}")
    return [(name, result.strip(), params.strip()) for _, name, result, params in rows]


def parameters(params):
    """(C type, VBA name) of each parameter."""
    if params in ("", "void"):
        return []
    out = []
    for param in params.split(","):
        ctype, pname = vbatypes.split_param(param)
        out.append((ctype, RENAMED.get(pname, pname)))
    return out


def vba_parameter(ctype, pname, handle):
    passing, vtype = vbatypes.param(ctype)
    return f"{passing} {pname} As {vtype.replace('Handle', handle)}"


def declare(name, result, params, lib, vba7):
    handle = "LongPtr" if vba7 else "Long"
    parts = [vba_parameter(ctype, pname, handle) for ctype, pname in parameters(params)]
    vresult = vbatypes.result(result)
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


def wrap(text, width):
    """Words of text in lines of at most width characters."""
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    return lines + [line]


def text_function(name, result, params, size):
    """NAMEText: the export with its text buffer sized here, the text as a String."""
    args = parameters(params)
    buffer = next(pname for ctype, pname in args if ctype == vbatypes.BUFFER)
    inputs = [vba_parameter(ctype, pname, "Long") for ctype, pname in args if ctype != vbatypes.BUFFER]
    call = ", ".join(pname for _, pname in args)
    lines = [f"' {name}, its buffer sized here ({size} bytes, as the header asks): the text, \"\" for none.",
             f"Public Function {name}Text({', '.join(inputs)}) As String",
             f"    Dim {buffer} As String",
             f"    {buffer} = String$({size}, vbNullChar)"]
    if vbatypes.result(result) is None:
        lines.append(f"    {name} {call}")
    else:
        lines.append(f"    If {name}({call}) = 0 Then Exit Function")
    lines += [f"    {name}Text = kyTextOf({buffer})", "End Function", ""]
    return "\n".join(lines)


def module(rows, sizes):
    fillers = [(name, result, params) for name, result, params in rows
               if vbatypes.BUFFER in [ctype for ctype, _ in parameters(params)]]
    unsized = [name for name, _, _ in fillers if name not in sizes]
    if unsized:
        sys.exit(f"gen_bas: the header gives no buffer size (\"must hold at least N bytes\") for {', '.join(unsized)}")
    types = ("Types: handles are LongPtr (Long in VB6); unsigned values arrive in a Long; ky_ReadByte "
             "and ky_WriteByte take a Byte variable. A String passed to "
             + " or ".join(name for name, _, _ in fillers) + " is a buffer the caller sizes first ("
             + ", ".join(f"String$({sizes[name]}, 0)" for name, _, _ in fillers)
             + ") and cuts at the first vbNullChar afterwards; "
             + " and ".join(f"{name}Text" for name, _, _ in fillers) + " do both. When kydoru.dll can't be "
             "found, kydoru_std.dll's functions return 0 and Err.LastDllError is 126.")
    out = [HEAD.replace("{types}", "\n".join("' " + line for line in wrap(types, 88)))]
    blocks = [("#If VBA7 Then\n#If Win64 Then", "' 64-bit Office: kydoru.dll itself.", "kydoru.dll", True),
              ("#Else", "' 32-bit Office: the stdcall companion.", "kydoru_std.dll", True),
              ("#End If\n#Else", "' Visual Basic 6 and Office before 2010: the stdcall companion.", "kydoru_std.dll", False)]
    for opener, comment, lib, vba7 in blocks:
        out.append(opener)
        out.append(comment)
        out.extend(declare(name, result, params, lib, vba7) for name, result, params in rows)
    out.append("#End If\n")
    out.append(TAIL)
    out.extend(text_function(name, result, params, sizes[name]) for name, result, params in fillers)
    return "\r\n".join("\n".join(out).split("\n"))   # VBA imports CRLF text


def main(argv):
    check = argv[:1] == ["--check"]
    if check:
        argv = argv[1:]
    if len(argv) != 2:
        sys.exit(__doc__)
    header = os.path.join(os.path.dirname(os.path.abspath(argv[0])), "exports.h")
    text = module(table(argv[0]), vbatypes.buffer_sizes(header))
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
