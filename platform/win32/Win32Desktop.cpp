#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32Window.h"

#include <SDL2/SDL.h>

static const UINT WHEEL_SCROLL_LINES = 3;

BOOL SystemParametersInfoA(UINT action, UINT, void *param_pointer, UINT)
{
    if (!param_pointer)
        return FALSE;
    if (action == SPI_GETWHEELSCROLLLINES) {
        *static_cast<UINT *>(param_pointer) = WHEEL_SCROLL_LINES;
        return TRUE;
    }
    if (action != SPI_GETWORKAREA || PlatformIsDisplayLost())
        return FALSE;
    SDL_Rect area;
    if (PlatformIsHeadless())
        PlatformHeadlessGetWorkArea(&area.x, &area.y, &area.w, &area.h);
    else if (!PlatformEnsureVideo() || SDL_GetDisplayUsableBounds(0, &area) != 0)
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
    if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || PlatformIsDisplayLost())
        return 0;
    if (PlatformIsHeadless()) {
        const PlatformHeadlessMode *desktop = PlatformHeadlessGetDesktopMode(0);
        if (!desktop)
            return 0;
        return index == SM_CXSCREEN ? desktop->width : desktop->height;
    }
    if (!PlatformEnsureVideo())
        return 0;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0)
        return 0;
    return index == SM_CXSCREEN ? bounds.w : bounds.h;
}
