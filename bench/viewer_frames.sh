#!/usr/bin/env bash
# The viewer's load and frame times on a generated mesh of two million
# triangles, drawn by Mesa's software renderer on a virtual display.
#
# Usage: bench/viewer_frames.sh [BUILD_FOLDER] [SIZE]
#   (build first: cmake --build BUILD_FOLDER --target viewer_frame_bench)
set -euo pipefail

build="${1:-build}"
size="${2:-1001}"
if [ ! -x "$build/bench/viewer_frame_bench" ]; then
    echo "No $build/bench/viewer_frame_bench: cmake --build $build --target viewer_frame_bench" >&2
    exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make_big_mesh.py" "$work/big.ply" "$size"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/viewer_frame_bench" "$work/big.ply" 2>/dev/null
