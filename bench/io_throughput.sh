#!/usr/bin/env bash
# Whole-process throughput of mesh reading and writing. Makes a mesh of about
# 2 million triangles, then times in one run, side by side:
#   cp of the binary PLY file (the floor: what the disk and page cache allow),
#   Stripline reading and writing binary PLY, ASCII PLY and OBJ,
#   Stripline only reading each of them (no output argument).
# Each time is the best of three runs. MB/s counts the bytes read plus the
# bytes written.
#
# Usage: bench/io_throughput.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-build}"
stripline="$build/bin/Stripline"
if [ ! -x "$stripline" ]; then
    echo "No $stripline: build the suite first." >&2
    exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "Making the test meshes..."
python3 "$here/make_big_mesh.py" "$work/big.ply"
"$stripline" "$work/big.ply" "ascii:$work/big_ascii.ply" 2>/dev/null
"$stripline" "$work/big.ply" "$work/big.obj" 2>/dev/null

size_of() { stat -c %s "$1"; }

# calc EXPRESSION: floating-point arithmetic.
calc() { awk "BEGIN { print $1 }"; }

# best_seconds COMMAND...: the shortest wall time of three runs.
best_seconds() {
    local best="" start end t
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" 2>/dev/null
        end=$(date +%s%N)
        t=$(calc "($end - $start) / 1e9")
        if [ -z "$best" ] || [ "$(calc "$t < $best")" = 1 ]; then
            best=$t
        fi
    done
    echo "$best"
}

cp_seconds=""
# report NAME INPUT OUTPUT(or "") COMMAND...
report() {
    local name=$1 input=$2 output=$3
    shift 3
    rm -f "$work"/out.*
    local seconds bytes
    seconds=$(best_seconds "$@")
    bytes=$(size_of "$input")
    if [ -n "$output" ]; then
        bytes=$((bytes + $(size_of "$output")))
    fi
    local ratio=""
    if [ -n "$cp_seconds" ]; then
        ratio=$(printf "%.1fx the time of cp" "$(calc "$seconds / $cp_seconds")")
    fi
    printf "%-32s %9.1f MB %8.3f s %9.1f MB/s  %s\n" "$name" "$(calc "$bytes / 1e6")" \
        "$seconds" "$(calc "$bytes / 1e6 / $seconds")" "$ratio"
    if [ "$name" = "cp binary PLY" ]; then
        cp_seconds=$seconds
    fi
}

echo
printf "%-32s %12s %10s %14s\n" "case" "bytes moved" "time" "throughput"
report "cp binary PLY" "$work/big.ply" "$work/out.ply" cp "$work/big.ply" "$work/out.ply"
report "Stripline binary PLY read+write" "$work/big.ply" "$work/out.ply" "$stripline" "$work/big.ply" "$work/out.ply"
report "Stripline binary PLY read" "$work/big.ply" "" "$stripline" "$work/big.ply"
report "Stripline ASCII PLY read+write" "$work/big_ascii.ply" "$work/out.ply" \
    "$stripline" "$work/big_ascii.ply" "ascii:$work/out.ply"
report "Stripline ASCII PLY read" "$work/big_ascii.ply" "" "$stripline" "$work/big_ascii.ply"
report "Stripline OBJ read+write" "$work/big.obj" "$work/out.obj" "$stripline" "$work/big.obj" "$work/out.obj"
report "Stripline OBJ read" "$work/big.obj" "" "$stripline" "$work/big.obj"
