#!/usr/bin/env bash
# Fails when a source outside platform/ includes an SDL, GL, GTK, curl or
# Vorbis header. The data generator (tools/) and the test fixtures
# (tests/fixtures/) are exempt; tests reach the desktop through
# platform/win32/Win32TestDesktop.h.
set -u
root=${1:-.}
cd "$root" || exit 2
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/|SDL[_.a-z0-9]*\.h|GL/|gtk/|gdk/|curl/|vorbis/)'
hits=$(find . \( -path ./platform -o -path ./tools -o -path ./tests/fixtures -o -path ./.git -o -path './build*' \) -prune \
  -o -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' \) -print0 |
  xargs -0 -r grep -nE "$pattern")
if [ -n "$hits" ]; then
  echo "Only platform/ may include these headers:"
  echo "$hits"
  exit 1
fi
echo "platform seam intact"
