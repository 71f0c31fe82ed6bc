// The program's windows over SDL2: window classes, windows with their styles
// and rectangles, the default handling of messages and their dispatch to a
// window's procedure. Display events become the messages of
// Win32Messages.h: keys with the desktop's virtual key numbers, characters
// for text and for Backspace, Tab, Enter, Escape and Ctrl+letters, the
// double-click order down, up, double-click, up, one size message after a
// resize has settled, activation, close and the mouse leaving.
// On the headless desktop (Win32Headless.h) windows are records only.
#pragma once

#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Types.h"

typedef LRESULT (*WNDPROC)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
typedef WORD ATOM;

// Class styles.
#define CS_DBLCLKS 0x0008u

// Window styles.
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_VISIBLE 0x10000000u
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

#define GWL_STYLE (-16)

// Show commands beyond those of Win32Types.h.
#define SW_MINIMIZE 6
#define SW_RESTORE 9

#define ERROR_CLASS_ALREADY_EXISTS 1410u

// The class fields this program sets.
struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    HINSTANCE hInstance;
    const char *lpszClassName;
};

// Registers a class by name. 0 when it fails; GetLastError() then tells
// ERROR_CLASS_ALREADY_EXISTS for a name already registered.
ATOM RegisterClassA(const WNDCLASSA *window_class);

// x, y, width and height give the outer rectangle (frame included). The
// popup style makes a full-screen window whose display mode is the one
// nearest width x height. Null when the class is unknown or the display
// refuses the window.
HWND CreateWindowExA(DWORD ex_style, const char *class_name, const char *title, DWORD style, int x, int y,
                     int width, int height, HWND parent, void *menu, HINSTANCE instance, void *param);
// Sends WM_DESTROY to the window's procedure, then removes the window.
BOOL DestroyWindow(HWND hwnd);
// WM_CLOSE destroys the window; every other message is ignored.
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the procedure of the message's window; 0 when the window is gone.
LRESULT DispatchMessageA(const MSG *msg);
// Calls the window's procedure at once, bypassing the queue.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

BOOL IsWindow(HWND hwnd);
BOOL IsIconic(HWND hwnd);
// The client area, origin 0, 0.
BOOL GetClientRect(HWND hwnd, RECT *rect);
// The outer rectangle in desktop pixels.
BOOL GetWindowRect(HWND hwnd, RECT *rect);
// Grows a client rectangle to the outer rectangle of a window of that style.
BOOL AdjustWindowRect(RECT *rect, DWORD style, BOOL menu);
// GWL_STYLE only: applies the style and returns the previous one (0 on failure).
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
// SW_MINIMIZE, SW_RESTORE, SW_SHOW, SW_HIDE; the state change arrives as a
// WM_SIZE message (from the display; sent at once on the headless desktop).
// Returns whether the window was visible.
BOOL ShowWindow(HWND hwnd, int command);

// Starts the display (SDL video) for the program, before anything asks for
// display modes or windows; true at once on the headless desktop.
bool PlatformStartDisplay();

// Called on the thread that noticed when the connection to the display is
// lost (the X server went away): the program saves what it must and the
// process then ends with code 1. It must not draw, show or ask anything of
// the display; the desktop queries answer "unknown" from then on.
typedef void (*PlatformDisplayLostCB)();
void PlatformSetDisplayLostCB(PlatformDisplayLostCB lost);
// Routes the loss of any display connection to that callback; the display
// start and the native-window toolkit's start (which sets a handler of its
// own) call it.
void PlatformWatchDisplayConnection();
bool PlatformIsDisplayLost();

// Headless desktop: a settled resize by the user of the window's client area
// to width x height (WM_SIZE and WM_EXITSIZEMOVE follow, as on a display).
void PlatformHeadlessResizeWindow(HWND hwnd, int width, int height);

// Destroys every window left and forgets the registered classes.
void PlatformResetWindowsForTests();
