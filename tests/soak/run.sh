#!/usr/bin/env bash
# Drives the real program with random input for MINUTES minutes on a private
# X server (see Soak.cpp). Builds the sanitizer test build's soak program
# first, unless HW_SOAK_PROGRAM names one already built (as CTest and
# ./test.sh do). HW_SOAK_SEED repeats a run.
set -euo pipefail
minutes=${1:?usage: tests/soak/run.sh MINUTES}
root=$(cd "$(dirname "$0")/../.." && pwd)
soak=${HW_SOAK_PROGRAM:-}
if [ -z "$soak" ]; then
  build="$root/build-tests"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHW_SANITIZE=ON -DHW_TESTS=ON >/dev/null
  cmake --build "$build" --target hw_soak
  soak="$build/tests/soak/hw_soak"
fi
# Links the random clicks follow open nothing on the desktop.
stub=$(mktemp -d)
trap 'rm -rf "$stub"' EXIT
printf '#!/bin/sh\nexit 0\n' >"$stub/xdg-open"
chmod +x "$stub/xdg-open"
export PATH="$stub:$PATH" HW_SOAK_MINUTES="$minutes" SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
"$soak"
