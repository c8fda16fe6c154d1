#!/usr/bin/env bash
# Renders every image of an .ico file to PNG for a person to look at, and a
# sheet with each small image enlarged (pixels kept square) beside the large
# ones, on a light and on a dark background. Needs ImageMagick.
# Usage: preview-icon.sh ICON.ico OUTPUT_FOLDER
set -euo pipefail
ico=$1
out=$2
mkdir -p "$out"
count=$(identify "$ico" | wc -l)
cells=()
for ((i = 0; i < count; i++)); do
  side=$(identify -format '%w' "$ico[$i]")
  name="$out/image-$i-${side}px.png"
  convert "$ico[$i]" "$name"
  cells+=("$name")
done
for background in white '#2b2b2b'; do
  tag=light
  [[ $background == white ]] || tag=dark
  enlarged=()
  for cell in "${cells[@]}"; do
    side=$(identify -format '%w' "$cell")
    factor=$(( side >= 128 ? 1 : 192 / side ))
    big="${cell%.png}-$tag.png"
    convert "$cell" -background "$background" -alpha remove -filter point -resize "$((side * factor))x" "$big"
    enlarged+=("$big")
  done
  montage "${enlarged[@]}" -tile "${count}x1" -geometry +8+8 -background "$background" "$out/sheet-$tag.png"
  rm -f "${enlarged[@]}"
done
echo "$out/sheet-light.png"
