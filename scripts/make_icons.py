#!/usr/bin/env python3
"""Draws the plug-in's two tray icons and writes them as .ico files.

resources/spinox.ico (icon 5, enabled): a record with an orange label and three rising chart
bars. resources/spinox_off.ico (icon 113, disabled): the same in greys, struck through in red.
Each file holds 16x16 and 32x32 images, 32 bits per pixel with an alpha channel.

Run from anywhere: python3 scripts/make_icons.py
"""
import math
import os
import struct

SAMPLES = 4  # supersampling per axis, for smooth edges


def shade(x, y, size, disabled):
    """Colour (r, g, b, a) at point (x, y) of an icon `size` pixels wide, in pixel units."""
    c = size / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy) / c  # 0 at the centre, 1 at the edge
    colour = None
    if r <= 0.96:
        groove = 0.08 * (0.5 + 0.5 * math.sin(r * 60.0))
        base = 0.16 + groove
        colour = (base, base, base + 0.04)
        # A highlight across the record, as light falling on vinyl.
        angle = math.atan2(dy, dx)
        shine = max(0.0, math.cos(2 * (angle + 0.8))) * 0.18 * (r > 0.4)
        colour = tuple(min(1.0, v + shine) for v in colour)
    if r <= 0.40:
        colour = (0.98, 0.55, 0.10)  # the label
    if r <= 0.08:
        colour = (0.05, 0.05, 0.06)  # the spindle hole
    # Three chart bars rising at the lower right, drawn over the record.
    for i, height in enumerate((0.22, 0.34, 0.48)):
        left = 0.60 + i * 0.13
        u, v = x / size, y / size
        if left <= u <= left + 0.10 and 0.96 - height <= v <= 0.96:
            colour = (0.25, 0.85, 0.35) if v > 0.96 - height + 0.04 else (0.6, 1.0, 0.6)
    if colour is None:
        return (0.0, 0.0, 0.0, 0.0)
    if disabled:
        grey = 0.3 * colour[0] + 0.59 * colour[1] + 0.11 * colour[2]
        colour = (grey * 0.8 + 0.1,) * 3
        # A red stroke from the upper left to the lower right.
        if abs((x - y)) / math.sqrt(2) <= size * 0.07 and 0.08 * size <= x <= 0.92 * size:
            colour = (0.85, 0.1, 0.1)
    return colour + (1.0,)


def render(size, disabled):
    """Rows of (b, g, r, a) bytes, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    r, g, b, a = shade(x, y, size, disabled)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0.0, 0.0, 0.0]
            row.append(tuple(int(round(v * 255)) for v in (rgb[2], rgb[1], rgb[0], alpha)))
        rows.append(row)
    return rows


def icon_image(size, disabled):
    """One image of an .ico file: a bottom-up 32-bit DIB followed by its AND mask."""
    rows = render(size, disabled)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(c for px in row for c in px) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_icon(path, disabled):
    images = [(size, icon_image(size, disabled)) for size in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    write_icon(os.path.join(folder, "spinox.ico"), False)
    write_icon(os.path.join(folder, "spinox_off.ico"), True)


if __name__ == "__main__":
    main()
