#!/usr/bin/env python3
"""`make release` with a certificate, as a user who has one runs it: a throwaway
certificate and key are made here with openssl, and the release script signs with them
into a scratch folder. Then osslsigncode verify accepts every binary of both archives
against that certificate (and refuses an unsigned one), the sums list the signed archives,
and the signed binaries of this target still load and run under Wine: kyctl.exe, with the
signed kydoru.dll beside it, reports the screen mode.
  check_signing.py --dist DIST --source DIR --arch win32|win64 --wine-run W --env E --work DIR"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import distfiles  # noqa: E402


def run(cmd, timeout, **kw):
    try:
        return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, stdin=subprocess.DEVNULL, **kw)
    except subprocess.TimeoutExpired:
        print(f"check_signing: FAIL: no end after {timeout} s: {' '.join(cmd)}")
        sys.exit(1)


def verified(binary, cert):
    proc = run(["osslsigncode", "verify", "-CAfile", cert, "-in", binary], 120)
    return proc.returncode == 0, proc.stdout + proc.stderr


def main():
    ap = argparse.ArgumentParser()
    for option in ("--dist", "--source", "--wine-run", "--env", "--work"):
        ap.add_argument(option, required=True)
    ap.add_argument("--arch", required=True, choices=["win32", "win64"])
    a = ap.parse_args()
    work = os.path.abspath(a.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cert, key, out = (os.path.join(work, n) for n in ("cert.pem", "key.pem", "release"))
    made = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=kydoru test signer", "-addext", "extendedKeyUsage=codeSigning"], 120)
    if made.returncode != 0:
        print("check_signing: FAIL: openssl made no certificate:\n" + made.stdout + made.stderr)
        return 1
    release = run([sys.executable, os.path.join(a.source, "tools", "make_release.py"), a.dist, a.source,
                   "--sign-cert", cert, "--sign-key", key, "--out", out], 600)
    print(release.stdout + release.stderr)
    if release.returncode != 0:
        print("check_signing: FAIL: the signed release was not made")
        return 1

    problems = []
    sums = open(os.path.join(out, distfiles.RELEASE[2])).read()
    for arch in distfiles.TARGETS:
        archive = os.path.join(out, next(n for n in os.listdir(out) if n.endswith(f"-{arch}.zip")))
        digest = hashlib.sha256(open(archive, "rb").read()).hexdigest()
        if f"{digest}  {os.path.basename(archive)}" not in sums:
            problems.append(f"SHA256SUMS does not hold the signed {os.path.basename(archive)}")
        unpacked = os.path.join(work, arch)
        with zipfile.ZipFile(archive) as z:
            z.extractall(unpacked)
        top = os.path.join(unpacked, os.listdir(unpacked)[0])
        for rel in distfiles.binaries(arch):
            ok, said = verified(os.path.join(top, rel), cert)
            print(f"check_signing: {arch}: osslsigncode verify {rel}: {'accepted' if ok else 'REFUSED'}")
            if not ok:
                problems.append(f"{rel} ({arch}) is not accepted:\n{said}")
            unsigned = os.path.join(a.dist, rel)
            if verified(unsigned, cert)[0]:
                problems.append(f"dist/{rel} passes as signed: the verification proves nothing")
        if arch == a.arch:
            folder = os.path.join(top, arch)
            proc = run([a.wine_run, a.env, os.path.join(folder, "kyctl.exe"), "mode", "--json"], 900, cwd=folder)
            print(f"check_signing: {arch}: signed kyctl.exe mode --json: {proc.stdout.strip()} (exit {proc.returncode})")
            if proc.returncode != 0 or '"width":1024' not in proc.stdout:
                problems.append(f"the signed kyctl.exe and kydoru.dll did not run:\n{proc.stdout}{proc.stderr}")
    for p in problems:
        print("check_signing: FAIL:", p)
    print(f"check_signing: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
