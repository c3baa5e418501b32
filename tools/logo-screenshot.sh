#!/usr/bin/env bash
# Takes docs/logo.png: runs the logo show (bench_logo --show) on the private test display
# and captures its 640 x 480 client area DELAY seconds after its window appears (the cube's angle depends on
# the moment; pick a delay that shows a good face).
#   bash tools/logo-screenshot.sh [build/win64] [DELAY]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build/win64}" && pwd)
delay=${2:-3}
env=$build/testenv
"$here/tests/harness/testenv.sh" start "$env" win64 >/dev/null
cd "$build/bin"
export DISPLAY=":$(cat "$env/display")"
"$here/tests/harness/wine-run.sh" "$env" ./bench_logo.exe --show $((${delay%.*} + 20)) &
show=$!
# The client area's place on the screen, from the show's X window, once it is up.
origin=
for _ in $(seq 100); do
  origin=$(xwininfo -root -tree | grep '"KY Computer Software' |
           grep -o '640x480[-+][0-9]*[-+][0-9]* *[-+][0-9]*[-+][0-9]*' | head -1 | awk '{print $2}' || true)
  [ -n "$origin" ] && break
  sleep 0.2
done
sleep "$delay"
import -window root /tmp/kydoru-logo-shot.png
wait "$show" || true
mkdir -p "$here/docs"
convert /tmp/kydoru-logo-shot.png -crop "640x480${origin:-+4+23}" +repage "$here/docs/logo.png"
rm -f /tmp/kydoru-logo-shot.png
echo "made $here/docs/logo.png (client at ${origin:-+4+23})"
