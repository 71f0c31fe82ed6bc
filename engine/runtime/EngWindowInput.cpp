#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Input.h"

#include <cstring>

unsigned char eng_main_key_states[256];

namespace {

// The release that ends a double click comes this soon after it.
const double DOUBLE_CLICK_RELEASE_SECONDS = 0.1;

enum {
    KEY_DOWN = 2,
    KEY_UP = 0,
};

// The mouse wheel's lines per notch when the system gives none.
const UINT DEFAULT_WHEEL_LINES = 3;

char ButtonState(int virtual_key)
{
    return (GetAsyncKeyState(virtual_key) & 0x8000) ? KEY_DOWN : KEY_UP;
}

} // namespace

LRESULT EngWindowProc_PC(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (eng_main_window)
        return eng_main_window->WindowProc_PC(hwnd, message, wparam, lparam);
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

void EngWindow::InputEvent(int event, float a, float b)
{
    if (m_program)
        m_program->InputEventCB(event, a, b);
    // The main loop stops waiting, so the input is handled at once.
    if (eng_main_program)
        eng_main_program->RequestWake(1);
}

LRESULT EngWindow::WindowProc_PC(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    int key = static_cast<int>(wparam & 0xFF);
    switch (message) {
    case WM_DESTROY:
        // A window destroyed for a mode toggle is made again at once.
        if (!m_recreating_window && m_program) {
            m_program->SetExitFlag();
            PostQuitMessage(0);
            m_program->QuitMainLoop();
        }
        m_hwnd = nullptr;
        return 1;

    case WM_SIZE:
        if (HandleSize_PC(wparam))
            return 0;
        break;

    case WM_ACTIVATE:
        SetActive(static_cast<char>(LOWORD(wparam)));
        return 0;

    case WM_CLOSE:
        StoreWindowRect_PC();
        if (m_program)
            m_program->SetExitFlag();
        break;

    case WM_KEYDOWN:
        eng_main_key_states[key] = KEY_DOWN;
        InputEvent(5, static_cast<float>(key), 0);
        return 1;

    case WM_KEYUP:
        eng_main_key_states[key] = KEY_UP;
        InputEvent(6, static_cast<float>(key), 0);
        return 1;

    case WM_CHAR:
        InputEvent(7, static_cast<float>(key), 0);
        return 1;

    case WM_SYSKEYDOWN:
        if (key == VK_RETURN) {
            if (!ToggleFullscreenMode())
                DebugCheckFatal(0, "", "Toggle fullscreen/window mode failed");
            return 1;
        }
        if (key == VK_MENU || key == VK_F10 || key == VK_F11 || key == VK_F12) {
            eng_main_key_states[key] = KEY_DOWN;
            return 1;
        }
        break;

    case WM_SYSKEYUP:
        if (key == VK_MENU || key == VK_F10 || key == VK_F11 || key == VK_F12) {
            eng_main_key_states[key] = KEY_UP;
            return 1;
        }
        break;

    case WM_MOUSEMOVE:
        HandleMouseMove_PC(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 1;

    case WM_LBUTTONDOWN:
        eng_main_key_states[VK_LBUTTON] = KEY_DOWN;
        // A release outside not yet taken belongs to the press before.
        m_mouse.left_released_outside = 0;
        InputEvent(2, 0, 1);
        return 1;

    case WM_LBUTTONUP:
        eng_main_key_states[VK_LBUTTON] = KEY_UP;
        // The desktop sends down, up, double click, up: the last release
        // belongs to the double click and is not passed on.
        if (m_mouse.double_click_time > 0 &&
            eng_main_program_time - m_mouse.double_click_time <= DOUBLE_CLICK_RELEASE_SECONDS) {
            m_mouse.double_click_time = 0;
            return 1;
        }
        InputEvent(2, 0, 0);
        return 1;

    case WM_LBUTTONDBLCLK:
        InputEvent(3, 0, 0);
        m_mouse.double_click_time = eng_main_program_time;
        return 1;

    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        eng_main_key_states[VK_RBUTTON] = message == WM_RBUTTONDOWN ? KEY_DOWN : KEY_UP;
        InputEvent(2, 1, message == WM_RBUTTONDOWN ? 1.0f : 0.0f);
        return 1;

    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        eng_main_key_states[VK_MBUTTON] = message == WM_MBUTTONDOWN ? KEY_DOWN : KEY_UP;
        InputEvent(2, 2, message == WM_MBUTTONDOWN ? 1.0f : 0.0f);
        return 1;

    case WM_MOUSEWHEEL: {
        UINT lines = DEFAULT_WHEEL_LINES;
        if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
            lines = DEFAULT_WHEEL_LINES;
        int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
        InputEvent(4, static_cast<float>(notches * static_cast<int>(lines)), 2);
        return 1;
    }

    case WM_POWERBROADCAST:
        if (m_program && wparam == PBT_APMSUSPEND)
            m_program->SetComputerSleeping(1);
        else if (m_program && wparam == PBT_APMRESUMEAUTOMATIC)
            m_program->SetComputerSleeping(0);
        break;

    case WM_EXITSIZEMOVE:
        StoreWindowRect_PC();
        CheckClientSize_PC(0);
        break;

    case WM_MOUSELEAVE:
        if (!m_mouse.outside) {
            m_mouse.outside = 1;
            POINT cursor = {0, 0};
            if (GetCursorPos(&cursor) && ScreenToClient(m_hwnd, &cursor)) {
                m_mouse.last_x = cursor.x;
                m_mouse.last_y = cursor.y;
            }
            m_mouse.left_held_on_leaving = ButtonState(VK_LBUTTON) == KEY_DOWN;
            // Let go already, with no message for it: the table still holds
            // the button down (the notice came after the release).
            if (!m_mouse.left_held_on_leaving && eng_main_key_states[VK_LBUTTON] == KEY_DOWN) {
                eng_main_key_states[VK_LBUTTON] = KEY_UP;
                m_mouse.left_released_outside = 1;
            }
            if (m_texture_cursor.in_use)
                TextureCursorLeavingWindowCB_PC(1);
        }
        break;

    case WM_MUSIC_EVENT:
        if (m_music_event_cb)
            m_music_event_cb(m_music_event_user);
        break;

    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

bool EngWindow::HandleSize_PC(WPARAM kind)
{
    SetActive((kind == SIZE_MINIMIZED || kind == SIZE_MAXHIDE) ? 0 : 1);
    if (kind == SIZE_MAXIMIZED) {
        bool from_normal = !m_minimised && !m_maximised;
        if (m_minimised) {
            m_minimised = 0;
            if (m_program)
                m_program->WindowMinimisedCB(0);
        }
        m_maximising = from_normal;
        CheckClientSize_PC(1);
        m_maximising = 0;
        m_maximised = 1;
        return true;
    }
    if (kind == SIZE_MINIMIZED) {
        m_minimised = 1;
        CheckClientSize_PC(0);
        if (m_program)
            m_program->WindowMinimisedCB(1);
    } else if (kind == SIZE_RESTORED) {
        if (m_maximised) {
            m_maximised = 0;
            CheckClientSize_PC(0);
        }
        if (m_minimised) {
            m_minimised = 0;
            if (m_program)
                m_program->WindowMinimisedCB(0);
        }
    }
    return false;
}

void EngWindow::HandleMouseMove_PC(int x, int y)
{
    // The left button let go outside before the poll saw it: the system may
    // report the pointer again at once (the end of its drag grab), and that
    // move is told of the release as the poll would have been.
    if (m_mouse.outside && m_mouse.left_held_on_leaving && ButtonState(VK_LBUTTON) == KEY_UP) {
        m_mouse.left_held_on_leaving = 0;
        m_mouse.left_released_outside = 1;
    }
    InputEvent(1, static_cast<float>(x), static_cast<float>(y));
    if (m_mouse.outside) {
        m_mouse.outside = 0;
        eng_main_key_states[VK_LBUTTON] = ButtonState(VK_LBUTTON);
        eng_main_key_states[VK_RBUTTON] = ButtonState(VK_RBUTTON);
        eng_main_key_states[VK_MBUTTON] = ButtonState(VK_MBUTTON);
        if (m_texture_cursor.in_use)
            TextureCursorLeavingWindowCB_PC(0);
        TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hwnd, 0};
        if (!TrackMouseEvent(&track))
            EngFileOutputLastError("WM_MOUSEMOVE", "TrackMouseEvent", 0, 0, 0);
    }
    if (m_texture_cursor.in_use) {
        m_texture_cursor.x = static_cast<float>(EngMathRoundFloatToInt(static_cast<float>(x) * eng_screen_unit_x) -
                                                m_texture_cursor.hot_x_scaled);
        m_texture_cursor.y = static_cast<float>(EngMathRoundFloatToInt(static_cast<float>(y) * eng_screen_unit_y) -
                                                m_texture_cursor.hot_y_scaled);
    }
}

void EngWindow::PollMouseOutsideWindow_PC()
{
    if (!m_mouse.outside || !m_active || !m_hwnd)
        return;
    if (m_mouse.left_held_on_leaving && ButtonState(VK_LBUTTON) == KEY_UP) {
        m_mouse.left_held_on_leaving = 0;
        m_mouse.left_released_outside = 1;
        eng_main_key_states[VK_LBUTTON] = KEY_UP;
    }
    POINT cursor = {0, 0};
    if (!GetCursorPos(&cursor) || !ScreenToClient(m_hwnd, &cursor))
        return;
    if (cursor.x == m_mouse.last_x && cursor.y == m_mouse.last_y)
        return;
    m_mouse.last_x = cursor.x;
    m_mouse.last_y = cursor.y;
    InputEvent(1, static_cast<float>(cursor.x), static_cast<float>(cursor.y));
}

char EngWindow::WasLeftButtonReleasedOutside_PC()
{
    char released = m_mouse.left_released_outside;
    m_mouse.left_released_outside = 0;
    return released;
}

char EngWindow::GetMousePos(int *x, int *y)
{
    POINT cursor = {0, 0};
    if (!m_hwnd || !GetCursorPos(&cursor))
        return 0;
    if (eng_screen_windowed && !ScreenToClient(m_hwnd, &cursor))
        return 0;
    if (x)
        *x = cursor.x;
    if (y)
        *y = cursor.y;
    return 1;
}

void EngWindow::SetMousePos(float x, float y)
{
    if (!m_hwnd)
        return;
    // The point of the client area, whatever frame the window has.
    POINT cursor = {static_cast<LONG>(x * static_cast<float>(eng_screen_width) / 640.0f),
                    static_cast<LONG>(y * static_cast<float>(eng_screen_height) / 480.0f)};
    if (ClientToScreen(m_hwnd, &cursor))
        SetCursorPos(cursor.x, cursor.y);
}

void EngWindow::ShowSystemCursor(char show)
{
    for (int i = 0; i < 100; i++) {
        int count = ShowCursor(show ? TRUE : FALSE);
        if (show ? count > 0 : count < 0)
            break;
    }
}

void EngWindow::ShowMouseCursor()
{
    m_cursor_shown = 1;
    if (!m_texture_cursor.in_use)
        ShowSystemCursor(1);
}

void EngWindow::HideMouseCursor()
{
    m_cursor_shown = 0;
    if (!m_texture_cursor.in_use)
        ShowSystemCursor(0);
}

char EngWindow::SetupTextureCursor_PC(const char *file, char option1, char option2, int width, int height,
                                      char scale, int hot_x, int hot_y)
{
    if (!file || !file[0] || strnlen(file, sizeof(m_texture_cursor.filename)) >= sizeof(m_texture_cursor.filename)) {
        DebugError("EngWindow::SetupTextureCursor_PC", "Invalid Filename");
        return 0;
    }
    EngSafeStrcpy(m_texture_cursor.filename, file, sizeof(m_texture_cursor.filename));
    m_texture_cursor.option1 = static_cast<signed char>(option1);
    m_texture_cursor.option2 = static_cast<unsigned char>(option2);
    m_texture_cursor.width = width;
    m_texture_cursor.height = height;
    m_texture_cursor.scale = scale;
    m_texture_cursor.hot_x = hot_x;
    m_texture_cursor.hot_y = hot_y;
    m_texture_cursor.leaving = 0;
    ShowSystemCursor(0);
    m_texture_cursor.in_use = 1;
    return 1;
}

void EngWindow::TextureCursorLeavingWindowCB_PC(char leaving)
{
    DebugInfoWithName("EngWindow::TextureCursorLeavingWindowCB_PC", "%d", leaving);
    m_texture_cursor.leaving = leaving;
    if (m_texture_cursor.in_use && m_cursor_shown)
        ShowSystemCursor(leaving ? 1 : 0);
}

char EngWindow::DrawTextureCursor_PC()
{
    _EngWindowTextureCursor &cursor = m_texture_cursor;
    if (!eng_device || !eng_device_dx9 || !cursor.in_use)
        return 0;
    if (!cursor.texture.IsCreated() || !m_cursor_shown || m_mouse.outside)
        return 0;
    // The cursor is drawn last, over whatever the frame left in force, and
    // leaves it as it found it.
    const bool began_scene = eng_device->BeginRenderingIfNeeded();
    if (!eng_device_dx9->IsRendering())
        return 0;
    // Text may have left its drawing state prepared; it is put aside while
    // the cursor draws and prepared again afterwards.
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    const bool prepared_2d = eng_device->PrepareFor2DIfNeeded(1);
    // Unlit, so the picture shows its own colours.
    const bool lighting_was_on = eng_device->TurnOffLightingIfOn();
    eng_device->SaveOrRestoreBlendingState(1);
    const bool depth_was_on = eng_device->SuspendZBufferIfOn();
    eng_device->PushTransformMatrix();
    eng_device->ResetTransformMatrix();
    eng_device->EnableBlendingType(3);
    cursor.texture.PositionRatioed(cursor.x, cursor.y, static_cast<float>(cursor.draw_width),
                                   static_cast<float>(cursor.draw_height));
    cursor.texture.Draw();
    eng_device->PopTransformMatrix();
    if (depth_was_on)
        eng_device->RestoreZBuffer();
    eng_device->SaveOrRestoreBlendingState(0);
    if (lighting_was_on)
        eng_device->TurnOnLighting();
    if (prepared_2d)
        eng_device->RestoreAfter2D();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    if (began_scene)
        eng_device->EndRendering();
    return 1;
}
