#include "platform/win32/Win32User.h"
#include "platform/win32/Win32CodePage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>
#include <vector>

BOOL GetUserNameA(char *buffer, DWORD *size)
{
    if (!buffer || !size || *size == 0)
        return FALSE;
    std::vector<char> storage(16384);
    passwd entry;
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, storage.data(), storage.size(), &found) != 0 || !found || !found->pw_name)
        return FALSE;
    if (!PlatformUtf8ToCp1252(found->pw_name, buffer, *size, '?')) {
        errno = ERANGE;
        return FALSE;
    }
    *size = static_cast<DWORD>(std::strlen(buffer) + 1);
    return TRUE;
}

BOOL PlatformGetUserLocale(char *buffer, DWORD size)
{
    if (!buffer || size == 0)
        return FALSE;
    buffer[0] = 0;
    static const char *const sources[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char *source : sources) {
        const char *value = std::getenv(source);
        if (!value || !value[0])
            continue;
        size_t length = std::strlen(value);
        if (length >= size)
            return FALSE;
        std::memcpy(buffer, value, length + 1);
        return TRUE;
    }
    return FALSE;
}
