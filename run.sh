#!/usr/bin/env bash
# Sets up (packages, build, plugins/) and starts Mavrell.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
exec ./build/bin/mavrell "$@"
