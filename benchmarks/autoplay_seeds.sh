#!/usr/bin/env bash
# The automatic player's strength: the whole game render-free on seeds FIRST..LAST, one process per
# seed, one after the other (one core), at low priority. Prints a Markdown table (seed, result,
# frames, lives left, lives lost in levels 1/2/3, seconds) and the total time. Not a test: CI plays
# seeds 1 to 5 in bot_game_test. The runs are bot_game_test's, which plays exactly what
# `brackmoor-headless --autoplay --no-render --seed N` plays (autoplay_test checks the keys agree).
#   benchmarks/autoplay_seeds.sh [BUILD_DIR] [FIRST] [LAST]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
first="${2:-1}" last="${3:-50}"
exe="$build/tests/bot_game_test"
[ -x "$exe" ] || { echo "autoplay_seeds.sh: no $exe (build the bot_game_test target)" >&2; exit 2; }
export SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe LIBGL_ALWAYS_SOFTWARE=1

echo "| seed | result | frames | lives left | lives lost (levels 1/2/3) | seconds |"
echo "|---:|---|---:|---:|---|---:|"
start=$(date +%s.%N)
for ((s = first; s <= last; ++s)); do
  t0=$(date +%s.%N)
  line=$(BRACKMOOR_BOT_SEEDS=$s nice -n 19 "$exe" 2>&1 | grep '^whole game:' || true)
  t1=$(date +%s.%N)
  # whole game: seed S, won in F frames, lives left L, deaths per level A/B/C
  read -r result frames lives deaths < <(echo "$line" |
    sed -E 's/.*seed [0-9]+, ([a-z]+) in ([0-9]+) frames, lives left (-?[0-9]+), deaths per level ([0-9/]+).*/\1 \2 \3 \4/')
  printf '| %d | %s | %s | %s | %s | %.1f |\n' "$s" "${result:-error}" "${frames:-}" "${lives:-}" "${deaths:-}" \
    "$(echo "$t1 - $t0" | bc)"
done
printf '\nTotal: %.0f seconds for seeds %d to %d\n' "$(echo "$(date +%s.%N) - $start" | bc)" "$first" "$last"
