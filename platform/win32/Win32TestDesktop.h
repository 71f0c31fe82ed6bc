// What a test does at the real desktop as a user would: type, click, move
// the mouse, drag a window's frame, use the clipboard from another program,
// and look at a window. Display tests use it to check the window layer from
// outside without talking to SDL themselves.
#pragma once

#include "platform/win32/Win32Types.h"

#include <string>

// Modifier keys held with a synthesised key (bits, combined with |).
enum {
    PTD_MOD_NONE = 0,
    PTD_MOD_LSHIFT = 1,
    PTD_MOD_RSHIFT = 2,
    PTD_MOD_LCTRL = 4,
    PTD_MOD_LALT = 8,
};

// Mouse buttons as the desktop numbers them.
enum { PTD_BUTTON_LEFT = 1, PTD_BUTTON_MIDDLE = 2, PTD_BUTTON_RIGHT = 3 };

// Queues input for a window as the display would deliver it. Keys are named
// as the display's keyboard names them ("A", "Return", "Left Shift", "F10").
bool PlatformTestPushKey(HWND window, bool down, const char *key_name, int modifiers);
bool PlatformTestPushText(HWND window, const char *utf8);
bool PlatformTestPushButton(HWND window, bool down, int button, int clicks, int x, int y);
bool PlatformTestPushMotion(HWND window, int x, int y);
bool PlatformTestPushWheel(HWND window, int notches);
// The modifier keys the keyboard reports as held.
void PlatformTestSetModifiers(int modifiers);

// The pointer, in desktop coordinates.
void PlatformTestWarpMouse(int x, int y);
void PlatformTestGetMouse(int *x, int *y);

// The window as the display shows it.
void PlatformTestGetWindowSize(HWND window, int *width, int *height);
void PlatformTestGetWindowPosition(HWND window, int *x, int *y);
std::string PlatformTestGetWindowTitle(HWND window);
bool PlatformTestIsWindowShown(HWND window);
// A drag on the window's frame to this client size.
void PlatformTestSetWindowSize(HWND window, int width, int height);

// The system clipboard as another program sees it (UTF-8).
std::string PlatformTestGetSystemClipboard();
bool PlatformTestSetSystemClipboard(const char *utf8);
