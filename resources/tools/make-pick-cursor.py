#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the pick pointer (pick-cursor-32.png and pick-cursor-16.png).

The pointer is a small black sight: four L-shaped corner marks around an
empty centre, each mark ringed by a one-pixel white outline so that it stays
visible on dark pixels. Everything else is fully transparent. The marks are
placed symmetrically around the hot spot, which is the exact centre:
(16,16) in the 32x32 picture and (8,8) in the 16x16 one.

Only the standard library is used. Run from anywhere:
    python3 resources/tools/make-pick-cursor.py
The pictures are written to resources/cursors/ (or to the folder given as the
first argument).
"""
import os
import struct
import sys
import zlib

TRANSPARENT = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)


def sight_mask(size, reach, arm, thickness):
    """Black pixels of the four corner marks.

    The hot spot is pixel (c, c) with c = size // 2. Each corner mark's outer
    edge lies `reach` pixels from the hot spot; the mark is `thickness` pixels
    thick and its two arms are `arm` pixels long, so the marks mirror each
    other exactly about the hot spot.
    """
    c = size // 2
    black = set()
    for sx in (-1, 1):
        for sy in (-1, 1):
            corner_x = c + sx * reach
            corner_y = c + sy * reach
            for along in range(arm):
                for across in range(thickness):
                    # Horizontal arm, running from the corner towards the centre line.
                    black.add((corner_x - sx * along, corner_y - sy * across))
                    # Vertical arm.
                    black.add((corner_x - sx * across, corner_y - sy * along))
    for x, y in black:
        if not (0 <= x < size and 0 <= y < size):
            raise ValueError("the sight does not fit in the picture")
    return black


def render(size, reach, arm, thickness):
    black = sight_mask(size, reach, arm, thickness)
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for x, y in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                nx, ny = x + dx, y + dy
                if 0 <= nx < size and 0 <= ny < size and (nx, ny) not in black:
                    pixels[ny][nx] = WHITE
    for x, y in black:
        pixels[y][x] = BLACK
    return pixels


def png_bytes(pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type: none
        for rgba in row:
            raw.extend(rgba)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# size: (reach, arm length, thickness)
CURSORS = {
    32: (9, 6, 2),
    16: (5, 3, 1),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "cursors")
    os.makedirs(out_dir, exist_ok=True)
    for size, (reach, arm, thickness) in CURSORS.items():
        path = os.path.join(out_dir, f"pick-cursor-{size}.png")
        with open(path, "wb") as f:
            f.write(png_bytes(render(size, reach, arm, thickness)))
        print(f"{path}: {size}x{size}, hot spot ({size // 2},{size // 2})")


if __name__ == "__main__":
    main()
