#!/usr/bin/env bash
# Whole-process point-cloud normals: Stripline reads a cloud and writes it with
# computed normals ("norm:"), timed beside the same read and write without
# normals and, when nanoflann is installed, beside nanoflann_normals, a program
# that reads, fits the same normals with nanoflann's tree and writes. Best of
# three runs each, for clouds of about 400,000 and 1,000,000 points by default.
#
# Usage: bench/cloud_normals.sh [BUILD_FOLDER] [POINTS...]
#   (build first: cmake --build BUILD_FOLDER --target Stripline normals_bench nanoflann_normals)
set -euo pipefail

build="${1:-build}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(400000 1000000)
for program in bin/Stripline bench/normals_bench; do
    if [ ! -x "$build/$program" ]; then
        echo "No $build/$program: cmake --build $build --target Stripline normals_bench" >&2
        exit 1
    fi
done
peer="$build/bench/nanoflann_normals"
[ -x "$peer" ] || echo "No $peer (nanoflann not installed): timing Stripline alone." >&2
export POLMERA_NO_VIEWER=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/timing.sh"

for points in "${sizes[@]}"; do
    "$build/bench/normals_bench" --write "$work/cloud.ply" "$points" 2>/dev/null
    plain=$(best_of_three "$build/bin/Stripline" "$work/cloud.ply" "$work/plain.ply")
    normals=$(best_of_three "$build/bin/Stripline" "$work/cloud.ply" "norm:$work/normals.ply")
    printf '%s points\n' "$points"
    printf '  read and write              %8.3f s\n' "$plain"
    printf '  read, normals, write        %8.3f s\n' "$normals"
    printf '  normals alone               %8.3f s\n' "$(awk -v a="$normals" -v b="$plain" 'BEGIN { print a - b }')"
    if [ -x "$peer" ]; then
        theirs=$(best_of_three "$peer" "$work/cloud.ply" "$work/peer.ply")
        printf '  nanoflann: read, normals, write %8.3f s\n' "$theirs"
    fi
done
