#!/usr/bin/env bash
# Whole-process point-cloud normals: Stripline reads a cloud of about a million
# points and writes it with computed normals ("norm:"), timed beside the same
# read and write without normals. Best of three runs each.
#
# Usage: bench/cloud_normals.sh [BUILD_FOLDER] [POINTS]
#   (build first: cmake --build BUILD_FOLDER --target Stripline normals_bench)
set -euo pipefail

build="${1:-build}"
points="${2:-1000000}"
for program in bin/Stripline bench/normals_bench; do
    if [ ! -x "$build/$program" ]; then
        echo "No $build/$program: cmake --build $build --target Stripline normals_bench" >&2
        exit 1
    fi
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/normals_bench" --write "$work/cloud.ply" "$points" 2>/dev/null

. "$(dirname "$0")/timing.sh"

plain=$(best_of_three "$build/bin/Stripline" "$work/cloud.ply" "$work/plain.ply")
normals=$(best_of_three "$build/bin/Stripline" "$work/cloud.ply" "norm:$work/normals.ply")
printf '%s points\n' "$points"
printf '  read and write              %8.3f s\n' "$plain"
printf '  read, normals, write        %8.3f s\n' "$normals"
printf '  normals alone               %8.3f s\n' "$(awk -v a="$normals" -v b="$plain" 'BEGIN { print a - b }')"
