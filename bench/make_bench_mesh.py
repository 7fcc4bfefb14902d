#!/usr/bin/env python3
"""Writes the benchmark mesh: a closed, bumpy torus of about a million
triangles with the irregular valences of a scanned and simplified surface.

A regular torus of twice the wanted triangle count is built and then reduced
to the wanted count by Open3D's quadric decimation, which leaves vertices of
valence 3 to 10 as real meshes have. Without Open3D the regular torus of the
wanted count is written instead (every vertex of valence 6).

Usage: make_bench_mesh.py OUTPUT.ply [TRIANGLES]
"""
import math
import struct
import sys

import numpy as np


def bumpy_torus(triangles):
    sides = int(round(math.sqrt(triangles / 4)))
    rings = max(3, triangles // (2 * sides))
    u = np.repeat(np.arange(rings) * 2 * math.pi / rings, sides)
    v = np.tile(np.arange(sides) * 2 * math.pi / sides, rings)
    r = 0.35 + 0.02 * np.sin(9 * u) * np.cos(7 * v) + 0.01 * np.sin(31 * u + 17 * v)
    xyz = np.stack([(1 + r * np.cos(v)) * np.cos(u), (1 + r * np.cos(v)) * np.sin(u), r * np.sin(v)], 1)
    i, j = np.meshgrid(np.arange(rings), np.arange(sides), indexing="ij")
    a = i * sides + j
    b = ((i + 1) % rings) * sides + j
    c = ((i + 1) % rings) * sides + (j + 1) % sides
    d = i * sides + (j + 1) % sides
    faces = np.concatenate([np.stack([a, b, c], -1).reshape(-1, 3), np.stack([a, c, d], -1).reshape(-1, 3)])
    return xyz.astype(np.float32), faces.astype(np.int32)


def write_ply(path, xyz, faces):
    header = ("ply\nformat binary_little_endian 1.0\n"
              f"element vertex {len(xyz)}\nproperty float x\nproperty float y\nproperty float z\n"
              f"element face {len(faces)}\nproperty list uchar int vertex_indices\nend_header\n")
    records = np.zeros(len(faces), dtype=[("n", "u1"), ("v", "<i4", 3)])
    records["n"] = 3
    records["v"] = faces
    with open(path, "wb") as f:
        f.write(header.encode("ascii"))
        f.write(xyz.astype("<f4").tobytes())
        f.write(records.tobytes())


def main():
    out = sys.argv[1]
    triangles = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    try:
        import open3d as o3d
    except ImportError:
        o3d = None
    if o3d is None:
        write_ply(out, *bumpy_torus(triangles))
        return
    xyz, faces = bumpy_torus(2 * triangles)
    mesh = o3d.geometry.TriangleMesh(o3d.utility.Vector3dVector(xyz.astype(np.float64)),
                                     o3d.utility.Vector3iVector(faces))
    mesh = mesh.simplify_quadric_decimation(triangles)
    mesh.remove_unreferenced_vertices()
    write_ply(out, np.asarray(mesh.vertices, dtype=np.float32), np.asarray(mesh.triangles, dtype=np.int32))


if __name__ == "__main__":
    main()
