#!/usr/bin/env bash
# Writes one PNG that shows every picture of the game, labelled with its name, for review:
# sprites magnified 3x, middle-sized pictures 2x, whole screens and landscapes at their size.
# Colour keys are shown as they are stored, so stray key pixels stand out.
#
#   tools/contact-sheet.sh [picture folder] [output png]
#   (defaults: build/assets and build/contact-sheet.png; `make build` fills build/assets)
set -euo pipefail

pictures=${1:-build/assets}
output=${2:-build/contact-sheet.png}
row_limit=1600   # pixels; a wider picture gets a row of its own

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
bmps=("$pictures"/*.bmp)
if [ ${#bmps[@]} -eq 0 ]; then
  echo "contact-sheet: no .bmp files in $pictures" >&2
  exit 1
fi

tiles=()
for bmp in "${bmps[@]}"; do
  name=$(basename "$bmp")
  read -r width height < <(identify -format '%w %h\n' "$bmp")
  scale=100
  if [ "$height" -le 64 ] && [ "$width" -le 400 ]; then scale=300
  elif [ "$height" -le 128 ] && [ "$width" -le 400 ]; then scale=200
  fi
  tile="$work/$name.png"
  convert "$bmp" -scale "$scale%" -bordercolor '#808080' -border 1 \
    \( -background '#303030' -fill white -pointsize 14 label:"$name  ${width}x${height}" \) \
    -background '#303030' -gravity center -append -bordercolor '#303030' -border 6 "$tile"
  tiles+=("$tile")
done

# Packs the tiles into rows no wider than row_limit, then stacks the rows.
rows=()
row=()
row_width=0
flush_row() {
  if [ ${#row[@]} -gt 0 ]; then
    rows+=("$work/row${#rows[@]}.png")
    convert -background '#303030' "${row[@]}" -gravity north +append "${rows[-1]}"
  fi
  row=()
  row_width=0
}
for tile in "${tiles[@]}"; do
  width=$(identify -format '%w' "$tile")
  if [ $((row_width + width)) -gt $row_limit ]; then flush_row; fi
  row+=("$tile")
  row_width=$((row_width + width))
done
flush_row

mkdir -p "$(dirname "$output")"
convert -background '#303030' "${rows[@]}" -gravity west -append "$output"
echo "contact-sheet: wrote $output"
