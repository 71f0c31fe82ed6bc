#!/usr/bin/env bash
# Builds the game optimised (no sanitizers), with its data folder, and starts
# it in a window. Extra arguments go to the game ("CONFIGURATION" opens the
# start-up settings first).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target HiveWatcher
exec "$build/HiveWatcher" "$@"
