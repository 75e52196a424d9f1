#!/bin/sh
# How long the one-shot runner takes for the player's identify probe on a 3-second
# clip, against the same command run directly from the shell. Prints both totals
# and their ratio (runner / direct).
#
#   bench/bench_cmdoutput.sh [build folder] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
runs=${2:-20}
prog=$build/tests/core_test_cmdoutput
if [ ! -x "$prog" ]; then
    echo "build the target core_test_cmdoutput in $build first" >&2
    exit 1
fi
[ -n "${XDG_RUNTIME_DIR:-}" ] || export XDG_RUNTIME_DIR=$(mktemp -d)

out=$(MAVRELL_BENCH_RUNS=$runs QT_QPA_PLATFORM=offscreen "$prog" --gtest_filter=Bench.IdentifyThroughRunner)
runner_ms=$(printf '%s\n' "$out" | sed -n 's/^RUNNER_MS=//p')
clip=$(printf '%s\n' "$out" | sed -n 's/^CLIP=//p')
if [ -z "$runner_ms" ] || [ -z "$clip" ]; then
    printf '%s\n' "$out" >&2
    exit 1
fi

ms() { echo $(($(date +%s%N) / 1000000)); }
/usr/bin/mplayer -identify -ao null -vo null -frames 0 "$clip" >/dev/null 2>&1 || true
start=$(ms)
i=0
while [ $i -lt "$runs" ]; do
    /usr/bin/mplayer -identify -ao null -vo null -frames 0 "$clip" >/dev/null 2>&1 || true
    i=$((i + 1))
done
direct_ms=$(($(ms) - start))

awk -v r="$runner_ms" -v d="$direct_ms" -v n="$runs" 'BEGIN {
    printf "identify probe, %d runs: runner %d ms (%.1f ms each), direct %d ms (%.1f ms each)\n", n, r, r / n, d, d / n
    printf "ratio runner/direct: %.2f\n", (d > 0 ? r / d : 0)
}'
