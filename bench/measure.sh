#!/usr/bin/env bash
# Start to the first drawn frame, the CPU share of an idle main screen and
# the resident memory in play, measured on the real program from an
# optimised build (build-release) on a private X server, printed as figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$build" -j3 --target HiveWatcher hw_data hw_measure_bench; } >"$build/measure-build.log" 2>&1; then
  cat "$build/measure-build.log"
  exit 1
fi
cd "$build"
LP_NUM_THREADS=${LP_NUM_THREADS:-0} SDL_AUDIODRIVER=dummy bench/hw_measure_bench "$build/HiveWatcher"
