#!/usr/bin/env bash
# Renders the README's screenshots with the headless game: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
out="$here/docs/screenshots"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
game="$build/brackmoor-headless"

# The title sequence: the studio card, then the title menu.
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$game" --seed 1 --frames 660 --replay "$here/scripts/first_corner.replay" \
  --save-dir "$tmp/save" \
  --screenshot "60:$out/studio.png" \
  --screenshot "650:$out/title.png"

# A corner turn caught mid-rotation: the level-1 bot's recorded run turns its first corner here.
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$game" --seed 1 --frames 1092 \
  --replay "$here/tests/game/bot/level1.replay" --save-dir "$tmp/save2" \
  --screenshot "1090:$out/corner.png"

# The engine's particle emitters (no game object uses them yet): colour streaks and image puffs.
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$build/particledemo" --seed 1 "$out/particles.png"

# The level maps of the write-up (docs/levels.md).
"$build/levelmap" "$build/data" "$here/docs/levels"
echo "Screenshots written to $out, level maps to $here/docs/levels"
