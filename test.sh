#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every one through CTest under a virtual X display.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

# The sanitized builds use clang and its linker: they build in about half
# the time GCC and its linker take. The game itself builds with GCC.
clang=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)

build=build-tests
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHW_SANITIZE=ON -DHW_TESTS=ON "${clang[@]}" >/dev/null
cmake --build "$build"

# The thread tests once more in a small ThreadSanitizer build (it cannot be
# combined with AddressSanitizer); run first so the main run's summary ends
# the output.
tsan=build-tsan
tsan_tests=(EngThreadTest EngInternetThreadNetTest EngProgramThreadTest CurlInterfaceNetTest)
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHW_TSAN=ON -DHW_TESTS=ON "${clang[@]}" >/dev/null
cmake --build "$tsan" --target "${tsan_tests[@]}"
for t in "${tsan_tests[@]}"; do
  TSAN_OPTIONS=halt_on_error=1 "$tsan/tests/$t" --gtest_brief=1
done

# The fuzz targets (clang, a build of their own in build-fuzz): each over
# its seeds and a few seconds more. tests/fuzz/run.sh runs them long.
tests/fuzz/run.sh 3

export SDL_AUDIODRIVER=dummy
# Mesa's software renderer draws on the calling thread: its worker threads,
# still about at exit, can crash the leak checker's stop of all threads (a
# failure without a leak, now and then, when tests run side by side).
export LP_NUM_THREADS=0
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
# Two minutes of the soak (tests/soak) beside the others: it brings its own
# X server and mostly waits on the program it drives.
HW_SOAK_PROGRAM="$PWD/tests/soak/hw_soak" ../tests/soak/run.sh 2 >soak.log 2>&1 &
soak=$!
status=0
# As many tests at once as there are cores, two at least and four at most:
# the end-to-end tests each keep a core busy with the program they drive.
jobs=$(nproc)
((jobs < 2)) && jobs=2
((jobs > 4)) && jobs=4
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$jobs" -LE soak "$@" || status=$?
if wait "$soak"; then
  grep '^soak:' soak.log
else
  echo "The soak failed:"
  cat soak.log
  status=1
fi
exit "$status"
