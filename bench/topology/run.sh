#!/usr/bin/env bash
# Benchmarks of the topology options on a mesh of about two million triangles.
#
#   bench/topology/run.sh [build-folder] [runs]
#
# The build folder (default "build", a Release configuration) must hold the
# targets Stripline, make_bench_mesh and strip_compare.
#
# 1. Whole Stripline processes (read, option, write) for "-tstrip", "-reorder",
#    "-orient" and "-edgeflip", with a plain read and write as the baseline:
#    best and median wall time of several runs.
# 2. Strip building side by side: ours, meshoptimizer's stripifier and VTK's
#    vtkStripper on the same mesh: strip count, total strip length and time;
#    once with the vertices shuffled and once in the order of use.
# The machine may be shared: compare the best times, and run again when in doubt.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-3}

for program in bin/Stripline bench/topology/make_bench_mesh bench/topology/strip_compare; do
  if [ ! -x "$build/$program" ]; then
    echo "Build the benchmark programs first:"
    echo "  cmake --build $build --target Stripline make_bench_mesh strip_compare"
    exit 1
  fi
done
data=$build/bench-data
mkdir -p "$data"
[ -f "$data/torus.ply" ] && [ -f "$data/torus_mixed.ply" ] || "$build/bench/topology/make_bench_mesh" "$data" >/dev/null

# best and median of the wall times of `runs` runs of a command
time_runs() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=("$(( (end - start) / 1000000 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n |
    awk '{t[NR] = $1} END {printf "best %7.3f s   median %7.3f s\n", t[1] / 1000, t[int((NR + 1) / 2)] / 1000}'
}

echo "Stripline, whole process on $(basename "$data")/torus.ply, $runs runs each"
out=$data/out.ply
printf '  %-24s ' "read and write"; time_runs "$build/bin/Stripline" "$data/torus.ply" "$out"
for option in -tstrip -reorder -edgeflip; do
  printf '  %-24s ' "$option"; time_runs "$build/bin/Stripline" "$data/torus.ply" "$option" "$out"
done
printf '  %-24s ' "-orient (half reversed)"; time_runs "$build/bin/Stripline" "$data/torus_mixed.ply" -orient "$out"
rm -f "$out"

# The same surface with its vertices in the order of use, as most files have them.
[ -f "$data/torus_ordered.ply" ] || "$build/bin/Stripline" "$data/torus.ply" -reorder "$data/torus_ordered.ply" 2>/dev/null
for mesh in torus torus_ordered; do
  echo
  echo "Strip building on $mesh.ply"
  "$build/bench/topology/strip_compare" "$data/$mesh.ply" "$runs" 2>/dev/null
  /usr/bin/python3 bench/topology/vtk_strips.py "$data/$mesh.ply" "$runs"
done
