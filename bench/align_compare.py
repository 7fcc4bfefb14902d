#!/usr/bin/python3
"""Alignment of a mesh of about a million triangles onto a moved copy of
itself: our register_meshes (through align_bench) beside Open3D's
point-to-plane ICP, on the same pair and from the same start.

align_bench moves the copy by 3 degrees and 2.5 percent of the mesh's size and
prints that start; Open3D gets it as its initial transform. The true answer is
the identity, so both are judged by the same measure: the RMS distance by
which the final transform still moves the vertices (residual), as a fraction
of the mesh's size (its bounding-box diagonal). Each side is run REPEATS
times; the best time is kept, and the worst residual.

Our time covers normals, adjacency, both closest-point trees and the
iterations; Open3D's covers its vertex normals and registration_icp (which
builds its own tree), with correspondences up to 5 percent of the size apart
and its default convergence criteria.

Usage (from the source tree, after building the target align_bench):
  bench/align_compare.py BUILD_DIR [MESH.ply] [REPEATS]
The mesh is made by make_big_mesh.py (708 x 708 vertices, 999,698 triangles)
when it does not exist (default BUILD_DIR/align_mesh.ply).
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run_ours(build, mesh, repeats):
    """The start transform (rows) and our runs, each a dict of align_bench's fields."""
    out = subprocess.run([os.path.join(build, "bench", "align_bench"), mesh, str(repeats)],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                         check=True).stdout
    start, runs = None, []
    for line in out.splitlines():
        if line.startswith("start="):
            values = [float(v) for v in line[len("start="):].split(",")]
            start = [values[4 * r:4 * r + 4] for r in range(4)]
        else:
            runs.append({k: float(v) for k, v in (field.split("=") for field in line.split())})
    return start, runs


def run_open3d(mesh_path, start, size, repeats):
    """Open3D's runs: (seconds, its inlier RMSE, our residual measure)."""
    import numpy as np
    import open3d as o3d
    mesh = o3d.io.read_triangle_mesh(mesh_path)
    vertices = np.asarray(mesh.vertices)
    runs = []
    for _ in range(repeats):
        fresh = o3d.geometry.TriangleMesh(mesh)
        begin = time.perf_counter()
        fresh.compute_vertex_normals()
        target = o3d.geometry.PointCloud(fresh.vertices)
        target.normals = fresh.vertex_normals
        source = o3d.geometry.PointCloud(fresh.vertices)
        result = o3d.pipelines.registration.registration_icp(
            source, target, 0.05 * size, np.array(start),
            o3d.pipelines.registration.TransformationEstimationPointToPlane())
        seconds = time.perf_counter() - begin
        xf = result.transformation
        moved = vertices @ xf[:3, :3].T + xf[:3, 3]
        residual = float(np.sqrt(np.mean(np.sum((moved - vertices) ** 2, axis=1))))
        runs.append((seconds, result.inlier_rmse, residual))
    return runs


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    mesh = sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "align_mesh.ply")
    repeats = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    if not os.path.exists(mesh):
        subprocess.run([sys.executable, os.path.join(HERE, "make_big_mesh.py"), mesh, "708"],
                       check=True)

    start, ours = run_ours(build, mesh, repeats)
    size = ours[0]["size"]
    best = min(ours, key=lambda r: r["total"])
    worst_residual = max(r["residual"] for r in ours)
    print(f"mesh {mesh}, size (box diagonal) {size:.4f}, best of {repeats} runs")
    print(f"{'program':<22} {'time s':>8} {'RMS error':>11} {'residual':>10} {'residual/size':>14}")
    print(f"{'register_meshes':<22} {best['total']:>8.3f} {best['rms']:>11.3g} "
          f"{worst_residual:>10.3g} {worst_residual / size:>14.3g}")
    print(f"  normals {best['normals']:.3f} s, adjacency {best['adjacency']:.3f} s, "
          f"trees {best['trees']:.3f} s, iterations {best['iterations']:.3f} s")
    sys.stdout.flush()
    try:
        peer = run_open3d(mesh, start, size, repeats)
    except ImportError:
        print(f"{'Open3D':<22} (not installed: python3-open3d)")
        return
    seconds = min(r[0] for r in peer)
    rmse = max(r[1] for r in peer)
    residual = max(r[2] for r in peer)
    print(f"{'Open3D point-to-plane':<22} {seconds:>8.3f} {rmse:>11.3g} "
          f"{residual:>10.3g} {residual / size:>14.3g}")


if __name__ == "__main__":
    main()
