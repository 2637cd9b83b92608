#!/usr/bin/env bash
# fuzz/run.sh SECONDS [RUNS]
# Builds the level-loader fuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer), seeds it
# with the shipped level files and runs it for SECONDS (or until RUNS executions). Exits non-zero
# on any finding. Needs the level files compiled into a build's data folder, or compiles them.
set -euo pipefail
seconds=${1:-60}
runs=${2:--1}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRACKMOOR_FUZZ_BUILD:-$root/build-fuzz}
jobs=${BRACKMOOR_FUZZ_JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_loadside >/dev/null

corpus="$build/corpus"
mkdir -p "$corpus"
# Seeds: the level files of a normal build if one is there, else compiled here.
seeds=$(ls "$root"/build*/data/ZLevel/*.zlv 2>/dev/null | head -56 || true)
if [ -z "$seeds" ]; then
  if [ ! -x "$build/game/levelcompile" ]; then
    cmake -S "$root" -B "$build/game" -DBRACKMOOR_TESTS=OFF -DBRACKMOOR_BENCHMARKS=OFF -DBRACKMOOR_WINDOW=OFF >/dev/null
    cmake --build "$build/game" -j"$jobs" --target levelcompile >/dev/null
  fi
  mkdir -p "$build/seeds"
  for src in "$root"/assets/levels/*.level; do
    name=$(basename "$src" .level)
    "$build/game/levelcompile" "$src" "$build/seeds/$name.zlv"
  done
  seeds=$(ls "$build"/seeds/*.zlv)
fi
cp $seeds "$corpus/"

log="$build/fuzz.log"
set +e
ASAN_OPTIONS=detect_leaks=1 "$build/fuzz_loadside" "$corpus" -max_total_time="$seconds" -runs="$runs" \
  -max_len=20000 -print_final_stats=1 -artifact_prefix="$build/" >"$log" 2>&1
status=$?
set -e
grep -E "^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units|ERROR|fuzz_loadside:" "$log" | tail -5
if [ $status -ne 0 ]; then
  echo "fuzzing found a problem (exit $status); see $log" >&2
  tail -40 "$log" >&2
  exit 1
fi
echo "no findings"
