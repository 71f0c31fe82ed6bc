#include "engine/core/EngMemory.h"
#include "engine/core/EngDebug.h"

#include <cctype>
#include <strings.h>
#include <cstdlib>
#include <cstring>

namespace {

// Reports a failure under the caller's name with the long text, or under the
// function's own name with the short text when no caller was given.
void ReportMemory(const char *where, const char *function, const char *short_text)
{
    if (where)
        DebugError(where, "%s: %s", function, short_text);
    else
        DebugError(function, "%s", short_text);
}

void ReportNoMemory(const char *where, const char *function)
{
    if (where)
        DebugError(where, "%s: No memory", function);
    else
        DebugErrorCode(function, 'OMEM');
}

char *StrStr(char *text, const char *find, char whole_word, const char *where, bool ignore_case)
{
    if (!text || !find || !find[0]) {
        DebugError(where, "Invalid parameters");
        return nullptr;
    }
    size_t text_length = std::strlen(text);
    size_t find_length = std::strlen(find);
    if (text_length == 0 || find_length > text_length)
        return nullptr;
    for (size_t at = 0; at + find_length <= text_length; at++) {
        bool same = ignore_case ? strncasecmp(text + at, find, find_length) == 0
                                : std::strncmp(text + at, find, find_length) == 0;
        if (same && (!whole_word || EngStrIsWordEnd(text[at + find_length])))
            return text + at;
    }
    return nullptr;
}

char code_text[5];

} // namespace

void *EngMalloc(unsigned size, const char *where, char zero)
{
    if (size == 0) {
        ReportMemory(where, "EngMalloc", "Zero size");
        return nullptr;
    }
    void *block = zero ? std::calloc(1, size) : std::malloc(size);
    if (!block)
        ReportNoMemory(where, "EngMalloc");
    return block;
}

void *EngRealloc(void *old, unsigned size, const char *where)
{
    if (size == 0) {
        ReportMemory(where, "EngRealloc", "Zero size");
        return nullptr;
    }
    if (!old) {
        ReportMemory(where, "EngRealloc", "No old memory pointer");
        return nullptr;
    }
    void *block = std::realloc(old, size);
    if (!block)
        ReportNoMemory(where, "EngRealloc");
    return block;
}

void EngFree(void *p, char complain_if_null, const char *where)
{
    if (!p) {
        if (complain_if_null)
            ReportMemory(where, "EngFree", "Zero size");
        return;
    }
    std::free(p);
}

char *EngMallocStringFromString(const char *src, char complain, const char *where)
{
    if (!src) {
        if (complain)
            DebugErrorCode("EngMallocStringFromString", 'DNEX');
        return nullptr;
    }
    if (!src[0] && complain) {
        DebugErrorCode("EngMallocStringFromString", 'NVAL');
        return nullptr;
    }
    size_t length = std::strlen(src);
    char *copy = static_cast<char *>(EngMalloc(static_cast<unsigned>(length + 1), where, 0));
    if (!copy) {
        DebugErrorCode("EngMallocStringFromString", 'OMEM');
        return nullptr;
    }
    std::memcpy(copy, src, length + 1);
    return copy;
}

void EngZeroMemory(void *p, unsigned size)
{
    if (!p || size == 0) {
        DebugErrorCode("EngZeroMemory", 'BAPA');
        return;
    }
    std::memset(p, 0, size);
}

char *EngSafeStrcpy(char *dst, const char *src, unsigned size)
{
    if (!dst) {
        DebugError("EngSafeStrcpy", "No string");
        return nullptr;
    }
    if (size == 0)
        return dst;
    size_t length = src ? strnlen(src, size - 1) : 0;
    std::memcpy(dst, src ? src : "", length);
    dst[length] = 0;
    return dst;
}

char *EngStrStr(char *text, const char *find, char whole_word)
{
    return StrStr(text, find, whole_word, "EngStrStr", false);
}

char *EngStrIStr(char *text, const char *find, char whole_word)
{
    return StrStr(text, find, whole_word, "EngStrIStr", true);
}

char EngStrIsWordEnd(char c)
{
    return c == 0 || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

const char *EngStrOrNone(const char *text)
{
    return text ? text : "(none)";
}

const char *EngCodeToString(int code)
{
    unsigned value = static_cast<unsigned>(code);
    for (int i = 0; i < 4; i++)
        code_text[i] = static_cast<char>((value >> (8 * (3 - i))) & 0xFF);
    code_text[4] = 0;
    return code_text;
}
