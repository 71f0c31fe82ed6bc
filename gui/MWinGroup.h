// A group of controls inside a window: an owned, doubly linked list whose
// order is the drawing order (and, walked backwards, the hit order). A
// window makes one group, and every add operation of the window uses it.
// Failures: a missing root is fatal; a group without window refuses to add
// ('NOSU'); a control that cannot be made is reported ('OMEM').
#pragma once

#include "gui/MWinTypes.h"

class MWin;
class MWinButton;
class MWinWindow;

class MWinGroup {
public:
    MWinGroup(MWin *mwin, MWinWindow *window);
    ~MWinGroup();
    MWinGroup(const MWinGroup &) = delete;
    MWinGroup &operator=(const MWinGroup &) = delete;

    MWinButton *AddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text, float x,
                          float y, float w, float h);
    MWinButton *AddButtonWithCallback(const char *id, _MWinButtonType type, const char *texbut_id,
                                      const char *text, float x, float y, float w, float h,
                                      void (*callback)(MWin *, _MWinButtonCallbackInfo *, int, int), int a, int b);

    // Appends a control made for this group (the control classes of their
    // own are made by their add operations and appended here).
    MWinButton *CompleteAddButton(MWinButton *button);

    char CreateGraphics();
    void DestroyGraphics();
    void UpdateButtonAreas();
    // Deletes the controls from the last to the first.
    void RemoveAllButtons();
    // Takes a control that is going out of the list (a control not in the
    // list, such as a window's title-bar button, is left alone).
    void Unlink(MWinButton *button);
    void Render();
    char Tick();

    MWinWindow *GetWindow() { return m_window; }
    MWinButton *GetFirstButton() { return m_first; }
    MWinButton *GetLastButton() { return m_last; }
    char IsEnabled() const { return m_enabled; }
    char IsCreated() const { return m_created; }
    MWinGroup *GetNext() { return m_next; }
    MWinGroup *GetPrev() { return m_prev; }
    void SetLinks(MWinGroup *prev, MWinGroup *next)
    {
        m_prev = prev;
        m_next = next;
    }

private:
    MWinButton *PreAddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text, float x,
                             float y, float w, float h);

    MWin *m_mwin;
    char m_enabled;
    char m_created;
    MWinWindow *m_window;
    MWinButton *m_first, *m_last;
    MWinGroup *m_prev, *m_next;
};
