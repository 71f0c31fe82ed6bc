// Every control of the toolkit: push buttons, labels, text edits, lists,
// checkboxes, choices, panels and the rest are one class whose kind is fixed
// at construction. Controls are made only through a window's or group's add
// operation, which links them into the group's list (drawing and hit order);
// the window routes mouse and keys to them, and a press ends in the window
// controller's ButtonPressedCB or in the control's own callback.
//
// Liveness: every control carries a serial number that is never reused.
// After a handler runs, the toolkit looks the control up again by its ids
// and compares serials, so a control the handler deleted (or replaced with
// another of the same ids) is never touched again.
//
// Failures: a missing root, group or window at construction is fatal;
// "Use controller" refuses a callback on a window with a controller.
#pragma once

#include "gui/MWinTypes.h"

class MWin;
class MWinGroup;
class MWinWindow;

typedef void (*MWinButtonCallback)(MWin *, _MWinButtonCallbackInfo *, int, int);
typedef void (*MWinButtonCallbackUser)(MWin *, _MWinButtonCallbackInfo *, int, int, void *);
typedef void (*MWinButtonPlainCallback)(void *);

class MWinButton {
public:
    MWinButton(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType type, const char *texbut_id,
               const char *text, float x, float y, float w, float h);
    virtual ~MWinButton();
    MWinButton(const MWinButton &) = delete;
    MWinButton &operator=(const MWinButton &) = delete;

    // The virtual operations, in slot order.
    virtual char CreateGraphics();
    virtual void DestroyGraphics();
    virtual void AreaChanged();
    virtual char Tick(char unused);
    virtual void Render();
    virtual char HandleMouseButtonPressed(char button, char down, char extra);
    virtual char HandleMouseButtonReleased(char button);
    virtual char CancelPress();
    virtual void HandleMouseMove();
    virtual char HandleMouseWheel(int count);
    virtual char HandleKeyDown(int key);
    virtual char HandleKeyDownUChar(unsigned char ch);
    virtual char HandleKeyUp(int key);
    virtual char IsCapturingInput();
    virtual void Activate();
    virtual char Deactivate();

    // State.
    void Hide();
    void Enable();
    void Disable();
    void SetEnabled(char on);
    char CanBeActive();
    char SetEscapeButtonForParentWindow();
    char SetDefaultButtonForParentWindow();
    _MWinTextureState GetTextureState();

    // Callbacks.
    char SetCallback(MWinButtonCallback callback, int a, int b, char check_controller);
    char SetCallback(MWinButtonCallbackUser callback, int a, int b, void *user, char check_controller);
    char SetPlainCallback(MWinButtonPlainCallback callback, void *user);
    char HasCallback();
    void FillCallbackInfo(_MWinButtonCallbackInfo *info);
    // The press handling; false when nothing received it or when the
    // receiver deleted this control or left its screen.
    char CallCallback(_MWinButtonCallbackInfo *info);
    char CallCallback() { return CallCallback(nullptr); }

    // Geometry: positions relative to the window's design area.
    void SetPos(float x, float y);
    void SetPosAndSize(float x, float y, float w, float h);
    void SetDimension(_Dimension dimension);
    char GetDimension(_Dimension *out);
    char GetScreenDimension(_Dimension *out);
    _Dimension *GetDimensionP() { return &m_dim; }
    _Dimension *GetScreenDimensionP() { return &m_screen; }
    void RecalculateArea();
    _MWinLayoutSettings *GetLayoutSettings();

    // Text and look.
    void SetText(const char *text);
    const char *GetText() const { return m_text; }
    char SetFont(const char *font_id);
    void SetTextColour(float r, float g, float b, float a);
    void SetTextScale(float x, float y);
    void SetTextAlign(_MWinTextAlign align) { m_text_align = align; }
    void SetColourMultiplier(float r, float g, float b, float a);
    char SetBackTexButToTexBut(const char *id);
    void SetBackTexButToDefault();
    void SetBackTexButToNone();

    // Identity and links.
    const char *GetID() const { return m_id; }
    MWin *GetMWin() { return m_mwin; }
    MWinWindow *GetWindow() { return m_window; }
    MWinGroup *GetGroup() { return m_group; }
    _MWinButtonType GetType() const { return m_type; }
    unsigned long GetSerial() const { return m_serial; }
    MWinButton *GetNext() { return m_next; }
    MWinButton *GetPrev() { return m_prev; }
    void SetLinks(MWinButton *prev, MWinButton *next)
    {
        m_prev = prev;
        m_next = next;
    }

    char IsShown() const { return m_shown; }
    char IsEnabled() const { return m_enabled; }
    char IsActive() const { return m_active; }
    char IsPressed() const { return m_pressed; }
    char IsEditing() const { return m_editing; }
    char IsInteractive() const { return m_interactive; }

    // The shown flag, set directly by screens (there is no show operation).
    char m_shown;

    // Controls alive now.
    static int GetLiveCount();

protected:
    void RequestRender();
    void SetTypeDefaults();

    MWin *m_mwin;
    MWinWindow *m_window;
    MWinGroup *m_group;
    MWinButton *m_prev, *m_next;
    _MWinButtonType m_type;
    char m_id[MWIN_ID_SIZE];
    unsigned long m_serial;

    char m_enabled, m_active, m_pressed, m_interactive, m_on_screen, m_dragging, m_editing;

    _Dimension m_dim, m_screen, m_crop;
    float m_text_margin;

    char *m_text;
    char m_shrink_to_fit;
    char m_font_id[MWIN_ID_SIZE];
    int m_font_num;
    _ColourRGBA m_text_colour;
    float m_text_scale_x, m_text_scale_y;
    _MWinTextAlign m_text_align;
    _ColourRGBA m_multiplier;
    int m_multiplier_mode;
    char m_texbut_id[MWIN_ID_SIZE];
    int m_texbut;

    MWinButtonCallback m_callback_a;
    MWinButtonCallbackUser m_callback_b;
    MWinButtonPlainCallback m_callback_c;
    int m_callback_int_a, m_callback_int_b;
    void *m_callback_user;
    char m_has_callback;
};
