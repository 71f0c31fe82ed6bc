#!/usr/bin/env bash
# Fails when a source outside platform/ includes an SDL, GL, GTK, curl or
# Vorbis header. The data generator (tools/), the test servers
# (tests/fixtures/) and the platform layer's own tests (tests/platform/, which
# check what the layer hands to those libraries) are exempt.
set -u
root=${1:-.}
cd "$root" || exit 2
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/|SDL[_.a-z0-9]*\.h|GL/|gtk/|gdk/|curl/|vorbis/)'
hits=$(find . \( -path ./platform -o -path ./tools -o -path ./tests/fixtures -o -path ./tests/platform -o -path ./.git -o -path './build*' \) -prune \
  -o -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' \) -print0 |
  xargs -0 -r grep -nE "$pattern")
if [ -n "$hits" ]; then
  echo "Only platform/ may include these headers:"
  echo "$hits"
  exit 1
fi
echo "platform seam intact"
