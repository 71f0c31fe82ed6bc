// The program's one main window together with the life of its graphics
// device: the system window made from the start-up settings, the device made
// and released through the facade while the program's hooks run in a fixed
// order, size changes, minimising, activation, device re-creation, the
// switch between full screen and a window, and the screen measures that all
// drawing code reads. Its message handling is in EngWindowInput.cpp.
#pragma once

#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngWindowInput.h"
#include "platform/win32/Win32Window.h"

class EngProgram;

// The start-up settings of window and device. The shared modules fill the
// program's one record; the game core hands it over (MainGetCreateWindowParms).
struct _EngCreateWindowParms {
    int x, y;          // windowed position; negative centres on the work area
    int width, height; // client size (windowed) or display mode size
    int bits;
    char windowed;
    int refresh_rate;
    int reserved;      // recorded with the anti-aliasing fields, never read
    int aa_type;
    int aa_quality;
    char double_clicks;
    int cursor;        // below 1: the system arrow
    char class_name[256];
};

// Screen measures, written only by the main window (SetScreenMetrics).
extern char eng_screen_windowed;
// Back-buffer size in pixels, never below 1.
extern int eng_screen_width;
extern int eng_screen_height;
extern int eng_screen_bits;
extern int eng_screen_refresh_rate;
// Pixels per virtual unit (width / 640, height / 480) and the inverses.
extern float eng_screen_ratio_x;
extern float eng_screen_ratio_y;
extern float eng_screen_unit_x;
extern float eng_screen_unit_y;
extern float eng_screen_aspect;
extern float eng_screen_aspect_inv;
extern char eng_screen_portrait;
// Text scales: min(1, 4/3 x height / width) and min(1, width / height).
extern float eng_font_scale_x;
extern float eng_font_scale_y;
extern float eng_font_scale_y_plain;
// The three ints of the settings the window was last created with; the
// settings module reads the anti-aliasing type and quality back.
extern int eng_screen_reserved;
extern int eng_screen_aa_type;
extern int eng_screen_aa_quality;

class EngWindow;
// The main window while it exists (set by Create, cleared by Destroy).
extern EngWindow *eng_main_window;

typedef void (*EngWindowMusicEventCB)(void *user);

class EngWindow {
public:
    EngWindow(EngProgram *program, const char *title);
    ~EngWindow();
    EngWindow(const EngWindow &) = delete;
    EngWindow &operator=(const EngWindow &) = delete;

    // PreCreateWindowCB's answer when that is not positive, 0 when the
    // system window fails, 1 on success.
    char Create(_EngCreateWindowParms *parms);
    // The device with its hooks, then the system window.
    void Destroy();

    char CreateGraphicsDevice();
    void DestroyGraphicsDevice();
    char DoCreateGraphicsDevice(char create_device);
    void DoDestroyGraphicsDevice(char destroy_device);
    // The next PumpMessages re-creates the device.
    void RequestDeviceRecreation() { m_device_recreation_pending = 1; }
    char RecreateDevice();
    char DoRecreateDevice(_EngDeviceType type);
    char ToggleFullscreenMode();

    // A windowed value above 1, or a size, bits or refresh rate that is not
    // positive, keeps the current value.
    void SetScreenMetrics(char windowed, int width, int height, int bits, int refresh_rate);
    void UpdateScreenMetrics();
    void SetClientSize(int width, int height);
    void CheckClientSize_PC(char force);
    void SetActive(char active);
    // 0 after the quit message, 1 when the queue was empty, 2 after
    // handling one message.
    char PumpMessages();
    // The windowed position (or the one stored at the last close).
    char GetWindowPos(int *x, int *y);
    char SetWindowStyle(char windowed, int width, int height, int bits, int refresh_rate, char store_only);
    char SetWindowStyle_PC(char windowed, int width, int height, int bits, int refresh_rate);
    // A windowed value with the top bit set means the current mode.
    void MinimiseIfFullscreen(char windowed);

    // Message handling, mouse and cursor (EngWindowInput.cpp).
    LRESULT WindowProc_PC(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    void PollMouseOutsideWindow_PC();
    char GetMousePos(int *x, int *y);
    // x, y in virtual units; the cursor goes to that point of the client area.
    void SetMousePos(float x, float y);
    void ShowMouseCursor();
    void HideMouseCursor();
    char SetupTextureCursor_PC(const char *file, char option1, char option2, int width, int height, char scale,
                               int hot_x, int hot_y);
    void TextureCursorLeavingWindowCB_PC(char leaving);
    // Once true after the held left button was released outside the window.
    char WasLeftButtonReleasedOutside_PC();
    // The cursor texture over the frame, after the program's render; true
    // when it was drawn.
    char DrawTextureCursor_PC();
    _EngWindowTextureCursor *GetTextureCursor_PC() { return &m_texture_cursor; }

    // The music player's end-of-song callback: the window procedure calls it
    // with its user pointer for each WM_MUSIC_EVENT message. Clearing with a
    // user pointer clears only a callback set with that pointer.
    void SetMusicEventCB(EngWindowMusicEventCB callback, void *user);
    void ClearMusicEventCB(void *user);

    HWND GetWindowHandle() const { return m_hwnd; }
    EngDevice *GetDevice() const { return m_device; }
    const _EngCreateWindowParms *GetCreateParms() const { return &m_parms; }
    char IsActive() const { return m_active; }
    char IsMinimised() const { return m_minimised; }
    char IsCursorShown() const { return m_cursor_shown; }
    char IsMouseOutside() const { return m_mouse.outside; }

private:
    char CreateSystemWindow_PC(_EngCreateWindowParms *parms);
    void DestroySystemWindow_PC();
    void StoreWindowRect_PC();
    void ClearInputState();
    void ShowSystemCursor(char show);
    // True when the size message is fully handled (no default handling).
    bool HandleSize_PC(WPARAM kind);
    void HandleMouseMove_PC(int x, int y);
    void InputEvent(int event, float a, float b);

    EngProgram *m_program;
    char m_title[255];
    char m_active;
    char m_recreating_device;
    char m_device_recreation_pending;
    char m_recreating_window;
    char m_cursor_shown;
    EngDevice *m_device;
    DWORD m_style;
    HWND m_hwnd;
    RECT m_stored_rect;
    char m_stored_rect_valid;
    _EngCreateWindowParms m_parms;
    // Input state: the window's show state as the size messages told it.
    char m_minimised;
    char m_maximised;
    char m_maximising;
    _EngWindowMouseTracking m_mouse;
    _EngWindowTextureCursor m_texture_cursor;
    EngWindowMusicEventCB m_music_event_cb;
    void *m_music_event_user;
};

// The procedure of the main window's class.
LRESULT EngWindowProc_PC(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// Handles at most one queued message: 0 after the quit message, 1 when the
// queue was empty, 2 after dispatching one.
char EngWindowPumpOneMessage_PC();

// Screen measures back to their values at load, the key table cleared.
void EngWindowResetForTests();
