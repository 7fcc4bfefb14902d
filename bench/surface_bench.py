#!/usr/bin/python3
"""Whole-process benchmark of Stripline's subdivision and smoothing against
the peers that Debian packages: OpenMesh (Loop, modified butterfly, midpoint),
VTK (vtkLoopSubdivisionFilter, vtkButterflySubdivisionFilter) and Open3D
(subdivide_loop, subdivide_midpoint, filter_smooth_taubin).

Every run is one process that reads the benchmark mesh (binary PLY), does one
task and writes binary PLY; the wall time of the process is measured, and the
time of the operation alone as the process reports it. Each run is repeated
and the best time kept, since the machine is shared.

Usage (from the source tree, after building Stripline, surface_ops_bench and
openmesh_subdivide):
  bench/surface_bench.py BUILD_DIR [MESH.ply] [REPEATS]
The mesh is made by make_bench_mesh.py when it does not exist (default
BUILD_DIR/bench_mesh.ply).
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# Task: (Stripline option, [(peer, peer's own name for the operation)]).
TASKS = [
    ("-subDloop", [("OpenMesh", "loop"), ("VTK", "loop"), ("Open3D", "loop")]),
    ("-subDfly", [("OpenMesh", "butterfly"), ("VTK", "butterfly")]),
    ("-subD", [("OpenMesh", "midpoint"), ("Open3D", "midpoint")]),
    ("-smooth2 10", [("Open3D", "taubin")]),
    ("-smooth 2", []),
    ("-bilat 2 1", []),
]


def peer_open3d(task, src, dst):
    import open3d as o3d
    mesh = o3d.io.read_triangle_mesh(src)
    start = time.perf_counter()
    if task == "loop":
        mesh = mesh.subdivide_loop(number_of_iterations=1)
    elif task == "midpoint":
        mesh = mesh.subdivide_midpoint(number_of_iterations=1)
    else:
        mesh = mesh.filter_smooth_taubin(number_of_iterations=10)
    seconds = time.perf_counter() - start
    o3d.io.write_triangle_mesh(dst, mesh, write_ascii=False, compressed=False, write_vertex_normals=False)
    return seconds


def peer_vtk(task, src, dst):
    import vtk
    reader = vtk.vtkPLYReader()
    reader.SetFileName(src)
    reader.Update()
    sub = vtk.vtkLoopSubdivisionFilter() if task == "loop" else vtk.vtkButterflySubdivisionFilter()
    sub.SetNumberOfSubdivisions(1)
    sub.SetInputData(reader.GetOutput())
    start = time.perf_counter()
    sub.Update()
    seconds = time.perf_counter() - start
    writer = vtk.vtkPLYWriter()
    writer.SetFileName(dst)
    writer.SetFileTypeToBinary()
    writer.SetInputData(sub.GetOutput())
    writer.Write()
    return seconds


def run_timed(command):
    """Runs a process; returns its wall time and its standard output."""
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    wall = time.perf_counter() - start
    if done.returncode != 0:
        raise RuntimeError("failed: " + " ".join(command))
    return wall, done.stdout


def best_of(repeats, command, op_seconds):
    """Best wall and operation times of `repeats` runs; op_seconds reads the
    operation's time from the output (None when the process does not say)."""
    walls, ops = [], []
    for _ in range(repeats):
        wall, out = run_timed(command)
        walls.append(wall)
        op = op_seconds(out)
        if op is not None:
            ops.append(op)
    return min(walls), (min(ops) if ops else None)


def peer_available(peer, build):
    if peer == "OpenMesh":
        return os.path.exists(os.path.join(build, "bench", "openmesh_subdivide"))
    try:
        __import__("open3d" if peer == "Open3D" else "vtk")
        return True
    except ImportError:
        return False


def peer_command(peer, task, build, src, dst):
    if peer == "OpenMesh":
        return [os.path.join(build, "bench", "openmesh_subdivide"), src, dst, task]
    return [sys.executable, os.path.abspath(__file__), "--peer", peer, task, src, dst]


def parse_op(out):
    for word in out.split():
        if word.startswith("op_seconds="):
            return float(word.split("=")[1])
    return None


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--peer":
        peer, task, src, dst = sys.argv[2:6]
        seconds = (peer_open3d if peer == "Open3D" else peer_vtk)(task, src, dst)
        print(f"op_seconds={seconds:.4f}")
        return
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    mesh = sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "bench_mesh.ply")
    repeats = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    if not os.path.exists(mesh):
        subprocess.run([sys.executable, os.path.join(HERE, "make_bench_mesh.py"), mesh], check=True)

    ours_op = {}
    ops_bench = os.path.join(build, "bench", "surface_ops_bench")
    if os.path.exists(ops_bench):
        _, out = run_timed([ops_bench, mesh, str(repeats)])
        for line in out.splitlines():
            option, seconds = line.split("\t")[:2]
            ours_op[option] = float(seconds)

    stripline = os.path.join(build, "bin", "Stripline")
    print(f"{'task':<12} {'program':<10} {'process s':>10} {'operation s':>12}")
    with tempfile.TemporaryDirectory() as tmp:
        dst = os.path.join(tmp, "out.ply")
        for option, peers in TASKS:
            wall, _ = best_of(repeats, [stripline, mesh, *option.split(), dst], lambda out: None)
            op = ours_op.get(option)
            print(f"{option:<12} {'Stripline':<10} {wall:>10.3f} {op if op is not None else float('nan'):>12.3f}")
            for peer, task in peers:
                if not peer_available(peer, build):
                    print(f"{option:<12} {peer:<10} {'(not installed)':>23}")
                    continue
                wall, op = best_of(repeats, peer_command(peer, task, build, mesh, dst), parse_op)
                print(f"{option:<12} {peer:<10} {wall:>10.3f} {op:>12.3f}   ({task})")
            sys.stdout.flush()


if __name__ == "__main__":
    main()
