#!/usr/bin/env python3
"""Copies the generated data's files that suit each fuzz target as its seeds:
seeds.py DATA_FOLDER OUT_FOLDER makes OUT_FOLDER/<target>/ for each."""
import os
import shutil
import sys

# Large songs and pictures slow every pass over the corpus without adding
# paths that small ones miss.
IMAGE_MAX = 64 * 1024
SOUND_MAX = 256 * 1024


def targets_of(path, head, size):
    if head.startswith((b"RIFF", b"OggS")):
        return ["FuzzSound"] if size <= SOUND_MAX else []
    if head.startswith((b"\x89PNG", b"\xff\xd8", b"BM")) or (len(head) > 2 and head[1] == 0 and head[2] in (2, 10)):
        return ["FuzzImage"] if size <= IMAGE_MAX else []
    text = head.lstrip(b"\xef\xbb\xbf \t\r\n")
    if text.startswith(b"{"):
        return ["FuzzPicture", "FuzzJson"]
    if path.endswith(".txt"):
        return ["FuzzLanguageFile", "FuzzTextFile"]
    return []


def main():
    data, out = sys.argv[1], sys.argv[2]
    shutil.rmtree(out, ignore_errors=True)
    if not os.path.isdir(data):
        print(f"seeds.py: no generated data in {data}; hand-made seeds only", file=sys.stderr)
        return
    for folder, _, files in os.walk(data):
        for name in sorted(files):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                head = f.read(16)
            for target in targets_of(path, head, os.path.getsize(path)):
                os.makedirs(os.path.join(out, target), exist_ok=True)
                relative = os.path.relpath(path, data).replace(os.sep, "_")
                shutil.copyfile(path, os.path.join(out, target, relative))


if __name__ == "__main__":
    main()
