#!/usr/bin/env python3
"""Draws the suite's icon (a tower on a shield) and writes src/resources/tarnholm.ico.

Run by hand when the picture changes; the build uses the committed file."""
import struct, sys, os

def draw(size):
    steel, gold, clear = (104, 82, 70, 255), (39, 162, 201, 255), (0, 0, 0, 0)  # BGRA
    px = [[clear] * size for _ in range(size)]
    m = size / 32.0
    for y in range(size):
        for x in range(size):
            fx, fy = x / m, y / m
            # shield: a rectangle above, a point below
            if 3 <= fy <= 17.5:
                inside = 4 <= fx <= 28
            elif fy <= 29:
                half = 12 * (29 - fy) / 11.5
                inside = abs(fx - 16) <= half
            else:
                inside = False
            if not inside:
                continue
            edge = not (5.2 <= fx <= 26.8 and 4.2 <= fy and (fy <= 17.5 or abs(fx - 16) <= 12 * (29 - fy) / 11.5 - 1.6))
            colour = gold if edge else steel
            # tower with three merlons and a door
            if 10 <= fx <= 22 and 11 <= fy <= 24:
                colour = gold
                if 14 <= fx <= 18 and 19 <= fy:
                    colour = steel
            if 8 <= fy < 11 and (10 <= fx < 12.4 or 14.8 <= fx < 17.2 or 19.6 <= fx <= 22):
                colour = gold
            px[y][x] = colour
    return px

def bmp(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in row for c in p) for row in reversed(px))
    mask_row = ((size + 31) // 32) * 4
    mask = b'\0' * (mask_row * size)
    return header + rows + mask

def main():
    sizes = [16, 32, 48]
    images = [bmp(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    path = os.path.join(os.path.dirname(__file__), '..', 'src', 'resources', 'tarnholm.ico')
    with open(path, 'wb') as f:
        f.write(out)

if __name__ == '__main__':
    main()
