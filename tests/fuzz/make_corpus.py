#!/usr/bin/env python3
"""Writes the fuzzer's seed pictures from the generated assets: two small 24-bit
pictures as files, one as a packed DIB (no file header), and an 8-bit palettised
corner of BMP_BIG. Usage: make_corpus.py ASSET_DIR"""
import pathlib
import struct
import sys

assets = pathlib.Path(sys.argv[1])
out = pathlib.Path(__file__).resolve().parent / "corpus"
out.mkdir(exist_ok=True)

for name in ("BMP_NARUTO", "BMP_AME"):
    data = (assets / f"{name}.bmp").read_bytes()
    (out / f"{name.lower()}.bmp").write_bytes(data)
naruto = (assets / "BMP_NARUTO.bmp").read_bytes()
(out / "naruto-packed.dib").write_bytes(naruto[14:])

# A 48 x 32 corner of the big mascot, bottom-up rows, keeping its whole palette.
big = (assets / "BMP_BIG.bmp").read_bytes()
offset, = struct.unpack_from("<I", big, 10)
width, height = struct.unpack_from("<ii", big, 18)
palette = big[54:offset]
w, h = 48, 32
rows = b"".join(big[offset + (height - h + y) * width + 560:][:w] for y in range(h))
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
pixels_at = 14 + len(info) + len(palette)
header = b"BM" + struct.pack("<IHHI", pixels_at + len(rows), 0, 0, pixels_at)
(out / "big-corner-8bit.bmp").write_bytes(header + info + palette + rows)
