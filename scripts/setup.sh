#!/usr/bin/env bash
# Installs what Brackmoor needs (Debian 12 packages), then configures and builds.
#   scripts/setup.sh [--game] [BUILD_DIR] [extra cmake arguments...]
# Without --game: everything for building, testing and packaging, and every target, the tests and
# benchmarks too (./run-tests.sh and CI). With --game (./play.sh): only what the game needs to build
# and run, and only the game and its data. Each step begins with a line "==> ...".
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
game_only=0
if [ "${1:-}" = "--game" ]; then
  game_only=1
  shift
fi
build="${1:-$here/build}"
shift || true

# Building and running the game; espeak-ng and sox speak the title's narration.
game_packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libsdl-mixer1.2-dev libsdl-image1.2-dev
  libosmesa6-dev libgl1-mesa-dev libpng-dev zlib1g-dev
  espeak-ng sox
)
# The tests, benchmarks, sanitizer and packaging checks.
contributor_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xmp openmpt123 xvfb xauth xdotool clang clang-format libclang-rt-14-dev man-db libx11-dev
  desktop-file-utils appstream dpkg-dev file lintian
)
packages=("${game_packages[@]}")
[ "$game_only" = 1 ] || packages+=("${contributor_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "==> Installing ${#missing[@]} packages with apt-get (a few minutes): ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Installing packages needs root, and sudo is not installed. As root, run:" >&2
      echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
      echo "then start this again." >&2
      exit 1
    fi
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
if [ "$game_only" = 1 ]; then
  # A build folder set up before (by this or by the full set-up) is kept as it is.
  if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "==> Configuring the build in $build"
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRACKMOOR_TESTS=OFF -DBRACKMOOR_BENCHMARKS=OFF "$@"
  fi
  echo "==> Building the game and its data"
  cmake --build "$build" -j "$jobs" --target brackmoor
else
  echo "==> Configuring the build in $build"
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRACKMOOR_TESTS=ON -DBRACKMOOR_BENCHMARKS=ON "$@"
  echo "==> Building everything"
  cmake --build "$build" -j "$jobs"
fi
