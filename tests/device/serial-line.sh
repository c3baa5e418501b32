#!/usr/bin/env bash
# A real serial line for the device tests: socat joins two pseudo-terminals, and COM7 and
# COM8 of the test prefix are linked onto their two ends, so a test opens COM7 through the
# library and plays the far side on COM8.
#   serial-line.sh start ENVDIR     (after testenv.sh start made ENVDIR/prefix)
#   serial-line.sh stop ENVDIR
set -euo pipefail
cmd=$1 envdir=$(cd "$2" && pwd)
line=$envdir/serial
devices=$envdir/prefix/dosdevices

stop_line() {
  if [ -f "$line/socat.pid" ]; then
    kill "$(cat "$line/socat.pid")" 2>/dev/null || true
    rm -f "$line/socat.pid"
  fi
  rm -f "$devices/com7" "$devices/com8"
}

case "$cmd" in
  start)
    [ -d "$devices" ] || { echo "serial-line: no Wine prefix in $envdir (start the test environment first)" >&2; exit 1; }
    stop_line
    mkdir -p "$line"
    rm -f "$line/ttyA" "$line/ttyB"
    socat -d -d "pty,raw,echo=0,link=$line/ttyA" "pty,raw,echo=0,link=$line/ttyB" >"$line/socat.log" 2>&1 </dev/null &
    echo $! >"$line/socat.pid"
    for _ in $(seq 100); do
      [ -e "$line/ttyA" ] && [ -e "$line/ttyB" ] && break
      kill -0 "$(cat "$line/socat.pid")" 2>/dev/null || { cat "$line/socat.log" >&2; exit 1; }
      sleep 0.1
    done
    [ -e "$line/ttyA" ] && [ -e "$line/ttyB" ] || { echo "serial-line: socat made no ptys" >&2; exit 1; }
    ln -sfn "$line/ttyA" "$devices/com7"
    ln -sfn "$line/ttyB" "$devices/com8"
    echo "serial-line: COM7 -> $(readlink -f "$line/ttyA"), COM8 -> $(readlink -f "$line/ttyB"), socat $(cat "$line/socat.pid")"
    ;;
  stop)
    stop_line
    echo "serial-line: stopped"
    ;;
  *) echo "usage: serial-line.sh start|stop ENVDIR" >&2; exit 2 ;;
esac
