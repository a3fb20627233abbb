#!/usr/bin/env bash
# Renders the README's pictures of the saver with the offscreen renderer: for each source, a few
# seconds of the saver in motion as an animated WebP file, with the default settings, a fixed
# seed and a stepped clock. Writes docs/pictures/*.webp.
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
    "$work/desktop.png"
# A second monitor's desktop beside the first: the virtual screen of a 1024 x 768 primary with
# an 800 x 600 monitor to its right.
convert -size 800x600 xc:'#2f6f4f' \
    -fill '#c0c0c0' -draw 'rectangle 140,110 660,430' \
    -fill '#0a246a' -draw 'rectangle 144,114 656,134' \
    -fill '#fff8e0' -draw 'rectangle 148,140 652,426' \
    -fill '#b03030' -draw 'rectangle 170,170 400,400' \
    -fill '#d4d0c8' -draw 'rectangle 0,570 800,600' \
    "$work/second.png"
convert "$work/desktop.png" -background black -extent 1824x768 \
    "$work/second.png" -geometry +1024+0 -composite "$work/two-desktops.png"
convert -seed 7 -size 512x256 plasma:fractal -blur 0x1 -quality 92 "$work/picture.jpg"

# render NAME [render_frames options]: docs/pictures/NAME.webp, four seconds at 15 frames a
# second. Each file should stay under about 2 MB.
render() {
    local name=$1
    shift
    echo "$name"
    build/native/tools/render_frames/render_frames "$@" --size 384x288 --seed 5 --fps 15 \
        --frames 60 --every 0 --animation "docs/pictures/$name.webp" >/dev/null
}
render desktop --source desktop --picture "$work/desktop.png"
render chomify --source chomify
render sky --source sky
render white --source white
render custom --source custom --picture "$work/picture.jpg"
# The same two monitors at three eighths of their size: the water drawn once per monitor, each
# with its own desktop.
echo two-monitors
build/native/tools/render_frames/render_frames --source desktop \
    --picture "$work/two-desktops.png" --monitors 384x288+0+0,300x225+384+0 --seed 5 --fps 15 \
    --frames 60 --every 0 --animation docs/pictures/two-monitors.webp >/dev/null
ls -l docs/pictures
