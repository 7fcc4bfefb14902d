#!/usr/bin/python3
"""Mesh files exchanged with other programs.

Files that Open3D, VTK and the assimp tool write are read by Stripline with the
same vertices and triangles, and files that Stripline writes open in those
programs with the same vertices and triangles.

Usage: interop_test.py STRIPLINE. Exits 77 (skipped) when none of the other
programs is installed.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import numpy as np
except ImportError:  # without numpy none of the Python peers can be there
    np = None

try:
    import open3d as o3d
    o3d.utility.set_verbosity_level(o3d.utility.VerbosityLevel.Error)
except ImportError:
    o3d = None

try:
    import vtk
    from vtk.util.numpy_support import vtk_to_numpy
except ImportError:
    vtk = None

ASSIMP = shutil.which("assimp")
STRIPLINE = None


# --- Meshes as (positions N x 3, triangles M x 3) ------------------------------

def sample_mesh():
    """A closed sphere-like mesh with distinct, exactly representable-ish positions."""
    rings, sides = 8, 12
    verts = [(0.0, 0.0, 1.0)]
    for i in range(1, rings):
        t = np.pi * i / rings
        for j in range(sides):
            p = 2 * np.pi * j / sides
            verts.append((np.sin(t) * np.cos(p), np.sin(t) * np.sin(p), np.cos(t)))
    verts.append((0.0, 0.0, -1.0))
    verts = np.array(verts, dtype=np.float32)
    tris = []
    for j in range(sides):
        tris.append((0, 1 + j, 1 + (j + 1) % sides))
    for i in range(rings - 2):
        a, b = 1 + i * sides, 1 + (i + 1) * sides
        for j in range(sides):
            j2 = (j + 1) % sides
            tris.append((a + j, b + j, b + j2))
            tris.append((a + j, b + j2, a + j2))
    last = len(verts) - 1
    base = 1 + (rings - 2) * sides
    for j in range(sides):
        tris.append((last, base + (j + 1) % sides, base + j))
    return verts, np.array(tris, dtype=np.int64)


def triangle_set(verts, tris, digits=5):
    """Triangles as a sorted list of corner positions, each triangle rotated to
    start at its smallest corner, so that renumbered vertices compare equal."""
    out = []
    for t in tris:
        corners = [tuple(np.round(verts[i].astype(np.float64), digits)) for i in t]
        k = corners.index(min(corners))
        out.append(tuple(corners[k:] + corners[:k]))
    return sorted(out)


def read_ascii_ply(path):
    """Vertices and triangles of an ASCII PLY written by Stripline."""
    with open(path) as f:
        lines = f.read().split("\n")
    nv = nf = 0
    i = 0
    while lines[i] != "end_header":
        w = lines[i].split()
        if w[:2] == ["element", "vertex"]:
            nv = int(w[2])
        if w[:2] == ["element", "face"]:
            nf = int(w[2])
        i += 1
    i += 1
    verts = np.array([[float(x) for x in lines[i + k].split()[:3]] for k in range(nv)], dtype=np.float32)
    tris = np.array([[int(x) for x in lines[i + nv + k].split()[1:4]] for k in range(nf)], dtype=np.int64)
    return verts, tris.reshape(-1, 3)


def stripline(*args):
    result = subprocess.run([STRIPLINE, *args], capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError(f"Stripline {' '.join(args)} failed:\n{result.stderr}")
    return result


def read_with_stripline(path, folder):
    out = os.path.join(folder, "as_read.ply")
    stripline(path, "ply_ascii:" + out)
    return read_ascii_ply(out)


def write_with_stripline(verts, tris, folder, name):
    """Writes the mesh in Stripline's own ASCII PLY, then lets Stripline write `name`."""
    src = os.path.join(folder, "source.ply")
    with open(src, "w") as f:
        f.write(f"ply\nformat ascii 1.0\nelement vertex {len(verts)}\n"
                "property float x\nproperty float y\nproperty float z\n"
                f"element face {len(tris)}\nproperty list uchar int vertex_indices\nend_header\n")
        for v in verts:
            f.write(f"{v[0]:.9g} {v[1]:.9g} {v[2]:.9g}\n")
        for t in tris:
            f.write(f"3 {t[0]} {t[1]} {t[2]}\n")
    prefixes, _, file = name.rpartition(":")
    out = os.path.join(folder, file)
    stripline(src, prefixes + ":" + out if prefixes else out)
    return out


# --- The peers' readers and writers -------------------------------------------

def o3d_mesh(verts, tris):
    m = o3d.geometry.TriangleMesh()
    m.vertices = o3d.utility.Vector3dVector(verts.astype(np.float64))
    m.triangles = o3d.utility.Vector3iVector(tris.astype(np.int32))
    return m


def o3d_read(path):
    m = o3d.io.read_triangle_mesh(path)
    return np.asarray(m.vertices, dtype=np.float32), np.asarray(m.triangles, dtype=np.int64)


def vtk_polydata(verts, tris):
    points = vtk.vtkPoints()
    for v in verts:
        points.InsertNextPoint(*map(float, v))
    cells = vtk.vtkCellArray()
    for t in tris:
        cells.InsertNextCell(3, [int(i) for i in t])
    poly = vtk.vtkPolyData()
    poly.SetPoints(points)
    poly.SetPolys(cells)
    return poly


def vtk_arrays(poly):
    verts = vtk_to_numpy(poly.GetPoints().GetData()).astype(np.float32)
    tris = []
    ids = vtk.vtkIdList()
    polys = poly.GetPolys()
    polys.InitTraversal()
    while polys.GetNextCell(ids):
        n = ids.GetNumberOfIds()
        for k in range(1, n - 1):
            tris.append((ids.GetId(0), ids.GetId(k), ids.GetId(k + 1)))
    return verts, np.array(tris, dtype=np.int64).reshape(-1, 3)


VTK_READERS = {".ply": "vtkPLYReader", ".obj": "vtkOBJReader", ".stl": "vtkSTLReader"}
VTK_WRITERS = {".ply": "vtkPLYWriter", ".obj": "vtkOBJWriter", ".stl": "vtkSTLWriter"}


def vtk_read(path):
    reader = getattr(vtk, VTK_READERS[os.path.splitext(path)[1]])()
    reader.SetFileName(path)
    reader.Update()
    return vtk_arrays(reader.GetOutput())


def vtk_write(verts, tris, path, binary):
    writer = getattr(vtk, VTK_WRITERS[os.path.splitext(path)[1]])()
    writer.SetFileName(path)
    writer.SetInputData(vtk_polydata(verts, tris))
    if hasattr(writer, "SetFileTypeToBinary"):
        if binary:
            writer.SetFileTypeToBinary()
        else:
            writer.SetFileTypeToASCII()
    if not writer.Write():
        raise AssertionError(f"VTK could not write {path}")


def assimp_export(src, dst, fmt):
    result = subprocess.run([ASSIMP, "export", src, dst, "-f" + fmt], capture_output=True, text=True)
    if result.returncode != 0 or not os.path.exists(dst):
        raise AssertionError(f"assimp export {fmt} failed:\n{result.stdout}{result.stderr}")


def assimp_read(path, folder):
    """What assimp reads from a file, passed on as an ASCII PLY that it writes."""
    out = os.path.join(folder, "assimp_view.ply")
    assimp_export(path, out, "ply")
    return read_with_stripline(out, folder)


# --- Tests ---------------------------------------------------------------------

class Exchange(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="polmera-interop-")
        self.verts, self.tris = sample_mesh()

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def assertSameIndexed(self, got, msg):
        """Same vertices in the same order and the same triangles."""
        verts, tris = got
        self.assertEqual(verts.shape, self.verts.shape, msg)
        np.testing.assert_allclose(verts, self.verts, rtol=0, atol=1e-6, err_msg=msg)
        self.assertEqual(tris.tolist(), self.tris.tolist(), msg)

    def assertSameSurface(self, got, msg, welded=True):
        """The same triangles by their corner positions; with `welded` also the
        same number of distinct vertices."""
        verts, tris = got
        self.assertEqual(triangle_set(verts, tris), triangle_set(self.verts, self.tris), msg)
        if welded:
            self.assertEqual(len(verts), len(self.verts), msg)


@unittest.skipIf(o3d is None, "Open3D's Python module (python3-open3d) is not installed")
class WithOpen3D(Exchange):
    def test_files_written_by_open3d_read_here(self):
        mesh = o3d_mesh(self.verts, self.tris)
        for name, kwargs in [("o.ply", {}), ("oa.ply", {"write_ascii": True}),
                             ("o.obj", {}), ("o.off", {})]:
            path = self.path(name)
            self.assertTrue(o3d.io.write_triangle_mesh(path, mesh, **kwargs), name)
            self.assertSameIndexed(read_with_stripline(path, self.folder), name)
        mesh.compute_triangle_normals()
        mesh.compute_vertex_normals()
        path = self.path("o.stl")
        self.assertTrue(o3d.io.write_triangle_mesh(path, mesh))
        self.assertSameSurface(read_with_stripline(path, self.folder), "o.stl")

    def test_attributes_written_by_open3d_read_here(self):
        mesh = o3d_mesh(self.verts, self.tris)
        mesh.compute_vertex_normals()
        colors = np.linspace(0, 1, 3 * len(self.verts)).reshape(-1, 3)
        mesh.vertex_colors = o3d.utility.Vector3dVector(colors)
        for ascii in (False, True):
            path = self.path("colored.ply")
            o3d.io.write_triangle_mesh(path, mesh, write_ascii=ascii)
            out = self.path("back.ply")
            stripline(path, "cflt:norm:ply_ascii:" + out)
            with open(out) as f:
                text = f.read().split("end_header\n")[1].split("\n")
            rows = np.array([[float(x) for x in line.split()] for line in text[:len(self.verts)]])
            self.assertEqual(rows.shape, (len(self.verts), 9))
            np.testing.assert_allclose(rows[:, 3:6], np.asarray(mesh.vertex_normals), atol=1e-6)
            # Open3D stores colours as bytes.
            np.testing.assert_allclose(rows[:, 6:9], colors, atol=0.5 / 255 + 1e-6)

    def test_files_written_here_open_in_open3d(self):
        for name in ["h.ply", "ply_ascii:ha.ply", "be:hb.ply", "h.obj", "h.off"]:
            path = write_with_stripline(self.verts, self.tris, self.folder, name)
            self.assertSameIndexed(o3d_read(path), name)
        for name in ["h.stl", "stl_ascii:ha.stl"]:
            path = write_with_stripline(self.verts, self.tris, self.folder, name)
            self.assertSameSurface(o3d_read(path), name, welded=False)


@unittest.skipIf(vtk is None, "VTK's Python module (python3-vtk9) is not installed")
class WithVTK(Exchange):
    def test_files_written_by_vtk_read_here(self):
        for name, binary in [("v.ply", True), ("va.ply", False), ("v.obj", False)]:
            path = self.path(name)
            vtk_write(self.verts, self.tris, path, binary)
            self.assertSameIndexed(read_with_stripline(path, self.folder), name)
        for name, binary in [("v.stl", True), ("va.stl", False)]:
            path = self.path(name)
            vtk_write(self.verts, self.tris, path, binary)
            self.assertSameSurface(read_with_stripline(path, self.folder), name)

    def test_files_written_here_open_in_vtk(self):
        for name in ["h.ply", "ply_ascii:ha.ply", "be:hb.ply", "h.obj"]:
            path = write_with_stripline(self.verts, self.tris, self.folder, name)
            self.assertSameIndexed(vtk_read(path), name)
        for name in ["h.stl", "stl_ascii:ha.stl"]:
            path = write_with_stripline(self.verts, self.tris, self.folder, name)
            self.assertSameSurface(vtk_read(path), name)


@unittest.skipIf(ASSIMP is None, "the assimp tool (assimp-utils) is not installed")
class WithAssimp(Exchange):
    def test_files_written_by_assimp_read_here(self):
        src = write_with_stripline(self.verts, self.tris, self.folder, "src.obj")
        for name, fmt in [("a.ply", "ply"), ("ab.ply", "plyb"), ("a.obj", "obj"), ("a.stl", "stl"),
                          ("ab.stl", "stlb"), ("a.3ds", "3ds")]:
            path = self.path(name)
            assimp_export(src, path, fmt)
            # assimp may split vertices per corner; the surface stays the same.
            self.assertSameSurface(read_with_stripline(path, self.folder), name, welded=False)

    def test_files_written_here_open_in_assimp(self):
        for name in ["h.ply", "ply_ascii:ha.ply", "be:hb.ply", "h.obj", "h.off", "h.stl", "stl_ascii:ha.stl"]:
            path = write_with_stripline(self.verts, self.tris, self.folder, name)
            self.assertSameSurface(assimp_read(path, self.folder), name, welded=False)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    STRIPLINE = sys.argv.pop(1)
    if np is None or (o3d is None and vtk is None and ASSIMP is None):
        print("Skipped: none of Open3D, VTK or assimp is installed "
              "(Debian packages python3-open3d, python3-vtk9, assimp-utils).")
        sys.exit(77)
    unittest.main(verbosity=2)
