#!/usr/bin/env bash
# Sets up (packages, build, plugins/) and starts Mavrell.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
# Mavrell is a desktop program: the player draws into its windows through X11
# (XWayland under a Wayland session).
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Mavrell is built; it needs a graphical session to start (no DISPLAY is set)." >&2
  echo "On a machine without a screen, run it under xvfb-run: xvfb-run -a ./build/bin/mavrell" >&2
  exit 1
fi
# A private runtime folder, as a desktop session gives, when none is set (su, ssh -X).
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d)"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
exec ./build/bin/mavrell "$@"
