#!/usr/bin/env python3
"""Writes sample.vlrn, the sample business card shipped with the program.

The bytes are laid out here field by field, independently of the program's own writer, so
the file also serves the tests as a design made elsewhere: reading it and saving it again must
give the same bytes. Every derived field holds the value a reader computes at 96 dpi.
Run: python3 examples/make-sample.py examples/sample.vlrn
"""
import math
import struct
import sys

PX_PER_MM = 96 / 25.4
SEPARATOR = "\u07ec"


def new_body(kind, record_class=0):
    body = bytearray(448)
    put = lambda fmt, offset, value: struct.pack_into("<" + fmt, body, offset, value)
    put("i", 0, record_class)
    put("i", 4, kind)
    put("i", 60, 147483647)
    if record_class == 0:
        put("i", 12, -1)           # docNumber
        put("i", 116, 0x00FFFFFF)  # reservedColor
        put("i", 124, 1)           # penWidthPx
        put("i", 128, 12)          # fontSize
        put("i", 140, 400)         # fontWeight
        body[147] = 1              # alignment
        body[148] = 5              # fontName length
        body[149:154] = b"Arial"
        put("i", 189, 0x00FFFFFF)  # reserved253
        put("i", 217, -2)          # fillColor
        put("d", 221, -1.0)        # fixedAngle
        put("d", 277, 0.27614237)  # tension
        put("d", 309, 1.0)         # scaleX
        put("d", 317, 1.0)         # scaleY
        put("i", 365, 1)           # mirrorX
        put("i", 369, 1)           # mirrorY
        put("d", 377, 1.0)         # pictureScale
    return body, put


def set_points(put, x1, y1, x2, y2):
    """Two defining points with their world values and everything a reader derives from them."""
    put("i", 16, x1); put("i", 20, y1); put("i", 24, x2); put("i", 28, y2)
    put("i", 32, min(x1, x2)); put("i", 36, max(x1, x2))
    put("i", 40, min(y1, y2)); put("i", 44, max(y1, y2))
    span_x, span_y = abs(x2 - x1), abs(y2 - y1)
    put("i", 48, span_x); put("i", 52, span_y)
    put("i", 56, round(math.sqrt(span_x * span_x + span_y * span_y)))
    put("d", 72, x1 * PX_PER_MM); put("d", 80, y1 * PX_PER_MM)
    put("d", 88, x2 * PX_PER_MM); put("d", 96, y2 * PX_PER_MM)
    if y1 == y2:
        direction = math.pi if x2 < x1 else 0.0
    elif x1 == x2:
        direction = 3 * math.pi / 2 if y2 > y1 else math.pi / 2
    else:
        direction = math.atan2(y1 - y2, x2 - x1)
        if direction < 0:
            direction += 2 * math.pi
    put("d", 104, direction)


def text_bytes(text):
    return text.encode("utf-16-le")


def point_entry(x, y):
    entry = bytearray(56)
    struct.pack_into("<4i", entry, 0, x, y, x, y)
    return bytes(entry)


def header():
    body, put = new_body(2000000, 2000000)
    put("i", 12, 1)                     # docNumber
    put("d", 116, 1.0)                  # zoom
    put("i", 124, 2)                    # millimetres
    put("d", 128, PX_PER_MM); put("d", 136, PX_PER_MM)
    canvas_left, canvas_top, width, height = 5.0, 5.0, 85.0, 55.0
    put("d", 148, canvas_left); put("d", 156, canvas_top)
    put("d", 164, width); put("d", 172, height)
    put("d", 181, 5.0); put("d", 189, 5.0)   # grid density
    body[197:203] = bytes([1, 1, 1, 1, 1, 1])
    put("i", 203, 4)                    # business cards
    put("i", 207, 1)                    # portrait
    put("i", 211, 0)
    page = [210.0, 297.0, 85.0, 55.0, 20.0, 11.0, 20.0, 11.0, 0.0, 0.0, 0.0, 0.0]
    for i, value in enumerate(page):
        put("d", 215 + 8 * i, value)
    put("i", 311, 5); put("i", 315, 2)
    put("i", 323, 164)
    # The page rectangle at zoom 1, multiplied in the order the reader uses.
    x1 = round(canvas_left * PX_PER_MM * 1.0)
    y1 = round(1.0 * canvas_top * PX_PER_MM)
    x2 = round(1.0 * PX_PER_MM * width) + x1
    y2 = round(1.0 * PX_PER_MM * height) + y1
    put("i", 16, x1); put("i", 20, y1); put("i", 24, x2); put("i", 28, y2)
    put("i", 32, x1); put("i", 36, x2); put("i", 40, y1); put("i", 44, y2)
    put("i", 48, round(width * PX_PER_MM * 1.0)); put("i", 52, round(1.0 * height * PX_PER_MM))
    texts = ["210", "297", "85", "55", "20", "11", "20", "11", "5", "2", "0", "0", "", ""]
    text = text_bytes("".join(t + SEPARATOR for t in texts))
    put("i", 112, len(text))
    return bytes(body) + text


def gridlines(serial):
    body, put = new_body(4000000)
    put("i", 237, serial)
    entries = b""
    for axis, count in ((1, 18), (2, 12)):
        for k in range(count):
            entries += struct.pack("<2i", axis, 19 + 19 * k)
    put("i", 112, len(entries))
    return bytes(body) + entries


def text_item(serial, z_order):
    body, put = new_body(1000100)
    set_points(put, 60, 150, 260, 150)
    put("i", 68, z_order); put("i", 237, serial)
    put("i", 128, 14); put("i", 132, 0x00603010); put("i", 140, 700)
    text = text_bytes("Velloran" + SEPARATOR + "Business Cards")
    put("i", 112, len(text))
    return bytes(body) + text


def line_item(serial, z_order):
    body, put = new_body(1000200)
    set_points(put, 40, 180, 300, 180)
    put("i", 68, z_order); put("i", 237, serial)
    put("i", 120, 0x00804020)
    put("i", 124, 2)                                   # 0.5 mm at 96 dpi
    put("d", 197, 0.5); put("d", 205, 0.5)
    return bytes(body)


def rectangle_item(serial, z_order):
    body, put = new_body(1000500)
    corners = [(40, 40), (120, 40), (120, 90), (40, 90)]
    set_points(put, 36, 36, 124, 94)                   # the corners' box grown by the marker margin 4
    put("i", 68, z_order); put("i", 237, serial)
    put("i", 217, 0x00C08040); put("i", 273, 2)
    tail = b"".join(point_entry(x, y) for x, y in corners)
    put("i", 112, len(tail))
    return bytes(body) + tail


def ellipse_item(serial, z_order):
    body, put = new_body(1000700)
    points = [(220, 70), (270, 70), (220, 45)]         # centre, length axis end, width point
    set_points(put, 166, 16, 274, 124)                 # centre +- 50 grown by the margin 4
    put("i", 68, z_order); put("i", 237, serial)
    put("i", 120, 0x00202020); put("i", 217, 0x0080E0F0)
    put("d", 197, 0.3); put("d", 205, 0.3)
    body[414:417] = bytes([4, 6, 160])                 # a soft shadow
    tail = b"".join(point_entry(x, y) for x, y in points)
    put("i", 112, len(tail))
    return bytes(body) + tail


def main():
    records = [header(), gridlines(1), rectangle_item(2, 1), ellipse_item(3, 2), line_item(4, 3),
               text_item(5, 4)]
    with open(sys.argv[1], "wb") as out:
        out.write(b"".join(records))


if __name__ == "__main__":
    main()
