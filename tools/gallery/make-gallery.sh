#!/usr/bin/env bash
# Regenerates the effect gallery: builds kygallery (64-bit), plays every effect under Wine
# in the private test environment, converts the strips to PNG in docs/effects/ and
# writes docs/effects/index.md. Usage: bash tools/gallery/make-gallery.sh [build folder]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win64}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake"
cmake --build "$build" -j2 --target kygallery
build=$(cd "$build" && pwd)
env=$build/testenv
out=$build/gallery
docs=$here/docs/effects
rm -rf "$out" && mkdir -p "$out" "$docs"
"$here/tests/harness/testenv.sh" start "$env" win64
trap '"$here/tests/harness/testenv.sh" stop "$env" >/dev/null' EXIT
(cd "$build/bin" && timeout 300 "$here/tests/harness/wine-run.sh" "$env" ./kygallery.exe "Z:$out" | tr -d '\r') > "$out/list.txt"
{
  echo "# Effect gallery"
  echo
  echo "Each strip shows one effect played by the library's own routine on a 192 x 128 sample"
  echo "picture over a black area (as after blank mode 1), with the effect parameter 20 that the"
  echo "exports pass: five evenly spaced pauses from first to last, then the end state."
  echo "Regenerate with \`bash tools/gallery/make-gallery.sh\`."
  echo
  echo "| Effect | Name | Pauses at 192 x 128 | Frames |"
  echo "|---|---|---|---|"
  while IFS='|' read -r number name pauses; do
    convert "$out/effect-$number.bmp" "$docs/effect-$number.png"
    echo "| $((10#$number)) | $name | $pauses | ![effect $((10#$number)): $name](effect-$number.png) |"
  done < "$out/list.txt"
} > "$docs/index.md"
echo "gallery: $(ls "$docs"/*.png | wc -l) pictures and index.md in $docs"
