#!/usr/bin/env python3
"""Builds the consumer project (tests/ship/consumer) against a kydoru package and runs it
under Wine, as a user would:
  --dist DIR      the package is dist/ as `make` leaves it;
  --archive ZIP   the package is a release archive: its checksum must match SHA256SUMS
                  beside it; it is unpacked into an empty folder and must hold what
                  tools/distfiles.py lists for it, and nothing else; a project of the other
                  pointer size must be turned down.
Exits non-zero on the first fault, saying what it was."""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import distfiles  # noqa: E402

OTHER = {"win32": "win64", "win64": "win32"}


def fail(message):
    print(f"roundtrip: FAIL: {message}")
    sys.exit(1)


def run(cmd, timeout, **kw):
    print("roundtrip: $ " + " ".join(cmd), flush=True)
    try:
        proc = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, **kw)
    except subprocess.TimeoutExpired:
        fail(f"no end after {timeout} s: {cmd[0]}")
    print(proc.stdout + proc.stderr, flush=True)
    return proc


def check_checksum(archive):
    sums = os.path.join(os.path.dirname(archive), "SHA256SUMS")
    name = os.path.basename(archive)
    listed = {}
    for line in open(sums):
        m = re.match(r"^([0-9a-f]{64}) [ *](\S+)$", line.strip())
        if m:
            listed[m.group(2)] = m.group(1)
    if name not in listed:
        fail(f"SHA256SUMS does not list {name}")
    actual = hashlib.sha256(open(archive, "rb").read()).hexdigest()
    if actual != listed[name]:
        fail(f"{name}: checksum {actual}, SHA256SUMS says {listed[name]}")


def unpack(archive, dest, arch, version, source):
    with zipfile.ZipFile(archive) as z:
        names = z.namelist()
        z.extractall(dest)
    top = f"kydoru-{version}-{arch}"
    if {n.split("/", 1)[0] for n in names} != {top}:
        fail(f"the archive's entries are not all under {top}/")
    held = {n.split("/", 1)[1] for n in names if not n.endswith("/")}
    listed = set(distfiles.files(arch)) | {name for name, _ in distfiles.documents(source)}
    if listed - held:
        fail("missing from the archive: " + ", ".join(sorted(listed - held)))
    if held - listed:
        fail("in the archive but not listed by tools/distfiles.py: " + ", ".join(sorted(held - listed)))
    return os.path.join(dest, top)


def configure(consumer, build, toolchain, root):
    return run(["cmake", "-S", consumer, "-B", build, f"-DCMAKE_TOOLCHAIN_FILE={toolchain}",
                f"-Dkydoru_DIR={os.path.join(root, 'cmake')}", "-DCMAKE_BUILD_TYPE=Release"], 300)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--consumer", required=True, help="the consumer project's folder")
    ap.add_argument("--arch", required=True, choices=["win32", "win64"])
    ap.add_argument("--toolchain", required=True)
    ap.add_argument("--other-toolchain", required=True, help="the toolchain of the other pointer size")
    ap.add_argument("--version", required=True, help="the version the package must report")
    ap.add_argument("--wine-run", required=True)
    ap.add_argument("--env", required=True, help="the test environment's folder")
    ap.add_argument("--work", required=True, help="a scratch folder, emptied first")
    source = ap.add_mutually_exclusive_group(required=True)
    source.add_argument("--dist")
    source.add_argument("--archive")
    a = ap.parse_args()

    work = os.path.abspath(a.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    if a.archive:
        if not os.path.isfile(a.archive):
            fail(f"{a.archive} is not there: run `make release` first")
        check_checksum(a.archive)
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
        root = unpack(a.archive, os.path.join(work, "unpacked"), a.arch, a.version, source)
    else:
        root = os.path.abspath(a.dist)
        if not os.path.isdir(os.path.join(root, "cmake")):
            fail(f"{root} holds no CMake package: run `make` first")

    build = os.path.join(work, "build")
    if configure(a.consumer, build, a.toolchain, root).returncode != 0:
        fail("the consumer project did not configure")
    if run(["cmake", "--build", build], 300).returncode != 0:
        fail("the consumer project did not build")
    shipped = open(os.path.join(root, a.arch, "kydoru.dll"), "rb").read()
    beside = os.path.join(build, "kydoru.dll")
    if not os.path.isfile(beside) or open(beside, "rb").read() != shipped:
        fail(f"the package's {a.arch} kydoru.dll was not copied beside the program")

    proc = run([a.wine_run, a.env, os.path.join(build, "consumer.exe")], 600, cwd=build)
    bits = 32 if a.arch == "win32" else 64
    expected = (f"package {a.version}, header {a.version}, {bits}-bit: mode 1, "
                "screen 1024 x 768, 32 bits per pixel")
    if proc.returncode != 0 or expected not in proc.stdout:
        fail(f"the program's output is not \"{expected}\" (exit {proc.returncode})")

    if a.archive:
        # The archive has one pointer size's binaries; a project of the other size must
        # not be handed them.
        proc = configure(a.consumer, os.path.join(work, "other"), a.other_toolchain, root)
        if proc.returncode == 0 or f"(no {OTHER[a.arch]} binaries)" not in proc.stdout + proc.stderr:
            fail(f"a {OTHER[a.arch]} project was not turned down by the {a.arch} package")
    print(f"roundtrip: OK: {a.arch} program built against {a.archive or a.dist} and run")


if __name__ == "__main__":
    main()
