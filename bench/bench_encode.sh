#!/bin/sh
# Converts the same 20-second clip to three targets through the program's encoder
# runner and with the bare command line, one after the other, and prints the times
# and their ratio (runner / bare) for each; then the time from the encoder's end to
# the report of the conversion.
#
#   bench/bench_encode.sh [build folder] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
runs=${2:-3}
prog=$build/tests/engine_test_encode_bench
if [ ! -x "$prog" ]; then
    echo "build the target engine_test_encode_bench in $build first" >&2
    exit 1
fi
[ -n "${XDG_RUNTIME_DIR:-}" ] || export XDG_RUNTIME_DIR=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ms() { echo $(($(date +%s%N) / 1000000)); }

# Runner and bare runs alternate, so that a change in the machine's load falls on both.
for target in MPEG1 XviD MP3; do
    runner_ms=0
    bare_ms=0
    i=0
    while [ $i -lt "$runs" ]; do
        out=$(MAVRELL_BENCH_RUNS=1 MAVRELL_BENCH_TARGET=$target MAVRELL_BENCH_ARGS="$work/args" MAVRELL_BENCH_OUT="$work" \
            QT_QPA_PLATFORM=offscreen "$prog" --gtest_filter=Bench.EncodeThroughRunner)
        one=$(printf '%s\n' "$out" | sed -n 's/^RUNNER_MS=//p')
        if [ -z "$one" ]; then
            printf '%s\n' "$out" >&2
            exit 1
        fi
        runner_ms=$((runner_ms + one))
        # The same command, started from the shell with its output thrown away.
        start=$(ms)
        xargs -0 -a "$work/args" sh -c 'exec "$@" </dev/null >/dev/null 2>&1' bare || echo "bare run failed" >&2
        bare_ms=$((bare_ms + $(ms) - start))
        i=$((i + 1))
    done
    awk -v t="$target" -v r="$runner_ms" -v d="$bare_ms" -v n="$runs" 'BEGIN {
        printf "%-6s %d runs: runner %6d ms, bare %6d ms, ratio runner/bare %.3f\n", t, n, r, d, (d > 0 ? r / d : 0)
    }'
done

out=$(MAVRELL_BENCH_RUNS=$runs QT_QPA_PLATFORM=offscreen "$prog" --gtest_filter=Bench.ExitToReport)
printf '%s\n' "$out" | sed -n 's/^EXIT_TO_REPORT_MS=\(.*\)/encoder end to report: \1 ms (mean of '"$runs"')/p'
