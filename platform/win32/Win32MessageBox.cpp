#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32CodePage.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <string>

static std::atomic<PlatformMessageBoxHookCB> message_box_hook{nullptr};

void PlatformSetMessageBoxHook(PlatformMessageBoxHookCB hook)
{
    message_box_hook = hook;
}

// SDL can show a message box without a window or an initialised video system.
static int ShowSdlMessageBox(const char *text, const char *caption, UINT type)
{
    Uint32 flags = 0;
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: flags = SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONWARNING: flags = SDL_MESSAGEBOX_WARNING; break;
    case MB_ICONINFORMATION: flags = SDL_MESSAGEBOX_INFORMATION; break;
    default: break;
    }

    // Escape closes a box with one button, as Return does.
    SDL_MessageBoxButtonData ok_button = {
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
    SDL_MessageBoxButtonData yes_no[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    bool ask = (type & MB_TYPEMASK) == MB_YESNO;

    std::string title = PlatformCp1252ToUtf8String(caption);
    std::string message = PlatformCp1252ToUtf8String(text);
    SDL_MessageBoxData data = {};
    data.flags = flags;
    data.title = title.c_str();
    data.message = message.c_str();
    data.numbuttons = ask ? 2 : 1;
    data.buttons = ask ? yes_no : &ok_button;

    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0)
        return ask ? IDNO : IDOK;
    return pressed;
}

int MessageBoxA(HWND, const char *text, const char *caption, UINT type)
{
    PlatformMessageBoxHookCB hook = message_box_hook;
    if (hook)
        return hook(text, caption, type);
    return ShowSdlMessageBox(text, caption, type);
}
