#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32Headless.h"

#include <SDL2/SDL.h>

bool PlatformEnsureVideo()
{
    if (PlatformIsHeadless())
        return false;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}
