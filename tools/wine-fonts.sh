#!/usr/bin/env bash
# Puts Wine's own fonts (Tahoma, MS Sans Serif, Marlett, ...: package fonts-wine) into a
# Wine prefix's Fonts folder, where Windows keeps its own. Debian's Wine 8 looks for them
# in /usr/share/fonts instead of /usr/share/wine/fonts, where the package puts them, so
# without this every face falls back to a wider one and the title bar buttons lose their
# glyphs. Safe to run again: copies only what the prefix lacks.
#   wine-fonts.sh PREFIX
set -euo pipefail
prefix=$1
source=/usr/share/wine/fonts
fonts="$prefix/drive_c/windows/Fonts"
if [ ! -d "$source" ]; then
  echo "wine-fonts: $source is missing (install fonts-wine, or run tools/bootstrap.sh)" >&2
  exit 1
fi
mkdir -p "$fonts"
for font in "$source"/*.ttf "$source"/*.fon; do
  [ -e "$fonts/$(basename "$font")" ] || cp "$font" "$fonts/"
done
