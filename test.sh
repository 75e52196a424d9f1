#!/usr/bin/env bash
# Sets up like run.sh, then runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d)"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
