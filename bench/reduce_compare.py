#!/usr/bin/python3
"""Reduction benchmark: Tidegate's reduction (meshoptimizer's edge collapse)
beside OpenMesh's quadric decimater and VTK's vtkQuadricDecimation, on a bumpy
torus of a million triangles, reduced to 10% and to 1%.

For each: the time of the reduction alone (as each program reports it; the
best of REPEATS runs, since the machine is shared), the triangles reached,
and the symmetric Hausdorff distance from the original surface, sampled:
from every original vertex to the reduced surface, and from the reduced
vertices and a million random points on the reduced triangles to the
original surface (point to triangle, with VTK's implicit distance). Distances are
in units of the torus's major radius (1).

Usage (from the source tree, after building make_bench_mesh, reduce_bench and
openmesh_decimate):
  bench/reduce_compare.py BUILD_DIR [REPEATS]
"""
import os
import subprocess
import sys
import tempfile
import time


def run_program(command):
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout.split()
    return float(out[0]), int(out[1])


def read_ply(path):
    import vtk
    reader = vtk.vtkPLYReader()
    reader.SetFileName(path)
    reader.Update()
    return reader.GetOutput()


def vtk_decimate(src, dst, target_faces):
    import vtk
    mesh = read_ply(src)
    decimate = vtk.vtkQuadricDecimation()
    decimate.SetInputData(mesh)
    decimate.SetTargetReduction(1 - target_faces / mesh.GetNumberOfPolys())
    start = time.perf_counter()
    decimate.Update()
    seconds = time.perf_counter() - start
    writer = vtk.vtkPLYWriter()
    writer.SetFileName(dst)
    writer.SetInputData(decimate.GetOutput())
    writer.Write()
    return seconds, decimate.GetOutput().GetNumberOfPolys()


def one_way(points, surface):
    """Largest distance from points (an N x 3 array) to the triangles of a surface."""
    import numpy as np
    import vtk
    from vtk.util.numpy_support import numpy_to_vtk, vtk_to_numpy
    implicit = vtk.vtkImplicitPolyDataDistance()
    implicit.SetInput(surface)
    values = vtk.vtkDoubleArray()
    implicit.FunctionValue(numpy_to_vtk(np.ascontiguousarray(points, dtype=np.float64)), values)
    return float(np.abs(vtk_to_numpy(values)).max())


def surface_samples(mesh, count):
    """About `count` points spread over the triangles of a mesh, the corners included."""
    import numpy as np
    from vtk.util.numpy_support import vtk_to_numpy
    points = vtk_to_numpy(mesh.GetPoints().GetData()).astype(np.float64)
    triangles = vtk_to_numpy(mesh.GetPolys().GetConnectivityArray()).reshape(-1, 3)
    per_face = max(1, count // len(triangles))
    rng = np.random.default_rng(1)
    u, v = rng.random((2, per_face, 1))
    flip = u + v > 1
    u, v = np.where(flip, 1 - u, u), np.where(flip, 1 - v, v)
    a, b, c = (points[triangles[:, k]] for k in range(3))
    inside = (a[None] + u[:, None] * (b - a)[None] + v[:, None] * (c - a)[None]).reshape(-1, 3)
    return np.concatenate([points, inside])


def hausdorff(original, original_points, reduced_path):
    reduced = read_ply(reduced_path)
    return max(one_way(original_points, reduced), one_way(surface_samples(reduced, 1000000), original))


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 1
    build = sys.argv[1]
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    data = os.path.join(build, "bench-data", "reduce")
    os.makedirs(data, exist_ok=True)
    mesh = os.path.join(data, "torus.ply")
    if not os.path.exists(mesh):
        subprocess.run([os.path.join(build, "bench", "topology", "make_bench_mesh"), data, "500", "1000"],
                       check=True, capture_output=True)
    original = read_ply(mesh)
    from vtk.util.numpy_support import vtk_to_numpy
    original_points = vtk_to_numpy(original.GetPoints().GetData())
    total = original.GetNumberOfPolys()
    peers = [("Tidegate (meshoptimizer)", lambda s, d, n: run_program(
        [os.path.join(build, "bench", "reduce_bench"), s, d, str(n)]))]
    openmesh = os.path.join(build, "bench", "openmesh_decimate")
    if os.path.exists(openmesh):
        peers.append(("OpenMesh decimater", lambda s, d, n: run_program([openmesh, s, d, str(n)])))
    else:
        print("OpenMesh not built: compared without it")
    peers.append(("VTK vtkQuadricDecimation", vtk_decimate))

    print(f"{total} triangles; best of {repeats} runs; Hausdorff distance sampled, in major radii")
    print(f"{'target':>8} {'program':<28} {'seconds':>8} {'triangles':>10} {'Hausdorff':>10}")
    with tempfile.TemporaryDirectory() as tmp:
        for share in (0.10, 0.01):
            target = int(total * share)
            for name, reduce in peers:
                out = os.path.join(tmp, "out.ply")
                best = None
                for _ in range(repeats):
                    seconds, faces = reduce(mesh, out, target)
                    best = seconds if best is None else min(best, seconds)
                distance = hausdorff(original, original_points, out)
                print(f"{share:>7.0%} {name:<28} {best:>8.3f} {faces:>10} {distance:>10.5f}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
