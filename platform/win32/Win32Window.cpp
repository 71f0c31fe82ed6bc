#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9GL.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <pthread.h>
#include <string>
#include <vector>

#define ERROR_INVALID_PARAMETER 87u

namespace {

struct WindowClass {
    std::string name;
    UINT style;
    WNDPROC proc;
};

std::vector<WindowClass> classes;
std::vector<HWND> windows;

// The thread that started the display: SDL hands out events on it only.
pthread_t display_thread;
bool display_thread_known = false;

// The frame the desktop draws around a captioned window. The same numbers
// turn a client area into the outer rectangle and back, so a window position
// stored at exit brings the window back to the same place.
const LONG FRAME_SIDE = 8;
const LONG FRAME_CAPTION = 31;

bool IsCaptioned(DWORD style)
{
    return !(style & WS_POPUP) && (style & WS_CAPTION) == WS_CAPTION;
}

const WindowClass *FindClass(const char *name)
{
    if (!name)
        return nullptr;
    for (const WindowClass &window_class : classes)
        if (window_class.name == name)
            return &window_class;
    return nullptr;
}

// The display mode nearest width x height becomes the window's full-screen mode.
bool MakeFullScreen(SDL_Window *window, int width, int height)
{
    int display = SDL_GetWindowDisplayIndex(window);
    SDL_DisplayMode wanted = {0, width, height, 0, nullptr};
    SDL_DisplayMode closest;
    if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest))
        return false;
    return SDL_SetWindowDisplayMode(window, &closest) == 0 && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

SDL_Window *CreateDisplayWindow(const char *title, DWORD style, int x, int y, int width, int height)
{
    RECT frame;
    PlatformGetFrame(style, &frame);
    int client_width = std::max(1, static_cast<int>(width - frame.left - frame.right));
    int client_height = std::max(1, static_cast<int>(height - frame.top - frame.bottom));

    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    if (!IsCaptioned(style))
        flags |= SDL_WINDOW_BORDERLESS;
    // The graphics device draws into the window with GL when that is its backend.
    if (D3D9GetBackend() == D3D9_BACKEND_GL && D3D9GLPrepareWindow())
        flags |= SDL_WINDOW_OPENGL;

    char utf8_title[1024];
    if (!PlatformCp1252ToUtf8(title ? title : "", utf8_title, sizeof(utf8_title)))
        utf8_title[0] = 0;
    SDL_Window *window = SDL_CreateWindow(utf8_title, x + frame.left, y + frame.top, client_width, client_height, flags);
    if (!window)
        return nullptr;
    if ((style & WS_POPUP) && !MakeFullScreen(window, client_width, client_height)) {
        SDL_DestroyWindow(window);
        return nullptr;
    }
    if (style & WS_VISIBLE)
        SDL_ShowWindow(window);
    return window;
}

} // namespace

void PlatformGetFrame(DWORD style, RECT *frame)
{
    if (IsCaptioned(style))
        *frame = {FRAME_SIDE, FRAME_CAPTION, FRAME_SIDE, FRAME_SIDE};
    else
        *frame = {0, 0, 0, 0};
}

const std::vector<HWND> &PlatformGetWindows()
{
    return windows;
}

HWND PlatformFindWindowBySdlId(uint32_t id)
{
    for (HWND hwnd : windows)
        if (hwnd->sdl && hwnd->sdl_id == id)
            return hwnd;
    return nullptr;
}

ATOM RegisterClassA(const WNDCLASSA *window_class)
{
    if (!window_class || !window_class->lpfnWndProc || !window_class->lpszClassName ||
        !window_class->lpszClassName[0]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(window_class->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    classes.push_back({window_class->lpszClassName, window_class->style, window_class->lpfnWndProc});
    return static_cast<ATOM>(classes.size());
}

HWND CreateWindowExA(DWORD, const char *class_name, const char *title, DWORD style, int x, int y, int width,
                     int height, HWND, void *, HINSTANCE, void *)
{
    const WindowClass *window_class = FindClass(class_name);
    if (!window_class || width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    SDL_Window *sdl_window = nullptr;
    if (!PlatformIsHeadless()) {
        sdl_window = CreateDisplayWindow(title, style, x, y, width, height);
        if (!sdl_window)
            return nullptr;
    }
    HWND hwnd = new HWND__();
    hwnd->proc = window_class->proc;
    hwnd->class_style = window_class->style;
    hwnd->style = style;
    hwnd->outer = {x, y, x + width, y + height};
    hwnd->sdl = sdl_window;
    hwnd->sdl_id = sdl_window ? SDL_GetWindowID(sdl_window) : 0;
    hwnd->visible = (style & WS_VISIBLE) != 0;
    windows.push_back(hwnd);
    return hwnd;
}

BOOL IsWindow(HWND hwnd)
{
    return hwnd && std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return FALSE;
    // Gone from the list first, so a procedure that destroys again on
    // WM_DESTROY finds nothing to do.
    windows.erase(std::find(windows.begin(), windows.end(), hwnd));
    hwnd->proc(hwnd, WM_DESTROY, 0, 0);
    if (hwnd->sdl)
        SDL_DestroyWindow(hwnd->sdl);
    delete hwnd;
    return TRUE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        DestroyWindow(hwnd);
    return 0;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hwnd))
        return 0;
    return hwnd->proc(hwnd, message, wParam, lParam);
}

LRESULT DispatchMessageA(const MSG *msg)
{
    if (!msg || !IsWindow(msg->hwnd))
        return 0;
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL IsIconic(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return FALSE;
    if (hwnd->sdl)
        return (SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_MINIMIZED) != 0;
    return hwnd->minimised;
}

BOOL GetClientRect(HWND hwnd, RECT *rect)
{
    if (!IsWindow(hwnd) || !rect)
        return FALSE;
    if (hwnd->sdl) {
        int width = 0, height = 0;
        SDL_GetWindowSize(hwnd->sdl, &width, &height);
        *rect = {0, 0, width, height};
        return TRUE;
    }
    RECT frame;
    PlatformGetFrame(hwnd->style, &frame);
    *rect = {0, 0, hwnd->outer.right - hwnd->outer.left - frame.left - frame.right,
             hwnd->outer.bottom - hwnd->outer.top - frame.top - frame.bottom};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT *rect)
{
    if (!IsWindow(hwnd) || !rect)
        return FALSE;
    if (!hwnd->sdl) {
        *rect = hwnd->outer;
        return TRUE;
    }
    RECT frame;
    PlatformGetFrame(hwnd->style, &frame);
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(hwnd->sdl, &x, &y);
    SDL_GetWindowSize(hwnd->sdl, &width, &height);
    *rect = {x - frame.left, y - frame.top, x + width + frame.right, y + height + frame.bottom};
    return TRUE;
}

BOOL AdjustWindowRect(RECT *rect, DWORD style, BOOL)
{
    if (!rect)
        return FALSE;
    RECT frame;
    PlatformGetFrame(style, &frame);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value)
{
    if (!IsWindow(hwnd) || index != GWL_STYLE)
        return 0;
    DWORD old_style = hwnd->style;
    DWORD style = static_cast<DWORD>(value);
    if (hwnd->sdl) {
        bool full_screen = (style & WS_POPUP) != 0;
        if (full_screen != ((old_style & WS_POPUP) != 0)) {
            int width = 0, height = 0;
            SDL_GetWindowSize(hwnd->sdl, &width, &height);
            bool changed = full_screen ? MakeFullScreen(hwnd->sdl, width, height)
                                       : SDL_SetWindowFullscreen(hwnd->sdl, 0) == 0;
            if (!changed)
                return 0;
        }
        SDL_SetWindowResizable(hwnd->sdl, (style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowBordered(hwnd->sdl, IsCaptioned(style) ? SDL_TRUE : SDL_FALSE);
    }
    hwnd->style = style;
    return static_cast<LONG>(old_style);
}

BOOL ShowWindow(HWND hwnd, int command)
{
    if (!IsWindow(hwnd))
        return FALSE;
    BOOL was_visible = hwnd->visible;
    if (hwnd->sdl) {
        switch (command) {
        case SW_MINIMIZE: SDL_MinimizeWindow(hwnd->sdl); break;
        case SW_RESTORE: SDL_RestoreWindow(hwnd->sdl); break;
        case SW_HIDE: SDL_HideWindow(hwnd->sdl); break;
        default: SDL_ShowWindow(hwnd->sdl); break;
        }
        hwnd->visible = command != SW_HIDE;
        return was_visible;
    }
    // Headless: the state changes at once and the window's procedure hears
    // of it before the call returns, as on the desktop.
    if (command == SW_MINIMIZE && !hwnd->minimised) {
        hwnd->minimised = true;
        SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    } else if (command == SW_RESTORE && hwnd->minimised) {
        hwnd->minimised = false;
        RECT client;
        GetClientRect(hwnd, &client);
        SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    hwnd->visible = command != SW_HIDE;
    return was_visible;
}

bool PlatformStartDisplay()
{
    if (PlatformIsHeadless())
        return true;
    // A drag that leaves the window is followed by polling the cursor, as on
    // the desktop; SDL would otherwise capture the mouse while a button is held.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    if (!PlatformEnsureVideo())
        return false;
    display_thread = pthread_self();
    display_thread_known = true;
    PlatformWatchDisplayConnection();
    return true;
}

bool PlatformIsDisplayThread()
{
    return display_thread_known && pthread_equal(display_thread, pthread_self());
}

void PlatformHeadlessResizeWindow(HWND hwnd, int width, int height)
{
    if (!IsWindow(hwnd) || hwnd->sdl || width <= 0 || height <= 0)
        return;
    RECT frame;
    PlatformGetFrame(hwnd->style, &frame);
    hwnd->outer.right = hwnd->outer.left + frame.left + width + frame.right;
    hwnd->outer.bottom = hwnd->outer.top + frame.top + height + frame.bottom;
    PostMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    PostMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void PlatformResetWindowsForTests()
{
    while (!windows.empty())
        DestroyWindow(windows.back());
    classes.clear();
}
