// File names at the audio edge. The engine's 8-bit text is Windows-1252 and
// its paths may use '\'; the file system takes UTF-8 and '/'.
#pragma once

#include <cstddef>
#include <cstdio>

// Converts an 8-bit name to wide characters (code points), terminated; false
// when it does not fit in size characters.
bool AudioAnsiToWide(const char *text, wchar_t *wide, size_t size);

// Open a file for reading by its 8-bit or wide name; null when it does not open.
FILE *AudioOpenFileA(const char *name);
FILE *AudioOpenFileW(const wchar_t *name);
