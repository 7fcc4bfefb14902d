#!/usr/bin/env python3
"""Stress run of the whole Stripline pipeline on ten million triangles.

Generates (once) a wavy height field of 2237 x 2237 vertices, 9,999,392
triangles, and runs
    Stripline big.ply -smooth 1 -subDloop -tstrip out.ply
as one process (binary PLY out; the subdivision makes about 40 million
triangles). The time of each stage comes from when the process reports the
stage done on its progress stream; peak memory is the process's maximum
resident size, reported in bytes per input and per output triangle.

Usage (from the source tree, after building Stripline):
  bench/pipeline_stress.py BUILD_DIR [SIZE]
The mesh and the output go to BUILD_DIR/stress/ (about 700 MB).
"""
import os
import resource
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# The stages in pipeline order.
STAGES = ["read", "-smooth 1", "-subDloop", "-tstrip", "write binary PLY"]


def stage_ends(lines):
    """Maps each stage to the time the progress line that ends it arrived."""
    ends = {}
    for stamp, line in lines:
        if line.startswith("  Reading ") and "faces" in line and "Done." in line:
            ends["read"] = stamp
        elif line.startswith("Smoothing... Done."):
            ends["-smooth 1"] = stamp
        elif line.startswith("Subdividing mesh... Done."):
            ends["-subDloop"] = stamp
        elif line.startswith("  ") and "strips (Avg. length" in line:
            ends["-tstrip"] = stamp
        elif line.startswith("Writing ") and line.rstrip().endswith("Done."):
            ends["write binary PLY"] = stamp
    return ends


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 2237
    work = os.path.join(build, "stress")
    os.makedirs(work, exist_ok=True)
    mesh = os.path.join(work, f"height_{size}.ply")
    out = os.path.join(work, "out.ply")
    in_triangles = 2 * (size - 1) ** 2
    if not os.path.exists(mesh):
        print(f"Generating {in_triangles:,} triangles into {mesh}...", flush=True)
        subprocess.run([sys.executable, os.path.join(HERE, "make_big_mesh.py"), mesh, str(size)],
                       check=True)

    env = dict(os.environ, POLMERA_NO_VIEWER="1")
    command = [os.path.join(build, "bin", "Stripline"), mesh, "-smooth", "1", "-subDloop", "-tstrip", out]
    start = time.monotonic()
    proc = subprocess.Popen(command, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, env=env, text=True)
    lines = [(time.monotonic() - start, line) for line in proc.stderr]
    status = proc.wait()
    total = time.monotonic() - start
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    if status != 0:
        sys.exit("Stripline failed:\n" + "".join(line for _, line in lines[-10:]))

    ends = stage_ends(lines)
    out_triangles = 4 * in_triangles
    print(f"{in_triangles:,} triangles in, {out_triangles:,} out; "
          f"output {os.path.getsize(out) / 2**20:.0f} MiB")
    previous = 0.0
    for name in STAGES:
        if name not in ends:
            sys.exit(f"no end of stage {name} in the progress output")
        print(f"  {name:18s} {ends[name] - previous:7.2f} s")
        previous = ends[name]
    print(f"  {'whole process':18s} {total:7.2f} s")
    print(f"peak memory {peak / 2**30:.2f} GiB: {peak / in_triangles:.0f} bytes per input triangle, "
          f"{peak / out_triangles:.0f} per output triangle")
    os.remove(out)


if __name__ == "__main__":
    main()
