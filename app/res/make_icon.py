#!/usr/bin/env python3
"""Draws the KestrowDemo icon and writes it as a Windows .ico file.

The picture: a gold key lying diagonally on a rounded blue tile, with a small
white tick (the "signed" mark) in the lower left corner. Everything is drawn
procedurally from distance functions with 4x4 supersampling, so every size is
rendered natively instead of scaled.

The .ico holds 16, 24, 32 and 48 pixel images, each in 8-bit (256-colour
palette plus AND mask) and 32-bit (BGRA) depth. Only the standard library is
used.

Usage: make_icon.py [OUTPUT.ico]   (default: KestrowDemo.ico next to this script)
"""

import math
import os
import struct
import sys

SIZES = (16, 24, 32, 48)
SUPERSAMPLE = 4

TILE = (31, 78, 140)
TILE_EDGE = (20, 52, 98)
KEY = (244, 190, 52)
KEY_SHADE = (184, 128, 20)
TICK = (255, 255, 255)


def rounded_box(px, py, cx, cy, hw, hh, r):
    """Signed distance to a rounded rectangle centred at (cx, cy)."""
    qx = abs(px - cx) - hw + r
    qy = abs(py - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def segment(px, py, ax, ay, bx, by):
    """Distance to the segment from (ax, ay) to (bx, by)."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def rotate(px, py, cx, cy, angle):
    c, s = math.cos(angle), math.sin(angle)
    x, y = px - cx, py - cy
    return cx + c * x - s * y, cy + s * x + c * y


def key_distance(u, v):
    """Distance to the key drawn horizontally in the unit square, bow on the left."""
    ring = abs(math.hypot(u - 0.27, v - 0.5) - 0.135) - 0.06
    shaft = segment(u, v, 0.40, 0.5, 0.86, 0.5) - 0.055
    tooth1 = rounded_box(u, v, 0.80, 0.6, 0.035, 0.1, 0.01)
    tooth2 = rounded_box(u, v, 0.68, 0.58, 0.03, 0.08, 0.01)
    return min(ring, shaft, tooth1, tooth2)


def sample(x, y):
    """Colour and coverage of the picture at (x, y) in the unit square."""
    tile = rounded_box(x, y, 0.5, 0.5, 0.47, 0.47, 0.16)
    if tile > 0:
        return (0, 0, 0), 0.0
    colour = TILE_EDGE if tile > -0.04 else TILE
    u, v = rotate(x, y, 0.5, 0.5, math.radians(-45))
    k = key_distance(u, v)
    if k <= 0:
        colour = KEY_SHADE if k > -0.025 else KEY
    tick = min(segment(x, y, 0.14, 0.75, 0.22, 0.83), segment(x, y, 0.22, 0.83, 0.36, 0.66))
    if tick < 0.045:
        colour = TICK
    return colour, 1.0


def render(size):
    """Rows of (r, g, b, a), top row first, alpha 0..255."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    (r, g, b), a = sample(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    cover += a
            if cover == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / cover)) for c in acc) +
                           (int(round(255 * cover / (n * n))),))
        rows.append(row)
    return rows


def median_cut(colours, count):
    """A palette of at most `count` colours for the given list of (r, g, b)."""
    boxes = [list(set(colours))]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(
            max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)))
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes.remove(box)
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[i] for c in b) // len(b) for i in range(3)) for b in boxes]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def and_mask(rows, size):
    """1-bit mask rows, bottom-up, padded to 32 bits: 1 where the pixel is transparent."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def bitmap_header(size, bits, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                       colours_used, 0)


def image_32(rows, size):
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    return bitmap_header(size, 32, 0) + bytes(pixels) + and_mask(rows, size)


def image_8(rows, size):
    opaque = [(r, g, b) for row in rows for r, g, b, a in row if a >= 128]
    palette = median_cut(opaque, 255) if opaque else []
    palette = [(0, 0, 0)] + palette  # index 0: what transparent pixels hold
    palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}
    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            if a >= 128:
                if (r, g, b) not in cache:
                    cache[(r, g, b)] = nearest(palette[1:], (r, g, b)) + 1
                line[x] = cache[(r, g, b)]
        pixels += line
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return bitmap_header(size, 8, 256) + quads + bytes(pixels) + and_mask(rows, size)


def build_ico():
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, 8, image_8(rows, size)))
        images.append((size, 32, image_32(rows, size)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 0  # 0 stands for 256 colours and for true colour alike
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "KestrowDemo.ico")
    with open(path, "wb") as f:
        f.write(build_ico())
    print(path)


if __name__ == "__main__":
    main()
