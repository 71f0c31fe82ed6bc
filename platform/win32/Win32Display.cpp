#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32Headless.h"

#include <SDL2/SDL.h>

static void FillMode(DEVMODEA *mode, int width, int height, int bits, int refresh_rate)
{
    mode->dmPelsWidth = static_cast<DWORD>(width);
    mode->dmPelsHeight = static_cast<DWORD>(height);
    mode->dmBitsPerPel = static_cast<DWORD>(bits);
    mode->dmDisplayFrequency = static_cast<DWORD>(refresh_rate);
}

BOOL EnumDisplaySettingsA(const char *device, DWORD mode_number, DEVMODEA *mode)
{
    if (device || !mode)
        return FALSE;
    if (PlatformIsHeadless()) {
        const PlatformHeadlessMode *found = mode_number == ENUM_CURRENT_SETTINGS
                                                ? PlatformHeadlessGetDesktopMode()
                                                : PlatformHeadlessGetMode(static_cast<int>(mode_number));
        if (!found)
            return FALSE;
        FillMode(mode, found->width, found->height, found->bits, found->refresh_rate);
        return TRUE;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return FALSE;
    SDL_DisplayMode sdl_mode;
    int result = mode_number == ENUM_CURRENT_SETTINGS ? SDL_GetDesktopDisplayMode(0, &sdl_mode)
                                                      : SDL_GetDisplayMode(0, static_cast<int>(mode_number), &sdl_mode);
    if (result != 0)
        return FALSE;
    int bits = SDL_BYTESPERPIXEL(sdl_mode.format) == 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(sdl_mode.format));
    FillMode(mode, sdl_mode.w, sdl_mode.h, bits, sdl_mode.refresh_rate);
    return TRUE;
}
