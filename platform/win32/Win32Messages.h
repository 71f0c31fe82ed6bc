// The thread message queue and the mouse cursor's show count.
// Window events are turned into these messages by the window layer; tests
// post messages directly.
#pragma once

#include "platform/win32/Win32Types.h"

#define WM_QUIT 0x0012u
#define WM_USER 0x0400u
#define WM_APP 0x8000u
// Posted by a song's player when the song has news (its end); the window
// hands it to the music player's callback.
#define WM_MUSIC_EVENT (WM_APP + 11)

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

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
// lies in min..max (both 0: any); FALSE when there is none.
BOOL PeekMessageA(MSG *msg, HWND hwnd, UINT min, UINT max, UINT remove);

// Raises (show) or lowers the cursor's show count and returns the new count;
// the cursor is visible while the count is 0 or more.
int ShowCursor(BOOL show);
