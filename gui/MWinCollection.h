// A collection: one screen of the program, a named set of windows kept in
// five lists, one per screen layout; the list of the current layout is the
// one in use. The collection decides which of its windows gets an event:
// a shown modal window keeps the focus; otherwise the window under the
// pointer does (when focus follows the mouse) or the active one.
//
// Failures: a missing root is fatal; a layout outside 0 to 4 is reported
// and taken as 0; a background that fails to load is reported and dropped.
// A key handler may delete the window or the whole collection: the
// collection returns right after handing the key on.
#pragma once

#include "engine/graphics/EngTexture.h"
#include "gui/MWinTypes.h"

class MWin;
class MWinDesktop;
class MWinWindow;

class MWinCollection {
public:
    MWinCollection(MWin *mwin, const char *id, MWinDesktop *desktop);
    ~MWinCollection();
    MWinCollection(const MWinCollection &) = delete;
    MWinCollection &operator=(const MWinCollection &) = delete;

    void Activate();
    void Deactivate();
    char IsActive() const { return m_active; }
    char IsValid() const { return m_valid; }
    void SetScreenLayout(int layout);
    int GetScreenLayout();
    char GetScaleWindows() const { return m_scale_windows; }
    void SetScaleWindows(char on) { m_scale_windows = on; }

    MWinWindow *AddWindow(const char *id, const _MWinWindowCreateInfo *info);
    MWinWindow *GetWindowFromID(const char *id, char report);
    MWinWindow *GetActiveWindow();
    int GetNumWindows();
    MWinWindow *GetNthWindow(int n);
    // The first window of the current layout's list.
    MWinWindow *GetFirstWindow();
    void WindowsChanged();
    void UpdateActiveWindow();
    void RemoveAllWindows();
    // Takes a window that is going out of its list and forgets it as the
    // escape window.
    void ForgetWindow(MWinWindow *window);
    void SetEscapeWindow(MWinWindow *window) { m_escape_window = window; }
    char HasModal() const { return m_has_modal; }

    // The background image: the file (640 x 480 units) loaded with the graphics.
    void SetBgFile(const char *file);
    char CreateBgTexture();
    void DestroyBgTexture();
    char CreateGraphics();
    void DestroyGraphics();

    char Tick();
    void Render();
    char HandleButtonPressed(char button, char pressed, char extra);
    char HandleMouseMove();
    char HandleMouseWheel(int clicks);
    char HandleKeyDown(int key);
    char HandleKeyDownChar(int ch);
    char HandleKeyUp(int key);

    const char *GetID() const { return m_id; }
    MWinCollection *GetNext() { return m_next; }
    MWinCollection *GetPrev() { return m_prev; }
    void SetLinks(MWinCollection *prev, MWinCollection *next)
    {
        m_prev = prev;
        m_next = next;
    }

    // The state the popup keeps while it is open.
    char m_was_active_before_popup;

private:
    int CheckedLayout();
    MWinWindow *&Head();
    void DeactivateAllWindows();

    char m_active;
    char m_valid;
    char m_bg_file[MWIN_FILE_SIZE];
    char m_bg_load_alpha, m_bg_load_alpha_type;
    EngTexture m_bg_texture;
    int m_layout;
    char m_layout_set;
    char m_has_modal;
    MWin *m_mwin;
    MWinDesktop *m_desktop;
    char m_id[MWIN_ID_SIZE];
    MWinWindow *m_windows[MWIN_NUM_LAYOUTS];
    MWinCollection *m_next, *m_prev;
    char m_scale_windows;
    MWinWindow *m_escape_window;
};
