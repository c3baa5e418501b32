#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test kydoru: the mingw-w64
# cross compilers, Wine (64-bit, and 32-bit through qemu user-mode emulation) and its fonts,
# a private X server (and Xephyr, for a test display with two monitors), Mesa, socat,
# ImageMagick, LLVM's tools (llvm-dlltool makes kydoru.lib; clang and lld-link build the
# test program for the MSVC target), osslsigncode (signs a release when given a
# certificate) and the targets' gdb (the test that the shipped symbols are found). Safe to
# run again: it skips what is there.
set -euo pipefail

log() { echo "bootstrap: $*"; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

need_pkgs=()
want() { dpkg -s "$1" >/dev/null 2>&1 || need_pkgs+=("$1"); }

# i386 packages are needed for the 32-bit Wine run.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
  added_arch=1
fi

# fonts-wine: Wine's own Tahoma, MS Sans Serif and Marlett (the caption buttons' glyphs),
# which Debian only recommends; without them every face falls back to a wider one and the
# demo's captions no longer fit as they do on Windows.
for p in cmake make g++ python3 mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
         wine wine64 wine32:i386 fonts-wine xvfb xauth x11-utils xdotool libgl1-mesa-dri libglx-mesa0 \
         xserver-xephyr socat imagemagick googletest qemu-user-static binutils-mingw-w64 procps clang lld llvm \
         osslsigncode gdb-mingw-w64; do
  want "$p"
done
# Wine loads its X extensions (display modes through RandR, alpha through Render, ...)
# only when present; Debian merely recommends them, so ask for both architectures.
# With both architectures installed a bare name is ambiguous to dpkg (and would always
# read as missing), so each is asked for with its architecture.
host_arch=$(dpkg --print-architecture)
for lib in libxrandr2 libxrender1 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxxf86vm1 libxext6 libxfixes3; do
  want "$lib:$host_arch"
  want "$lib:i386"
done

if [ ${#need_pkgs[@]} -gt 0 ]; then
  log "installing: ${need_pkgs[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
else
  log "all packages present"
fi

# The kernel runs 32-bit code only through qemu; Debian does not register it on amd64 hosts.
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
  $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || log "could not mount binfmt_misc"
fi
if [ -e /proc/sys/fs/binfmt_misc/register ] && [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  log "registering qemu-i386 for 32-bit ELF programs"
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    | $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null || log "could not register qemu-i386"
fi
log "done"
