// SWin: one plain native window with standard controls (group boxes, static
// texts, push buttons, a multi-line text box, drop-down lists, pictures),
// drawn by the desktop and not by the game's renderer. The updater runs its
// windows with it in modal loops of its own on the main thread, pumping with
// ProcessAnyWindowsMessages while the game's screen stands still.
//
// Geometry: the window is cut to the desktop's work area (1280 x 1024 when
// that cannot be read), centred on an axis where its position is negative
// and moved inside; on a screen of more than 96 pixels per inch it grows
// about the work area's centre. Controls are cut, centred and moved inside
// the window's client area the same way, then scaled.
//
// Escape destroys the window; its close box does too and ends the caller's
// loop. Failures are reported under "SWin::<operation>" and answered with
// false or -1; a failed control leaves the window as it was. Main thread only.
#pragma once

#include "platform/ui/UiWindow.h"

class SWin;

enum _SWinButtonType {
    SWBT_GROUP_BOX = 0,
    SWBT_STATIC_TEXT = 1,
    SWBT_PUSH_BUTTON = 2,
    SWBT_EDIT_BOX = 3,
    SWBT_RADIO_GROUP = 4, // a reserved slot; no window is made for it
    SWBT_DROP_DOWN_LIST = 6,
    SWBT_PICTURE = 7,     // placed at the caller's own numbers
};

enum _SWinTextAlign { SWTA_LEFT = 0, SWTA_CENTRE = 1, SWTA_RIGHT = 2 };

typedef void (*SWinPushButtonCB)(SWin *swin);
// A drop-down list's new selection.
typedef void (*SWinListCB)(SWin *swin, int selection);

struct _SWinCreateInfo {
    char flags[2]; // not read; callers clear them
    char title[256];
    int x, y;      // a negative value centres the window on that axis
    int width, height;
    float red, green, blue;
};

// Where a window or control goes: x, y, width, height in pixels.
struct _SWinPlace {
    float x, y, width, height;
};

// The window inside an area of area_width x area_height at the given scale.
_SWinPlace SWinPlaceWindow(int area_width, int area_height, float scale, int x, int y, int width, int height);
// A control inside a client area of area_width x area_height.
_SWinPlace SWinPlaceControl(int area_width, int area_height, float scale, int x, int y, int width, int height);

enum { SWIN_MAX_CONTROLS = 24 };

class SWin {
public:
    SWin();
    ~SWin();
    SWin(const SWin &) = delete;
    SWin &operator=(const SWin &) = delete;

    bool CreateMainWindow(const _SWinCreateInfo *info);
    // The control's index, or -1.
    int AddButtonToWindow(_SWinButtonType kind, int x, int y, int width, int height, const char *text);
    int AddPushButtonToWindow(int x, int y, int width, int height, const char *text, SWinPushButtonCB callback);
    bool PushButtonSetCallback(int index, SWinPushButtonCB callback);
    // What a drop-down list does when the user chooses an entry: the new
    // selection goes to the targets that are not null, then to the callback.
    bool ListSetCallback(int index, SWinListCB callback, int *int_target, char *char_target);
    bool SetButtonText(int index, const char *text);
    bool GetButtonText(int index, char *buffer, int size);
    bool SetButtonTextAlign(int index, _SWinTextAlign align);
    // 0: no window, or the loop is to end; 1: nothing to do; 2: one event handled.
    int ProcessAnyWindowsMessages();
    bool QuitWindowLoop();
    bool DestroyMainWindow();

    bool IsCreated() const { return m_created; }
    bool IsQuitting() const { return m_quit; }
    float GetScale() const { return m_scale; }
    // The client area: left, top, width, height.
    const float *GetArea() const { return m_area; }
    int GetNumControls() const { return m_num_controls; }
    // The selection of a drop-down list, as the user last chose it.
    int GetListSelection(int index) const;
    // The native window (null when none); for tests.
    UiWindow *GetNativeWindow() { return m_window; }

private:
    struct Control {
        _SWinButtonType kind;
        int x, y, width, height;
        SWinPushButtonCB push_callback;
        int selection;
        SWinListCB list_callback;
        int *list_int_target;
        char *list_char_target;
    };

    static void EventCB(UiWindow *window, const _UiEvent *event, void *user);
    // The control of an index that has a native control, or null after
    // reporting (reported only when the index is good but has none).
    Control *FindNativeControl(int index, const char *where);
    void Destroyed();

    bool m_created;
    float m_area[4];
    float m_scale;
    bool m_quit;
    int m_num_controls;
    Control m_controls[SWIN_MAX_CONTROLS];
    UiWindow *m_window;
    float m_colour[3];
};

// The program's one native window object.
extern SWin modules_swin;
