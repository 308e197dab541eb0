#!/usr/bin/env bash
# Regenerates the small .bmp files under platform/win/testdata/bmp that the
# bitmap reader is tested with. The good files are written by ImageMagick's
# `convert` (Debian package imagemagick, needed only to run this script) from
# the reference pictures ref5x3.ppm, ref5x4.ppm and mono5x3.pbm; the variants
# that convert cannot write (top-down rows, the 108-byte header) and the
# corpus of bad files in bad/ are derived from those by rewriting bytes.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/platform/win/testdata/bmp"
mkdir -p "$out/bad"
cd "$out"
command -v convert >/dev/null || { echo "make-test-bitmaps: install imagemagick first" >&2; exit 1; }

# Reference pictures: every colour differs from its neighbours, so a swapped
# row, column or channel shows up.
cat > ref5x3.ppm <<'PPM'
P3
5 3
255
255 0 0  0 255 0  0 0 255  255 255 255  0 0 0
255 255 0  0 255 255  255 0 255  128 128 128  0 0 0
255 255 255  0 0 0  255 0 0  0 0 128  255 128 0
PPM
python3 - > ref5x4.ppm <<'PY'
print("P3\n5 4\n255")
cols = [(i * 13 % 256, i * 71 % 256, i * 151 % 256) for i in range(20)]
for r in range(4):
    print("  ".join("%d %d %d" % cols[r * 5 + c] for c in range(5)))
PY
cat > mono5x3.pbm <<'PBM'
P1
5 3
1 0 1 0 0
0 1 1 0 1
0 0 0 1 1
PBM

c() { convert "$@"; }
c ref5x3.ppm -compress none BMP3:rgb24_info.bmp
c ref5x3.ppm -compress none BMP:rgb24_v5.bmp
c ref5x3.ppm -compress none BMP2:rgb24_core.bmp
c ref5x3.ppm -type palette -compress none BMP3:pal4.bmp
c ref5x3.ppm -type palette -compress none BMP2:pal4_core.bmp
c ref5x4.ppm -type palette -compress none BMP3:pal8.bmp
c mono5x3.pbm -type bilevel -compress none BMP3:mono1.bmp
c ref5x3.ppm -define bmp:subtype=RGB555 BMP:rgb16_555.bmp
c ref5x3.ppm -define bmp:subtype=RGB565 BMP:rgb16_565.bmp
c ref5x3.ppm -alpha set -define bmp3:alpha=true -compress none BMP3:rgb32_info.bmp
c ref5x3.ppm -alpha set -compress none BMP:rgb32_v5.bmp
c ref5x4.ppm -type palette -compress RLE BMP3:bad/rle8.bmp
c ref5x3.ppm -type palette -compress RLE BMP3:bad/rle8_small.bmp

python3 - <<'PY'
import struct

def load(name):
    return bytearray(open(name, "rb").read())

def save(name, data):
    open(name, "wb").write(bytes(data))

def info(d):
    off = struct.unpack_from("<I", d, 10)[0]
    w, h, planes, bits = struct.unpack_from("<iiHH", d, 18)
    return off, w, h, bits

def top_down(src, dst):
    d = load(src)
    off, w, h, bits = info(d)
    stride = (w * bits + 31) // 32 * 4
    rows = [d[off + r * stride: off + (r + 1) * stride] for r in range(h)]
    d[off:off + stride * h] = b"".join(reversed(rows))
    struct.pack_into("<i", d, 22, -h)
    save(dst, d)

top_down("rgb24_info.bmp", "rgb24_topdown.bmp")
top_down("pal8.bmp", "pal8_topdown.bmp")
top_down("rgb32_info.bmp", "rgb32_topdown.bmp")

# The 108-byte header is the 124-byte one without its last four fields.
d = load("rgb32_v5.bmp")
off = struct.unpack_from("<I", d, 10)[0]
v4 = d[:14] + d[14:14 + 108] + d[off:]
struct.pack_into("<I", v4, 14, 108)
struct.pack_into("<I", v4, 10, 14 + 108)
struct.pack_into("<I", v4, 2, len(v4))
save("rgb32_v4.bmp", v4)

# Bad files: each breaks one rule of the format.
good = load("rgb24_info.bmp")
pal = load("pal8.bmp")
bf = load("rgb32_v5.bmp")

def patched(base, *fields):
    d = bytearray(base)
    for fmt, at, value in fields:
        struct.pack_into(fmt, d, at, value)
    return d

bad = {
    "empty.bmp": b"",
    "not_bitmap.bmp": b"PK\x03\x04 this is not a picture at all, just some bytes",
    "truncated_header.bmp": good[:30],
    "truncated_pixels.bmp": good[:len(good) - 20],
    "truncated_palette.bmp": pal[:300],
    "zero_width.bmp": patched(good, ("<i", 18, 0)),
    "zero_height.bmp": patched(good, ("<i", 22, 0)),
    "negative_width.bmp": patched(good, ("<i", 18, -5)),
    "huge_size.bmp": patched(good, ("<i", 18, 100000), ("<i", 22, 100000)),
    "overflow_size.bmp": patched(good, ("<i", 18, 0x7FFFFFFF), ("<i", 22, 0x7FFFFFFF)),
    "min_height.bmp": patched(good, ("<i", 22, -0x80000000)),
    "area_too_large.bmp": patched(good, ("<i", 18, 30000), ("<i", 22, 30000)),
    "two_planes.bmp": patched(good, ("<H", 26, 2)),
    "bits7.bmp": patched(good, ("<H", 28, 7)),
    "bits0.bmp": patched(good, ("<H", 28, 0)),
    "jpeg_compression.bmp": patched(good, ("<I", 30, 4)),
    "png_compression.bmp": patched(good, ("<I", 30, 5)),
    "bitfields_24bit.bmp": patched(good, ("<I", 30, 3)),
    "header64.bmp": patched(good, ("<I", 14, 64)),
    "header_beyond_end.bmp": patched(good[:60], ("<I", 14, 124)),
    "rle4.bmp": patched(load("pal4.bmp"), ("<I", 30, 2)),
    "palette_too_big.bmp": patched(pal, ("<I", 46, 300)),
    "masks_gap.bmp": patched(bf, ("<I", 54, 0x00F0F000)),
    "masks_overlap.bmp": patched(bf, ("<I", 54, 0x00FFFF00), ("<I", 58, 0x0000FF00)),
    "offset_in_header.bmp": patched(good, ("<I", 10, 20)),
    "offset_beyond_end.bmp": patched(good, ("<I", 10, 0xFFFFFFF0)),
}
for name, data in bad.items():
    save("bad/" + name, data)
PY
echo "make-test-bitmaps: wrote $(ls "$out"/*.bmp | wc -l) good and $(ls "$out"/bad | wc -l) bad files"
