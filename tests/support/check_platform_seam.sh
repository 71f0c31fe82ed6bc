#!/usr/bin/env bash
# Fails when a source outside platform/ (and the data generator in tools/)
# includes an SDL, GL, GTK, curl or Vorbis header.
set -u
root=${1:-.}
cd "$root" || exit 2
hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/|SDL[_.a-z0-9]*\.h|GL/|gtk/|gdk/|curl/|vorbis/)' \
  --include='*.h' --include='*.hpp' --include='*.c' --include='*.cpp' \
  --exclude-dir=platform --exclude-dir=tools --exclude-dir=fixtures --exclude-dir=.git --exclude-dir='build*' . )
if [ -n "$hits" ]; then
  echo "Only platform/ may include these headers:"
  echo "$hits"
  exit 1
fi
echo "platform seam intact"
