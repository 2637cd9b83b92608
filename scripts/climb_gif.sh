#!/usr/bin/env bash
# Makes docs/screenshots/climb.gif, a short loop of climbing level 1's first wall and turning its
# first corner, from frames rendered by the headless game: scripts/climb_gif.sh [BUILD_DIR]
# Needs ImageMagick's convert (a developer's tool; CI never runs this).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
out="$here/docs/screenshots/climb.gif"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
command -v convert > /dev/null || { echo "climb_gif.sh: needs ImageMagick's convert" >&2; exit 1; }

# The title, then climb up, shoot, and climb left round the corner onto side 2.
first=880 last=1176 step=4
shots=()
for ((f = first; f <= last; f += step)); do shots+=(--screenshot "$f:$tmp/f$(printf %05d "$f").png"); done
SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe "$build/brackmoor-headless" --seed 1 --frames $((last + 1)) \
  --replay "$here/scripts/first_corner.replay" --save-dir "$tmp/save" "${shots[@]}" > /dev/null
# Every fourth frame of 65 per second: about 6 hundredths of a second each; half size keeps it small.
convert -delay 6 -loop 0 "$tmp"/f*.png -filter point -resize 50% -layers Optimize "$out"
echo "Wrote $out ($(stat -c %s "$out") bytes)"
