#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32Window.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

namespace {

struct GlobalBlock {
    size_t size;
    int locks;
    char data[1];
};

bool clipboard_open = false;
// The block the last GetClipboardData handed out; the clipboard owns it.
HGLOBAL clipboard_text = nullptr;

void ForgetClipboardText()
{
    GlobalFree(clipboard_text);
    clipboard_text = nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes)
{
    if (bytes == 0)
        bytes = 1;
    GlobalBlock *block = static_cast<GlobalBlock *>(std::malloc(offsetof(GlobalBlock, data) + bytes));
    if (!block)
        return nullptr;
    block->size = bytes;
    block->locks = 0;
    if (flags & GMEM_ZEROINIT)
        std::memset(block->data, 0, bytes);
    return block;
}

void *GlobalLock(HGLOBAL handle)
{
    GlobalBlock *block = static_cast<GlobalBlock *>(handle);
    if (!block)
        return nullptr;
    block->locks++;
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL handle)
{
    GlobalBlock *block = static_cast<GlobalBlock *>(handle);
    if (!block || block->locks == 0)
        return FALSE;
    block->locks--;
    return block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle)
{
    std::free(handle);
    return nullptr;
}

BOOL OpenClipboard(HWND owner)
{
    // The program opens the clipboard for its main window only.
    if (!owner || !IsWindow(owner) || clipboard_open || !PlatformEnsureVideo())
        return FALSE;
    clipboard_open = true;
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!clipboard_open)
        return FALSE;
    ForgetClipboardText();
    clipboard_open = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!clipboard_open)
        return FALSE;
    ForgetClipboardText();
    return SDL_SetClipboardText("") == 0;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    GlobalBlock *block = static_cast<GlobalBlock *>(data);
    if (!clipboard_open || format != CF_TEXT || !block)
        return nullptr;
    // CF_TEXT is zero-terminated.
    if (strnlen(block->data, block->size) == block->size)
        return nullptr;
    if (SDL_SetClipboardText(PlatformCp1252ToUtf8String(block->data).c_str()) != 0)
        return nullptr;
    GlobalFree(data);
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    if (!clipboard_open || format != CF_TEXT || !SDL_HasClipboardText())
        return nullptr;
    char *utf8 = SDL_GetClipboardText();
    if (!utf8)
        return nullptr;
    // 1252 never takes more bytes than the UTF-8 it came from.
    size_t size = std::strlen(utf8) + 1;
    HGLOBAL block = GlobalAlloc(0, size);
    if (block && !PlatformUtf8ToCp1252(utf8, static_cast<GlobalBlock *>(block)->data, size, '?'))
        block = GlobalFree(block);
    SDL_free(utf8);
    if (!block)
        return nullptr;
    ForgetClipboardText();
    clipboard_text = block;
    return block;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    return format == CF_TEXT && PlatformEnsureVideo() && SDL_HasClipboardText();
}
