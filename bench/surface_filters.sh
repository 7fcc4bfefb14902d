#!/usr/bin/env bash
# Whole-process timings of the Gaussian and bilateral filters beside a Loop
# subdivision of the same mesh: a wavy height field of about a million
# triangles roughened by "-noise" as a scan is. Best of ROUNDS (default 5)
# wall-clock seconds per option, and its ratio to "-subDloop". The
# requirement: every ratio at most 4.
#
# Usage: bench/surface_filters.sh [BUILD_FOLDER] [SIZE] [ROUNDS]
#   (build first: cmake --build BUILD_FOLDER --target Stripline)
#   SIZE x SIZE vertices, default 708: 501,264 vertices, 999,698 triangles.
set -euo pipefail

build="${1:-build}"
size="${2:-708}"
rounds="${3:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
stripline="$build/bin/Stripline"
if [ ! -x "$stripline" ]; then
    echo "No $stripline: cmake --build $build --target Stripline" >&2
    exit 1
fi
export POLMERA_NO_VIEWER=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_big_mesh.py" "$work/flat.ply" "$size"
"$stripline" "$work/flat.ply" -noise 0.5 "$work/mesh.ply" >/dev/null 2>&1

. "$here/timing.sh"

options=("-subDloop" "-smooth 1" "-sharpen 1" "-smoothnorm 1" "-bilat 1 1")
declare -A times
# Rounds of every option in turn, the best of each kept: a stretch of other
# work on the machine then slows all of them alike.
for _ in $(seq "$rounds"); do
    for option in "${options[@]}"; do
        # shellcheck disable=SC2086
        times[$option]+=" $(seconds_of "$stripline" "$work/mesh.ply" $option "$work/out.ply")"
    done
done
# shellcheck disable=SC2086
subdivision=$(least ${times[-subDloop]})
printf '%-14s %10s %10s\n' option seconds ratio
for option in "${options[@]}"; do
    # shellcheck disable=SC2086
    best=$(least ${times[$option]})
    printf '%-14s %10.3f %10.2f\n' "$option" "$best" "$(awk -v a="$best" -v b="$subdivision" 'BEGIN { print a / b }')"
done
