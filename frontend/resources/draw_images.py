#!/usr/bin/env python3
"""Draws the front end's images: the toolbar icons (PNG), the window icon
(Windows .ico), the same emblem in the desktop icon theme sizes (icons/) and
the logo (baseline JPEG).

Only the standard library is used: shapes are rasterised with supersampled
coverage, PNGs are written with zlib, the icon as a 32-bit bitmap and the JPEG
with a small baseline encoder. The output is deterministic, so running the
script again reproduces the committed files byte for byte.

    python3 draw_images.py [output-folder]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Rasteriser


class Canvas:
    """RGBA canvas in premultiplied floats. Shapes are given in design units;
    `scale` maps them to pixels."""

    def __init__(self, width, height, scale, background=(0, 0, 0, 0), samples=4):
        self.w, self.h, self.scale, self.samples = width, height, scale, samples
        r, g, b, a = background
        self.px = [[r / 255 * a, g / 255 * a, b / 255 * a, a] for _ in range(width * height)]

    def fill(self, inside, colour, box, alpha=1.0):
        """Composites `colour` (RGB tuple, or function of design x, y giving one)
        over every pixel part for which inside(x, y) holds; `box` bounds the
        shape in design units (x0, y0, x1, y1)."""
        s, n = self.scale, self.samples
        x0 = max(0, int(box[0] * s) - 1)
        y0 = max(0, int(box[1] * s) - 1)
        x1 = min(self.w, int(math.ceil(box[2] * s)) + 1)
        y1 = min(self.h, int(math.ceil(box[3] * s)) + 1)
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for oy in offsets:
                    y = (py + oy) / s
                    for ox in offsets:
                        if inside((px + ox) / s, y):
                            hits += 1
                if not hits:
                    continue
                cover = hits / (n * n) * alpha
                c = colour((px + 0.5) / s, (py + 0.5) / s) if callable(colour) else colour
                p = self.px[py * self.w + px]
                for k in range(3):
                    p[k] = c[k] / 255 * cover + p[k] * (1 - cover)
                p[3] = cover + p[3] * (1 - cover)

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows."""
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a > 0:
                    row += bytes(round(min(1.0, v / a) * 255) for v in (r, g, b))
                else:
                    row += b"\0\0\0"
                row.append(round(a * 255))
            rows.append(bytes(row))
        return rows


def bounds(points, pad=0.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def polygon(c, points, colour, alpha=1.0):
    def inside(x, y):
        odd = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                odd = not odd
            j = i
        return odd
    c.fill(inside, colour, bounds(points), alpha)


def segment_distance(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / length2))
    ex, ey = a[0] + t * dx - x, a[1] + t * dy - y
    return math.sqrt(ex * ex + ey * ey)


def stroke(c, points, width, colour, alpha=1.0):
    """A polyline with round joins and caps."""
    r = width / 2
    pairs = list(zip(points, points[1:])) or [(points[0], points[0])]

    def inside(x, y):
        return any(segment_distance(x, y, a, b) <= r for a, b in pairs)
    c.fill(inside, colour, bounds(points, r), alpha)


def dashed(c, a, b, width, colour, dash=2.0, gap=1.6):
    length = math.dist(a, b)
    t = 0.0
    while t < length:
        e = min(length, t + dash)
        p = (a[0] + (b[0] - a[0]) * t / length, a[1] + (b[1] - a[1]) * t / length)
        q = (a[0] + (b[0] - a[0]) * e / length, a[1] + (b[1] - a[1]) * e / length)
        stroke(c, [p, q], width, colour)
        t = e + gap


def circle(c, cx, cy, r, colour, alpha=1.0):
    c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour,
           (cx - r, cy - r, cx + r, cy + r), alpha)


def rounded_rect(c, x0, y0, x1, y1, radius, colour, alpha=1.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        qx = max(x0 + radius - x, 0, x - (x1 - radius))
        qy = max(y0 + radius - y, 0, y - (y1 - radius))
        return qx * qx + qy * qy <= radius * radius
    c.fill(inside, colour, (x0, y0, x1, y1), alpha)


def arrow_head(c, tip, direction, size, colour):
    dx, dy = direction
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    base = (tip[0] - dx * size, tip[1] - dy * size)
    polygon(c, [tip, (base[0] - dy * size * 0.6, base[1] + dx * size * 0.6),
                (base[0] + dy * size * 0.6, base[1] - dx * size * 0.6)], colour)


def arrow(c, a, b, width, colour, head=3.2):
    d = (b[0] - a[0], b[1] - a[1])
    n = math.hypot(*d)
    end = (b[0] - d[0] / n * head * 0.8, b[1] - d[1] / n * head * 0.8)
    stroke(c, [a, end], width, colour)
    arrow_head(c, b, d, head, colour)


def arc_points(cx, cy, r, start, end, steps=40):
    return [(cx + r * math.cos(start + (end - start) * i / steps),
             cy + r * math.sin(start + (end - start) * i / steps)) for i in range(steps + 1)]


def lerp(a, b, t):
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(len(a)))


def shrink(points, factor):
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    return [(cx + (x - cx) * factor, cy + (y - cy) * factor) for x, y in points]


# 3 x 5 digits for the numbering icon, one string per row.
DIGITS = {
    "1": ["010", "110", "010", "010", "111"],
    "2": ["110", "001", "010", "100", "111"],
    "3": ["110", "001", "010", "001", "110"],
}


def digit(c, ch, x, y, cell, colour):
    for row, bits in enumerate(DIGITS[ch]):
        for col, bit in enumerate(bits):
            if bit == "1":
                rounded_rect(c, x + col * cell, y + row * cell, x + (col + 1) * cell,
                             y + (row + 1) * cell, 0.2, colour)


# ---------------------------------------------------------------------------
# Palette

TILE = (46, 50, 58)
TILE_EDGE = (104, 112, 128)
WHITE = (236, 239, 243)
GREY = (150, 156, 168)
DARK = (24, 26, 30)
CYAN = (78, 198, 232)
BLUE = (82, 134, 236)
GREEN = (104, 206, 118)
ORANGE = (248, 158, 58)
YELLOW = (246, 210, 84)
RED = (232, 78, 68)
SURFACE = (200, 206, 218)

# ---------------------------------------------------------------------------
# Toolbar icons, drawn on a 33 x 33 unit tile.

U = 33.0


def tile(c):
    rounded_rect(c, 1, 1, U - 1, U - 1, 5.5, TILE_EDGE)
    rounded_rect(c, 2, 2, U - 2, U - 2, 4.7, TILE)


def icon_fill_holes(c):
    rounded_rect(c, 5.5, 6.5, 27.5, 26.5, 1.5, SURFACE)
    for a, b in [((12.8, 6.5), (12.8, 26.5)), ((20.2, 6.5), (20.2, 26.5)),
                 ((5.5, 13.2), (27.5, 13.2)), ((5.5, 19.8), (27.5, 19.8)),
                 ((5.5, 6.5), (27.5, 26.5))]:
        stroke(c, [a, b], 0.7, GREY)
    circle(c, 16.5, 16.5, 6.8, DARK)
    c.fill(lambda x, y: (x - 16.5) ** 2 + (y - 16.5) ** 2 <= 5.9 ** 2 and y >= 16.0,
           GREEN, (10, 16, 23, 23))
    stroke(c, arc_points(16.5, 16.5, 6.8, 0, 2 * math.pi, 60), 0.9, GREEN)
    arrow(c, (16.5, 8.5), (16.5, 15.0), 1.6, WHITE, head=3.0)


def icon_smooth(c):
    zig = [(5.5, 12), (8, 8), (10.5, 13.5), (13, 7.5), (15.5, 12.5), (18, 8),
           (20.5, 13), (23, 7.5), (25.5, 12), (27.5, 9.5)]
    stroke(c, zig, 1.3, GREY)
    wave = [(5.5 + 22 * i / 60, 22.5 - 3.2 * math.sin(2 * math.pi * i / 60)) for i in range(61)]
    stroke(c, wave, 2.4, CYAN)


def icon_amb_occ(c):
    c.fill(lambda x, y: ((x - 16.5) / 11) ** 2 + ((y - 26) / 2.6) ** 2 <= 1, DARK, (5, 23, 28, 29))

    def shade(x, y):
        nx, ny = (x - 16.5) / 9.0, (y - 15.5) / 9.0
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        light = max(0.0, -0.45 * nx - 0.55 * ny + 0.7 * nz)
        occlusion = 1.0 - 0.55 * max(0.0, ny) ** 1.5
        v = (0.18 + 0.82 * light) * occlusion
        return (min(255, 70 + 185 * v), min(255, 72 + 180 * v), min(255, 78 + 176 * v))
    circle(c, 16.5, 15.5, 9.0, shade)


def icon_norm(c):
    def curve(t):
        return (5 + 23 * t, 24.5 - 8.5 * math.sin(math.pi * t))
    stroke(c, [curve(i / 50) for i in range(51)], 2.2, WHITE)
    for t, colour in [(0.2, RED), (0.5, GREEN), (0.8, BLUE)]:
        x, y = curve(t)
        dx, dy = 23, -8.5 * math.pi * math.cos(math.pi * t)
        n = math.hypot(dx, dy)
        nx, ny = dy / n, -dx / n
        arrow(c, (x + nx * 1.2, y + ny * 1.2), (x + nx * 10.5, y + ny * 10.5), 1.8, colour, head=3.4)


def icon_remap(c):
    for row, colour in enumerate([RED, GREEN, BLUE]):
        y0 = 7 + row * 6.6
        c.fill(lambda x, y: True, lambda x, y, col=colour: lerp((30, 30, 34), col, (x - 6) / 21),
               (6, y0, 27, y0 + 5.6))
    curve = [(6 + 21 * i / 40, 26.8 - 19.8 * (i / 40) ** (1 / 2.2)) for i in range(41)]
    stroke(c, curve, 2.6, DARK)
    stroke(c, curve, 1.4, WHITE)


def icon_join(c):
    rounded_rect(c, 5.5, 14, 16, 27, 1.2, BLUE)
    rounded_rect(c, 17, 14, 27.5, 27, 1.2, ORANGE)
    stroke(c, [(16.5, 13), (16.5, 28)], 1.0, WHITE)
    arrow(c, (5.5, 8), (14.5, 8), 1.6, WHITE, head=3.0)
    arrow(c, (27.5, 8), (18.5, 8), 1.6, WHITE, head=3.0)


STRIP_TOP = [(5.5, 10), (12.5, 10), (19.5, 10), (26.5, 10)]
STRIP_BOTTOM = [(9, 23), (16, 23), (23, 23), (28.5, 23)]


def strip_triangles():
    tris = []
    for i in range(3):
        tris.append([STRIP_TOP[i], STRIP_BOTTOM[i], STRIP_TOP[i + 1]])
        tris.append([STRIP_BOTTOM[i], STRIP_TOP[i + 1], STRIP_BOTTOM[i + 1]])
    return tris[:5]


def icon_tri_strip(c):
    tris = strip_triangles()
    for i, t in enumerate(tris):
        polygon(c, t, lerp(CYAN, BLUE, i / (len(tris) - 1)))
    for t in tris:
        stroke(c, t + [t[0]], 0.9, WHITE)


def icon_tri_unpack(c):
    tris = strip_triangles()
    for i, t in enumerate(tris):
        s = shrink(t, 0.72)
        dy = -1.6 if i % 2 == 0 else 1.6
        s = [(x, y + dy) for x, y in s]
        polygon(c, s, lerp(CYAN, BLUE, i / (len(tris) - 1)))
        stroke(c, s + [s[0]], 0.8, WHITE)


def icon_fix_model(c):
    tri = [(4.5, 24), (17, 24), (10.5, 8)]
    polygon(c, tri, SURFACE)
    stroke(c, tri + [tri[0]], 0.9, WHITE)
    sliver = [(17, 24), (28.5, 22.2), (17, 22.6)]
    polygon(c, sliver, RED)
    circle(c, 24.5, 8.5, 1.9, RED)
    stroke(c, [(15.5, 15.5), (19.5, 19.8), (28, 9.5)], 3.6, DARK)
    stroke(c, [(15.5, 15.5), (19.5, 19.8), (28, 9.5)], 2.4, GREEN)


def icon_optimize_faces(c):
    tri = [(6, 26), (27, 26), (16.5, 7)]
    polygon(c, tri, BLUE)
    stroke(c, tri + [tri[0]], 1.0, WHITE)
    pts = arc_points(16.5, 19.5, 4.2, math.radians(-60), math.radians(210), 40)
    stroke(c, pts[:-4], 1.6, WHITE)
    end, before = pts[-1], pts[-5]
    arrow_head(c, end, (end[0] - before[0], end[1] - before[1]), 3.0, WHITE)


def icon_edge_optimise(c):
    left, top, right, bottom = (4.5, 16.5), (16.5, 5), (28.5, 16.5), (16.5, 28)
    polygon(c, [left, top, right], BLUE)
    polygon(c, [left, bottom, right], CYAN)
    stroke(c, [left, top, right, bottom, left], 1.0, WHITE)
    dashed(c, top, bottom, 0.9, DARK)
    stroke(c, [left, right], 2.0, YELLOW)


def icon_verts(c):
    dots = [(8, 10.5), (16.5, 10.5), (25, 10.5)]
    for a, b in zip(dots, dots[1:]):
        arrow(c, (a[0] + 2.2, a[1]), (b[0] - 2.3, b[1]), 1.2, ORANGE, head=2.4)
    for x, y in dots:
        circle(c, x, y, 2.1, WHITE)
    for ch, (x, _) in zip("123", dots):
        digit(c, ch, x - 2.4, 16.5, 1.6, WHITE)


def midpoints(tri):
    return [lerp(tri[i], tri[(i + 1) % 3], 0.5) for i in range(3)]


def icon_subdivide(c):
    tri = [(4.5, 27), (28.5, 27), (16.5, 6)]
    polygon(c, tri, BLUE)
    m = midpoints(tri)
    polygon(c, m, CYAN)
    stroke(c, tri + [tri[0]], 1.2, WHITE)
    stroke(c, m + [m[0]], 1.0, WHITE)


def bulged_triangle(tri, bulge, steps=16):
    """The triangle with every edge bowed outwards as a quadratic curve."""
    cx = sum(p[0] for p in tri) / 3
    cy = sum(p[1] for p in tri) / 3
    out = []
    for i in range(3):
        a, b = tri[i], tri[(i + 1) % 3]
        m = lerp(a, b, 0.5)
        ctrl = (m[0] + (m[0] - cx) * bulge, m[1] + (m[1] - cy) * bulge)
        for k in range(steps):
            t = k / steps
            out.append(tuple((1 - t) ** 2 * a[j] + 2 * (1 - t) * t * ctrl[j] + t * t * b[j]
                             for j in range(2)))
    return out


def icon_subd_loop(c):
    tri = [(6, 25.5), (27, 25.5), (16.5, 7.5)]
    smooth = bulged_triangle(tri, 0.55)
    polygon(c, smooth, GREEN)
    m = midpoints(tri)
    stroke(c, m + [m[0]], 0.9, WHITE)
    stroke(c, smooth + [smooth[0]], 1.2, WHITE)
    for p in tri:
        circle(c, p[0], p[1], 1.3, YELLOW)


def icon_subd_fly(c):
    body = 16.5
    wings = [
        [(body, 15), (4.5, 6.5), (6.5, 18.5)],
        [(body, 16.5), (7, 19.5), (9.5, 27.5)],
        [(body, 15), (28.5, 6.5), (26.5, 18.5)],
        [(body, 16.5), (26, 19.5), (23.5, 27.5)],
    ]
    for i, w in enumerate(wings):
        polygon(c, w, ORANGE if i % 2 == 0 else YELLOW)
        stroke(c, w + [w[0]], 0.8, WHITE)
    stroke(c, [(body, 9.5), (body, 25)], 2.2, WHITE)
    stroke(c, [(body, 10), (13.5, 5)], 0.8, WHITE)
    stroke(c, [(body, 10), (19.5, 5)], 0.8, WHITE)


def icon_noise(c):
    state = 0

    def rand():
        nonlocal state
        state = (state * 1664525 + 1013904223) & 0xFFFFFFFF
        return state / 4294967296.0
    line = [(5 + 23 * i / 22, 17 + (rand() - 0.5) * 7) for i in range(23)]
    for _ in range(14):
        circle(c, 5.5 + 22 * rand(), 7 + 20 * rand(), 0.8, GREY)
    stroke(c, line, 1.5, WHITE)


ICONS = {
    "fillHoles.png": icon_fill_holes,
    "smooth.png": icon_smooth,
    "ambOcc.png": icon_amb_occ,
    "norm.png": icon_norm,
    "ReMap.png": icon_remap,
    "join.png": icon_join,
    "TriStrip.png": icon_tri_strip,
    "TriUnpack.png": icon_tri_unpack,
    "fuckedup.png": icon_fix_model,
    "autoFaces.png": icon_optimize_faces,
    "EdgeOptimise.png": icon_edge_optimise,
    "verts.png": icon_verts,
    "subd1.png": icon_subdivide,
    "subDloop.png": icon_subd_loop,
    "subDfly.png": icon_subd_fly,
    "noise.png": icon_noise,
}

# ---------------------------------------------------------------------------
# The emblem: a faceted hexagon, used by the logo and the window icon.


def emblem(c, cx, cy, r):
    corners = [(cx + r * math.cos(math.radians(90 + 60 * k)), cy - r * math.sin(math.radians(90 + 60 * k)))
               for k in range(6)]
    shades = [(64, 190, 214), (44, 150, 200), (34, 104, 170), (50, 84, 150), (70, 130, 196), (96, 204, 226)]
    for k in range(6):
        polygon(c, [(cx, cy), corners[k], corners[(k + 1) % 6]], shades[k])
    inner = shrink(corners, 0.45)
    polygon(c, inner, (226, 242, 248))
    w = max(0.6, r * 0.05)
    for k in range(6):
        stroke(c, [(cx, cy), corners[k]], w, (236, 246, 250))
    stroke(c, corners + [corners[0]], w * 1.4, (236, 246, 250))


# ---------------------------------------------------------------------------
# Writers


def write_png(path, width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, size, rows):
    """One 32-bit image with alpha, stored as a bottom-up bitmap and its mask."""
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x in range(size):
            if row[4 * x + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20,
          13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52,
          45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]

# A uniform fine quantiser keeps the flat logo free of ringing.
QUANT = [3] * 64


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = 0
                self.count = 0

    def flush(self):
        while self.count:
            self.put(1, 1)


def magnitude(v):
    size = 0 if v == 0 else abs(v).bit_length()
    return size, (v if v >= 0 else v + (1 << size) - 1)


def write_jpeg(path, width, height, rgb):
    """Baseline JPEG, three components without subsampling. The Huffman tables
    give every DC symbol 4 bits and every AC symbol 8 bits: not the smallest
    file, but a valid code that needs no statistics."""
    ac_symbols = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]
    ac_code = {s: i for i, s in enumerate(ac_symbols)}

    def component_blocks(channel):
        for by in range(0, height, 8):
            for bx in range(0, width, 8):
                block = [channel(min(width - 1, bx + x), min(height - 1, by + y)) - 128
                         for y in range(8) for x in range(8)]
                yield block

    cos_table = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]

    def dct(block):
        out = [0.0] * 64
        for v in range(8):
            for u in range(8):
                s = 0.0
                for y in range(8):
                    cy = cos_table[v][y]
                    row = block[y * 8:y * 8 + 8]
                    cu = cos_table[u]
                    s += cy * sum(row[x] * cu[x] for x in range(8))
                cu_ = math.sqrt(0.5) if u == 0 else 1.0
                cv_ = math.sqrt(0.5) if v == 0 else 1.0
                out[v * 8 + u] = 0.25 * cu_ * cv_ * s
        return out

    def ycc(x, y):
        r, g, b = rgb[y][x]
        return (0.299 * r + 0.587 * g + 0.114 * b,
                -0.168736 * r - 0.331264 * g + 0.5 * b + 128,
                0.5 * r - 0.418688 * g - 0.081312 * b + 128)

    channels = [lambda x, y, k=k: ycc(x, y)[k] for k in range(3)]
    blocks = [list(component_blocks(ch)) for ch in channels]
    bits = BitWriter()
    previous = [0, 0, 0]
    for i in range(len(blocks[0])):
        for k in range(3):
            coeffs = dct(blocks[k][i])
            q = [int(round(coeffs[ZIGZAG[j]] / QUANT[j])) for j in range(64)]
            size, value = magnitude(q[0] - previous[k])
            previous[k] = q[0]
            bits.put(size, 4)
            bits.put(value, size)
            run = 0
            last = max([j for j in range(1, 64) if q[j]] or [0])
            for j in range(1, last + 1):
                if q[j] == 0:
                    run += 1
                    if run == 16:
                        bits.put(ac_code[0xF0], 8)
                        run = 0
                    continue
                size, value = magnitude(q[j])
                bits.put(ac_code[(run << 4) | size], 8)
                bits.put(value, size)
                run = 0
            if last < 63:
                bits.put(ac_code[0x00], 8)
    bits.flush()

    def segment(marker, data):
        return struct.pack(">BBH", 0xFF, marker, len(data) + 2) + data

    dc_table = bytes([0, 0, 0, 12] + [0] * 12) + bytes(range(12))
    ac_table = bytes([0] * 7 + [len(ac_symbols)] + [0] * 8) + bytes(ac_symbols)
    quant = bytes([0]) + bytes(QUANT)
    frame = struct.pack(">BHHB", 8, height, width, 3) + b"".join(bytes([k + 1, 0x11, 0]) for k in range(3))
    scan = bytes([3]) + b"".join(bytes([k + 1, 0x00]) for k in range(3)) + bytes([0, 63, 0])
    data = (b"\xFF\xD8" + segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0")
            + segment(0xDB, quant)
            + segment(0xC0, frame)
            + segment(0xC4, bytes([0x00]) + dc_table)
            + segment(0xC4, bytes([0x10]) + ac_table)
            + segment(0xDA, scan) + bytes(bits.out) + b"\xFF\xD9")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------

# The logo sits on the window's grey, so it is drawn on that grey.
LOGO_SIZE = 64
LOGO_BACKGROUND = (90, 90, 90)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in ICONS.items():
        c = Canvas(66, 66, 2.0)
        tile(c)
        draw(c)
        write_png(os.path.join(out, name), 66, 66, c.rgba())

    c = Canvas(32, 32, 1.0)
    emblem(c, 16, 16, 15.5)
    write_ico(os.path.join(out, "Polmera_Beta.ico"), 32, c.rgba())

    # The same emblem for desktops that take icons in the usual theme sizes.
    os.makedirs(os.path.join(out, "icons"), exist_ok=True)
    for size in (16, 32, 48, 64, 128, 256):
        c = Canvas(size, size, 1.0)
        emblem(c, size / 2, size / 2, size / 2 - size / 64)
        write_png(os.path.join(out, "icons", "polmera_%d.png" % size), size, size, c.rgba())

    c = Canvas(LOGO_SIZE, LOGO_SIZE, 1.0, LOGO_BACKGROUND + (1.0,))
    emblem(c, LOGO_SIZE / 2, LOGO_SIZE / 2, LOGO_SIZE / 2 - 3)
    rows = c.rgba()
    rgb = [[tuple(row[4 * x:4 * x + 3]) for x in range(LOGO_SIZE)] for row in rows]
    write_jpeg(os.path.join(out, "PolmeraLogo.jpg"), LOGO_SIZE, LOGO_SIZE, rgb)


if __name__ == "__main__":
    main()
