#include "engine/runtime/EngWindow.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngResModes.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Input.h"

#include <algorithm>
#include <cstring>
#include <new>

char eng_screen_windowed = 1;
int eng_screen_width = 640;
int eng_screen_height = 480;
int eng_screen_bits = 0;
int eng_screen_refresh_rate = 0;
float eng_screen_ratio_x = 1.0f;
float eng_screen_ratio_y = 1.0f;
float eng_screen_unit_x = 1.0f;
float eng_screen_unit_y = 1.0f;
float eng_screen_aspect = 4.0f / 3.0f;
float eng_screen_aspect_inv = 0.75f;
char eng_screen_portrait = 0;
float eng_font_scale_x = 1.0f;
float eng_font_scale_y = 1.0f;
float eng_font_scale_y_plain = 1.0f;
int eng_screen_reserved = 0;
int eng_screen_aa_type = 0;
int eng_screen_aa_quality = 0;

EngWindow *eng_main_window = nullptr;

namespace {

const DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE;
const char RECREATE_FAILED[] = "Could not re-create graphics device and/or objects";

// Reports a hook's 0 answer as "<name>() failed"; a negative answer has been
// handled by the hook itself. True for a positive answer.
bool HookSucceeded(char answer, const char *where, const char *hook)
{
    if (answer == 0)
        DebugError(where, "%s() failed", hook);
    return answer > 0;
}

// The work area, or nothing known (width and height 0) without a display.
void GetWorkArea(int *left, int *top, int *width, int *height)
{
    *left = *top = *width = *height = 0;
    EngMiscGetDesktopArea(left, top, width, height, 1);
}

// A failure once the window is gone ends the program: it cannot run on
// without a window.
[[noreturn]] void ToggleFailedWithoutWindow()
{
    DebugCheckFatal(0, "", "Toggle fullscreen/window mode failed");
    // The fatal check acts once a run; reached only after an earlier one.
    EngMainCallExit(-1);
}

} // namespace

EngWindow::EngWindow(EngProgram *program, const char *title)
    : m_program(program), m_active(1), m_recreating_device(0), m_device_recreation_pending(0),
      m_recreating_window(0), m_cursor_shown(1), m_device(nullptr), m_style(0), m_hwnd(nullptr),
      m_stored_rect{0, 0, 0, 0}, m_stored_rect_valid(0), m_parms{}, m_texture_cursor(),
      m_music_event_cb(nullptr), m_music_event_user(nullptr)
{
    EngSafeStrcpy(m_title, title, sizeof(m_title));
    std::memset(eng_main_key_states, 0, sizeof(eng_main_key_states));
    ClearInputState();
}

EngWindow::~EngWindow()
{
    Destroy();
}

void EngWindow::ClearInputState()
{
    m_minimised = 0;
    m_maximised = 0;
    m_maximising = 0;
    m_mouse = _EngWindowMouseTracking();
    m_mouse.outside = 1;
}

char EngWindow::Create(_EngCreateWindowParms *parms)
{
    if (!m_program || !parms)
        return 0;
    char answer = m_program->PreCreateWindowCB(parms);
    if (!HookSucceeded(answer, "EngWindow::Create", "PreCreateWindowCB"))
        return answer;

    _EngCreateWindowParms copy = *parms;
    if (!CreateSystemWindow_PC(&copy))
        return 0;

    m_parms = *parms;
    eng_screen_reserved = parms->reserved;
    eng_screen_aa_type = parms->aa_type;
    eng_screen_aa_quality = parms->aa_quality;
    eng_main_window = this;
    return 1;
}

char EngWindow::CreateSystemWindow_PC(_EngCreateWindowParms *parms)
{
    const char *failure = nullptr;
    HINSTANCE instance = static_cast<HINSTANCE>(eng_main_instance);
    if (eng_main_window) {
        failure = "More than one window not supported";
    } else {
        // The class keeps no icon or cursor of its own: the program's file
        // carries none, and the display shows its arrow.
        WNDCLASSA window_class = {parms->double_clicks ? CS_DBLCLKS : 0u, EngWindowProc_PC, instance,
                                  parms->class_name};
        if (!RegisterClassA(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            failure = "Register Class Failed";
    }

    if (!failure) {
        SetWindowStyle(parms->windowed, parms->width, parms->height, parms->bits, parms->refresh_rate, 1);
        int x = 0, y = 0, outer_width = parms->width, outer_height = parms->height;
        if (parms->windowed) {
            int left, top, area_width, area_height;
            GetWorkArea(&left, &top, &area_width, &area_height);
            bool area_known = area_width > 0 && area_height > 0;
            RECT rect = {0, 0, parms->width, parms->height};
            if (area_known) {
                rect.right = std::min(parms->width, area_width);
                rect.bottom = std::min(parms->height, area_height);
            }
            AdjustWindowRect(&rect, m_style, FALSE);
            outer_width = rect.right - rect.left;
            outer_height = rect.bottom - rect.top;
            if (area_known) {
                outer_width = std::min(outer_width, area_width);
                outer_height = std::min(outer_height, area_height);
            }
            if (parms->x < 0 || parms->y < 0) {
                if (area_known) {
                    x = area_width / 2 - outer_width / 2 + left;
                    y = area_height / 2 - outer_height / 2 + top;
                }
            } else {
                x = parms->x;
                y = parms->y;
            }
        }
        m_hwnd = CreateWindowExA(0, parms->class_name, m_title, m_style, x, y, outer_width, outer_height, nullptr,
                                 nullptr, instance, nullptr);
        if (!m_hwnd)
            failure = "CreateWindow() Failed";
    }

    if (failure) {
        DebugError("EngWindow::CreateSystemWindow_PC", "%s", failure);
        EngMiscShowPopupMessage(EMPT_ERROR, "CreateWindow", failure);
        return 0;
    }

    // The client area the desktop gave: the wanted size cut to the work area
    // in a window, the display mode's size in full screen. The device is
    // made from these measures.
    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hwnd, &client);
    SetScreenMetrics(parms->windowed, client.right - client.left, client.bottom - client.top, parms->bits,
                     parms->refresh_rate);
    return 1;
}

void EngWindow::Destroy()
{
    DestroyGraphicsDevice();
    DestroySystemWindow_PC();
    if (eng_main_window == this)
        eng_main_window = nullptr;
}

void EngWindow::DestroySystemWindow_PC()
{
    // The window's WM_DESTROY clears the handle.
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    m_stored_rect_valid = 0;
}

void EngWindow::SetMusicEventCB(EngWindowMusicEventCB callback, void *user)
{
    m_music_event_cb = callback;
    m_music_event_user = user;
}

void EngWindow::ClearMusicEventCB(void *user)
{
    if (m_music_event_user == user)
        SetMusicEventCB(nullptr, nullptr);
}

void EngWindow::StoreWindowRect_PC()
{
    if (m_hwnd && GetWindowRect(m_hwnd, &m_stored_rect))
        m_stored_rect_valid = 1;
}

char EngWindow::CreateGraphicsDevice()
{
    const char *where = "EngWindow::CreateGraphicsDevice";
    if (!m_program) {
        DebugErrorCode(where, 'NOSU');
        return 0;
    }
    if (!m_recreating_window && !HookSucceeded(m_program->PreDeviceInitCB(), where, "PreDeviceInitCB"))
        return 0;
    if (!m_device) {
        m_device = new (std::nothrow) EngDevice(this);
        if (!m_device) {
            DebugErrorCode(where, 'OMEM');
            return 0;
        }
    }
    if (!DoCreateGraphicsDevice(1)) {
        DebugError(where, "DoCreateGraphicsDevice() failed");
        return 0;
    }
    if (!m_recreating_window && !HookSucceeded(m_program->PostDeviceInitCB(), where, "PostDeviceInitCB"))
        return 0;
    return 1;
}

char EngWindow::DoCreateGraphicsDevice(char create_device)
{
    const char *where = "EngWindow::DoCreateGraphicsDevice";
    if (!m_program)
        return 0;
    if (!m_device) {
        DebugError(where, "No device");
        return 0;
    }
    if (create_device) {
        if (m_device->IsCreated()) {
            DebugError(where, "Device already created");
            return 1;
        }
        if (!m_device->Create(eng_screen_windowed, eng_screen_width, eng_screen_height, eng_screen_bits,
                              eng_screen_refresh_rate))
            return 0;
    }
    if (!eng_device) {
        DebugError(where, "No device.");
        return 0;
    }
    if (!HookSucceeded(m_program->PreCreateGraphicsObjectsCB(), where, "PreCreateGraphicsObjectsCB"))
        return 0;
    if (!m_program->CreateGraphicsObjectsCB()) {
        DebugError(where, "CreateGraphicsObjectsCB() failed");
        return 0;
    }
    if (!HookSucceeded(m_program->PostCreateGraphicsObjectsCB(), where, "PostCreateGraphicsObjectsCB"))
        return 0;
    m_program->GraphicsObjectsCreatedCB();
    return 1;
}

void EngWindow::DoDestroyGraphicsDevice(char destroy_device)
{
    if (!m_program)
        return;
    if (!m_device) {
        DebugError("EngWindow::DoDestroyGraphicsDevice", "No device");
        return;
    }
    m_program->PreDestroyGraphicsObjectsCB();
    m_program->DestroyGraphicsObjectsCB();
    if (destroy_device)
        m_device->Destroy();
    m_program->PostDestroyGraphicsObjectsCB();
}

void EngWindow::DestroyGraphicsDevice()
{
    if (!m_program || !m_device)
        return;
    if (!m_recreating_window)
        m_program->PreDestroyDeviceCB();
    DoDestroyGraphicsDevice(1);
    delete m_device;
    m_device = nullptr;
    if (!m_recreating_window)
        m_program->PostDestroyDeviceCB();
    m_mouse.outside = 1;
}

char EngWindow::RecreateDevice()
{
    return DoRecreateDevice(eng_device_type);
}

char EngWindow::DoRecreateDevice(_EngDeviceType type)
{
    const char *where = "EngWindow::DoRecreateDevice";
    if (!m_device) {
        DebugError(where, "No device");
        return 0;
    }
    if (m_device->IsCreated()) {
        m_recreating_device = 1;
        DoDestroyGraphicsDevice(1);
        MinimiseIfFullscreen(static_cast<char>(0x80));
    }
    eng_device_type = type;
    if (!SetWindowStyle(eng_screen_windowed, eng_screen_width, eng_screen_height, eng_screen_bits,
                        eng_screen_refresh_rate, 0)) {
        DebugError(where, "Could not prepare mode");
        m_recreating_device = 0;
        return 0;
    }
    if (!DoCreateGraphicsDevice(1)) {
        DebugError(where, RECREATE_FAILED);
        m_recreating_device = 0;
        return 0;
    }
    m_recreating_device = 0;
    UpdateScreenMetrics();
    return 1;
}

char EngWindow::ToggleFullscreenMode()
{
    const char *where = "EngWindow::ToggleFullscreenMode";
    if (!m_program || !m_device || !m_device->IsCreated()) {
        DebugError(where, "Device not created");
        return 0;
    }
    int orientation = EngMainGetOrientation();

    _EngCreateWindowParms parms = m_parms;
    parms.windowed = eng_screen_windowed ? 0 : 1;
    parms.width = eng_screen_width;
    parms.height = eng_screen_height;
    parms.bits = eng_screen_bits;
    parms.refresh_rate = eng_screen_refresh_rate;
    if (parms.windowed) {
        parms.x = 0;
        parms.y = 0;
    }

    // The new mode is settled while the window still stands, so a failure
    // here leaves the program as it was.
    EngResModes *modes = new (std::nothrow) EngResModes();
    if (!modes) {
        DebugErrorCode(where, 'OMEM');
        return 0;
    }
    // A list without modes has said so itself.
    bool mode_found = false;
    if (modes->IsSetup() && parms.windowed)
        mode_found = modes->GetWindowedModeDetails(nullptr, nullptr, &parms.bits, &parms.refresh_rate);
    else if (modes->IsSetup())
        mode_found = modes->GetClosestFullScreenModeToMode(&parms.width, &parms.height, &parms.bits,
                                                           &parms.refresh_rate);
    delete modes;
    if (!mode_found)
        return 0;

    m_recreating_window = 1;
    Destroy();
    m_program->ClearExitFlag();
    if (!Create(&parms)) {
        DebugError(where, "Could not re-create window");
        m_recreating_window = 0;
        ToggleFailedWithoutWindow();
    }
    if (!CreateGraphicsDevice()) {
        DebugError(where, RECREATE_FAILED);
        m_recreating_window = 0;
        ToggleFailedWithoutWindow();
    }
    m_recreating_window = 0;
    UpdateScreenMetrics();
    m_program->GraphicsObjectsCreated();
    if (EngMainGetOrientation() != orientation)
        m_program->OrientationChangedCB(static_cast<_EngOrientation>(EngMainGetOrientation()));
    return 1;
}

void EngWindow::SetScreenMetrics(char windowed, int width, int height, int bits, int refresh_rate)
{
    if (windowed == 0 || windowed == 1)
        eng_screen_windowed = windowed;
    if (width > 0)
        eng_screen_width = width;
    if (height > 0)
        eng_screen_height = height;
    if (bits > 0)
        eng_screen_bits = bits;
    if (refresh_rate > 0)
        eng_screen_refresh_rate = refresh_rate;
    UpdateScreenMetrics();
}

void EngWindow::UpdateScreenMetrics()
{
    float width = static_cast<float>(eng_screen_width);
    float height = static_cast<float>(eng_screen_height);
    eng_screen_ratio_x = width / 640.0f;
    eng_screen_ratio_y = height / 480.0f;
    eng_screen_unit_x = 640.0f / width;
    eng_screen_unit_y = 480.0f / height;
    eng_screen_aspect = width / height;
    eng_screen_aspect_inv = height / width;
    eng_screen_portrait = eng_screen_height > eng_screen_width;
    eng_font_scale_x = std::min(1.0f, height / width * 1.3333334f);
    eng_font_scale_y = std::min(1.0f, width / height);
    eng_font_scale_y_plain = eng_font_scale_y;
    EngMainSetOrientation(eng_screen_width >= eng_screen_height ? EO_LANDSCAPE : EO_PORTRAIT);
    if (m_device)
        m_device->ComputeFullScreenViewport();
}

void EngWindow::SetClientSize(int width, int height)
{
    int orientation = EngMainGetOrientation();
    SetScreenMetrics(eng_screen_windowed, width, height, eng_screen_bits, eng_screen_refresh_rate);
    RecreateDevice();
    if (m_device)
        m_device->ComputeFullScreenViewport();
    if (m_program) {
        m_program->GraphicsObjectsCreated();
        if (EngMainGetOrientation() != orientation)
            m_program->OrientationChangedCB(static_cast<_EngOrientation>(EngMainGetOrientation()));
    }
}

void EngWindow::CheckClientSize_PC(char force)
{
    RECT client;
    if (!m_hwnd || !GetClientRect(m_hwnd, &client))
        return;
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (width > 0 && height > 0 && (force || width != eng_screen_width || height != eng_screen_height))
        SetClientSize(width, height);
}

void EngWindow::SetActive(char active)
{
    if (!m_program || m_program->GetExitFlag() || m_recreating_device || m_recreating_window || active == m_active)
        return;
    m_active = active;
    if (active) {
        eng_main_key_states[VK_MENU] = 0;
        eng_main_key_states[VK_F10] = 0;
        eng_main_key_states[VK_F11] = 0;
        eng_main_key_states[VK_F12] = 0;
        if (!eng_screen_windowed && m_device && !m_device->IsCreated()) {
            const char *failure = nullptr;
            if (!SetWindowStyle(0, eng_screen_width, eng_screen_height, eng_screen_bits, eng_screen_refresh_rate, 0))
                failure = "Could not prepare for fullscreen mode";
            else if (!DoCreateGraphicsDevice(1))
                failure = RECREATE_FAILED;
            if (failure) {
                m_program->ForceExitNow("ERROR", failure, 0);
                EngMainCallExit(-1);
            }
        }
    } else if (!eng_screen_windowed && m_device && m_device->IsCreated()) {
        DoDestroyGraphicsDevice(1);
        if (m_hwnd)
            ShowWindow(m_hwnd, SW_MINIMIZE);
    }
    m_program->ActivationChanged(active);
}

char EngWindow::PumpMessages()
{
    if (m_device_recreation_pending) {
        m_device_recreation_pending = 0;
        DoRecreateDevice(eng_device_type);
    }
    return EngWindowPumpOneMessage_PC();
}

char EngWindow::GetWindowPos(int *x, int *y)
{
    int left = -1, top = -1;
    char found = 0;
    if (!eng_screen_windowed) {
        DebugError("EngWindow::GetWindowPos", "Not running in windowed mode");
        left = top = 0;
    } else if (m_hwnd) {
        RECT rect;
        if (GetWindowRect(m_hwnd, &rect)) {
            left = rect.left;
            top = rect.top;
            found = 1;
        }
    } else if (m_stored_rect_valid) {
        left = m_stored_rect.left;
        top = m_stored_rect.top;
        found = 1;
    }
    if (x)
        *x = left;
    if (y)
        *y = top;
    return found;
}

char EngWindow::SetWindowStyle(char windowed, int width, int height, int bits, int refresh_rate, char store_only)
{
    m_style = windowed ? WINDOWED_STYLE : FULL_SCREEN_STYLE;
    if (store_only || !m_hwnd)
        return 1;
    return SetWindowStyle_PC(windowed, width, height, bits, refresh_rate);
}

char EngWindow::SetWindowStyle_PC(char windowed, int, int, int, int)
{
    if (windowed) {
        // A maximise from the normal state keeps the style it has.
        if (m_maximising)
            return 1;
    } else {
        if (eng_device_type != EDT_DX9)
            return 1;
        ShowWindow(m_hwnd, SW_RESTORE);
    }
    return SetWindowLongA(m_hwnd, GWL_STYLE, static_cast<LONG>(m_style)) != 0;
}

void EngWindow::MinimiseIfFullscreen(char windowed)
{
    char mode = (windowed & 0x80) ? eng_screen_windowed : windowed;
    if (!mode && eng_device_type == EDT_DX9 && m_hwnd)
        ShowWindow(m_hwnd, SW_MINIMIZE);
}

char EngWindowPumpOneMessage_PC()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return 1;
    if (msg.message == WM_QUIT)
        return 0;
    // Messages posted without a window, or to one a mode toggle has since
    // replaced (the music player's, for one), belong to the program's one window.
    if (!IsWindow(msg.hwnd) && eng_main_window)
        msg.hwnd = eng_main_window->GetWindowHandle();
    DispatchMessageA(&msg);
    return 2;
}

void EngWindowResetForTests()
{
    eng_screen_windowed = 1;
    eng_screen_width = 640;
    eng_screen_height = 480;
    eng_screen_bits = 0;
    eng_screen_refresh_rate = 0;
    eng_screen_ratio_x = eng_screen_ratio_y = 1.0f;
    eng_screen_unit_x = eng_screen_unit_y = 1.0f;
    eng_screen_aspect = 4.0f / 3.0f;
    eng_screen_aspect_inv = 0.75f;
    eng_screen_portrait = 0;
    eng_font_scale_x = eng_font_scale_y = eng_font_scale_y_plain = 1.0f;
    eng_screen_reserved = eng_screen_aa_type = eng_screen_aa_quality = 0;
    eng_main_window = nullptr;
    std::memset(eng_main_key_states, 0, sizeof(eng_main_key_states));
}
