#!/bin/sh
# Opening a source through the main window against the player tool's bare identify
# run, and a whole conversion through the main window (from the encode button's click
# to the report, the result check included) against the same command run bare, for an
# encode and for a stream copy. Runs them in alternating pairs and prints the median ratio
# (window / bare) and the median extra time of a pair, besides the means.
#
#   bench/bench_job.sh [build folder] [pairs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
pairs=${2:-7}
prog=$build/tests/mainwin_test_conversion_bench
if [ ! -x "$prog" ]; then
    echo "build the target mainwin_test_conversion_bench in $build first" >&2
    exit 1
fi
[ -n "${XDG_RUNTIME_DIR:-}" ] || { XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"; export XDG_RUNTIME_DIR; }
MAVRELL_BENCH_PAIRS=$pairs QT_QPA_PLATFORM=offscreen "$prog" --gtest_filter='*BenchWholeJob*' |
    grep -E 'pairs|FAILED|Failure' || { echo "the bench did not run" >&2; exit 1; }
