#include "platform/d3d9/D3D9Runtime.h"
#include "platform/d3d9/D3D9Object.h"
#include "platform/win32/Win32Error.h"

#include <cstring>
#include <strings.h>
#include <unistd.h>

struct HMODULE__ {
    int loads;
};

namespace {

HMODULE__ runtime = {0};
bool runtime_present = true;

const char *BaseName(const char *path)
{
    const char *base = path;
    for (const char *p = path; *p; p++)
        if (*p == '/' || *p == '\\')
            base = p + 1;
    return base;
}

} // namespace

UINT GetSystemDirectoryA(char *buffer, UINT size)
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return 0;
    path[length] = 0;
    char *slash = std::strrchr(path, '/');
    if (!slash)
        return 0;
    // The root folder keeps its slash.
    size_t folder = slash == path ? 1 : static_cast<size_t>(slash - path);
    if (!buffer || folder + 1 > size)
        return static_cast<UINT>(folder + 1);
    std::memcpy(buffer, path, folder);
    buffer[folder] = 0;
    return static_cast<UINT>(folder);
}

HMODULE LoadLibraryA(const char *path)
{
    if (!path || !runtime_present || strcasecmp(BaseName(path), "d3d9.dll") != 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    runtime.loads++;
    return &runtime;
}

FARPROC GetProcAddress(HMODULE module, const char *name)
{
    if (module != &runtime || runtime.loads == 0 || !name || std::strcmp(name, "Direct3DCreate9") != 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    // The type every entry point is handed out as; the caller casts it back.
    return reinterpret_cast<FARPROC>(&Direct3DCreate9);
}

BOOL FreeLibrary(HMODULE module)
{
    if (module != &runtime || runtime.loads == 0)
        return FALSE;
    runtime.loads--;
    return TRUE;
}

int D3D9RuntimeGetLoadCount()
{
    return runtime.loads;
}

void D3D9RuntimeSetPresent(bool present)
{
    runtime_present = present;
}
