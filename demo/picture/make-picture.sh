#!/usr/bin/env bash
# Makes the demo's own logo picture (kyslika.jpg): 200 x 200, 24-bit colour, baseline
# JPEG, carried in kydemo.exe as a resource. Run again only to change the picture.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 200x200 gradient:'#1c3f94-#6fb7e8' \
  -fill '#f4c430' -stroke '#7a5200' -strokewidth 3 -draw 'circle 100,92 100,30' \
  -fill '#1c3f94' -stroke none -font DejaVu-Sans-Bold -pointsize 64 -gravity north -annotate +0+52 'KY' \
  -fill white -font DejaVu-Sans -pointsize 17 -gravity south -annotate +0+14 'kydoru demo' \
  -type TrueColor -interlace none -sampling-factor 2x2 -quality 88 -strip kyslika.jpg
identify kyslika.jpg
