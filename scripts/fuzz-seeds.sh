#!/bin/sh
# Writes the seed inputs of one fuzz target into a folder: ./scripts/fuzz-seeds.sh TARGET DIR
# Models come from the baked data folder and from assimp; pictures from the baked data and from
# ImageMagick, each behind the setting bytes its target reads (the first picks the format).
set -e
target=$1
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/build/run/data"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$out"

if [ "$target" = model_3ds ]; then
  for file in "$data"/*.3ds "$root"/tests/data/models/*.3ds; do [ -f "$file" ] && cp "$file" "$out/"; done
  printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nvt 0 0\nvt 1 0\nvt 0 1\nf 1/1 2/2 3/3\nf 1/1 3/3 4/2\n' > "$scratch/tri.obj"
  assimp export "$scratch/tri.obj" "$out/assimp-tri.3ds" >/dev/null 2>&1 || true
  exit 0
fi

# Setting bytes after the format byte: none for pictures, two for the alpha and terrain targets.
case "$target" in
  picture) settings="" ;;
  texture_alpha) settings='\003\200' ;;
  terrain) settings='\005\063' ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac
# The format byte: the dispatch's format code less one (BMP 0 ... WMF 9).
seed() {
  printf "\\$(printf '%03o' "$1")$settings" > "$out/$3"
  cat "$2" >> "$out/$3"
}
convert -size 9x7 gradient:red-blue -depth 8 "$scratch/small.png"
convert -size 9x7 gradient:white-black -alpha set -channel A -evaluate set 50% "$scratch/alpha.png"
n=0
for ext in bmp:0 gif:1 jpg:2 png:3 ico:4 tif:5 tga:6 pcx:7 wbmp:8; do
  name=${ext%:*}
  code=${ext#*:}
  convert "$scratch/small.png" "$scratch/small.$name" 2>/dev/null && seed "$code" "$scratch/small.$name" "small.$name"
  convert "$scratch/alpha.png" "$scratch/alpha.$name" 2>/dev/null && seed "$code" "$scratch/alpha.$name" "alpha.$name"
  n=$((n + 1))
done
convert "$scratch/small.png" -type Grayscale "$scratch/grey.bmp" && seed 0 "$scratch/grey.bmp" grey.bmp
convert "$scratch/small.png" -colors 4 "$scratch/rle.bmp" && convert "$scratch/rle.bmp" -compress RLE "BMP3:$scratch/rle8.bmp" &&
  seed 0 "$scratch/rle8.bmp" rle8.bmp || true
convert "$scratch/small.png" -compress RLE "$scratch/rle.tga" && seed 6 "$scratch/rle.tga" rle.tga || true
convert "$scratch/small.png" -interlace Plane "$scratch/progressive.jpg" && seed 2 "$scratch/progressive.jpg" progressive.jpg
# The decoders' own test files: good, truncated and lying ones.
for file in "$root"/tests/data/images/*; do
  case "$file" in
    *.bmp) code=0 ;; *.ico) code=4 ;; *.tga) code=6 ;; *.pcx) code=7 ;; *.wbmp) code=8 ;; *) continue ;;
  esac
  seed "$code" "$file" "test-$(basename "$file")"
done
# A small metafile drawn by hand: header, one rectangle record, end record.
printf '\001\000\011\000\000\003\023\000\000\000\001\000\007\000\000\000\000\000'\
'\005\000\000\000\014\002\020\000\020\000\007\000\000\000\033\004\010\000\010\000\002\000\002\000'\
'\003\000\000\000\000\000' > "$scratch/rect.wmf"
seed 9 "$scratch/rect.wmf" rect.wmf
# A few small baked pictures, as the presentation reads them.
for file in star.jpg flare.jpg smokealpha.jpg; do
  [ -f "$data/$file" ] && seed 2 "$data/$file" "baked-$file"
done
exit 0
