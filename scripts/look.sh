#!/usr/bin/env bash
# Renders the play screen of each level and a corner caught mid-turn with the headless game, for
# judging the art side by side: scripts/look.sh OUT_DIR [BUILD_DIR]
# (the bosses come from the bot tests: BRACKMOOR_BOT_SHOTS=OUT_DIR build/tests/bot_level1_test ...)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:?usage: scripts/look.sh OUT_DIR [BUILD_DIR]}"
build="${2:-$here/build}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out" "$tmp/save"
game="$build/brackmoor-headless"
export SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe
printf '2\n' > "$tmp/save/color.dat"

# Level N from the title's level choice (N-1 presses of DOWN), then a short climb up and to the left.
level() {
  local n="$1" f=576
  { echo "575 ENTER down"; echo "576 ENTER up"
    for ((i = 1; i < n; i++)); do echo "$((f + 2 * i)) DOWN down"; echo "$((f + 2 * i + 1)) DOWN up"; done
    echo "590 ENTER down"; echo "591 ENTER up"
    echo "700 X down"; echo "700 UP down"; echo "760 UP up"; echo "760 X up"
    echo "770 C down"; echo "800 C up"; } > "$tmp/level$n.txt"
  "$game" --seed 1 --frames 841 --replay "$tmp/level$n.txt" --save-dir "$tmp/save" \
    --screenshot "840:$out/level$n.png" > /dev/null
}
level 1
level 2
level 3

# Level 1's first corner: climb to the start room's top and walk off column 1 onto side 2,
# caught as the turn begins, halfway and nearly done.
"$game" --seed 1 --frames 1200 --replay "$here/scripts/first_corner.replay" --save-dir "$tmp/save1" \
  --screenshot "1141:$out/corner_a.png" --screenshot "1150:$out/corner_b.png" \
  --screenshot "1159:$out/corner_c.png" > /dev/null
echo "Pictures written to $out"
