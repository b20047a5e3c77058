#!/bin/bash
# orvo-gl-tool inspect-image against ImageMagick: every picture variant ImageMagick can write is
# decoded by both, and the 24-bit pixels (bottom row first) must be identical byte for byte.
# ImageMagick's own depth reduction truncates 16-bit samples; adding 128 first makes it round,
# as our decoders do. Its orientation metadata is applied (-auto-orient), as we apply it.
# Variants ImageMagick cannot write (run-length 4-bit and top-down bitmaps, icons with indexed
# entries, 1- and 4-bit PCX, Targa origins) are built byte by byte in the unit tests, as are
# palette and associated-alpha TIFFs, which agree only within rounding.
. "$(dirname "$0")/common.sh"
TOOL="$run_dir/orvo-gl-tool"
if ! command -v convert > /dev/null; then
  echo "ImageMagick is not installed; skipping"
  exit 0
fi
cd "$work" || exit 1

convert -seed 7 -size 37x23 plasma:fractal -depth 16 deep.png
convert deep.png -depth 8 opaque.png
convert opaque.png \( -size 37x23 gradient:white-black \) -alpha off -compose copy_opacity -composite -depth 8 alpha.png

# check FILE FORMAT_CODE [FRAME]
check() {
  local file="$1" format="$2" frame="${3:-0}"
  local json
  json="$("$TOOL" inspect-image "$file" --raw ours.raw)" || { fail "$file: $json"; return; }
  case "$json" in
    "{\"ok\": true, \"format\": $format, "*) ;;
    *) fail "$file: unexpected answer $json"; return ;;
  esac
  local digest
  digest="$(sha256sum ours.raw | cut -d' ' -f1)"
  [[ "$json" == *"\"sha256\": \"$digest\"}" ]] || fail "$file: digest is not the SHA-256 of the raw bytes"
  convert "$file[$frame]" -auto-orient -flip -evaluate add 128 -depth 8 bgr:theirs.raw || { fail "$file: ImageMagick cannot read it"; return; }
  cmp -s ours.raw theirs.raw || fail "$file: pixels differ from ImageMagick ($json)"
}

# variant SOURCE "OPTIONS" TARGET FORMAT_CODE [FRAME]
variant() {
  local source="$1" options="$2" target="$3" format="$4" frame="${5:-0}"
  # shellcheck disable=SC2086
  convert "$source" $options "$target" || { fail "convert $options $target"; return; }
  check "${target#*:}" "$format" "$frame"
}

# BMP: 1, 4, 8 bits, run-length 8, 15/16-bit masks, 24 bits, 32 bits with alpha.
variant opaque.png "-monochrome" bmp3:one.bmp 1
variant opaque.png "-colors 16 -type Palette -compress none" bmp3:four.bmp 1
variant opaque.png "-type Palette -compress none" bmp3:eight.bmp 1
variant opaque.png "-type Palette -compress RLE" bmp3:eightrle.bmp 1
variant opaque.png "-define bmp:subtype=RGB555" fifteen.bmp 1
variant opaque.png "-define bmp:subtype=RGB565" sixteen.bmp 1
variant opaque.png "" bmp3:plain.bmp 1
variant opaque.png "" v5.bmp 1
variant alpha.png "" alpha.bmp 1
# GIF: plain, interlaced, transparency, first frame of an animation.
variant opaque.png "" plain.gif 2
variant opaque.png "-interlace GIF" interlaced.gif 2
variant alpha.png "-channel A -threshold 50% +channel" transparent.gif 2
convert -delay 10 opaque.png \( opaque.png -negate \) animation.gif && check animation.gif 2
# JPEG: colour at two samplings, grey, progressive.
variant opaque.png "-quality 90" colour.jpg 3
variant opaque.png "-sampling-factor 1x1" full.jpg 3
variant opaque.png "-colorspace Gray" grey.jpg 3
variant opaque.png "-interlace JPEG" progressive.jpg 3
# PNG: grey, palette (with transparency), colour, alpha, 16-bit, interlaced.
variant opaque.png "-colorspace Gray -depth 8" grey.png 4
variant deep.png "-colorspace Gray" deepgrey.png 4
variant opaque.png "-monochrome" mono.png 4
variant opaque.png "" png8:palette.png 4
variant alpha.png "" png8:palettealpha.png 4
variant opaque.png "" png24:colour.png 4
variant alpha.png "" png32:alpha.png 4
variant deep.png "" png48:deep48.png 4
variant alpha.png "-depth 16" png64:deep64.png 4
variant opaque.png "-interlace PNG" interlaced.png 4
# ICO: the largest of several bitmap entries, and a PNG entry.
variant alpha.png "-define icon:auto-resize=16,48,32" sizes.ico 5 1
variant alpha.png "-resize 256x256!" big.ico 5
# TIFF: raw, LZW, Zip, JPEG inside, grey, bilevel, 16-bit, unassociated alpha.
variant opaque.png "" plain.tif 6
variant opaque.png "-compress LZW" lzw.tif 6
variant opaque.png "-compress Zip" zip.tif 6
variant opaque.png "-compress JPEG" jpeg.tif 6
variant opaque.png "-colorspace Gray" grey.tif 6
variant opaque.png "-monochrome" mono.tif 6
variant deep.png "" deep.tif 6
variant alpha.png "" alpha.tif 6
# TGA: types 1, 2, 3, 9, 10, 11 and 32-bit alpha, raw and run-length.
variant opaque.png "-type Palette" mapped.tga 7
variant opaque.png "-type Palette -compress RLE" mappedrle.tga 7
variant opaque.png "" true.tga 7
variant opaque.png "-compress RLE" truerle.tga 7
variant opaque.png "-colorspace Gray -type Grayscale" grey.tga 7
variant opaque.png "-colorspace Gray -type Grayscale -compress RLE" greyrle.tga 7
variant alpha.png "" alpha.tga 7
variant alpha.png "-compress RLE" alpharle.tga 7
# PCX: 8-bit palette, 24 bits, 24 bits with an alpha plane.
variant opaque.png "-type Palette" palette.pcx 8
variant opaque.png "" true.pcx 8
variant alpha.png "" alpha.pcx 8
# WBMP.
variant opaque.png "" picture.wbmp 9

# Failures: one JSON line with the reason and exit status 1; bad arguments give the usage.
head -c 100 colour.jpg > cut.jpg
json="$("$TOOL" inspect-image cut.jpg)"
status=$?
[[ $status -eq 1 && "$json" == '{"ok": false, "error": "'*'"}' ]] || fail "truncated JPEG gave $status $json"
json="$("$TOOL" inspect-image photo.jpeg)"
[[ $? -eq 1 && "$json" == '{"ok": false, "error": '* ]] || fail "missing file gave $json"
# A header stating 60000 x 60000 pixels: refused before decoding, with the size the file states.
python3 - wide.png <<'PYTHON'
import struct, sys, zlib
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
header = struct.pack(">IIBBBBB", 60000, 60000, 8, 2, 0, 0, 0)
open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IEND", b""))
PYTHON
json="$("$TOOL" inspect-image wide.png)"
status=$?
[[ $status -eq 1 && "$json" == '{"ok": false, "error": "picture size 60000 x 60000 refused"}' ]] ||
  fail "a 60000 x 60000 header gave $status $json"
"$TOOL" inspect-image > /dev/null 2>&1
[[ $? -eq 2 ]] || fail "no arguments should give status 2"

finish inspect-image
