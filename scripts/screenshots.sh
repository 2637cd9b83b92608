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

# The title sequence, then the start of level 1: climb up, shoot, climb round the first corner.
cat > "$tmp/play.txt" <<'REPLAY'
700 ENTER down
705 ENTER up
900 X down
900 UP down
1000 UP up
1000 X up
1010 C down
1060 C up
1070 X down
1070 LEFT down
1150 LEFT up
1150 X up
REPLAY
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$game" --seed 1 --frames 1200 --replay "$tmp/play.txt" \
  --save-dir "$tmp/save" \
  --screenshot "60:$out/studio.png" \
  --screenshot "650:$out/title.png" \
  --screenshot "1040:$out/play.png"

# A corner turn caught mid-rotation: the level-1 bot's recorded run turns its first corner here.
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$game" --seed 1 --frames 1092 \
  --replay "$here/tests/game/bot/level1.replay" --save-dir "$tmp/save2" \
  --screenshot "1090:$out/corner.png"

# The engine's particle emitters (no game object uses them yet): colour streaks and image puffs.
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$build/particledemo" --seed 1 "$out/particles.png"

# The level maps of the write-up (docs/levels.md).
"$build/levelmap" "$build/data" "$here/docs/levels"
echo "Screenshots written to $out, level maps to $here/docs/levels"
