#!/usr/bin/env python3
"""Writes the damaged design files of this folder. Each file names the damage it carries.

Run from this folder: python3 make-corpus.py
The reader must fail cleanly on each file (leaving the open design as it was) or read a design
that saves and reads back to the same bytes.
"""
import random
import struct

MAGIC = 147483647
HEADER, TEXT, LINE, TRIANGLE, SPLINE, CLIP, GRIDLINES, PICTURE = (
    2000000, 1000100, 1000200, 1000300, 1001200, 1004000, 4000000, 5000000)


class Record:
    def __init__(self, kind, record_class=0):
        self.body = bytearray(448)
        self.tail = b""
        self.i32(0, record_class).i32(4, kind).i32(60, MAGIC)

    def i32(self, offset, value):
        struct.pack_into("<i", self.body, offset, value)
        return self

    def f64(self, offset, value):
        struct.pack_into("<d", self.body, offset, value)
        return self

    def u8(self, offset, value):
        self.body[offset] = value
        return self

    def text(self, text, set_length=True):
        self.tail += text.encode("utf-16-le", "surrogatepass")
        if set_length:
            self.i32(112, len(text.encode("utf-16-le", "surrogatepass")))
        return self

    def bytes(self):
        return bytes(self.body) + self.tail


def header():
    return Record(HEADER, HEADER).f64(116, 1.0).i32(124, 2).f64(164, 85.0).f64(172, 55.0).i32(323, 164)


def point(x, y):
    return struct.pack("<12i", x, y, x, y, 0, 0, 0, 0, 0, 0, 0, 0) + b"\x01\x00" + bytes(6)


def write(name, *records, cut=None):
    data = b"".join(r if isinstance(r, bytes) else r.bytes() for r in records)
    if cut is not None:
        data = data[:cut]
    with open(name + ".vlrn", "wb") as out:
        out.write(data)


def main():
    write("empty")
    write("body-cut-short", header(), cut=447)
    write("stray-byte", header(), b"\x55")
    write("wrong-magic-first", header().i32(60, 0), Record(LINE))
    write("wrong-magic-everywhere", header().i32(60, 1), Record(LINE).i32(60, 2), Record(TEXT).i32(60, 3))
    write("no-header", Record(LINE), Record(TEXT).text("orphan"))
    write("text-tail-cut", header(), Record(TEXT).text("a longer text that is cut"), cut=448 * 2 + 11)
    write("point-tail-cut", header(), Record(TRIANGLE).i32(112, 56 * 3), point(1, 2), cut=448 * 2 + 80)
    write("tail-length-largest", header(), Record(SPLINE).i32(112, 0x7FFFFFFF), Record(LINE))
    write("tail-length-negative", header(), Record(SPLINE).i32(112, -56), Record(TEXT).i32(112, -2),
          Record(GRIDLINES).i32(112, -8), Record(LINE))
    write("header-tail-negative", header().i32(112, -1000), Record(LINE))
    write("picture-name-negative", header(), Record(PICTURE, 6).i32(112, 4).i32(56, -9).i32(289, 3),
          b"\xff\xd8\xff\xd9", Record(CLIP).i32(289, 3))
    write("picture-name-largest", header(), Record(PICTURE, 6).i32(112, 0).i32(56, 0x7FFFFFFF).i32(289, 3),
          Record(CLIP).i32(289, 3))
    write("picture-stream-past-end", header(), Record(PICTURE, 6).i32(112, 1 << 30).i32(289, 3), b"GIF89a")
    write("text-tail-at-limit-past-end", header(), Record(TEXT).i32(112, 1024000), "x".encode("utf-16-le") * 50)
    write("legacy-tails-largest", header(), Record(TEXT).text("t").i32(405, 0x7FFFFFFF).i32(409, 5), Record(LINE))
    write("legacy-tails-negative", header(), Record(TEXT).text("t").i32(405, -1).i32(409, -0x80000000), Record(LINE))
    write("text-tail-odd", header(), Record(TEXT).text("abc", set_length=False).i32(112, 5), cut=448 * 2 + 5)
    write("text-embedded-terminator", header(), Record(TEXT).text("AB\0CD"), Record(TEXT).text("\0lead"))
    write("text-lone-surrogates", header(), Record(TEXT).text("\ud800x\udfff\u07ec"))
    write("shape-tail-not-whole-entries", header(), Record(TRIANGLE).i32(112, 120), point(1, 1), point(2, 2), bytes(8))
    write("gridlines-odd-axes", header(), Record(GRIDLINES).i32(112, 28),
          struct.pack("<6i", 1, 10, 7, 11, 2, 12) + bytes(4))
    write("header-values-unusable", header().f64(116, float("nan")).i32(124, 9).f64(128, -1.0)
          .f64(136, float("inf")).f64(164, 1e300).f64(172, -float("inf")).f64(181, 0.0)
          .i32(311, -7).i32(315, 0x7FFFFFFF).u8(327, 200), Record(LINE))
    write("header-units-pixels-zoom-zero", header().f64(116, 0.0).i32(124, 1), Record(LINE))
    write("world-values-extreme", header(), Record(LINE).f64(72, float("nan")).f64(80, 1e300).f64(88, -1e300)
          .f64(96, float("inf")), Record(CLIP).i32(285, 2).f64(72, 1e15).f64(88, -1e15))
    write("counters-largest-with-history", header().u8(321, 1),
          Record(LINE).i32(68, 0x7FFFFFFF).i32(237, 0x7FFFFFFF).i32(393, 0x7FFFFFFF).i32(241, 0x7FFFFFFF),
          Record(LINE).i32(68, -0x80000000).i32(237, -0x80000000).i32(393, -0x80000000))
    write("font-name-length-255", header(), Record(TEXT).u8(148, 255).text("f"))
    write("two-headers", header().i32(323, 999), Record(LINE), header().u8(321, 1).i32(112, 4), "hi".encode("utf-16-le"),
          Record(LINE))
    write("newer-version", header().i32(323, 165), Record(LINE))
    write("header-kind-in-item-class", header(), Record(HEADER, 0).text("x"), Record(TEXT, 3).text("y"))
    write("suspended-and-selected", header(), Record(SPLINE).u8(64, 255).u8(65, 255).i32(112, 56), point(5, 5))
    rng = random.Random(20261209)
    for n in range(3):
        write("random-bytes-%d" % n, bytes(rng.getrandbits(8) for _ in range(448 * (n + 1) + n * 37)))
    body = bytearray(header().bytes())
    for n in range(3):
        damaged = bytearray(body) + Record(TEXT).text("text").bytes() + Record(TRIANGLE).i32(112, 56).bytes() + point(3, 4)
        for _ in range(40):
            damaged[rng.randrange(len(damaged))] = rng.getrandbits(8)
        write("flipped-bytes-%d" % n, bytes(damaged))


if __name__ == "__main__":
    main()
