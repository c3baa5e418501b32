#!/usr/bin/env python3
"""Makes the release archives from dist/ (as `make` leaves it) and the documents:
  dist/release/kydoru-VERSION-win32.zip, kydoru-VERSION-win64.zip and SHA256SUMS.
Each archive has one folder, kydoru-VERSION-ARCH/, holding include/, cmake/, ARCH/ (every
file `make` installed there but the debug files), README.md, LICENSE, CHANGELOG.md and
docs/guide.md and docs/api.md. VERSION comes from the installed header.
  make_release.py DIST SOURCE"""
import hashlib
import os
import re
import sys
import zipfile

DOCUMENTS = ["README.md", "LICENSE", "CHANGELOG.md", "docs/guide.md", "docs/api.md"]
# Entries carry one fixed time, so the same files give the same archive and checksum.
ENTRY_TIME = (2026, 1, 1, 0, 0, 0)


def version(dist):
    text = open(os.path.join(dist, "include", "kydoru_version.h")).read()
    m = re.search(r'#define KYDORU_VERSION_STRING "([0-9]+\.[0-9]+\.[0-9]+)"', text)
    if not m:
        sys.exit("make_release: no KYDORU_VERSION_STRING in dist/include/kydoru_version.h")
    return m.group(1)


def folder_files(base, rel, skip=()):
    """(path in the archive below the top folder, file on disk) for each file under base/rel."""
    out = []
    for dirpath, dirnames, filenames in os.walk(os.path.join(base, rel)):
        dirnames[:] = sorted(d for d in dirnames if os.path.relpath(os.path.join(dirpath, d), base) not in skip)
        for name in sorted(filenames):
            path = os.path.join(dirpath, name)
            out.append((os.path.relpath(path, base).replace(os.sep, "/"), path))
    return out


def add(z, arcname, path):
    info = zipfile.ZipInfo(arcname, ENTRY_TIME)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = (0o755 if arcname.endswith((".exe", ".dll")) else 0o644) << 16
    with open(path, "rb") as f:
        z.writestr(info, f.read())


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    dist, source = sys.argv[1], sys.argv[2]
    ver = version(dist)
    out = os.path.join(dist, "release")
    os.makedirs(out, exist_ok=True)
    sums = []
    for arch in ("win32", "win64"):
        if not os.path.isfile(os.path.join(dist, arch, "kydoru.dll")):
            sys.exit(f"make_release: {dist}/{arch}/kydoru.dll is missing: run `make` first")
        top = f"kydoru-{ver}-{arch}"
        entries = (folder_files(dist, "include") + folder_files(dist, "cmake")
                   + folder_files(dist, arch, skip={os.path.join(arch, "debug")})
                   + [(doc, os.path.join(source, doc)) for doc in DOCUMENTS])
        name = f"{top}.zip"
        path = os.path.join(out, name)
        with zipfile.ZipFile(path, "w") as z:
            for arcname, file in entries:
                add(z, f"{top}/{arcname}", file)
        digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
        sums.append(f"{digest}  {name}\n")
        print(f"make_release: {path}: {len(entries)} files, {os.path.getsize(path)} bytes")
    with open(os.path.join(out, "SHA256SUMS"), "w") as f:
        f.writelines(sums)
    print(f"make_release: {os.path.join(out, 'SHA256SUMS')}")


if __name__ == "__main__":
    main()
