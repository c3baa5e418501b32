#!/usr/bin/env bash
# Makes docs/clock.png: the running clock over a striped backdrop on the private test
# display, taken with ImageMagick's `import` and cropped to the backdrop.
#   tools/clock-picture.sh [build/win64]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build/win64}" && pwd)
env=$build/testenv
"$here/tests/harness/testenv.sh" start "$env" win64 >/dev/null
cd "$build/bin"
"$here/tests/harness/wine-run.sh" "$env" ./clock_picture.exe &
runner=$!
sleep 5  # the note is answered, the clock is dragged and has drawn many frames
mkdir -p "$here/docs"
DISPLAY=":$(cat "$env/display")" import -window root -crop 320x256+0+0 +repage "$here/docs/clock.png"
wait "$runner"
echo "wrote $here/docs/clock.png"
