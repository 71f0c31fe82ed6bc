// The display's events as window messages, with the desktop's meanings.
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>

namespace {

// A window's size must have stood still this long before the resize counts
// as finished: a drag on the frame sends a stream of sizes.
const Uint32 RESIZE_SETTLE_MS = 250;

// Bits of a key message's lParam.
const LPARAM KEY_ALT_HELD = LPARAM(1) << 29;
const LPARAM KEY_WAS_DOWN = LPARAM(1) << 30;
const LPARAM KEY_RELEASED = LPARAM(1) << 31;

struct ScancodeKey {
    SDL_Scancode scancode;
    int key;
};

const ScancodeKey scancode_keys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
};

// The desktop's virtual key of a key, 0 for keys it has none for. Letters
// follow the keyboard layout; the other keys are told by their place.
int VirtualKey(const SDL_Keysym &keysym)
{
    if (keysym.sym >= SDLK_a && keysym.sym <= SDLK_z)
        return 'A' + (keysym.sym - SDLK_a);
    SDL_Scancode scancode = keysym.scancode;
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    for (const ScancodeKey &entry : scancode_keys)
        if (entry.scancode == scancode)
            return entry.key;
    return 0;
}

// The character the desktop sends with a key that gives no text of its own:
// Backspace, Tab, Enter, Escape and Ctrl+letters (Ctrl+A is 1, Ctrl+C 3,
// Ctrl+V 22). 0 for every other key.
int ControlCharacter(int key, bool ctrl)
{
    switch (key) {
    case VK_BACK: return ctrl ? 127 : 8;
    case VK_TAB: return 9;
    case VK_RETURN: return ctrl ? 10 : 13;
    case VK_ESCAPE: return 27;
    default: break;
    }
    if (ctrl && key >= 'A' && key <= 'Z')
        return key - 'A' + 1;
    return 0;
}

// Alt without Ctrl makes every key a system key (Ctrl+Alt is the AltGr of
// many layouts and types text); F10 and Alt itself are always system keys.
bool IsSystemKey(int key, Uint16 modifiers)
{
    if (key == VK_MENU || key == VK_F10)
        return !(modifiers & KMOD_CTRL);
    return (modifiers & KMOD_ALT) && !(modifiers & KMOD_CTRL);
}

void PostKey(HWND hwnd, const SDL_KeyboardEvent &event)
{
    int key = VirtualKey(event.keysym);
    if (!key)
        return;
    bool down = event.type == SDL_KEYDOWN;
    bool system = IsSystemKey(key, event.keysym.mod);
    LPARAM lparam = 1 | (static_cast<LPARAM>(event.keysym.scancode & 0xFF) << 16);
    if (event.keysym.mod & KMOD_ALT)
        lparam |= KEY_ALT_HELD;
    if (!down)
        lparam |= KEY_WAS_DOWN | KEY_RELEASED;
    else if (event.repeat)
        lparam |= KEY_WAS_DOWN;

    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    PostMessageA(hwnd, message, static_cast<WPARAM>(key), lparam);
    if (down && !system) {
        int character = ControlCharacter(key, (event.keysym.mod & KMOD_CTRL) != 0);
        if (character)
            PostMessageA(hwnd, WM_CHAR, static_cast<WPARAM>(character), lparam);
    }
}

// Text typed arrives as UTF-8; the program reads Windows-1252 characters.
void PostText(HWND hwnd, const char *text)
{
    // With Alt held the desktop sends system characters, which the program ignores.
    SDL_Keymod modifiers = SDL_GetModState();
    if ((modifiers & KMOD_ALT) && !(modifiers & KMOD_CTRL))
        return;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    while (*p) {
        unsigned code = *p;
        int length = 1;
        if (code >= 0xF0 && code < 0xF8) {
            code &= 0x07;
            length = 4;
        } else if (code >= 0xE0) {
            code &= 0x0F;
            length = 3;
        } else if (code >= 0xC0) {
            code &= 0x1F;
            length = 2;
        } else if (code >= 0x80) {
            p++;
            continue;
        }
        int i = 1;
        for (; i < length && (p[i] & 0xC0) == 0x80; i++)
            code = (code << 6) | (p[i] & 0x3F);
        p += i;
        if (i < length)
            continue;
        int character = PlatformUnicodeToCp1252(code);
        if (character > 0)
            PostMessageA(hwnd, WM_CHAR, static_cast<WPARAM>(character), 1);
    }
}

WPARAM MouseKeyFlags()
{
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    SDL_Keymod modifiers = SDL_GetModState();
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK)
        flags |= MK_MBUTTON;
    if (modifiers & KMOD_SHIFT)
        flags |= MK_SHIFT;
    if (modifiers & KMOD_CTRL)
        flags |= MK_CONTROL;
    return flags;
}

void PostButton(HWND hwnd, const SDL_MouseButtonEvent &event)
{
    UINT down, up, double_click;
    switch (event.button) {
    case SDL_BUTTON_LEFT: down = WM_LBUTTONDOWN, up = WM_LBUTTONUP, double_click = WM_LBUTTONDBLCLK; break;
    case SDL_BUTTON_RIGHT: down = WM_RBUTTONDOWN, up = WM_RBUTTONUP, double_click = WM_RBUTTONDBLCLK; break;
    case SDL_BUTTON_MIDDLE: down = WM_MBUTTONDOWN, up = WM_MBUTTONUP, double_click = WM_MBUTTONDBLCLK; break;
    default: return;
    }
    UINT message = up;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        // The second press of a double click (and the fourth, ...) is the
        // double-click message in a class that asks for them.
        bool second = event.clicks >= 2 && event.clicks % 2 == 0;
        message = (second && (hwnd->class_style & CS_DBLCLKS)) ? double_click : down;
    }
    PostMessageA(hwnd, message, MouseKeyFlags(), MAKELPARAM(event.x, event.y));
}

void PostWheel(HWND hwnd, const SDL_MouseWheelEvent &event)
{
    float notches = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.preciseY : event.preciseY;
    int delta = static_cast<int>(notches * WHEEL_DELTA);
    if (delta == 0)
        return;
    // The wheel message carries the cursor in desktop pixels.
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    PostMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), delta), MAKELPARAM(cursor.x, cursor.y));
}

void PostWindowEvent(HWND hwnd, const SDL_WindowEvent &event)
{
    int width = 0, height = 0;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: PostMessageA(hwnd, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: PostMessageA(hwnd, WM_ACTIVATE, WA_ACTIVE, 0); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: PostMessageA(hwnd, WM_ACTIVATE, WA_INACTIVE, 0); break;
    case SDL_WINDOWEVENT_MINIMIZED: PostMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, 0); break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        SDL_GetWindowSize(hwnd->sdl, &width, &height);
        PostMessageA(hwnd, WM_SIZE, event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED,
                     MAKELPARAM(width, height));
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        hwnd->resize_pending = true;
        hwnd->resize_ticks = SDL_GetTicks();
        break;
    case SDL_WINDOWEVENT_LEAVE:
        if (hwnd->track_leave) {
            hwnd->track_leave = false;
            PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
        }
        break;
    default: break;
    }
}

// The window of an event, or null for events of no window of ours.
HWND EventWindow(const SDL_Event &event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: return PlatformFindWindowBySdlId(event.window.windowID);
    case SDL_KEYDOWN:
    case SDL_KEYUP: return PlatformFindWindowBySdlId(event.key.windowID);
    case SDL_TEXTINPUT: return PlatformFindWindowBySdlId(event.text.windowID);
    case SDL_MOUSEMOTION: return PlatformFindWindowBySdlId(event.motion.windowID);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return PlatformFindWindowBySdlId(event.button.windowID);
    case SDL_MOUSEWHEEL: return PlatformFindWindowBySdlId(event.wheel.windowID);
    default: return nullptr;
    }
}

void PostEvent(const SDL_Event &event)
{
    HWND hwnd = EventWindow(event);
    if (!hwnd)
        return;
    switch (event.type) {
    case SDL_WINDOWEVENT: PostWindowEvent(hwnd, event.window); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: PostKey(hwnd, event.key); break;
    case SDL_TEXTINPUT: PostText(hwnd, event.text.text); break;
    case SDL_MOUSEMOTION: PlatformPostMouseMove(hwnd, MouseKeyFlags(), MAKELPARAM(event.motion.x, event.motion.y)); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: PostButton(hwnd, event.button); break;
    case SDL_MOUSEWHEEL: PostWheel(hwnd, event.wheel); break;
    default: break;
    }
}

// One size message once a window's size has stood still: the size of a
// normal window, then the end of the size move. A full-screen window is
// never sized by the user, and a minimised or maximised one tells its state
// with its own message.
void PostSettledResize(HWND hwnd)
{
    if (!hwnd->resize_pending || SDL_GetTicks() - hwnd->resize_ticks < RESIZE_SETTLE_MS)
        return;
    hwnd->resize_pending = false;
    Uint32 flags = SDL_GetWindowFlags(hwnd->sdl);
    if (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED))
        return;
    if (!(flags & SDL_WINDOW_MAXIMIZED)) {
        int width = 0, height = 0;
        SDL_GetWindowSize(hwnd->sdl, &width, &height);
        PostMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
    PostMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace

void PlatformWindowQueueDisplayEvents()
{
    if (PlatformIsHeadless() || !SDL_WasInit(SDL_INIT_VIDEO) || !PlatformIsDisplayThread())
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        PostEvent(event);
    for (HWND hwnd : PlatformGetWindows())
        if (hwnd->sdl)
            PostSettledResize(hwnd);
}
