// System message boxes. The desktop backend shows an SDL message box, its
// 1252 title and text converted to UTF-8; a test installs its own answer
// through PlatformSetMessageBoxHook (which sees the program's 1252 text), so
// no modal box ever appears in a test run.
#pragma once

#include "platform/win32/Win32Types.h"

#define MB_OK 0x00000000u
#define MB_YESNO 0x00000004u
#define MB_ICONERROR 0x00000010u
#define MB_ICONWARNING 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONMASK 0x000000F0u

#define IDOK 1
#define IDYES 6
#define IDNO 7

// Answers a message box in place of the desktop: returns IDOK, IDYES or IDNO.
typedef int (*PlatformMessageBoxHookCB)(const char *text, const char *caption, UINT type);

// Installs the hook (null restores the desktop backend).
void PlatformSetMessageBoxHook(PlatformMessageBoxHookCB hook);

// Shows the box and waits for its answer; a box that is closed without one
// (see below) answers as Escape would: IDOK, or IDNO to a question.
int MessageBoxA(HWND hwnd, const char *text, const char *caption, UINT type);

// The program is closing (SIGTERM, SIGINT): the box on screen goes at once
// and no other is shown. Safe to call from a signal handler.
void PlatformCloseMessageBoxes();
void PlatformReopenMessageBoxesForTests();
