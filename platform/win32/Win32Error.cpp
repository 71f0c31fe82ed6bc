#include "platform/win32/Win32Error.h"

#include <cerrno>
#include <cstring>

DWORD GetLastError()
{
    return static_cast<DWORD>(errno);
}

void SetLastError(DWORD code)
{
    errno = static_cast<int>(code);
}

DWORD FormatMessageA(DWORD flags, const void *, DWORD message_id, DWORD, char *buffer, DWORD size, va_list *)
{
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer || size == 0)
        return 0;
    // Only numbers the system knows by name have a text of their own;
    // strerror() makes one up ("Unknown error 99999") for the rest.
    int code = static_cast<int>(message_id);
    if (message_id > 0x7FFFFFFFu || !strerrorname_np(code))
        return 0;
    const char *text = strerror(code);
    size_t length = strnlen(text, size - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = 0;
    return static_cast<DWORD>(length);
}
