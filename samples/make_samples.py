#!/usr/bin/env python3
"""Generates the bundled sample meshes.

bumpy_torus.ply: a torus with a ripple on its surface and a colour that follows
the ripple, as binary little-endian PLY with byte colours (2,304 vertices,
4,608 triangles). Run from anywhere; it writes next to itself.
"""
import math
import os
import struct

RINGS, SIDES = 64, 36
MAJOR, MINOR = 1.0, 0.35


def torus():
    vertices, colors, faces = [], [], []
    for i in range(RINGS):
        u = 2 * math.pi * i / RINGS
        for j in range(SIDES):
            v = 2 * math.pi * j / SIDES
            ripple = 0.04 * math.sin(5 * u) * math.cos(3 * v)
            r = MINOR + ripple
            x = (MAJOR + r * math.cos(v)) * math.cos(u)
            y = (MAJOR + r * math.cos(v)) * math.sin(u)
            z = r * math.sin(v)
            vertices.append((x, y, z))
            t = 0.5 + ripple / 0.08
            colors.append((int(255 * t), int(120 + 80 * math.cos(v)), int(255 * (1 - t))))
    for i in range(RINGS):
        for j in range(SIDES):
            a = i * SIDES + j
            b = ((i + 1) % RINGS) * SIDES + j
            c = ((i + 1) % RINGS) * SIDES + (j + 1) % SIDES
            d = i * SIDES + (j + 1) % SIDES
            faces.append((a, b, c))
            faces.append((a, c, d))
    return vertices, colors, faces


def write_ply(path, vertices, colors, faces):
    header = (
        "ply\nformat binary_little_endian 1.0\n"
        "comment bumpy torus made by make_samples.py\n"
        f"element vertex {len(vertices)}\n"
        "property float x\nproperty float y\nproperty float z\n"
        "property uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar diffuse_blue\n"
        f"element face {len(faces)}\n"
        "property list uchar int vertex_indices\nend_header\n"
    )
    with open(path, "wb") as f:
        f.write(header.encode("ascii"))
        for p, c in zip(vertices, colors):
            f.write(struct.pack("<fffBBB", *p, *c))
        for t in faces:
            f.write(struct.pack("<Biii", 3, *t))


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_ply(os.path.join(here, "bumpy_torus.ply"), *torus())
