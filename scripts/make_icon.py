#!/usr/bin/env python3
"""Draws the program's icon, app/vemotool.ico: 32 x 32 pixels, 256 colours.

A sheet of a font list (grey lines) with a red "A" on it and a green tick: the list,
its fonts, and the fix. Run from the top of the tree: python3 scripts/make_icon.py
"""
import struct
from pathlib import Path

SIZE = 32

# Palette index -> (red, green, blue); index 0 is the transparent background.
PALETTE = [
    (0, 0, 0),        # 0 transparent (masked)
    (64, 64, 64),     # 1 outline
    (255, 255, 255),  # 2 paper
    (160, 160, 160),  # 3 text lines
    (200, 32, 32),    # 4 letter
    (0, 150, 60),     # 5 tick
    (0, 90, 36),      # 6 tick edge
    (230, 230, 230),  # 7 folded corner
]


def draw():
    px = [[0] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c

    # The sheet, with its top right corner folded.
    left, top, right, bottom, fold = 4, 1, 25, 30, 6
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - left + (top + fold - y) > right - left:  # cut corner
                continue
            edge = x in (left, right) or y in (top, bottom)
            put(x, y, 1 if edge else 2)
    for i in range(fold + 1):
        put(right - fold + i, top + i, 1)  # diagonal edge of the fold
        for x in range(right - fold, right - fold + i):
            put(x, top + i, 7)
    for y in range(top, top + fold + 1):
        put(right - fold, y, 1)
    for x in range(right - fold, right + 1):
        put(x, top + fold, 1)

    # Lines of the list.
    for y in (11, 14, 17, 20, 23, 26):
        for x in range(left + 3, right - 3):
            put(x, y, 3)

    # A bold "A" in the upper left of the sheet: two legs from a two-pixel apex, a bar.
    for y in range(2, 11):
        spread = (y - 2) // 2
        for x in (9 - spread, 10 - spread, 11 + spread, 12 + spread):
            put(x, y, 4)
    for x in range(9, 13):
        put(x, 7, 4)
        put(x, 8, 4)

    # The tick, over the lower right corner.
    tick = [(14, 22), (15, 23), (16, 24), (17, 25), (18, 26), (19, 25), (20, 24), (21, 23),
            (22, 22), (23, 21), (24, 20), (25, 19), (26, 18), (27, 17), (28, 16), (29, 15)]
    for x, y in tick:
        for dy in (-2, -1, 0, 1, 2):
            put(x, y + dy, 5)
    for x, y in tick:
        put(x, y + 3, 6)
        put(x, y - 3, 6)
    return px


def ico(px):
    palette = bytearray()
    for i in range(256):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        palette += bytes((b, g, r, 0))
    # Rows bottom-up; 32 one-byte pixels are already a multiple of four bytes.
    xor = b"".join(bytes(row) for row in reversed(px))
    and_rows = []
    for row in reversed(px):
        bits = 0
        for x, c in enumerate(row):
            if c == 0:
                bits |= 1 << (31 - x)
        and_rows.append(struct.pack(">I", bits))
    mask = b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, len(xor) + len(mask),
                         0, 0, 256, 0)
    image = header + bytes(palette) + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = Path(__file__).resolve().parent.parent / "app" / "vemotool.ico"
    out.write_bytes(ico(draw()))
    print(out)
