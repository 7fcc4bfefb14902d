# Sourced by the whole-process benchmarks: timings that take the best of
# several runs, so that a run disturbed by other work does not count.

# least NUMBERS...: the least of the numbers.
least() { printf '%s\n' "$@" | sort -g | head -n 1; }

# seconds_of COMMAND...: the wall-clock seconds of one run, output discarded.
seconds_of() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }'
}

# best_of_three COMMAND...: the least seconds of three runs.
best_of_three() {
    local times=()
    for _ in 1 2 3; do
        times+=("$(seconds_of "$@")")
    done
    least "${times[@]}"
}
