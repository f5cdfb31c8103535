#!/usr/bin/env python3
"""Draws the program's icon and its two cursors and writes them as .ico and .cur files.

The images are kept in the repository; run this again after changing a drawing:
    python3 src/res/make_images.py src/res
"""
import struct
import sys
from pathlib import Path


# ---------------------------------------------------------------- file formats

def dib_32(pixels, size):
    """A 32-bit BGRA DIB with its AND mask, as .ico and .cur entries hold it."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(
        b''.join(struct.pack('BBBB', b, g, r, a) for (r, g, b, a) in pixels[y])
        for y in reversed(range(size)))
    return header + rows + and_mask([[a == 0 for (_, _, _, a) in row] for row in pixels], size)


def dib_4(indices, palette, transparent, size):
    """A 16-colour DIB with its AND mask; `transparent` marks see-through pixels."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    pal += b'\0' * (64 - len(pal))
    rows = b''
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(0, size, 2):
            row.append((indices[y][x] << 4) | indices[y][x + 1])
        rows += bytes(row) + b'\0' * ((-len(row)) % 4)
    return header + pal + rows + and_mask(transparent, size)


def and_mask(transparent, size):
    out = b''
    for y in reversed(range(size)):
        bits = bytearray((size + 7) // 8)
        for x in range(size):
            if transparent[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits) + b'\0' * ((-len(bits)) % 4)
    return out


def icon_file(kind, entries):
    """kind 1 = icon, 2 = cursor; entries are (size, dib, hotspot or None)."""
    out = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = b''
    for size, dib, hot in entries:
        if kind == 1:
            planes, bits = 1, struct.unpack_from('<H', dib, 14)[0]
        else:
            planes, bits = hot
        colours = 16 if struct.unpack_from('<H', dib, 14)[0] == 4 else 0
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, planes, bits,
                           len(dib), offset + len(blobs))
        blobs += dib
    return out + blobs


# ---------------------------------------------------------------- drawing helpers

def coverage(inside, x, y, n=4):
    """Share of pixel (x, y) covered by the shape, sampled n*n times."""
    hits = sum(inside(x + (i + .5) / n, y + (j + .5) / n) for i in range(n) for j in range(n))
    return hits / (n * n)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def outlined(inside, size):
    """Cursor drawing from a shape: 1 = black outline, 2 = white fill, 0 = clear."""
    grid = [[inside(x + .5, y + .5) for x in range(size)] for y in range(size)]
    result = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if grid[y][x]:
                edge = any(not (0 <= x + dx < size and 0 <= y + dy < size and grid[y + dy][x + dx])
                           for dx in (-1, 0, 1) for dy in (-1, 0, 1))
                result[y][x] = 1 if edge else 2
    return result


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


# ---------------------------------------------------------------- the images

def draw_icon(size):
    """A dark screen with three headlines in bright colours and a feed mark."""
    s = size / 32.0
    body = rounded_rect(1 * s, 1 * s, 31 * s, 31 * s, 5 * s)
    lines = [((255, 214, 64), 6, 22), ((96, 232, 255), 11, 26), ((255, 120, 200), 16, 18)]
    arcs_c = (7 * s, 26 * s)

    def headline(y, length):
        return rounded_rect(5 * s, y * s, (5 + length) * s, (y + 2.6) * s, 1.2 * s)

    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            a = coverage(body, x, y)
            colour = (24, 32, 64)
            for c, ly, length in lines:
                k = coverage(headline(ly, length), x, y)
                colour = tuple(int(colour[i] * (1 - k) + c[i] * k) for i in range(3))
            # feed mark: a dot and two arcs in orange, bottom left
            def feed(px, py):
                dx, dy = px - arcs_c[0], arcs_c[1] - py
                d = (dx * dx + dy * dy) ** .5
                if dx < 0 or dy < 0:
                    return d <= 1.6 * s
                return d <= 1.6 * s or 3.4 * s <= d <= 4.8 * s or 6.4 * s <= d <= 7.8 * s
            k = coverage(feed, x, y)
            colour = tuple(int(colour[i] * (1 - k) + (255, 140, 0)[i] * k) for i in range(3))
            row.append(colour + (int(round(255 * a)),))
        pixels.append(row)
    return pixels


def draw_hand():
    """A pointing hand, index finger up, white with a black outline; tip at (12, 6)."""
    shape = union(
        rounded_rect(10.5, 6, 14.5, 20, 2),     # index finger
        rounded_rect(14, 11, 17.5, 20, 1.6),    # middle finger
        rounded_rect(17, 12, 20.5, 20, 1.6),    # ring finger
        rounded_rect(20, 13, 23.5, 21, 1.6),    # little finger
        rounded_rect(9, 17, 23.5, 28, 3),       # palm
        lambda x, y: 5 <= x <= 11 and 15 <= y <= 23 and abs((x - 5) - (y - 15)) <= 2.4,  # thumb
    )
    img = outlined(shape, 32)
    # Lines between the fingers.
    for x, y0, y1 in ((14, 12, 19), (17, 13, 19), (20, 14, 19)):
        for y in range(y0, y1):
            if img[y][x] == 2:
                img[y][x] = 1
    return img


def draw_drag():
    """An arrow pointing up and to the left (tip at 8, 3) with a page below and right of it."""
    def arrow(x, y):
        x, y = x - 8, y - 3
        if y < 0 or x < 0:
            return False
        if y <= 11 and x <= y * 0.62 + 0.5:
            return True
        return 2 <= x <= 4.5 and 9 <= y <= 16 and x >= (y - 9) * 0.3 + 1.2
    img = outlined(arrow, 32)
    for y in range(17, 30):            # page outline
        for x in range(15, 27):
            border = y in (17, 29) or x in (15, 26)
            fold = x > 22 and y < 17 + (x - 22)
            if fold:
                continue
            if border or (x - 22 == y - 17 and x >= 22):
                img[y][x] = 1
            elif img[y][x] == 0:
                img[y][x] = 2
    for i in range(5):                 # folded corner
        img[17 + i][22 + i] = 1
    return img


def cursor_dib(img):
    palette = [(0, 0, 0), (0, 0, 0), (255, 255, 255)] + [(0, 0, 0)] * 13
    transparent = [[v == 0 for v in row] for row in img]
    return dib_4(img, palette, transparent, 32)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    icon = icon_file(1, [(n, dib_32(draw_icon(n), n), None) for n in (48, 32, 16)])
    (out / 'kvt.ico').write_bytes(icon)
    (out / 'link.cur').write_bytes(icon_file(2, [(32, cursor_dib(draw_hand()), (12, 6))]))
    (out / 'drag.cur').write_bytes(icon_file(2, [(32, cursor_dib(draw_drag()), (8, 3))]))


if __name__ == '__main__':
    main()
