#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32Headless.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

namespace {

const char DEVICE_NAME_START[] = "\\\\.\\DISPLAY";

// The display number a device name stands for, or -1.
int DisplayOfDeviceName(const char *device)
{
    if (!device)
        return 0;
    size_t start = sizeof(DEVICE_NAME_START) - 1;
    if (std::strncmp(device, DEVICE_NAME_START, start) != 0 || device[start] < '1' || device[start] > '9')
        return -1;
    char *end = nullptr;
    long number = std::strtol(device + start, &end, 10);
    return *end == 0 && number <= 64 ? static_cast<int>(number) - 1 : -1;
}

void FillMode(DEVMODEA *mode, int width, int height, int bits, int refresh_rate)
{
    mode->dmPelsWidth = static_cast<DWORD>(width);
    mode->dmPelsHeight = static_cast<DWORD>(height);
    mode->dmBitsPerPel = static_cast<DWORD>(bits);
    mode->dmDisplayFrequency = static_cast<DWORD>(refresh_rate);
}

} // namespace

void PlatformGetDisplayDeviceName(int display, char *name, int size)
{
    if (name && size > 0)
        snprintf(name, static_cast<size_t>(size), "%s%d", DEVICE_NAME_START, display + 1);
}

BOOL EnumDisplaySettingsA(const char *device, DWORD mode_number, DEVMODEA *mode)
{
    int display = DisplayOfDeviceName(device);
    if (display < 0 || !mode)
        return FALSE;
    bool desktop = mode_number == ENUM_CURRENT_SETTINGS || mode_number == ENUM_REGISTRY_SETTINGS;
    if (PlatformIsHeadless()) {
        const PlatformHeadlessMode *found = desktop ? PlatformHeadlessGetDesktopMode(display)
                                                    : PlatformHeadlessGetMode(display, static_cast<int>(mode_number));
        if (!found)
            return FALSE;
        FillMode(mode, found->width, found->height, found->bits, found->refresh_rate);
        return TRUE;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return FALSE;
    SDL_DisplayMode sdl_mode;
    int result = desktop ? SDL_GetDesktopDisplayMode(display, &sdl_mode)
                         : SDL_GetDisplayMode(display, static_cast<int>(mode_number), &sdl_mode);
    if (result != 0)
        return FALSE;
    int bits = SDL_BYTESPERPIXEL(sdl_mode.format) == 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(sdl_mode.format));
    FillMode(mode, sdl_mode.w, sdl_mode.h, bits, sdl_mode.refresh_rate);
    return TRUE;
}
