#include "platform/win32/Win32TestDesktop.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>

#include <cstring>

namespace {

Uint16 SdlModifiers(int modifiers)
{
    Uint16 mod = KMOD_NONE;
    if (modifiers & PTD_MOD_LSHIFT)
        mod |= KMOD_LSHIFT;
    if (modifiers & PTD_MOD_RSHIFT)
        mod |= KMOD_RSHIFT;
    if (modifiers & PTD_MOD_LCTRL)
        mod |= KMOD_LCTRL;
    if (modifiers & PTD_MOD_LALT)
        mod |= KMOD_LALT;
    return mod;
}

Uint32 SdlIdOf(HWND window)
{
    return window && window->sdl ? SDL_GetWindowID(window->sdl) : 0;
}

bool Push(SDL_Event *event)
{
    return SDL_PushEvent(event) == 1;
}

} // namespace

bool PlatformTestPushKey(HWND window, bool down, const char *key_name, int modifiers)
{
    SDL_Keycode key = SDL_GetKeyFromName(key_name);
    SDL_Scancode scancode = SDL_GetScancodeFromName(key_name);
    if (key == SDLK_UNKNOWN || scancode == SDL_SCANCODE_UNKNOWN)
        return false;
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SdlIdOf(window);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = SdlModifiers(modifiers);
    return Push(&event);
}

bool PlatformTestPushText(HWND window, const char *utf8)
{
    SDL_Event event = {};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = SdlIdOf(window);
    std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
    return Push(&event);
}

bool PlatformTestPushButton(HWND window, bool down, int button, int clicks, int x, int y)
{
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SdlIdOf(window);
    event.button.button = static_cast<Uint8>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = static_cast<Uint8>(clicks);
    event.button.x = x;
    event.button.y = y;
    return Push(&event);
}

bool PlatformTestPushMotion(HWND window, int x, int y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SdlIdOf(window);
    event.motion.x = x;
    event.motion.y = y;
    return Push(&event);
}

bool PlatformTestPushWheel(HWND window, int notches)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SdlIdOf(window);
    event.wheel.y = notches;
    event.wheel.preciseY = static_cast<float>(notches);
    return Push(&event);
}

void PlatformTestSetModifiers(int modifiers)
{
    SDL_SetModState(static_cast<SDL_Keymod>(SdlModifiers(modifiers)));
}

void PlatformTestWarpMouse(int x, int y)
{
    SDL_WarpMouseGlobal(x, y);
}

void PlatformTestGetMouse(int *x, int *y)
{
    SDL_GetGlobalMouseState(x, y);
}

void PlatformTestGetWindowSize(HWND window, int *width, int *height)
{
    SDL_GetWindowSize(window->sdl, width, height);
}

void PlatformTestGetWindowPosition(HWND window, int *x, int *y)
{
    SDL_GetWindowPosition(window->sdl, x, y);
}

std::string PlatformTestGetWindowTitle(HWND window)
{
    return SDL_GetWindowTitle(window->sdl);
}

bool PlatformTestIsWindowShown(HWND window)
{
    return (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
}

void PlatformTestSetWindowSize(HWND window, int width, int height)
{
    SDL_SetWindowSize(window->sdl, width, height);
}

std::string PlatformTestGetSystemClipboard()
{
    char *text = SDL_GetClipboardText();
    std::string copy = text ? text : "";
    SDL_free(text);
    return copy;
}

bool PlatformTestSetSystemClipboard(const char *utf8)
{
    return SDL_SetClipboardText(utf8) == 0;
}
