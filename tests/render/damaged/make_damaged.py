#!/usr/bin/env python3
"""Writes the damaged and hostile pictures of this folder from the sample pictures.

Each file is named <format>-<outcome>-<what>: the format code it is decoded with comes from
<format> (gif, bmp, ico, jpeg, wmf) and <outcome> is "refused" when the decoder must give
nothing, "survives" when any sane result (nothing or a raster within the size cap) will do.
Run it from this folder; the files are kept in the repository.
"""
import struct
from pathlib import Path

here = Path(__file__).parent
pictures = here.parent / "pictures"


def write(name, data):
    (here / name).write_bytes(bytes(data))


def sample(name):
    return bytearray((pictures / name).read_bytes())


def patched(data, offset, fmt, *values):
    data = bytearray(data)
    struct.pack_into(fmt, data, offset, *values)
    return data


def frame_offset(jpeg):
    """Offset of the first start-of-frame segment (baseline or progressive)."""
    for at in range(2, len(jpeg) - 1):
        if jpeg[at] == 0xFF and jpeg[at + 1] in (0xC0, 0xC2):
            return at
    raise ValueError("no frame header")


# ---- JPEG ----
for name in ("baseline", "progressive"):
    jpeg = sample(name + ".jpg")
    write(f"jpeg-refused-{name}-stops-half-way", jpeg[: len(jpeg) // 2])
    write(f"jpeg-refused-{name}-header-only", jpeg[: frame_offset(jpeg) + 19])
    sof = frame_offset(jpeg)
    write(f"jpeg-refused-{name}-60000x60000", patched(jpeg, sof + 5, ">HH", 60000, 60000))
    write(f"jpeg-refused-{name}-zero-width", patched(jpeg, sof + 7, ">H", 0))
    garbled = bytearray(jpeg)
    for at in range(len(jpeg) // 2, len(jpeg) // 2 + 40):
        garbled[at] ^= 0x5A
    write(f"jpeg-survives-{name}-garbled-middle", garbled)
    write(f"jpeg-survives-{name}-wider-than-its-data", patched(jpeg, sof + 5, ">HH", 24, 4000))
write("jpeg-refused-not-a-jpeg", b"not a jpeg at all")
write("jpeg-refused-markers-only", b"\xff\xd8" + b"\xff\xfe\x00\x04ab" * 2000 + b"\xff\xd9")
# A progressive frame followed by hundreds of empty scans of the first coefficient.
progressive = sample("progressive.jpg")
sos = progressive.index(b"\xff\xda")
scan_length = struct.unpack(">H", progressive[sos + 2 : sos + 4])[0]
header = progressive[:sos]
scan = progressive[sos : sos + 2 + scan_length]
write("jpeg-refused-endless-scans", header + (scan + b"\x00" * 16) * 2000 + b"\xff\xd9")

# ---- GIF ----
gif = sample("transparent-interlaced.gif")
write("gif-refused-stops-half-way", gif[: len(gif) // 2])
write("gif-refused-screen-60000x60000", patched(gif, 6, "<HH", 60000, 60000))
write("gif-refused-header-only", gif[:13])
endless = bytearray(b"GIF89a" + struct.pack("<HH", 1, 1) + b"\x00\x00\x00")
endless += b"\x21\xfe\x01x\x00" * 70000
endless += b"\x3b"
write("gif-refused-endless-comments", endless)
blocks = bytearray(b"GIF89a" + struct.pack("<HH", 1, 1) + b"\x00\x00\x00\x21\xfe")
blocks += b"\x01x" * 70000
write("gif-refused-endless-comment-blocks", blocks)
# Find the image descriptor (0x2C) after the colour table and any extensions, then damage it.
descriptor = gif.index(b"\x2c", 13 + 3 * 2 ** ((gif[10] & 7) + 1))
write("gif-refused-frame-60000x60000", patched(gif, descriptor + 5, "<HH", 60000, 60000))
write("gif-survives-frame-off-the-screen", patched(gif, descriptor + 1, "<HH", 65000, 65000))
write("gif-survives-frame-wider-than-the-screen", patched(gif, descriptor + 5, "<H", 300))
write("gif-refused-code-size-15", patched(gif, descriptor + 10 + (3 * 2 ** ((gif[descriptor + 9] & 7) + 1) if gif[descriptor + 9] & 0x80 else 0), "<B", 15))
no_table = bytearray(gif)
no_table[10] &= 0x7F  # no global table: the table's bytes are read as records
write("gif-survives-no-colour-table", no_table)

# ---- Windows bitmaps ----
bmp = sample("truecolour.bmp")
write("bmp-refused-stops-half-way", bmp[: len(bmp) // 2])
write("bmp-refused-60000x60000", patched(bmp, 18, "<ii", 60000, 60000))
write("bmp-refused-negative-width", patched(bmp, 18, "<i", -32))
write("bmp-refused-bits-per-pixel-7", patched(bmp, 28, "<H", 7))
write("bmp-refused-header-only", bmp[:30])
write("bmp-survives-data-offset-past-the-end", patched(bmp, 10, "<I", 0x7FFFFFF0))
palette = sample("palette.bmp")
write("bmp-survives-huge-colour-count", patched(palette, 46, "<I", 0xFFFFFFFF))
rle = sample("rle8.bmp")
write("bmp-survives-rle-stops-half-way", rle[: len(rle) * 2 // 3])
runs = bytearray(rle)
data_offset = struct.unpack("<I", rle[10:14])[0]
for at in range(data_offset, len(runs) - 1, 2):
    runs[at] = 0xFF  # every run 255 pixels long: far past every row end
write("bmp-survives-rle-runs-past-the-rows", runs)
deltas = bytearray(rle[:data_offset]) + b"\x00\x02\xff\xff" * 200 + b"\x00\x01"
write("bmp-survives-rle-deltas-past-the-end", deltas)

# ---- icons ----
icon = sample("icon.ico")
write("ico-refused-stops-in-the-directory", icon[:12])
write("ico-refused-65535-images", patched(icon, 4, "<H", 65535))
write("ico-refused-offset-past-the-end", patched(icon, 18, "<I", 0x7FFFFFF0))
image = struct.unpack("<I", icon[18:22])[0]
write("ico-refused-60000x60000", patched(icon, image + 4, "<ii", 60000, 120000))
write("ico-survives-stops-half-way", icon[: len(icon) // 2])
png_icon = bytearray(icon[:22]) + b"\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR" + struct.pack(">II", 60000, 60000) + b"\x08\x06\x00\x00\x00"
write("ico-refused-png-60000x60000", png_icon)

# ---- metafiles ----
def metafile(records, frame=(0, 0, 1440, 720), inch=1440, size_words=None):
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, *frame, inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", head):
        checksum ^= word
    body = b"".join(records)
    words = 9 + len(body) // 2 if size_words is None else size_words
    return head + struct.pack("<H", checksum) + struct.pack("<HHHIHIH", 1, 9, 0x0300, words, 2, 8, 0) + body


def record(function, *words):
    return struct.pack("<IH", 3 + len(words), function) + struct.pack(f"<{len(words)}H", *words)


rectangle = [record(0x020B, 0, 0), record(0x020C, 720, 1440), record(0x041B, 720, 1440, 0, 0), record(0)]
write("wmf-survives-plain", metafile(rectangle))
write("wmf-refused-frame-of-1440x720-inches", metafile(rectangle, inch=1))
write("wmf-survives-empty-frame", metafile(rectangle, frame=(5, 5, 5, 5)))
write("wmf-survives-record-of-size-zero", metafile([struct.pack("<IH", 0, 0x041B)] + rectangle))
write("wmf-survives-record-longer-than-the-file", metafile([struct.pack("<IHHHHH", 0x7FFFFFFF, 0x041B, 1, 2, 3, 4)]))
write("wmf-survives-stops-half-way", metafile(rectangle)[:40])
polygon = record(0x0324, 30000, *([100, 100] * 10))  # declares 30000 points, holds 10
write("wmf-survives-polygon-count-past-the-record", metafile([polygon, record(0)]))
write("wmf-survives-object-index-out-of-range", metafile([record(0x012D, 60000), record(0x01F0, 60000), record(0)]))
write("wmf-refused-enhanced-signature", struct.pack("<I", 1) + b"\x00" * 36 + b" EMF" + b"\x00" * 44)
