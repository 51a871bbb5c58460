#!/usr/bin/env python3
"""Draws the application icon, a sheet with a table of values and a curve, and
writes resources/wertomat.ico with its 13 images: 48, 32, 24 and 16 pixels in 16 and 256
colours, 256 pixels as PNG, and 48, 32, 24 and 16 pixels with alpha.

Standard library only. Run it from anywhere; it writes into resources/, where
the resource script takes the icon from."""

import math
import os
import struct
import zlib

SAMPLES = 4  # per axis, for anti-aliasing


def curve_points():
    # y = 2x^3 - 3x^2 + 4x - 5 scaled into the table area
    points = []
    for i in range(41):
        t = i / 40
        x = -0.4 + 2.2 * t
        y = 2 * x**3 - 3 * x**2 + 4 * x - 5
        points.append((0.14 + 0.72 * t, 0.86 - 0.52 * (y + 6.3) / 17.5))
    return points


CURVE = curve_points()


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def inside_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return math.hypot(x - cx, y - cy) <= radius


def colour_at(x, y, size):
    """Colour (r, g, b, a) of the picture at (x, y) in 0..1 units."""
    line = max(1.0 / size, 0.025)
    sheet = (0.08, 0.05, 0.92, 0.95)
    if not inside_rounded_rect(x, y, *sheet, 0.06):
        return (0, 0, 0, 0)
    if not inside_rounded_rect(x, y, sheet[0] + line, sheet[1] + line,
                               sheet[2] - line, sheet[3] - line, 0.05):
        return (40, 60, 90, 255)  # border
    for (ax, ay), (bx, by) in zip(CURVE, CURVE[1:]):
        if distance_to_segment(x, y, ax, ay, bx, by) < max(1.2 / size, 0.035):
            return (205, 40, 40, 255)
    if y < 0.27:
        return (47, 111, 181, 255)  # header band
    if abs(x - 0.42) < line * 0.6:
        return (120, 140, 170, 255)  # column separator
    for row in range(1, 6):
        if abs(y - (0.27 + row * 0.115)) < line * 0.45:
            return (190, 200, 215, 255)  # row lines
    return (255, 255, 255, 255)


def render(size):
    pixels = []
    for row in range(size):
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = colour_at((column + (sx + 0.5) / SAMPLES) / size,
                                           (row + (sy + 0.5) / SAMPLES) / size, size)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            count = SAMPLES * SAMPLES
            alpha = total[3] / count
            if alpha == 0:
                pixels.append((0, 0, 0, 0))
            else:
                pixels.append(tuple(round(c / total[3]) for c in total[:3]) + (round(alpha),))
    return pixels


VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def web_palette():
    palette = [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
    palette += [(v, v, v) for v in range(8, 256, 8)][: 256 - len(palette) - 24]
    palette += [(47, 111, 181), (40, 60, 90), (205, 40, 40), (120, 140, 170), (190, 200, 215)]
    while len(palette) < 256:
        palette.append((0, 0, 0))
    return palette


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], rgb)))


def mask_rows(pixels, size):
    stride = ((size + 31) // 32) * 4
    rows = []
    for row in range(size - 1, -1, -1):
        bits = bytearray(stride)
        for column in range(size):
            if pixels[row * size + column][3] < 128:
                bits[column // 8] |= 0x80 >> (column % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def bitmap_image(pixels, size, bits_per_pixel):
    if bits_per_pixel == 32:
        palette = []
        data = bytearray()
        for row in range(size - 1, -1, -1):
            for column in range(size):
                r, g, b, a = pixels[row * size + column]
                data += bytes((b, g, r, a))
    else:
        palette = VGA_PALETTE if bits_per_pixel == 4 else web_palette()
        cache = {}
        stride = ((size * bits_per_pixel + 31) // 32) * 4
        data = bytearray()
        for row in range(size - 1, -1, -1):
            line = bytearray(stride)
            for column in range(size):
                r, g, b, a = pixels[row * size + column]
                rgb = (r, g, b) if a >= 128 else (0, 0, 0)
                index = cache.setdefault(rgb, nearest(palette, rgb))
                if bits_per_pixel == 8:
                    line[column] = index
                elif column % 2 == 0:
                    line[column // 2] |= index << 4
                else:
                    line[column // 2] |= index
            data += line
    mask = mask_rows(pixels, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits_per_pixel, 0,
                         len(data) + len(mask), 0, 0, len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + bytes(data) + mask


def png_image(pixels, size):
    raw = bytearray()
    for row in range(size):
        raw.append(0)
        for column in range(size):
            raw += bytes(pixels[row * size + column])

    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload +
                struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    sizes = (48, 32, 24, 16)
    pictures = {size: render(size) for size in sizes + (256,)}
    images = []  # (size, colour count, bits per pixel, data)
    for bits in (4, 8):
        for size in sizes:
            images.append((size, 16 if bits == 4 else 0, bits, bitmap_image(pictures[size], size, bits)))
    images.append((256, 0, 32, png_image(pictures[256], 256)))
    for size in sizes:
        images.append((size, 0, 32, bitmap_image(pictures[size], size, 32)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, colours, bits, data in images:
        dimension = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", dimension, dimension, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "..", "resources", "wertomat.ico")
    with open(path, "wb") as output:
        output.write(directory + entries + b"".join(image[3] for image in images))


if __name__ == "__main__":
    main()
