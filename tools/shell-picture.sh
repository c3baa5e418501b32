#!/usr/bin/env bash
# Makes docs/shell-transparency.png: kySetWTransparent on a white window in front of a
# striped backdrop, photographed on the private test display.
#   tools/shell-picture.sh [BUILD]      (BUILD defaults to build/win64, already built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
scene=$build/bin/shell_transparency_scene.exe
x86_64-w64-mingw32-g++ -O2 -Wall -Wextra -Wno-cast-function-type -static -o "$scene" "$root/tools/shell-picture/transparency_scene.cpp" -lgdi32
"$root/tests/harness/testenv.sh" start "$build/testenv" win64 >/dev/null
"$root/tests/harness/wine-run.sh" "$build/testenv" "$scene" 6000 &
scene_pid=$!
sleep 4
DISPLAY=":$(cat "$build/testenv/display")" import -window root "$root/docs/shell-transparency.png"
wait "$scene_pid"
echo "wrote docs/shell-transparency.png"
