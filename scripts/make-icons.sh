#!/usr/bin/env bash
# Renders the program icon from resources/tarvelle.svg:
#   resources/icons/tarvelle-<n>.png   32-bit PNGs for the desktop theme and the Qt resource (16 ... 256)
#   resources/icons/tarvelle-<n>.rgba  the same pixels as raw RGBA bytes, which the program's icon is built from
#   resources/tarvelle.ico             eleven images: 48, 32, 16 in 16 and in 256 colours, then 256, 96, 48, 32, 16
#                                      in 32-bit colour (the 256 one stored as PNG, as icon readers expect)
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert and icotool (icoutils). The outputs are committed, so
# only run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in rsvg-convert convert icotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "make-icons: $tool is missing (apt-get install librsvg2-bin imagemagick icoutils)" >&2
        exit 1
    fi
done

svg=resources/tarvelle.svg
out=resources/icons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# ImageMagick stamps dates into PNGs; leaving them out keeps the committed files unchanged on a re-run.
nodate=(-define png:exclude-chunks=date,time)

for n in 16 32 48 96 256; do
    rsvg-convert -w "$n" -h "$n" "$svg" -o "$work/raw-$n.png"
    convert "$work/raw-$n.png" -strip "${nodate[@]}" "PNG32:$out/tarvelle-$n.png"
    scripts/png-to-rgba.py "$out/tarvelle-$n.png" "$out/tarvelle-$n.rgba"
done

# Palette images: a pixel is either opaque or fully transparent (the icon's mask), and the colours are
# reduced without dithering, which keeps the small sizes clean. One palette slot is left for the mask.
for n in 16 32 48; do
    for colours in 16 256; do
        convert "$out/tarvelle-$n.png" -channel A -threshold 50% +channel -dither None \
            -colors $((colours - 1)) "${nodate[@]}" "$work/pal$colours-$n.png"
    done
done

icotool --create --output=resources/tarvelle.ico \
    --bit-depth=4 "$work/pal16-48.png" "$work/pal16-32.png" "$work/pal16-16.png" \
    --bit-depth=8 "$work/pal256-48.png" "$work/pal256-32.png" "$work/pal256-16.png" \
    --bit-depth=32 --raw="$out/tarvelle-256.png" "$out/tarvelle-96.png" "$out/tarvelle-48.png" \
    "$out/tarvelle-32.png" "$out/tarvelle-16.png"

icotool --list resources/tarvelle.ico
