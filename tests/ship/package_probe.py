#!/usr/bin/env python3
"""The CMake package (dist/cmake) asked for by projects of each kind, one accepted and one
refused per kind: the system, the processor, the pointer size and the version asked for
(a single version or a range). Each case configures tests/ship/probe with the kind's
settings and checks the DLL chosen or the reason given. VERSION is the project's.
  package_probe.py PROBE DIST VERSION WORK"""
import os
import shutil
import subprocess
import sys

WINDOWS = ["-DCMAKE_SYSTEM_NAME=Windows"]
# (what, settings, version asked for, the DLL chosen below dist/ or None, text the
# output must hold)
CASES = [
    ("x86-64 Windows", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=AMD64", "-DCMAKE_SIZEOF_VOID_P=8"], "", "win64/kydoru.dll", ""),
    ("ARM64 Windows", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=ARM64", "-DCMAKE_SIZEOF_VOID_P=8"], "", None,
     "(for x86 and x86-64, not arm64)"),
    ("a Visual Studio Win32 build on a 64-bit machine",
     WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=AMD64", "-DCMAKE_C_COMPILER_ARCHITECTURE_ID=X86", "-DCMAKE_SIZEOF_VOID_P=4"],
     "", "win32/kydoru.dll", ""),
    ("MSVC for ARM64 on a 64-bit machine",
     WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=AMD64", "-DCMAKE_C_COMPILER_ARCHITECTURE_ID=ARM64", "-DCMAKE_SIZEOF_VOID_P=8"],
     "", None, "(for x86 and x86-64, not arm64)"),
    ("a toolchain that names no processor", WINDOWS + ["-DCMAKE_SIZEOF_VOID_P=4"], "", "win32/kydoru.dll", ""),
    ("x86-64 Linux", ["-DCMAKE_SIZEOF_VOID_P=8"], "", None, "(for Windows, not Linux)"),
    ("a range that holds this version", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=i686", "-DCMAKE_SIZEOF_VOID_P=4"],
     "0.9...2.0", "win32/kydoru.dll", ""),
    ("a range above it", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=i686", "-DCMAKE_SIZEOF_VOID_P=4"], "{major}.{next_minor}...<3",
     None, "version: {version}"),
    ("a range that ends just below it", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=x86_64", "-DCMAKE_SIZEOF_VOID_P=8"],
     "0.1...<{version}", None, "version: {version}"),
    ("the next major version", WINDOWS + ["-DCMAKE_SYSTEM_PROCESSOR=x86_64", "-DCMAKE_SIZEOF_VOID_P=8"], "{next_major}",
     None, "version: {version}"),
]


def main(probe, dist, version, work):
    dist = os.path.abspath(dist)
    major, minor, _ = (int(p) for p in version.split("."))
    names = {"version": version, "major": major, "next_minor": minor + 1, "next_major": major + 1}
    failures = []
    for what, settings, request, dll, text in CASES:
        request, text = request.format(**names), text.format(**names)
        build = os.path.join(work, "probe")
        shutil.rmtree(build, ignore_errors=True)
        cmd = ["cmake", "-S", probe, "-B", build, f"-Dkydoru_DIR={os.path.join(dist, 'cmake')}",
               f"-DKYDORU_REQUEST={request}"] + settings
        try:
            proc = subprocess.run(cmd, capture_output=True, text=True, timeout=120)
        except subprocess.TimeoutExpired:
            failures.append(f"{what}: cmake did not end within 120 s")
            continue
        output = proc.stdout + proc.stderr
        asked = request or "any version"
        if dll:
            chosen = os.path.join(os.path.abspath(dist), dll)
            ok = proc.returncode == 0 and f"probe: kydoru {version}, {chosen}" in output
            problem = f"{what} (asking for {asked}): not given {dll}"
        else:
            ok = proc.returncode != 0 and text in output
            problem = f"{what} (asking for {asked}): not turned down with \"{text}\""
        print(f"package_probe: {what} (asking for {asked}): {'accepted' if dll else 'refused'}"
              + ("" if ok else " NOT as expected"))
        if not ok:
            failures.append(f"{problem}:\n{output}")
    for f in failures:
        print("package_probe: FAIL:", f)
    print(f"package_probe: {len(CASES)} kinds of project, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
