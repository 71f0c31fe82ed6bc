// The program's 8-bit text is Windows-1252. The system speaks Unicode (file
// names, the clipboard, the shell, the user's name), so text is converted
// here, at the edge, and nowhere else.
#pragma once

#include <cstddef>
#include <string>

// The Unicode code point of a 1252 byte. The five bytes 1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same number, as the desktop maps them, so every byte survives a round trip.
unsigned PlatformCp1252ToUnicode(unsigned char c);

// The 1252 byte of a code point, or -1 when 1252 has none.
int PlatformUnicodeToCp1252(unsigned code);

// Converts zero-terminated 1252 text to UTF-8. False when the result does not
// fit in size bytes (out then holds the empty text).
bool PlatformCp1252ToUtf8(const char *text, char *out, size_t size);
// The same into a string sized for it (null gives the empty text).
std::string PlatformCp1252ToUtf8String(const char *text);

// Converts zero-terminated UTF-8 to 1252. A character that 1252 lacks, or a
// malformed byte, becomes replacement; with replacement 0 the conversion
// fails instead. False also when the result does not fit (out then holds "").
bool PlatformUtf8ToCp1252(const char *text, char *out, size_t size, char replacement);
