#!/usr/bin/env python3
"""Draws the program icon, a magnifying glass over a red trace, as res/quellspur.ico.

Two images, 32 x 32 and 16 x 16 pixels, in the 16 colours of the standard palette. Run it again
after changing the drawing; the build uses the committed .ico.
"""
import math
import pathlib
import struct

# The 16-colour palette as Windows has it, blue-green-red-reserved.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
NAVY, TEAL, GREY, WHITE, RED, DARK_RED, SILVER = 4, 6, 8, 15, 9, 1, 7
CLEAR = None


def draw(size):
    """One colour index (or CLEAR) per pixel, rows from the top."""
    s = size / 32.0
    cx, cy, radius, rim = 13 * s, 13 * s, 9.5 * s, 2.6 * s
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            d = math.hypot(px - cx, py - cy)
            # The handle runs from the rim to the lower right corner.
            t = ((px - cx) + (py - cy)) / math.sqrt(2)
            off = abs((px - cx) - (py - cy)) / math.sqrt(2)
            colour = CLEAR
            if d <= radius - rim:
                colour = WHITE
                # The trace: a jagged red line across the glass.
                wave = cy + 2.5 * s * math.sin((px - cx) / (2.2 * s))
                if abs(py - wave) <= 1.1 * s:
                    colour = RED if size > 16 or abs(py - wave) <= 0.8 else DARK_RED
                elif d >= radius - rim - 1.2 * s:
                    colour = SILVER
            elif d <= radius:
                colour = NAVY
            elif radius - 0.5 * s < t <= 21 * s and off <= 2.2 * s:
                colour = GREY if off > 1.2 * s else TEAL
            row.append(colour)
        pixels.append(row)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if c is CLEAR else c for c in row]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(packed + b"\0" * (-len(packed) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is CLEAR else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def main():
    images = [image(32), image(16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip((32, 16), images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    target = pathlib.Path(__file__).resolve().parent.parent / "res" / "quellspur.ico"
    target.write_bytes(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
