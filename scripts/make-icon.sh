#!/usr/bin/env bash
# Draws the program's icon (app/resources/OrvelleEx.ico): a blue rounded square
# with a white list of updates and a red round badge with a minus: remove one.
# Each size is drawn on a 4x canvas and scaled down, so the edges stay smooth;
# 16 and 24 px drop the badge, which would only be a smudge at that size.
set -euo pipefail
cd "$(dirname "$0")/.."
out=app/resources/OrvelleEx.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# draw_icon SIZE WITH_BADGE FILE: every coordinate below is on a 1024 grid.
draw_icon() {
    local size=$1 badge=$2 file=$3
    local list=(
        -fill white
        -draw "roundrectangle 220,270 330,380 26,26"  -draw "roundrectangle 380,290 800,360 35,35"
        -draw "roundrectangle 220,457 330,567 26,26"  -draw "roundrectangle 380,477 800,547 35,35"
        -draw "roundrectangle 220,644 330,754 26,26"  -draw "roundrectangle 380,664 560,734 35,35"
    )
    if [ "$badge" = no ]; then
        list=(
            -fill white
            -draw "roundrectangle 200,250 350,400 40,40"  -draw "roundrectangle 420,270 830,380 55,55"
            -draw "roundrectangle 200,440 350,590 40,40"  -draw "roundrectangle 420,460 830,570 55,55"
            -draw "roundrectangle 200,630 350,780 40,40"  -draw "roundrectangle 420,650 830,760 55,55"
        )
    fi
    local extra=()
    if [ "$badge" = yes ]; then
        extra=(
            -fill '#FFFFFF' -draw "circle 760,760 760,550"
            -fill '#E5484D' -draw "circle 760,760 760,575"
            -fill white -draw "roundrectangle 655,728 865,792 30,30"
        )
    fi
    convert -size 1024x1024 xc:none \
        \( -size 1024x1024 gradient:'#3B8CFF-#1453D6' \) \
        \( -size 1024x1024 xc:none -fill white -draw "roundrectangle 48,48 975,975 200,200" \) \
        -compose over -delete 0 -alpha off -compose copy_opacity -composite \
        -compose over "${list[@]}" "${extra[@]}" \
        -filter Lanczos -resize "${size}x${size}" -depth 8 -define png:color-type=6 "$file"
}

pngs=()
for size in 16 24 32 48 64 256; do
    badge=yes
    [ "$size" -le 24 ] && badge=no
    draw_icon "$size" "$badge" "$work/icon-$size.png"
    pngs+=("$work/icon-$size.png")
done
convert "${pngs[@]}" "$out"
echo "$out"
