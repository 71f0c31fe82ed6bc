#!/usr/bin/env bash
# Runs the fuzz targets over their seeds and then on for a while:
#   tests/fuzz/run.sh [SECONDS|-runs=N] [TARGET...]
# SECONDS (default 300) is each target's time, -runs=N its count of inputs.
# Builds the fuzz build (clang, build-fuzz/) first. Seeds are the hand-made
# files in tests/fuzz/corpus/<target>/ and the generated data of the test
# build (build-tests/Data); what the fuzzer adds goes to
# build-fuzz/corpus/<target>/ and a finding to build-fuzz/findings/. Prints
# each target's executions and their rate; fails on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
data="$root/build-tests/Data"

limit=${1:-300}
[ $# -gt 0 ] && shift
case "$limit" in
  -runs=*) budget=("$limit") ;;
  *) budget=("-max_total_time=$limit") ;;
esac

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DHW_FUZZ=ON -DHW_FUZZ_DATA_DIR="$data" >/dev/null
mkdir -p "$build/logs"
if ! cmake --build "$build" --target hw_fuzz >"$build/logs/build.log" 2>&1; then
  grep -E 'error|FAILED' "$build/logs/build.log" | head -40
  echo "The fuzz build failed: $build/logs/build.log"
  exit 1
fi
python3 "$root/tests/fuzz/seeds.py" "$data" "$build/seeds"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/tests/fuzz/Fuzz*.cpp; do
    name=$(basename "$f" .cpp)
    [ "$name" != FuzzSupport ] && targets+=("$name")
  done
fi

export SDL_AUDIODRIVER=dummy
# A small quarantine still catches a use after free within an input, and
# keeps each input's short-lived buffers (a file's stdio buffer, say) in
# pages already mapped: the default 256 MB cycles through fresh pages and
# makes most targets three times slower.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks of the system's libraries that our code cannot free (lsan.supp).
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0"
mkdir -p "$build/findings" "$build/logs"

# A target's own options. Songs are decoded whole, so a long one costs
# milliseconds an input; the headers and first packets are what a short one
# reaches too.
target_options() {
  case $1 in
    FuzzSound) echo -max_len=16384 ;;
  esac
}

# One target: its run's log in logs/, its line of figures in logs/<t>.line.
run_one() {
  local t=$1 seeds=("$build/corpus/$1") d status
  mkdir -p "$build/corpus/$t"
  for d in "$root/tests/fuzz/corpus/$t" "$build/seeds/$t"; do
    [ -d "$d" ] && seeds+=("$d")
  done
  local log="$build/logs/$t.log"
  # An input that takes more than 10 s is a finding too.
  if "$build/fuzz/$t" "${budget[@]}" $(target_options "$t") -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$t-" "${seeds[@]}" >"$log" 2>&1; then
    status=ok
  else
    status=FAILED
  fi
  # A run stopped on a finding ends without the exit handlers that remove
  # the target's private folder: the folder it named is removed here.
  local folder
  if [ "$status" = FAILED ]; then
    folder=$(sed -n 's/^FuzzSetup: working in //p' "$log" | head -1)
    case "$folder" in
      */hw-fuzz-*) rm -rf -- "$folder" ;;
    esac
  fi
  local runs rate
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  printf '%-18s %-6s %10s executions %8s exec/s\n' "$t" "$status" "${runs:-?}" "${rate:-?}" | tee "$log.line"
}

# Two targets at a time: the machines that run the tests have two cores.
running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ $running -ge 2 ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

failed=()
for t in "${targets[@]}"; do
  grep -q ' FAILED ' "$build/logs/$t.log.line" && failed+=("$t")
done

if [ ${#failed[@]} -ne 0 ]; then
  for t in "${failed[@]}"; do
    echo "== $t: $build/logs/$t.log"
    grep -m1 -A30 -E '^==[0-9]+==ERROR|runtime error|^==[0-9]+== ERROR|deadly signal|Test unit written' \
      "$build/logs/$t.log" || tail -30 "$build/logs/$t.log"
  done
  exit 1
fi
