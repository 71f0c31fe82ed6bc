// File names at the audio edge. The engine's 8-bit names are Windows-1252
// and may use '\'; wide names are Unicode code points.
#pragma once

#include <cstddef>
#include <cstdio>

// Converts an 8-bit name to wide characters, terminated; false when it does
// not fit in size characters.
bool AudioAnsiToWide(const char *text, wchar_t *wide, size_t size);

// Open a file for reading by its 8-bit or wide name; null when it does not open.
FILE *AudioOpenFileA(const char *name);
FILE *AudioOpenFileW(const wchar_t *name);
