#!/usr/bin/env python3
"""Reads what a compositor showed, from its screenshots (8-bit binary PPM).

  shot.py figures PPM RRGGBB     every group of touching pixels that differ from the
                                 backdrop colour, largest first: "left top width height
                                 pixels", one per line
  shot.py count PPM RRGGBB       how many pixels are exactly that colour
  shot.py pixel PPM X Y          the pixel's colour as RRGGBB
  shot.py clear PPM X Y W H RRGGBB
                                 a spot "x y" in the rectangle with nothing but the backdrop
                                 colour for 4 pixels around it (the key blue of a sprite window)
  shot.py ink PPM X Y W H        how many pixels of the rectangle differ from its most
                                 common colour (the text on a menu, for instance)
"""
import os
import sys

# The screenshot reader and the ink count are the X11 suite's own.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "qt"))
from xprobe import ink, read_ppm  # noqa: E402


def runs(row, width, back):
    """The [start, end) runs of pixels in a row that are not the backdrop."""
    out, x = [], 0
    while x < width:
        while x < width and row[x * 3:x * 3 + 3] == back:
            x += 1
        start = x
        while x < width and row[x * 3:x * 3 + 3] != back:
            x += 1
        if x > start:
            out.append((start, x))
    return out


def figures(path, colour):
    width, height, pixels = read_ppm(path)
    back = bytes.fromhex(colour)
    parent = {}

    def find(a):
        while parent[a] != a:
            parent[a] = parent[parent[a]]
            a = parent[a]
        return a

    boxes, previous, label = {}, [], 0
    for y in range(height):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        if row == back * width:
            previous = []
            continue
        current = []
        for start, end in runs(row, width, back):
            label += 1
            parent[label] = label
            boxes[label] = [start, y, end - 1, y, end - start]
            # Touching, diagonals included, a run of the row above.
            for p_start, p_end, p_label in previous:
                if p_start <= end and start <= p_end:
                    a, b = find(p_label), find(label)
                    if a != b:
                        parent[b] = a
            current.append((start, end, label))
        previous = current
    merged = {}
    for key, (l, t, r, b, n) in boxes.items():
        root = find(key)
        if root in merged:
            m = merged[root]
            merged[root] = [min(m[0], l), min(m[1], t), max(m[2], r), max(m[3], b), m[4] + n]
        else:
            merged[root] = [l, t, r, b, n]
    for l, t, r, b, n in sorted(merged.values(), key=lambda m: -m[4]):
        print(l, t, r - l + 1, b - t + 1, n)


def count(path, colour):
    _, _, pixels = read_ppm(path)
    want = bytes.fromhex(colour)
    print(sum(1 for i in range(0, len(pixels), 3) if pixels[i:i + 3] == want))


def pixel(path, x, y):
    width, _, pixels = read_ppm(path)
    print(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3].hex())


def clear(path, x, y, w, h, colour):
    width, height, pixels = read_ppm(path)
    back = bytes.fromhex(colour)

    def plain(px, py):
        if px < 0 or py < 0 or px >= width or py >= height:
            return False
        return pixels[(py * width + px) * 3:(py * width + px) * 3 + 3] == back

    for py in range(max(y, 0) + 4, min(y + h, height) - 4):
        for px in range(max(x, 0) + 4, min(x + w, width) - 4):
            if all(plain(px + dx, py + dy) for dx in range(-4, 5) for dy in range(-4, 5)):
                print(px, py)
                return
    sys.exit(1)


def main(argv):
    if len(argv) == 3 and argv[0] == "figures":
        figures(argv[1], argv[2])
    elif len(argv) == 3 and argv[0] == "count":
        count(argv[1], argv[2])
    elif len(argv) == 4 and argv[0] == "pixel":
        pixel(argv[1], int(argv[2]), int(argv[3]))
    elif len(argv) == 7 and argv[0] == "clear":
        clear(argv[1], *map(int, argv[2:6]), argv[6])
    elif len(argv) == 6 and argv[0] == "ink":
        ink(argv[1], *map(int, argv[2:6]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
