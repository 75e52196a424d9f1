#!/usr/bin/env bash
# Installs the Debian packages Mavrell needs (when root; otherwise prints the one
# apt-get line to run), then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ qt6-base-dev libxcb1-dev libfontconfig-dev libgtest-dev
          mplayer mencoder ffmpeg
          xvfb xauth x11-utils xdotool imagemagick openbox fonts-noto-cjk fonts-liberation
          qt6-translations-l10n)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Mavrell needs these packages. Run:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

# Continuous integration builds src and tests with warnings as errors.
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAVRELL_WERROR=$werror >/dev/null
cmake --build build -j "$(nproc)"
