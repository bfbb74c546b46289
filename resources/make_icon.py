#!/usr/bin/env python3
"""Draws the program's icon and writes it as resources/tarnwick.ico.

A handheld scanner with its antenna, a display reading 1.2, a keypad, and a
yellow arrow pointing up for the update. Two images of 16 colours (the
standard palette, 4 bits a pixel) with a transparency mask: 32 x 32 and
16 x 16.

    python3 resources/make_icon.py [OUTPUT]
"""
import os
import struct
import sys

# The standard 16-colour palette, as red, green, blue.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREEN, SILVER, GREY, LIME, YELLOW, WHITE = 0, 2, 7, 8, 10, 11, 15
CLEAR = None


class Picture:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def shape(self, cells, colour, outline):
        """Fills a set of (x, y) cells and draws a one-pixel outline round it."""
        for x, y in cells:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if (x + dx, y + dy) not in cells:
                        self.put(x + dx, y + dy, outline)
        for x, y in cells:
            self.put(x, y, colour)

    def glyph(self, x0, y0, rows, colour):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == "#":
                    self.put(x0 + dx, y0 + dy, colour)


def arrow(centre_left, head_top, head_rows, shaft_half, bottom):
    """Cells of an arrow pointing up; centre_left is the left one of the two
    middle columns."""
    cells = set()
    for i in range(head_rows):
        for x in range(centre_left - i, centre_left + 2 + i):
            cells.add((x, head_top + i))
    for y in range(head_top + head_rows, bottom + 1):
        for x in range(centre_left + 1 - shaft_half, centre_left + 1 + shaft_half):
            cells.add((x, y))
    return cells


def large():
    p = Picture(32)
    # Antenna.
    p.fill(18, 0, 21, 8, BLACK)
    p.fill(19, 1, 20, 8, GREY)
    # Body with cut corners.
    p.fill(6, 7, 23, 31, BLACK)
    p.fill(7, 8, 22, 30, GREY)
    for x, y in ((6, 7), (23, 7), (6, 31), (23, 31)):
        p.put(x, y, CLEAR)
    p.fill(7, 8, 7, 30, SILVER)
    # Speaker slots.
    for x in range(10, 21, 2):
        p.put(x, 10, BLACK)
    # Display showing 1.2.
    p.fill(9, 12, 20, 18, BLACK)
    p.fill(10, 13, 19, 17, LIME)
    p.glyph(11, 13, [".#.", "##.", ".#.", ".#.", "###"], GREEN)
    p.put(15, 17, GREEN)
    p.glyph(17, 13, ["##.", "..#", ".#.", "#..", "###"], GREEN)
    # Keypad.
    for ky in (21, 24, 27):
        for kx in (9, 12, 15):
            p.fill(kx, ky, kx + 1, ky + 1, SILVER)
            p.put(kx, ky, WHITE)
    # The update arrow.
    p.shape(arrow(25, 17, 6, 3, 30), YELLOW, BLACK)
    return p


def small():
    p = Picture(16)
    p.fill(9, 0, 11, 4, BLACK)
    p.fill(10, 1, 10, 4, GREY)
    p.fill(2, 3, 11, 15, BLACK)
    p.fill(3, 4, 10, 14, GREY)
    p.fill(4, 5, 9, 7, LIME)
    for kx in (4, 6, 8):
        for ky in (9, 11, 13):
            p.put(kx, ky, SILVER)
    p.shape(arrow(12, 8, 3, 1, 14), YELLOW, BLACK)
    return p


def bitmap(picture):
    """The image as an icon holds it: header, palette, colour pixels and the
    mask, rows from the bottom up, each padded to 4 bytes."""
    n = picture.size
    colour_row = (n * 4 + 31) // 32 * 4
    mask_row = (n + 31) // 32 * 4
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0,
                         (colour_row + mask_row) * n, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colours = bytearray()
    mask = bytearray()
    for row in reversed(picture.pixels):
        packed = bytearray(colour_row)
        bits = bytearray(mask_row)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                packed[x // 2] |= c << (4 if x % 2 == 0 else 0)
        colours += packed
        mask += bits
    return header + palette + bytes(colours) + bytes(mask)


def icon(pictures):
    images = [bitmap(p) for p in pictures]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for p, image in zip(pictures, images):
        out += struct.pack("<BBBBHHII", p.size, p.size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tarnwick.ico")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    with open(path, "wb") as f:
        f.write(icon([large(), small()]))


if __name__ == "__main__":
    main()
