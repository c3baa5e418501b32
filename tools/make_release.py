#!/usr/bin/env python3
"""Makes the release archives from dist/ (as `make` leaves it) and the documents, in
dist/release/: for each target kydoru-VERSION-ARCH.zip and kydoru-VERSION-ARCH-symbols.zip,
and SHA256SUMS over all of them. What goes in comes from tools/distfiles.py.
Each archive has one folder, kydoru-VERSION-ARCH/, holding the target's files as laid out
in dist/ (include/, cmake/, ARCH/) and the documents with everything they link to; the
symbols archive holds ARCH/.debug/ under the same folder, so unpacking both puts each
debug file where gdb looks for it. VERSION comes from the installed header.

With --sign-cert CERT.pem --sign-key KEY.pem every shipped .dll and .exe is signed with
osslsigncode (Authenticode, SHA-256) as it goes into its archive, before the sums are
made; dist/ itself is left as it is. Without them nothing is signed, and it says so.

  make_release.py DIST SOURCE [--sign-cert CERT --sign-key KEY] [--out FOLDER]"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

import distfiles

# Entries carry one fixed time, so the same files give the same archive and checksum.
ENTRY_TIME = (2026, 1, 1, 0, 0, 0)


def version(dist):
    text = open(os.path.join(dist, "include", "kydoru_version.h")).read()
    m = re.search(r'#define KYDORU_VERSION_STRING "([0-9]+\.[0-9]+\.[0-9]+)"', text)
    if not m:
        sys.exit("make_release: no KYDORU_VERSION_STRING in dist/include/kydoru_version.h")
    return m.group(1)


def add(z, arcname, path):
    info = zipfile.ZipInfo(arcname, ENTRY_TIME)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = (0o755 if arcname.endswith((".exe", ".dll")) else 0o644) << 16
    with open(path, "rb") as f:
        z.writestr(info, f.read())


def sign(path, cert, key, work):
    """A signed copy of the binary at path, in work."""
    signed = os.path.join(work, os.path.basename(path))
    cmd = ["osslsigncode", "sign", "-certs", cert, "-key", key, "-h", "sha256", "-n", "kydoru",
           "-in", path, "-out", signed]
    try:
        proc = subprocess.run(cmd, capture_output=True, text=True, timeout=120, stdin=subprocess.DEVNULL)
    except FileNotFoundError:
        sys.exit("make_release: osslsigncode is not installed (tools/bootstrap.sh installs it)")
    except subprocess.TimeoutExpired:
        sys.exit(f"make_release: osslsigncode took over 120 s signing {path} (a key with a passphrase?)")
    if proc.returncode != 0:
        sys.exit(f"make_release: osslsigncode could not sign {path}:\n{proc.stdout}{proc.stderr}")
    return signed


def write_archive(path, top, entries):
    with zipfile.ZipFile(path, "w") as z:
        for arcname, file in entries:
            add(z, f"{top}/{arcname}", file)
    print(f"make_release: {path}: {len(entries)} files, {os.path.getsize(path)} bytes")


def main():
    ap = argparse.ArgumentParser(usage=__doc__)
    ap.add_argument("dist")
    ap.add_argument("source")
    ap.add_argument("--sign-cert", default="")
    ap.add_argument("--sign-key", default="")
    ap.add_argument("--out", help="where the archives go (default DIST/release)")
    a = ap.parse_args()
    if bool(a.sign_cert) != bool(a.sign_key):
        sys.exit("make_release: signing needs both SIGN_CERT and SIGN_KEY")
    for given in (a.sign_cert, a.sign_key):
        if given and not os.path.isfile(given):
            sys.exit(f"make_release: {given} is not there")

    ver = version(a.dist)
    out = a.out or os.path.join(a.dist, "release")
    os.makedirs(out, exist_ok=True)
    documents = distfiles.documents(a.source)
    missing = [arcname for arcname, file in documents if not os.path.isfile(file)]
    if missing:
        sys.exit("make_release: documents missing from the source: " + ", ".join(missing))
    if not a.sign_cert:
        print("make_release: not signing (give SIGN_CERT=cert.pem SIGN_KEY=key.pem to sign)")
    names = []
    with tempfile.TemporaryDirectory() as work:
        for arch in distfiles.TARGETS:
            listed = distfiles.files(arch) + distfiles.symbol_files(arch)
            absent = [rel for rel in listed if not os.path.isfile(os.path.join(a.dist, rel))]
            if absent:
                sys.exit(f"make_release: missing from {a.dist}: {', '.join(absent)}: run `make` first")
            signed = os.path.join(work, arch)
            os.makedirs(signed)
            entries = []
            for rel in distfiles.files(arch):
                file = os.path.join(a.dist, rel)
                if a.sign_cert and rel in distfiles.binaries(arch):
                    file = sign(file, a.sign_cert, a.sign_key, signed)
                    print(f"make_release: signed {rel}")
                entries.append((rel, file))
            top = f"kydoru-{ver}-{arch}"
            archive, symbols = (r.format(version=ver, arch=arch) for r in distfiles.RELEASE[:2])
            write_archive(os.path.join(out, archive), top, entries + documents)
            write_archive(os.path.join(out, symbols), top,
                          [(rel, os.path.join(a.dist, rel)) for rel in distfiles.symbol_files(arch)])
            names += [archive, symbols]
    sums_path = os.path.join(out, distfiles.RELEASE[2])
    with open(sums_path, "w") as f:
        for name in names:
            digest = hashlib.sha256(open(os.path.join(out, name), "rb").read()).hexdigest()
            f.write(f"{digest}  {name}\n")
    print(f"make_release: {sums_path}")


if __name__ == "__main__":
    main()
