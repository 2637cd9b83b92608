#!/usr/bin/env bash
# Makes docs/screenshots/autoplay_final.gif, a short loop of the automatic player dodging and
# shooting the final boss as a flying eye, from frames of its level-3 run drawn in the test process
# (the level-3 bot test draws only the frames asked for): scripts/autoplay_gif.sh [BUILD_DIR]
# Needs ImageMagick's convert (a developer's tool; CI never runs this).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
out="$here/docs/screenshots/autoplay_final.gif"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
command -v convert > /dev/null || { echo "autoplay_gif.sh: needs ImageMagick's convert" >&2; exit 1; }
[ -x "$build/tests/bot_level3_test" ] || { echo "autoplay_gif.sh: build the bot_level3_test target" >&2; exit 2; }

# The flying eye's first excursion: it drifts, aims and charges while the player dodges and fires.
first=10520 last=10850 step=3
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe BRACKMOOR_BOT_SHOTS="$tmp" \
  BRACKMOOR_BOT_FRAMES="$first:$last:$step" "$build/tests/bot_level3_test" > /dev/null
# Every third frame of 65 per second: about 5 hundredths of a second each; half size keeps it small.
convert -delay 5 -loop 0 "$tmp"/f*.png -filter point -resize 50% -layers Optimize "$out"
echo "Wrote $out ($(stat -c %s "$out") bytes)"
