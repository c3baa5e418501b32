#!/usr/bin/env python3
"""The module check passes on kydoru.bas and fails on each of these faults a hand edit or a
careless generator could make (each replaces one text of the module, in the first place it
occurs unless told). Usage: check_bas_test.py CHECK_BAS HEADER BAS"""
import os
import subprocess
import sys
import tempfile

FAULTS = [
    ("ky_ReadByte's byte passed by value",
     "ky_ReadByte Lib \"kydoru_std.dll\" (ByRef target As Byte)", "ky_ReadByte Lib \"kydoru_std.dll\" (ByVal target As Byte)"),
    ("kyHDid's buffer as a number", "ByVal kind As Long, ByVal buffer As String", "ByVal kind As Long, ByVal buffer As Long"),
    ("a handle result as Long under VBA7", "kyMonitorOff Lib \"kydoru.dll\" () As LongPtr", "kyMonitorOff Lib \"kydoru.dll\" () As Long"),
    ("64-bit Office bound to the companion", "kyProcSpeed Lib \"kydoru.dll\"", "kyProcSpeed Lib \"kydoru_std.dll\""),
    ("32-bit Office bound to the cdecl DLL", "kyProcSpeed Lib \"kydoru_std.dll\"", "kyProcSpeed Lib \"kydoru.dll\""),
    ("LongPtr in VB6", "Public Declare Function kyFlashWindow Lib \"kydoru_std.dll\" (ByVal window As Long",
     "Public Declare Function kyFlashWindow Lib \"kydoru_std.dll\" (ByVal window As LongPtr"),
    ("PtrSafe in VB6", "Public Declare Function kyLogo", "Public Declare PtrSafe Function kyLogo"),
    ("an argument missing", "ByVal inputQueueSize As Long, ByVal outputQueueSize As Long", "ByVal inputQueueSize As Long"),
    ("a Function for a void export", "Public Declare PtrSafe Sub kySetNumLock Lib \"kydoru.dll\" (ByVal wanted As Long)",
     "Public Declare PtrSafe Function kySetNumLock Lib \"kydoru.dll\" (ByVal wanted As Long) As Long"),
    ("an export left out", "Public Declare PtrSafe Function kyCommIBClear Lib \"kydoru_std.dll\" () As Long\r\n", ""),
    ("a misspelt name", "kyCommOBClear Lib \"kydoru.dll\"", "kyCommOBClr Lib \"kydoru.dll\""),
    ("an Alias to another export", "kyFullScreen Lib \"kydoru.dll\"", "kyFullScreen Lib \"kydoru.dll\" Alias \"kyCancelFullScreen\""),
    ("the VB6 block lost its #Else", "#End If\r\n#Else\r\n", "#End If\r\n"),
    ("a Declare after a procedure", "End Function\r\n",
     "End Function\r\nPublic Declare Sub kyExtra Lib \"kydoru_std.dll\" ()\r\n"),
    ("kyLoad loads the companion alone", "    If Not kyLoadFile(folder & \"kydoru.dll\") Then Exit Function\r\n", ""),
    ("kyLoad takes an empty folder for the drive's root", "    If Len(folder) = 0 Then\r\n", "    If False Then\r\n"),
    ("kyLoad answers True after a failed load", "    If Not kyLoadFile(folder & \"kydoru_std.dll\") Then Exit Function",
     "    kyLoadFile folder & \"kydoru_std.dll\""),
    ("kyHDidText's buffer a byte short", "String$(41, vbNullChar)", "String$(40, vbNullChar)"),
    ("kyHDidText passes a String it never sized", "If kyHDid(driveIndex, kind, buffer) = 0",
     "If kyHDid(driveIndex, kind, \"\") = 0"),
    ("kyGetWSPathText left out", "Public Function kyGetWSPathText()", "Public Function kyGetSystemPath()"),
]


def run(check, header, path):
    return subprocess.run([sys.executable, check, header, path], capture_output=True, text=True)


def main(check, header, bas):
    text = open(bas, newline="").read()
    failures = []
    good = run(check, header, bas)
    if good.returncode != 0:
        failures.append("the shipped module fails:\n" + good.stdout)
    with tempfile.TemporaryDirectory() as folder:
        for label, old, new in FAULTS:
            if old not in text:
                failures.append(f"{label}: the text to replace is not in the module: {old!r}")
                continue
            path = os.path.join(folder, "faulty.bas")
            with open(path, "w", newline="") as f:
                f.write(text.replace(old, new, 1))
            if run(check, header, path).returncode == 0:
                failures.append(f"{label}: not found by the check")
    for f in failures:
        print("check_bas_test:", f)
    print(f"check_bas_test: {len(FAULTS)} faults, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
