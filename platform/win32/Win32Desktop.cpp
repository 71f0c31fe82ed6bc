#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Video.h"

#include <SDL2/SDL.h>

BOOL SystemParametersInfoA(UINT action, UINT, void *param_pointer, UINT)
{
    if (action != SPI_GETWORKAREA || !param_pointer || !PlatformEnsureVideo())
        return FALSE;
    SDL_Rect area;
    if (SDL_GetDisplayUsableBounds(0, &area) != 0)
        return FALSE;
    RECT *rect = static_cast<RECT *>(param_pointer);
    rect->left = area.x;
    rect->top = area.y;
    rect->right = area.x + area.w;
    rect->bottom = area.y + area.h;
    return TRUE;
}

int GetSystemMetrics(int index)
{
    if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || !PlatformEnsureVideo())
        return 0;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0)
        return 0;
    return index == SM_CXSCREEN ? bounds.w : bounds.h;
}
