#include "platform/audio/AudioFiles.h"

#include <string>

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// codes keep their own value.
static const wchar_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

static wchar_t AnsiCharToWide(char c)
{
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xA0)
        return cp1252_high[byte - 0x80];
    return static_cast<wchar_t>(byte);
}

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
        wide[i] = AnsiCharToWide(text[i]);
    }
    wide[i] = 0;
    return true;
}

static bool AppendUtf8(std::string &out, unsigned long code)
{
    if (code == '\\')
        code = '/';
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

FILE *AudioOpenFileA(const char *name)
{
    if (!name)
        return nullptr;
    std::string path;
    for (const char *c = name; *c; c++)
        AppendUtf8(path, static_cast<unsigned long>(AnsiCharToWide(*c)));
    return path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
}

FILE *AudioOpenFileW(const wchar_t *name)
{
    if (!name)
        return nullptr;
    std::string path;
    for (const wchar_t *c = name; *c; c++) {
        if (!AppendUtf8(path, static_cast<unsigned long>(*c)))
            return nullptr;
    }
    return path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
}
