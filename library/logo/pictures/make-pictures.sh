#!/usr/bin/env bash
# Makes the two pictures of the logo show, ky.jpg (front and back faces of the cube)
# and kydoru.jpg (top, bottom and sides), with ImageMagick. Pure black is see-through
# on the cube, so the letters and the ring are cut as exact black (0,0,0) areas; the
# JPEGs use full-resolution colour and quality 100 so those areas stay exactly black
# after compression. Run from anywhere; the JPEGs are written beside this script.
#   bash library/logo/pictures/make-pictures.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
font=DejaVu-Sans-Bold
size=256
jpeg=(-strip -density 96 -units PixelsPerInch -sampling-factor 1x1 -quality 100 -interlace none)

# ky.jpg: a warm gradient tile with a pale frame; "KY" and four corner dots are holes.
convert -size ${size}x${size} gradient:'#ffb000'-'#c0102a' \
  -fill none -stroke '#fff4d0' -strokewidth 10 -draw "rectangle 5,5 250,250" \
  -stroke none -fill black -font "$font" -pointsize 150 -gravity center -annotate +0+6 'KY' \
  -gravity northwest \
  -draw "circle 30,30 30,44" -draw "circle 226,30 226,44" \
  -draw "circle 30,226 30,240" -draw "circle 226,226 226,240" \
  "${jpeg[@]}" "$here/ky.jpg"

# kydoru.jpg: a cool gradient tile with a black ring (a window through the face), the
# product name cut through its middle band and a pale subtitle.
convert -size ${size}x${size} gradient:'#30d0ff'-'#1838a0' \
  -fill none -stroke '#e0f8ff' -strokewidth 10 -draw "rectangle 5,5 250,250" \
  -stroke black -strokewidth 14 -draw "circle 128,128 128,30" \
  -stroke none -fill '#1c4cb0' -draw "rectangle 18,98 238,158" \
  -fill black -font "$font" -pointsize 42 -gravity center -annotate +0+0 'KYDORU' \
  -fill '#e0f8ff' -pointsize 20 -gravity south -annotate +0+16 'WIN32 LIBRARY' \
  "${jpeg[@]}" "$here/kydoru.jpg"

echo "made $here/ky.jpg and $here/kydoru.jpg"
