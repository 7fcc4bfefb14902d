#!/usr/bin/env python3
"""Writes a large test mesh as binary little-endian PLY.

A wavy height field of SIZE x SIZE vertices (default 1001, so 1,002,001
vertices and 2,000,000 triangles), positions only.

Usage: make_big_mesh.py OUTPUT.ply [SIZE]
"""
import math
import struct
import sys
from array import array


def heights(size):
    step = 1.0 / (size - 1)
    for y in range(size):
        for x in range(size):
            u, v = x * step, y * step
            yield u, v, 0.05 * math.sin(12.0 * u) * math.cos(9.0 * v)


def faces(size):
    record = struct.Struct("<Biii")
    for y in range(size - 1):
        row = y * size
        for x in range(size - 1):
            ll = row + x
            lr, ul = ll + 1, ll + size
            yield record.pack(3, ll, lr, ul + 1)
            yield record.pack(3, ll, ul + 1, ul)


def main():
    path = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 1001
    positions = array("f")
    for p in heights(size):
        positions.extend(p)
    if sys.byteorder != "little":
        positions.byteswap()
    nfaces = 2 * (size - 1) ** 2
    header = (
        "ply\nformat binary_little_endian 1.0\n"
        f"element vertex {size * size}\n"
        "property float x\nproperty float y\nproperty float z\n"
        f"element face {nfaces}\n"
        "property list uchar int vertex_indices\nend_header\n"
    )
    with open(path, "wb") as out:
        out.write(header.encode("ascii"))
        out.write(positions.tobytes())
        out.write(b"".join(faces(size)))


if __name__ == "__main__":
    main()
