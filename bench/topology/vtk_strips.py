#!/usr/bin/python3
"""Strip building with VTK's vtkStripper on one mesh file, for comparison.

Prints a line like strip_compare's: strips, total strip length (points in all
strips, single leftover triangles counted as strips of three) and the best and
median time of several runs of the stripper alone (reading excluded).
Usage: vtk_strips.py mesh.ply [runs]
"""
import sys
import time

try:
    import vtk
except ImportError:
    print("vtkStripper          not installed (python3-vtk9)")
    sys.exit(0)


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    reader = vtk.vtkPLYReader()
    reader.SetFileName(path)
    reader.Update()
    mesh = vtk.vtkPolyData()
    mesh.DeepCopy(reader.GetOutput())
    stripper = vtk.vtkStripper()
    stripper.SetInputData(mesh)
    stripper.SetMaximumLength(100000)
    seconds = []
    for _ in range(runs):
        stripper.Modified()
        start = time.perf_counter()
        stripper.Update()
        seconds.append(time.perf_counter() - start)
    out = stripper.GetOutput()
    strips = out.GetNumberOfStrips()
    length = out.GetStrips().GetNumberOfConnectivityIds()
    leftover = out.GetNumberOfPolys()
    seconds.sort()
    print("%-20s strips %9d   total length %10d   best %7.4f s   median %7.4f s"
          % ("vtkStripper", strips + leftover, length + 3 * leftover, seconds[0],
             seconds[len(seconds) // 2]))


main()
