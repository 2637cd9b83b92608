#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET...]
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for
# SECONDS, two at a time, seeded from its corpus in fuzz/corpus/NAME (fuzz_NAME is the target),
# with the words of its format from fuzz/dict/NAME.dict where there is one.
# Without TARGETs all six run. Exits non-zero on any finding; each target's log and any input
# that failed are kept in the build folder (BRACKMOOR_FUZZ_BUILD, default build-fuzz).
set -euo pipefail
seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRACKMOOR_FUZZ_BUILD:-$root/build-fuzz}
jobs=${BRACKMOOR_FUZZ_JOBS:-2}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(loadside settings replay trace font progress)

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
for t in "${targets[@]}"; do
  cmake --build "$build" -j"$jobs" --target "fuzz_$t" >/dev/null
done

# Runs one target; its status goes to $build/NAME.status.
run_one() {
  local t=$1
  local max_len=4096
  [ "$t" = loadside ] && max_len=20000
  mkdir -p "$build/corpus/$t"
  local dict=()
  [ -f "$root/fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  local status=0
  # The first folder collects what the fuzzer finds; the committed seeds are only read.
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz_$t" "$build/corpus/$t" "$root/fuzz/corpus/$t" \
    "${dict[@]}" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$build/$t-" >"$build/$t.log" 2>&1 || status=$?
  echo "$status" >"$build/$t.status"
}

for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  for t in "${targets[@]:i:jobs}"; do run_one "$t" & done
  wait
done

failed=0
for t in "${targets[@]}"; do
  status=$(cat "$build/$t.status")
  runs=$(grep -oE "stat::number_of_executed_units: *[0-9]+" "$build/$t.log" | grep -oE "[0-9]+$" || echo "?")
  cov=$(grep -oE "^#[0-9]+.*DONE.*cov: [0-9]+" "$build/$t.log" | grep -oE "cov: [0-9]+" | tail -1 || true)
  echo "fuzz_$t: $runs runs, ${cov:-cov: ?}, exit $status"
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz_$t found a problem; see $build/$t.log" >&2
    tail -40 "$build/$t.log" >&2
  fi
done
[ $failed -eq 0 ] && echo "no findings"
exit $failed
