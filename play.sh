#!/usr/bin/env bash
# Sets up (packages, build) and starts the game. Extra arguments go to the game, e.g. ./play.sh --fullscreen
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh" "$here/build" > "$here/build-setup.log" 2>&1 || { cat "$here/build-setup.log"; exit 1; }
exec "$here/build/brackmoor" "$@"
