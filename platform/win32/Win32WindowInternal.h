// What the window layer's own files share: the window record behind an HWND.
#pragma once

#include "platform/win32/Win32Window.h"

#include <cstdint>
#include <vector>

struct SDL_Window;

struct HWND__ {
    WNDPROC proc;
    UINT class_style;
    DWORD style;
    // Headless windows keep their rectangles here; display windows ask SDL.
    RECT outer;
    SDL_Window *sdl;
    uint32_t sdl_id;
    bool visible;
    bool minimised;
    // A leave notice was asked for (TrackMouseEvent) and not yet sent.
    bool track_leave;
    // Size changes seen and the time of the last, until the resize settles.
    bool resize_pending;
    uint32_t resize_ticks;
};

const std::vector<HWND> &PlatformGetWindows();
// The window with this SDL id, or null.
HWND PlatformFindWindowBySdlId(uint32_t id);
// The frame around a client area of the style: left, top, right, bottom.
void PlatformGetFrame(DWORD style, RECT *frame);
// The thread that started the display (PlatformStartDisplay) is asking.
bool PlatformIsDisplayThread();
// Queues the display's pending events as messages (PeekMessageA calls it);
// only on the display's thread.
void PlatformWindowQueueDisplayEvents();
