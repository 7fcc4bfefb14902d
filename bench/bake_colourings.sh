#!/usr/bin/env bash
# Whole-process timings of bake's costlier colourings on a generated mesh of
# about a million triangles, beside their peers in the same run:
#   "acc" (eight k-d tree probes per vertex) against Stripline computing
#   point-cloud normals for the same vertices (tree, twelve neighbours each);
#   "shape" with smoothing against ensure_curvatures on the same mesh.
# "ao" and "ao2" (against a noisy copy) are timed alongside. Best of ROUNDS
# (default 5). The requirement: each ratio below 3.
#
# Usage: bench/bake_colourings.sh [BUILD_FOLDER] [SIZE] [ROUNDS]
#   (build first: cmake --build BUILD_FOLDER --target bake Stripline bake_timing)
#   SIZE x SIZE vertices, default 708: 501,264 vertices, 999,698 triangles.
set -euo pipefail

build="${1:-build}"
size="${2:-708}"
rounds="${3:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
for program in bin/bake bin/Stripline bench/bake_timing; do
    if [ ! -x "$build/$program" ]; then
        echo "No $build/$program: cmake --build $build --target bake Stripline bake_timing" >&2
        exit 1
    fi
done
export POLMERA_NO_VIEWER=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_big_mesh.py" "$work/mesh.ply" "$size"
"$build/bench/bake_timing" cloud "$work/mesh.ply" "$work/cloud.ply" 2>/dev/null
"$build/bin/Stripline" "$work/mesh.ply" -noise 1 "$work/reference.ply" >/dev/null 2>&1

. "$here/timing.sh"

# Rounds of every timing in turn, the best of each kept: a stretch of other
# work on the machine then slows all of them alike.
bake="$build/bin/bake"
names=(normals acc curvatures shape ao ao2)
declare -A times
for _ in $(seq "$rounds"); do
    times[normals]+=" $(seconds_of "$build/bin/Stripline" "$work/cloud.ply" "norm:$work/cloud_normals.ply")"
    times[acc]+=" $(seconds_of "$bake" "$work/mesh.ply" acc 1 0 "$work/acc.ply")"
    times[curvatures]+=" $("$build/bench/bake_timing" curvatures "$work/mesh.ply" 2>/dev/null)"
    times[shape]+=" $(seconds_of "$bake" "$work/mesh.ply" shape 1 1 "$work/shape.ply")"
    times[ao]+=" $(seconds_of "$bake" "$work/mesh.ply" ao 1 1 "$work/ao.ply")"
    times[ao2]+=" $(seconds_of "$bake" "$work/mesh.ply" ao2 "$work/reference.ply" 0.01 "$work/ao2.ply")"
done
for name in "${names[@]}"; do
    # shellcheck disable=SC2086
    declare "$name=$(least ${times[$name]})"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf '%s x %s vertices, %s triangles, %s cores\n' "$size" "$size" "$((2 * (size - 1) * (size - 1)))" "$(nproc)"
printf '  Stripline, point-cloud normals (whole process)   %8.3f s\n' "$normals"
printf '  bake acc 1 0 (whole process)                      %8.3f s   %s x the normals (must be below 3)\n' \
    "$acc" "$(ratio "$acc" "$normals")"
printf '  ensure_curvatures (in process)                    %8.3f s\n' "$curvatures"
printf '  bake shape 1 1 (whole process)                    %8.3f s   %s x the curvatures (must be below 3)\n' \
    "$shape" "$(ratio "$shape" "$curvatures")"
printf '  bake ao 1 1 (whole process)                       %8.3f s\n' "$ao"
printf '  bake ao2 against a noisy copy, 0.01 (whole proc.) %8.3f s\n' "$ao2"
