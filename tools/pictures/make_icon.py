#!/usr/bin/env python3
"""Draws the program icon (resource 128): a dark rounded tile with a camera lens, at 16, 32 and
48 pixels, written as a Windows .ico with 32-bit BGRA images.

    python3 tools/pictures/make_icon.py [output]     (default: resources/program.ico)
"""
import math
import os
import struct
import sys

SIZES = (16, 32, 48)


def coverage(distance, radius):
    """Anti-aliased coverage of a pixel whose centre lies `distance` from a circle's centre."""
    return max(0.0, min(1.0, radius - distance + 0.5))


def blend(under, over, alpha):
    return tuple(u + (o - u) * alpha for u, o in zip(under, over))


def pixel(x, y, size):
    """RGBA of one pixel of the icon at the given size."""
    s = size / 32.0
    cx = cy = size / 2.0
    px, py = x + 0.5, y + 0.5
    # Rounded tile.
    corner = 6 * s
    qx = max(abs(px - cx) - (size / 2.0 - corner), 0.0)
    qy = max(abs(py - cy) - (size / 2.0 - corner), 0.0)
    tile = coverage(math.hypot(qx, qy), corner)
    if tile <= 0:
        return (0, 0, 0, 0)
    shade = 1.0 - 0.35 * (py / size)
    colour = (58 * shade, 63 * shade, 70 * shade)
    d = math.hypot(px - cx, py - cy)
    colour = blend(colour, (20, 22, 24), coverage(d, 11.5 * s))      # lens barrel
    colour = blend(colour, (107, 138, 162), coverage(d, 9.0 * s))    # blue rim
    colour = blend(colour, (16, 28, 44), coverage(d, 6.5 * s))       # glass
    colour = blend(colour, (28, 125, 175), coverage(d, 3.5 * s))     # iris
    hx, hy = cx - 2.5 * s, cy - 2.5 * s
    colour = blend(colour, (230, 240, 250), 0.9 * coverage(math.hypot(px - hx, py - hy), 1.6 * s))
    rx, ry = cx + 10.0 * s, cy - 10.0 * s                             # recording light
    colour = blend(colour, (201, 55, 55), coverage(math.hypot(px - rx, py - ry), 1.8 * s))
    return tuple(int(round(c)) for c in colour) + (int(round(255 * tile)),)


def icon_image(size):
    rows = []
    for y in reversed(range(size)):  # DIBs are stored bottom-up
        row = bytearray()
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # all visible: alpha decides
    return header + b"".join(rows) + mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources", "program.ico")
    images = [icon_image(size) for size in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
