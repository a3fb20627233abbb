#!/usr/bin/env bash
# Renders the README's pictures of the saver, one per source, with the offscreen renderer:
# default settings, a fixed seed, five seconds into the run. Writes docs/pictures/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$(nproc)" --target render_frames >/dev/null

work=build/readme-pictures
rm -rf "$work"
mkdir -p "$work" docs/pictures
# Stand-ins for a desktop and a picture file, drawn here rather than taken from anywhere.
convert -size 1024x768 xc:'#3a6ea5' \
    -fill '#c0c0c0' -draw 'rectangle 120,90 700,470' \
    -fill '#0a246a' -draw 'rectangle 124,94 696,114' \
    -fill white -draw 'rectangle 128,120 692,466' \
    -fill '#808080' -draw 'rectangle 140,135 600,145' -draw 'rectangle 140,160 520,170' \
    -draw 'rectangle 140,185 660,195' -draw 'rectangle 140,210 480,220' \
    -fill '#d4d0c8' -draw 'rectangle 0,738 1024,768' \
    -fill '#c0c0c0' -draw 'rectangle 780,140 960,320' \
    -fill '#ffcc00' -draw 'circle 870,230 870,170' \
    -depth 8 "$work/desktop.ppm"
# A second monitor's desktop beside the first: the virtual screen of a 1024 x 768 primary with
# an 800 x 600 monitor to its right.
convert -size 800x600 xc:'#2f6f4f' \
    -fill '#c0c0c0' -draw 'rectangle 140,110 660,430' \
    -fill '#0a246a' -draw 'rectangle 144,114 656,134' \
    -fill '#fff8e0' -draw 'rectangle 148,140 652,426' \
    -fill '#b03030' -draw 'rectangle 170,170 400,400' \
    -fill '#d4d0c8' -draw 'rectangle 0,570 800,600' \
    -depth 8 "$work/second.ppm"
convert "$work/desktop.ppm" -background black -extent 1824x768 \
    "$work/second.ppm" -geometry +1024+0 -composite -depth 8 "$work/two-desktops.ppm"
convert -seed 7 -size 512x256 plasma:fractal -blur 0x1 -depth 8 "$work/picture.ppm"

render() {
    local source=$1 picture=${2:-}
    mkdir -p "$work/$source"
    build/native/tools/render_frames/render_frames --source "$source" \
        ${picture:+--picture "$picture"} --size 512x384 --seed 5 --fps 30 \
        --frames 150 --every 150 --out "$work/$source" >/dev/null
    convert "$work/$source/frame_0150.png" -strip "docs/pictures/$source.png"
}
render desktop "$work/desktop.ppm"
render chomify
render sky
render white
render custom "$work/picture.ppm"
# The same layout at half size: the water drawn once per monitor, each with its own desktop.
mkdir -p "$work/two-monitors"
build/native/tools/render_frames/render_frames --source desktop \
    --picture "$work/two-desktops.ppm" --monitors 512x384+0+0,400x300+512+0 --seed 5 \
    --fps 30 --frames 150 --every 150 --out "$work/two-monitors" >/dev/null
convert "$work/two-monitors/frame_0150.png" -strip docs/pictures/two-monitors.png
ls -l docs/pictures
