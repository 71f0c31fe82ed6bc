// The thread message queue, the window messages and the mouse cursor's show
// count. The window layer turns the display's events into these messages
// (Win32Window.h); tests post messages directly.
#pragma once

#include "platform/win32/Win32Types.h"

#define WM_DESTROY 0x0002u
#define WM_SIZE 0x0005u
#define WM_ACTIVATE 0x0006u
#define WM_PAINT 0x000Fu
#define WM_CLOSE 0x0010u
#define WM_QUIT 0x0012u
#define WM_KEYDOWN 0x0100u
#define WM_KEYUP 0x0101u
#define WM_CHAR 0x0102u
#define WM_SYSKEYDOWN 0x0104u
#define WM_SYSKEYUP 0x0105u
#define WM_MOUSEMOVE 0x0200u
#define WM_LBUTTONDOWN 0x0201u
#define WM_LBUTTONUP 0x0202u
#define WM_LBUTTONDBLCLK 0x0203u
#define WM_RBUTTONDOWN 0x0204u
#define WM_RBUTTONUP 0x0205u
#define WM_RBUTTONDBLCLK 0x0206u
#define WM_MBUTTONDOWN 0x0207u
#define WM_MBUTTONUP 0x0208u
#define WM_MBUTTONDBLCLK 0x0209u
#define WM_MOUSEWHEEL 0x020Au
#define WM_POWERBROADCAST 0x0218u
#define WM_EXITSIZEMOVE 0x0232u
#define WM_MOUSELEAVE 0x02A3u
#define WM_USER 0x0400u
#define WM_APP 0x8000u
// Posted by a song's player when the song has news (its end); the window
// hands it to the music player's callback.
#define WM_MUSIC_EVENT (WM_APP + 11)

// WM_SIZE kinds (wParam).
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#define SIZE_MAXSHOW 3
#define SIZE_MAXHIDE 4

// WM_ACTIVATE states (low word of wParam).
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_POWERBROADCAST events (wParam).
#define PBT_APMSUSPEND 0x0004u
#define PBT_APMRESUMESUSPEND 0x0007u
#define PBT_APMPOWERSTATUSCHANGE 0x000Au
#define PBT_APMRESUMEAUTOMATIC 0x0012u

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xFFFF))
#define MAKELPARAM(low, high) ((LPARAM)(DWORD)(((WORD)(low)) | (((DWORD)(WORD)(high)) << 16)))
#define MAKEWPARAM(low, high) ((WPARAM)(DWORD)(((WORD)(low)) | (((DWORD)(WORD)(high)) << 16)))
// Signed client coordinates of mouse messages.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define GET_WHEEL_DELTA_WPARAM(wp) ((short)HIWORD(wp))
#define WHEEL_DELTA 120

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

// Queues a message; safe from any thread (the music player posts from its own).
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exit_code);

// Takes (or, with PM_NOREMOVE, copies) the oldest queued message whose number
// lies in min..max (both 0: any); FALSE when there is none. On the thread
// that started the display, the display's pending events are queued first.
BOOL PeekMessageA(MSG *msg, HWND hwnd, UINT min, UINT max, UINT remove);

// Raises (show) or lowers the cursor's show count and returns the new count;
// the cursor is visible while the count is 0 or more.
int ShowCursor(BOOL show);

// Queues a mouse move, or updates the last queued message when that is a
// mouse move of the same window: the desktop sends the latest position, not
// every step of the way.
void PlatformPostMouseMove(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Empties the queue and sets the cursor's show count back to 0.
void PlatformResetMessagesForTests();
