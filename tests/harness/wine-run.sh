#!/usr/bin/env bash
# Runs one Windows test program under Wine inside the private test environment that
# testenv.sh started (used as CMake's cross-compiling emulator).
#   wine-run.sh ENVDIR PROGRAM.exe [ARGS...]
set -euo pipefail
envdir=$(cd "$1" && pwd); shift
prog=$1; shift
if [ ! -f "$envdir/display" ] || [ ! -f "$envdir/arch" ]; then
  echo "wine-run: the test environment in $envdir is not started" >&2
  exit 1
fi
# An X server that died or stopped answering under an earlier program would fail or hang
# every later one: say so in the log and start another.
if ! DISPLAY=":$(cat "$envdir/display")" timeout 10 xdpyinfo >/dev/null 2>&1; then
  echo "wine-run: the X server :$(cat "$envdir/display") is gone or does not answer (since an earlier program)" >&2
  "$(dirname "$0")/testenv.sh" revive "$envdir" "$(cat "$envdir/arch")" >&2
fi
export DISPLAY=":$(cat "$envdir/display")"
export WINEPREFIX="$envdir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$(cat "$envdir/arch")" = win32 ]; then
  exec wine "$prog" "$@"
fi
exec /usr/lib/wine/wine64 "$prog" "$@"
