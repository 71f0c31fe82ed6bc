#include "platform/win32/Win32User.h"
#include "platform/win32/Win32CodePage.h"

#include <cerrno>
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
