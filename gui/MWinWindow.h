// A window: a rectangle of the virtual screen that belongs to one
// collection and holds controls in groups. It may have a title bar with a
// title and two title-bar buttons ("STD_HIDE" and "STD_EXTRA"), background
// texture buttons, a font, a colour multiplier, and a controller that
// receives its controls' presses. Every screen layout describes its windows
// with one _MWinWindowCreateInfo each. How a window handles mouse and keys
// is in MWinWindowInput.cpp.
//
// Failures: a missing root is fatal; bad descriptor flags are corrected and
// reported, never fatal; a window without group refuses to add ('NOSU').
// Presses asked for by code or keys are queued, never run inside the
// handler that asked.
#pragma once

#include "engine/core/EngMath.h"
#include "gui/EngScroller.h"
#include "gui/MWinTypes.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinCollectionController;
class MWinGroup;
class MWinHorzScrollbar;
class MWinProgressCircle;
class MWinRangeSlider;
class MWinScriptButton;
class MWinTabPanel;

// The axes of a window's content scrolling.
enum {
    MWIN_AXIS_HORZ = 0,
    MWIN_AXIS_VERT = 1,
};

// One axis of a window's built-in scroll bar, in screen units.
struct _MWinWindowScroll {
    // Window size / (scroll size + window size); 1 without scrolling.
    float fraction;
    // The track's length less the thumb's.
    float travel;
    _Dimension track, thumb;
    // The position and the pointer coordinate when the thumb drag began.
    float drag_start_pos, drag_start_pointer;
    // 0 to the axis's scroll size.
    float pos;
    char dragging;
    // A track press pages on its release: 1 forward, -1 back, 0 none.
    signed char page_dir;
};

class MWinWindow {
public:
    MWinWindow(MWin *mwin, const char *id, MWinCollection *collection, const _MWinWindowCreateInfo *info);
    ~MWinWindow();
    MWinWindow(const MWinWindow &) = delete;
    MWinWindow &operator=(const MWinWindow &) = delete;

    // Controls.
    MWinButton *AddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text, float x,
                          float y, float w, float h);
    MWinButton *AddButtonWithCallback(const char *id, _MWinButtonType type, const char *texbut_id,
                                      const char *text, float x, float y, float w, float h,
                                      void (*callback)(MWin *, _MWinButtonCallbackInfo *, int, int), int a, int b);
    MWinHorzScrollbar *AddHorzScrollbar(const char *id, const char *texbut_id, const char *text, float x, float y,
                                        float w, float h);
    MWinScriptButton *AddScriptButton(const char *id, const char *texbut_id, float x, float y, float w, float h);
    MWinProgressCircle *AddProgressCircle(const char *id, const char *texbut_id, float x, float y, float w,
                                          float h);
    MWinTabPanel *AddTabPanel(const char *id, const char *texbut_id, float x, float y, float w, float h);
    MWinRangeSlider *AddRangeSlider(const char *id, const char *texbut_id, float x, float y, float w, float h);
    void RemoveAllButtons();
    MWinButton *GetFirstButton();
    MWinButton *GetActiveButton();
    MWinButton *GetButtonFromID(const char *id, char report);
    MWinButton *GetButtonFromIDOrReport(const char *id);
    // Forgets a control that is going (escape and default buttons).
    void ForgetButton(MWinButton *button);

    // The controller.
    void SetController(MWinCollectionController *controller);
    void ClearController();
    MWinCollectionController *GetController(char required);

    char SendButtonCallCallbackMessage(MWinButton *button, char report);
    void SetEscapeButton(MWinButton *button);
    void SetDefaultButton(MWinButton *button);
    MWinButton *GetEscapeButton() { return m_escape_button; }
    MWinButton *GetDefaultButton() { return m_default_button; }

    // Activity and visibility.
    void Activate();
    void Deactivate();
    void Hide();
    void SetShown(char shown);
    char IsActive() const { return m_active; }
    char IsShown() const { return m_shown; }

    // Position and size, in 640 x 480 units.
    void SetPosition(float x, float y);
    void SetPositionAndSize(float x, float y, float w, float h);
    void GetPosAndSize(_Dimension *out);
    char KeepOnScreen();
    // list ends with a null entry.
    void CenterGroupOfButtons(MWinButton **list, char horizontally, char vertically);
    void GetVirtualSize(float *w, float *h, char unused);
    _MWinLayoutSettings *GetScreenLayout();
    float GetScale();

    // Style.
    void SetTitleTextColour(float r, float g, float b, float a);
    void SetTitleTextColourFromRecord(const _ColourRGBA *colour);
    void SetTitleTextScale(float x, float y);
    void SetTitleTextAlign(_MWinTextAlign align);
    void SetAlpha(float a);
    void SetTitleToken(const char *token);
    void SetFont(const char *id, char store_id);
    char SetTitleTexBut(const char *id);
    char SetBackTexBut(const char *id);
    char SetHideTexBut(const char *id);
    char SetExtraTexBut(const char *id);

    void UpdateHideAndExtraButtons(char rebuild_hide, char rebuild_extra, char unused);
    void UpdateAreas(char keep_title_buttons);
    char CreateGraphics();
    void DestroyGraphics();
    char Render();
    char Tick();
    void LanguageChanged();

    // Input (MWinWindowInput.cpp).
    char HandleButtonPressed(char button, char pressed, char extra, char extra2);
    char HandleMouseMove();
    void UpdateMouseOver();
    char HandleMouseWheel(int clicks);
    char HandleKeyDown(int key);
    char HandleKeyDownChar(int ch);
    char HandleKeyUp(int key);
    char IsPointerInWindow();
    char IsCapturingInput();
    char IsDragging() const { return m_dragging; }
    void EndDrag() { m_dragging = 0; }
    // A scroll thumb is held or a track press waits for its release.
    char IsScrollPressPending() const;
    // Ends a thumb drag and forgets a pending track press: for a release
    // the window never saw (it came outside the window).
    void EndScrollPress();
    // Every control loses its pressed state; an active one is deactivated.
    // False when a notice of that (the end of a text entry) removed this
    // window, which must not be touched then.
    char ReleaseControls();

    // Content scrolling (MWinWindowScroll.cpp). w and h are how far the
    // content reaches beyond the window along each axis; 0, 0 turns
    // scrolling off. Every move, resize or layout change returns the
    // content to its start.
    void SetScrollSize(float w, float h);
    void UpdateScrollbars();
    void ApplyScroll(int axis, char from_layout);
    // A mouse move while a scroll thumb is dragged; true when it was.
    char ScrollDrag();
    // A press or release on a scroll track or thumb; true when it took it.
    char ScrollPress(char button, char pressed, char extra, char extra2);
    char ScrollByWheel(int clicks);
    char IsScrollingOn() const { return m_scrolling_on; }
    const _MWinWindowScroll *GetScroll(int axis) const { return &m_scroll[axis == MWIN_AXIS_VERT]; }

    // Identity, links and geometry.
    const char *GetID() const { return m_id; }
    MWinCollection *GetCollection() { return m_collection; }
    MWin *GetMWin() { return m_mwin; }
    int GetKind() const { return m_kind; }
    char IsModal() const { return m_kind == MWWK_MODAL; }
    char HasTitleBar() const { return m_info.m_has_title_bar; }
    char IsValid() const { return m_valid; }
    char IsScaled() const { return m_scaled; }
    const _Dimension *GetArea() const { return &m_area; }
    const _Dimension *GetTitleBarArea() const { return &m_title_area; }
    const _Dimension *GetTitleTextArea() const { return &m_title_text_area; }
    float GetDesignWidth() const { return m_w; }
    float GetDesignHeight() const { return m_h; }
    float GetOffsetX() const { return m_offset_x; }
    float GetOffsetY() const { return m_offset_y; }
    MWinButton *GetHideButton() { return m_hide_button; }
    MWinButton *GetExtraButton() { return m_extra_button; }
    char IsTitleButton(const MWinButton *button) const
    {
        return button && (button == m_hide_button || button == m_extra_button);
    }
    const _MWinWindowCreateInfo *GetInfo() const { return &m_info; }
    MWinGroup *GetFirstGroup() { return m_first_group; }
    MWinWindow *GetNext() { return m_next; }
    MWinWindow *GetPrev() { return m_prev; }
    void SetLinks(MWinWindow *prev, MWinWindow *next)
    {
        m_prev = prev;
        m_next = next;
    }

    // The state the popup keeps while it is open.
    char m_was_active_before_popup;

private:
    template <class Control>
    Control *AddOwnControl(const char *caller, const char *id, const char *texbut_id, float x, float y, float w,
                           float h);
    char ResolveTexBut(const char *id, int default_slot, int *number);
    MWinButton *MakeTitleButton(const char *id, const char *texbut_id, float x, float y, float w, float h);
    void PlaceTitleButton(MWinButton *button, const char *text, const char *token, float x, float y, float w,
                          float h);
    void RenderScrollbars();
    // Keyboard focus: the next (or previous) control that can take it.
    MWinButton *FindFocusCandidate(bool forward);
    MWinButton *StepFocus(MWinButton *button, bool forward);
    char MoveFocus(bool forward);

    MWin *m_mwin;
    int m_kind;
    char m_valid;
    MWinButton *m_hide_button, *m_extra_button;
    char m_active, m_shown;
    int m_title_token_num;
    // Window dragging: the pointer and the area's corner where it began.
    char m_dragging;
    float m_drag_pointer_x, m_drag_pointer_y, m_drag_start_x, m_drag_start_y;
    EngScroller m_scroller;
    MWinCollectionController *m_controller;
    char m_has_controller;
    char m_id[MWIN_ID_SIZE];
    MWinCollection *m_collection;
    MWinGroup *m_first_group, *m_last_group;
    MWinWindow *m_prev, *m_next;
    _MWinWindowCreateInfo m_info;
    float m_x, m_y, m_w, m_h;
    _Dimension m_area;
    _Dimension m_title_area, m_title_text_area, m_body_area;
    char m_scaled;
    MWinButton *m_escape_button, *m_default_button;
    int m_font_num;
    int m_title_texbut, m_hide_texbut, m_extra_texbut, m_back_texbut;
    _ColourRGBA m_title_colour;
    float m_title_scale_x, m_title_scale_y;
    _MWinTextAlign m_title_align;
    char m_multiplier_on;
    _ColourRGBA m_multiplier;
    // Content scrolling: the offsets every control's area includes, and
    // per axis the scroll size and the scroll bar.
    float m_offset_x, m_offset_y;
    float m_scroll_size[2];
    _MWinWindowScroll m_scroll[2];
    char m_scrolling_on;
};
