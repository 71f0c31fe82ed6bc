#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Time.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>

#include <deque>
#include <mutex>

static std::mutex queue_mutex;
static std::deque<MSG> queue;
static int cursor_count = 0;

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(queue_mutex);
    queue.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount()});
    return TRUE;
}

void PlatformPostMouseMove(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(queue_mutex);
    if (!queue.empty() && queue.back().message == WM_MOUSEMOVE && queue.back().hwnd == hwnd) {
        queue.back().wParam = wParam;
        queue.back().lParam = lParam;
        return;
    }
    queue.push_back(MSG{hwnd, WM_MOUSEMOVE, wParam, lParam, GetTickCount()});
}

void PostQuitMessage(int exit_code)
{
    PostMessageA(nullptr, WM_QUIT, static_cast<WPARAM>(exit_code), 0);
}

BOOL PeekMessageA(MSG *msg, HWND, UINT min, UINT max, UINT remove)
{
    PlatformWindowQueueDisplayEvents();

    std::lock_guard<std::mutex> lock(queue_mutex);
    bool any = min == 0 && max == 0;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!any && (it->message < min || it->message > max))
            continue;
        if (msg)
            *msg = *it;
        if (remove & PM_REMOVE)
            queue.erase(it);
        return TRUE;
    }
    return FALSE;
}

int ShowCursor(BOOL show)
{
    int count;
    {
        std::lock_guard<std::mutex> lock(queue_mutex);
        cursor_count += show ? 1 : -1;
        count = cursor_count;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}

void PlatformResetMessagesForTests()
{
    std::lock_guard<std::mutex> lock(queue_mutex);
    queue.clear();
    cursor_count = 0;
}
