// The system clipboard as 8-bit text (CF_TEXT), over SDL's clipboard. The
// program's 1252 text is put on the clipboard as UTF-8 and read back as
// 1252; characters 1252 lacks read as '?'.
#pragma once

#include "platform/win32/Win32Types.h"

#include <cstddef>

#define CF_TEXT 1u

#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u

typedef HANDLE HGLOBAL;

// Memory blocks handed to and taken from the clipboard.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
void *GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);

// Opens the clipboard for a window of this program; FALSE without one
// (a null or destroyed owner), without a display, or while the clipboard is
// open already. Opening starts SDL's video subsystem when needed.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// Takes the block over (it is freed here) and puts its text on the
// clipboard; the block's handle on success, null on failure.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The clipboard's text in a block that stays valid until the clipboard is
// emptied or closed; null when it holds no text.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
