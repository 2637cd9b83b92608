#!/usr/bin/env bash
# Sets up (packages, build) and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" "$build"
cd "$build"
export SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe LIBGL_ALWAYS_SOFTWARE=1
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" --timeout 900
