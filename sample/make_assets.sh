#!/usr/bin/env bash
# Generates the sample's pictures and its engine settings record into a folder:
#   preview.bmp        the preview the form shows (installMode 1: a bitmap)
#   logo.jpg           an extra file of slot 10
#   data/sky/sky.jpg   a data file in a sub-folder of the saver data file
#   settings.bin       the engine's 1240-byte settings record
# Usage: make_assets.sh OUTPUT_FOLDER
set -euo pipefail
out=${1:?usage: make_assets.sh OUTPUT_FOLDER}
mkdir -p "$out/data/sky"

# A star field: a dark gradient with a few fixed stars. -strip keeps the files free of
# metadata, so the same ImageMagick gives the same bytes every time.
stars=(-fill white -draw 'circle 40,30 41,31' -draw 'circle 200,60 201,61'
       -draw 'circle 90,150 91,150' -draw 'circle 260,120 262,121' -draw 'circle 150,90 151,91')
convert -size 320x200 gradient:'#000033-#000000' "${stars[@]}" -strip -type TrueColor \
    "BMP3:$out/preview.bmp"
convert -size 160x100 gradient:'#102040-#000000' "${stars[@]}" -strip -quality 85 \
    "$out/logo.jpg"
convert -size 320x200 gradient:'#000010-#201040' "${stars[@]}" -strip -quality 85 \
    "$out/data/sky/sky.jpg"

# The engine's settings: opaque to the installer (the tool fills in the data file count and the
# first data file's mode). A readable tag, then the star count and speed, then zeros.
settings=$out/settings.bin
printf 'SAMPLE-STARFIELD-SETTINGS-1' >"$settings"
truncate -s 1240 "$settings"
printf '\x78\x00\x00\x00\x03\x00\x00\x00' | dd of="$settings" bs=1 seek=64 conv=notrunc status=none
