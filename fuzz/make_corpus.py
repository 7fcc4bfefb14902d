#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus: small valid files of every format and
variant the readers take. Run once from anywhere; it writes next to itself
into corpus/mesh (read_mesh and round_trip) and corpus/xform_file."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
V = [(0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)]        # a tetrahedron
F = [(0, 2, 1), (0, 1, 3), (1, 2, 3), (0, 3, 2)]
STRIP = [0, 1, 2, 3, 0, 1]                              # one strip over all four faces
N = [(0.577, 0.577, 0.577)] * 4
C = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (128, 128, 128)]


def lines(rows, fmt):
    return "".join(fmt.format(*r) for r in rows)


def ply_header(encoding, vertex_props, surface, pre=""):
    return ("ply\nformat %s 1.0\ncomment seed\n" % encoding + pre +
            "element vertex %d\n" % len(V) + vertex_props + surface + "end_header\n")


XYZ = "property float x\nproperty float y\nproperty float z\n"
FACES = "element face %d\nproperty list uchar int vertex_indices\n" % len(F)
STRIPS = "element tristrips 1\nproperty list int int vertex_indices\n"
GRID_INFO = "obj_info num_cols 2\nobj_info num_rows 2\n"
GRID = "element range_grid 4\nproperty list uchar int vertex_indices\n"
ALL = XYZ + ("property float nx\nproperty float ny\nproperty float nz\n"
             "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty float confidence\n")


def ply_ascii():
    yield "ascii_faces.ply", ply_header("ascii", XYZ, FACES) + lines(V, "{} {} {}\n") + lines(F, "3 {} {} {}\n")
    yield "ascii_all.ply", (ply_header("ascii", ALL, FACES) +
                            "".join("%g %g %g %g %g %g %d %d %d 0.5\n" % (v + n + c) for v, n, c in zip(V, N, C)) +
                            lines(F, "3 {} {} {}\n"))
    yield "ascii_strips.ply", ply_header("ascii", XYZ, STRIPS) + lines(V, "{} {} {}\n") + "7 0 1 2 3 0 1 -1\n"
    yield "ascii_grid.ply", ply_header("ascii", XYZ, GRID, GRID_INFO) + lines(V, "{} {} {}\n") + "1 0\n1 1\n1 2\n1 3\n"
    yield "ascii_float_colors.ply", (ply_header("ascii", XYZ + "property float diffuse_red\nproperty float diffuse_green\n"
                                                "property float diffuse_blue\n", FACES,
                                                "element material 1\nproperty uchar m\n") +
                                     "7\n" + "".join("%g %g %g 0.5 0.25 1\n" % v for v in V) + lines(F, "3 {} {} {}\n"))


def ply_binary(big):
    e = ">" if big else "<"
    name = "be" if big else "le"
    enc = "binary_big_endian" if big else "binary_little_endian"
    verts = b"".join(struct.pack(e + "3f", *v) for v in V)
    faces = b"".join(struct.pack(e + "B3i", 3, *f) for f in F)
    yield "%s_faces.ply" % name, ply_header(enc, XYZ, FACES).encode() + verts + faces
    yield "%s_all.ply" % name, (ply_header(enc, ALL, FACES).encode() +
                                b"".join(struct.pack(e + "6f3Bf", *(v + n + c + (0.5,))) for v, n, c in zip(V, N, C)) +
                                faces)
    yield "%s_strips.ply" % name, (ply_header(enc, XYZ, STRIPS).encode() + verts +
                                   struct.pack(e + "8i", 7, *STRIP, -1))
    yield "%s_grid.ply" % name, ply_header(enc, XYZ, GRID, GRID_INFO).encode() + verts + b"".join(
        struct.pack(e + "Bi", 1, i) for i in range(4))
    props = "property double x\nproperty double y\nproperty double z\nproperty ushort red\nproperty ushort green\nproperty ushort blue\n"
    yield "%s_double_ushort.ply" % name, (ply_header(enc, props, "element face 4\nproperty list int uint vertex_indices\n").encode() +
                                          b"".join(struct.pack(e + "3d3H", *(v + (65535, 0, 300))) for v in V) +
                                          b"".join(struct.pack(e + "i3I", 3, *f) for f in F))


def text_formats():
    yield "tetra.obj", "# OBJ\n" + lines(V, "v {} {} {}\n") + "".join("f %d %d %d\n" % tuple(i + 1 for i in f) for f in F)
    yield "polygons.obj", ("mtllib m.mtl\no thing\ng group\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 0.5 1\n"
                           "vt 0 0\nvn 0 0 1\nusemtl red\ns 1\nf 1/1/1 2/1/1 3/1/1 4/1/1\nf -5 -4 -1\nt 2 3 5\n"
                           "F 3//1 4//1 5//1 1//1 2//1\n")
    yield "tetra.off", "OFF\n# comment\n4 4 6\n" + lines(V, "{} {} {}\n") + lines(F, "3 {} {} {}\n")
    yield "colors.off", "OFF\n4 1 0\n" + lines(V, "{} {} {}\n") + "4 0 1 2 3 255 0 0\n"
    yield "tetra.coff", "COFF\n4 4 0\n" + "".join("%g %g %g %d %d %d 255\n" % (v + c) for v, c in zip(V, C)) + lines(F, "3 {} {} {}\n")
    yield "float_colors.coff", "COFF\n4 4 0\n" + "".join("%g %g %g 0.5 0.25 1\n" % v for v in V) + lines(F, "3 {} {} {}\n")
    yield "tetra.noff", "NOFF\n4 4 0\n" + "".join("%g %g %g %g %g %g\n" % (v + n) for v, n in zip(V, N)) + lines(F, "3 {} {} {}\n")
    yield "tetra.4off", "4OFF\n4 4 0\n" + "".join("%g %g %g 2\n" % v for v in V) + lines(F, "3 {} {} {}\n")
    yield "tetra.stcnoff", ("STCNOFF\n4 4 0\n" + "".join("%g %g %g %g %g %g 1 0 0 0.5 0.5\n" % (v + n) for v, n in zip(V, N)) +
                            lines(F, "3 {} {} {}\n"))
    yield "tetra.sm", "4\n" + lines(V, "{} {} {}\n") + "4\n" + "".join(
        "%d %d %d\n" % tuple(i + 1 for i in f) for f in F) + "0 0\n"
    yield "vertices_only.sm", "3\n0 0 0\n1 0 0\n0 1 0\n"
    yield "tetra.ray", ("#camera 0 0 1 0 0 -1 0 1 0 0.2\n#background 0 0 0\n#material_num 1\n#vertex_num 4\n" +
                        lines(V, "#vertex {} {} {}  0 0 1  0 0\n") + lines(F, "#shape_triangle 0  {} {} {}\n"))
    yield "vertex_first.ray", "#vertex 0 0 0\n#vertex 1 0 0\n#vertex 0 1 0\n#shape_triangle 0 0 1 2\n"
    yield "tetra_ascii.stl", "solid t\n" + "".join(
        "facet normal 0 0 1\n outer loop\n" + "".join("  vertex %g %g %g\n" % V[i] for i in f) +
        " endloop\nendfacet\n" for f in F) + "endsolid t\n"


def binary_formats():
    stl = b"seed".ljust(80, b" ") + struct.pack("<I", len(F))
    for f in F:
        stl += struct.pack("<3f", 0, 0, 1) + b"".join(struct.pack("<3f", *V[i]) for i in f) + b"\0\0"
    yield "tetra.stl", stl

    def chunk(cid, body):
        return struct.pack("<HI", cid, 6 + len(body)) + body
    verts = chunk(0x4110, struct.pack("<H", len(V)) + b"".join(struct.pack("<3f", *v) for v in V))
    faces = chunk(0x4120, struct.pack("<H", len(F)) + b"".join(struct.pack("<4H", *f, 0) for f in F))
    mesh = chunk(0x4100, verts + faces)
    yield "tetra.3ds", chunk(0x4D4D, chunk(0x0002, b"\3\0\0\0") + chunk(0x3D3D, chunk(0x4000, b"tetra\0" + mesh)))
    vivid = b"VIVID" + bytes(127) + struct.pack(">i", len(V)) + b"".join(struct.pack(">3d", *v) for v in V)
    yield "tetra.vivid", vivid + struct.pack(">i", len(F)) + b"".join(struct.pack(">4i", 3, *f) for f in F)


def xform_files():
    yield "identity.xf", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"
    yield "rotation.xf", "0 -1 0 1.5\n1 0 0 -2.25e-3\n0 0 1 1e+10\n0 0 0 1\n"
    yield "one_line.xf", "2 0 0 0 0 2 0 0\t0 0 2 0 0 0 0 1 extra words\n"


def write(folder, files):
    os.makedirs(os.path.join(HERE, "corpus", folder), exist_ok=True)
    for name, data in files:
        with open(os.path.join(HERE, "corpus", folder, name), "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)


for group in (ply_ascii(), ply_binary(False), ply_binary(True), text_formats(), binary_formats()):
    write("mesh", group)
write("xform_file", xform_files())
