// Keyboard and mouse: the desktop's virtual key numbers, the cursor's
// position, the mouse buttons' state and the notice of the mouse leaving a
// window.
#pragma once

#include "platform/win32/Win32Types.h"

struct POINT {
    LONG x;
    LONG y;
};

// Virtual keys. Letters and digits are their upper-case ASCII codes.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE
#define VK_OEM_102 0xE2

// Mouse message key flags (wParam).
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

#define TME_LEAVE 0x00000002u

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};

// The cursor in desktop pixels.
BOOL GetCursorPos(POINT *point);
BOOL SetCursorPos(int x, int y);
BOOL ScreenToClient(HWND hwnd, POINT *point);
BOOL ClientToScreen(HWND hwnd, POINT *point);
// The top bit (0x8000) is set while the mouse button is held. The program
// keeps its own table of keys from the key messages, so only the three mouse
// buttons are answered; every other key reads as up.
short GetAsyncKeyState(int virtual_key);
// With TME_LEAVE: WM_MOUSELEAVE is posted once when the mouse leaves the
// window's client area (at once when it is outside already).
BOOL TrackMouseEvent(TRACKMOUSEEVENT *track);
