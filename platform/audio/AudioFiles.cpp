#include "platform/audio/AudioFiles.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"

#include <string>

bool AudioAnsiToWide(const char *text, wchar_t *wide, size_t size)
{
    if (!text || !wide || size == 0)
        return false;
    size_t i = 0;
    for (; text[i]; i++) {
        if (i + 1 >= size) {
            wide[0] = 0;
            return false;
        }
        wide[i] = static_cast<wchar_t>(PlatformCp1252ToUnicode(static_cast<unsigned char>(text[i])));
    }
    wide[i] = 0;
    return true;
}

FILE *AudioOpenFileA(const char *name)
{
    char path[4096];
    if (!name || !name[0] || !PlatformPathFromAnsi(name, path, sizeof(path)))
        return nullptr;
    return std::fopen(path, "rb");
}

// UTF-8 of one code point; false for a value that is not one.
static bool AppendUtf8(std::string &out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        if (code >= 0xD800 && code < 0xE000)
            return false;
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x110000) {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        return false;
    }
    return true;
}

FILE *AudioOpenFileW(const wchar_t *name)
{
    if (!name)
        return nullptr;
    std::string path;
    for (const wchar_t *c = name; *c; c++) {
        if (!AppendUtf8(path, *c == L'\\' ? L'/' : static_cast<unsigned long>(*c)))
            return nullptr;
    }
    return path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
}
