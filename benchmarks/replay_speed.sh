#!/usr/bin/env bash
# Plays the recorded level-1 run (tests/game/bot/level1.replay, checked against its trace) drawn and
# render-free, RUNS times each in turn, and prints the median wall time, the frames per second of
# each and their ratio. Not a test: run it by hand on a quiet machine.
#   benchmarks/replay_speed.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
runs="${2:-3}"
exe="$build/brackmoor-headless"
replay="$here/tests/game/bot/level1.replay"
trace="$here/tests/game/bot/level1.trace"
[ -x "$exe" ] || { echo "replay_speed.sh: no $exe (build the brackmoor-headless target)" >&2; exit 2; }
read -r _ _ seed _ frames < <(head -n 1 "$replay")
save="$(mktemp -d)"
trap 'rm -rf "$save"' EXIT
export SDL_AUDIODRIVER=dummy GALLIUM_DRIVER=llvmpipe LIBGL_ALWAYS_SOFTWARE=1

# Seconds one playback takes (it must follow the trace to the end).
play() {
    local start end
    start=$(date +%s.%N)
    "$exe" "$@" --seed "$seed" --frames "$frames" --replay "$replay" --check-trace "$trace" \
        --data "$build/data" --save-dir "$save" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

drawn=() free=()
for ((i = 0; i < runs; ++i)); do
    drawn+=("$(play)")
    free+=("$(play --no-render)")
done
d=$(printf '%s\n' "${drawn[@]}" | median)
f=$(printf '%s\n' "${free[@]}" | median)
awk -v n="$frames" -v d="$d" -v f="$f" 'BEGIN {
    printf "level-1 playback, %d frames, median of the runs (wall time, start-up included)\n", n
    printf "  drawn:       %8.2f s  %8.0f frames/s\n", d, n / d
    printf "  render-free: %8.2f s  %8.0f frames/s\n", f, n / f
    printf "  ratio:       %8.1f x\n", d / f
}'
