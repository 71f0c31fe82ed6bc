#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>

static bool DisplayRunning()
{
    return !PlatformIsHeadless() && SDL_WasInit(SDL_INIT_VIDEO);
}

// The client area's top-left corner in desktop pixels.
static bool GetClientOrigin(HWND hwnd, int *x, int *y)
{
    if (!IsWindow(hwnd))
        return false;
    if (hwnd->sdl) {
        SDL_GetWindowPosition(hwnd->sdl, x, y);
        return true;
    }
    RECT frame;
    PlatformGetFrame(hwnd->style, &frame);
    *x = hwnd->outer.left + frame.left;
    *y = hwnd->outer.top + frame.top;
    return true;
}

BOOL GetCursorPos(POINT *point)
{
    if (!point)
        return FALSE;
    int x = 0, y = 0;
    if (PlatformIsHeadless())
        PlatformHeadlessGetMouse(&x, &y, nullptr);
    else if (DisplayRunning())
        SDL_GetGlobalMouseState(&x, &y);
    else
        return FALSE;
    point->x = x;
    point->y = y;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    if (PlatformIsHeadless()) {
        unsigned buttons = 0;
        PlatformHeadlessGetMouse(nullptr, nullptr, &buttons);
        PlatformHeadlessSetMouse(x, y, buttons);
        return TRUE;
    }
    return DisplayRunning() && SDL_WarpMouseGlobal(x, y) == 0;
}

BOOL ScreenToClient(HWND hwnd, POINT *point)
{
    int x = 0, y = 0;
    if (!point || !GetClientOrigin(hwnd, &x, &y))
        return FALSE;
    point->x -= x;
    point->y -= y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT *point)
{
    int x = 0, y = 0;
    if (!point || !GetClientOrigin(hwnd, &x, &y))
        return FALSE;
    point->x += x;
    point->y += y;
    return TRUE;
}

short GetAsyncKeyState(int virtual_key)
{
    unsigned held = 0;
    if (PlatformIsHeadless()) {
        PlatformHeadlessGetMouse(nullptr, nullptr, &held);
    } else if (DisplayRunning()) {
        Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
        if (buttons & SDL_BUTTON_LMASK)
            held |= VK_LBUTTON;
        if (buttons & SDL_BUTTON_RMASK)
            held |= VK_RBUTTON;
        if (buttons & SDL_BUTTON_MMASK)
            held |= VK_MBUTTON;
    }
    bool button = virtual_key == VK_LBUTTON || virtual_key == VK_RBUTTON || virtual_key == VK_MBUTTON;
    return (button && (held & static_cast<unsigned>(virtual_key))) ? static_cast<short>(0x8000) : 0;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT *track)
{
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT) || !IsWindow(track->hwndTrack))
        return FALSE;
    HWND hwnd = track->hwndTrack;
    if (!(track->dwFlags & TME_LEAVE)) {
        hwnd->track_leave = false;
        return TRUE;
    }
    if (hwnd->sdl && SDL_GetMouseFocus() != hwnd->sdl) {
        hwnd->track_leave = false;
        PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    hwnd->track_leave = true;
    return TRUE;
}
