#include "platform/win32/Win32CodePage.h"

#include <cstring>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of 1252 equals Latin-1.
const unsigned short cp1252_specials[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at text; returns its length, or 0 when the
// bytes there are not a well-formed sequence.
size_t DecodeUtf8(const unsigned char *text, unsigned *code)
{
    unsigned char lead = text[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    size_t length;
    unsigned value;
    unsigned least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; i++) {
        if ((text[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (text[i] & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code = value;
    return length;
}

} // namespace

unsigned PlatformCp1252ToUnicode(unsigned char c)
{
    if (c >= 0x80 && c <= 0x9F)
        return cp1252_specials[c - 0x80];
    return c;
}

int PlatformUnicodeToCp1252(unsigned code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<int>(code);
    for (int i = 0; i < 32; i++)
        if (cp1252_specials[i] == code)
            return 0x80 + i;
    return -1;
}

bool PlatformCp1252ToUtf8(const char *text, char *out, size_t size)
{
    if (!out || size == 0)
        return false;
    size_t used = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text ? text : ""); *p; p++) {
        unsigned code = PlatformCp1252ToUnicode(*p);
        unsigned char bytes[3];
        size_t count;
        if (code < 0x80) {
            bytes[0] = static_cast<unsigned char>(code);
            count = 1;
        } else if (code < 0x800) {
            bytes[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
            bytes[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
            count = 2;
        } else {
            bytes[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
            bytes[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
            count = 3;
        }
        if (used + count >= size) {
            out[0] = 0;
            return false;
        }
        for (size_t i = 0; i < count; i++)
            out[used++] = static_cast<char>(bytes[i]);
    }
    out[used] = 0;
    return true;
}

std::string PlatformCp1252ToUtf8String(const char *text)
{
    // Each 1252 byte takes at most three bytes of UTF-8.
    std::string utf8(text ? std::strlen(text) * 3 + 1 : 1, '\0');
    PlatformCp1252ToUtf8(text, &utf8[0], utf8.size());
    utf8.resize(std::strlen(utf8.c_str()));
    return utf8;
}

bool PlatformUtf8ToCp1252(const char *text, char *out, size_t size, char replacement)
{
    if (!out || size == 0)
        return false;
    size_t used = 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text ? text : "");
    while (*p) {
        unsigned code = 0;
        size_t length = DecodeUtf8(p, &code);
        int byte = length ? PlatformUnicodeToCp1252(code) : -1;
        if (byte < 0 && !replacement) {
            out[0] = 0;
            return false;
        }
        if (used + 1 >= size) {
            out[0] = 0;
            return false;
        }
        out[used++] = byte < 0 ? replacement : static_cast<char>(byte);
        p += length ? length : 1;
    }
    out[used] = 0;
    return true;
}
