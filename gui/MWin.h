// The toolkit's root: one per program, made and owned by the game. It owns
// the desktop with every collection, window and control, the texture and
// font registries, the settings with five sets of per-layout metrics, the
// popup state and a one-slot queue of deferred button presses. The game
// feeds it mouse and key events and calls its tick and its two render
// passes every frame.
//
// Failures: a missing desktop or registry at construction is fatal; every
// entry point that needs the desktop reports "No desktop" under its plain
// name and returns false; graphics failures are reported and answered with
// false while the toolkit stays on. A second queued message is refused, not
// overwritten. Main thread only.
#pragma once

#include "engine/graphics/EngTexture.h"
#include "gui/MWinTypes.h"

class Game;
class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinFonts;
class MWinScreens;
class MWinTextures;
class MWinWindow;

// Controls call it, when set, with 0 after a press reached its receiver, 1
// after a scrollbar wheel step or a text entry key, 2 after a selection
// changed, 3 when the pointer moved onto a control that takes the focus.
typedef void (*MWinEventHook)(int event, void *user);

// A popup's answer: 1 OK or Yes (Enter in a text entry, activation in a
// panel), 0 Cancel or the No of a two-button box, 2 the No of a three- or
// four-button box, 3 the extra button. Called after the popup was closed,
// so it may open the next one.
typedef void (*MWinPopupDoneCB)(MWin *mwin, char result, void *user);
// A panel popup's selection moved to row pos.
typedef void (*MWinPopupSelectedCB)(MWin *mwin, int pos, void *user);
typedef const char *(*MWinPopupStringsCB)(int index, MWinButton *panel, void *user);

// The five style slots of the popups.
enum {
    MWIN_POPUP_STYLE_WINDOW_BACK = 0,
    MWIN_POPUP_STYLE_TITLE_BACK,
    MWIN_POPUP_STYLE_WINDOW_FONT,
    MWIN_POPUP_STYLE_CONTROL_BACK,
    MWIN_POPUP_STYLE_CONTROL_FONT,
    MWIN_POPUP_NUM_STYLES,
};

// The popup's controls, in the order of their answers' buttons.
enum {
    MWIN_POPUP_OK = 0,
    MWIN_POPUP_CANCEL,
    MWIN_POPUP_NO,
    MWIN_POPUP_EXTRA,
    MWIN_POPUP_NUM_BUTTONS,
};

class MWin {
public:
    explicit MWin(Game *game);
    ~MWin();
    MWin(const MWin &) = delete;
    MWin &operator=(const MWin &) = delete;

    // Life.
    void SetScreens(MWinScreens *screens);
    MWinScreens *GetScreens();
    unsigned int GetCurrentScreen();
    char AreScreensOn();
    Game *GetGame(char allow_null);
    char Startup();
    char Shutdown();
    void Destroy();
    char IsOn();
    char CreateGraphicsObjects();
    char CreateBgClearImage();
    void DestroyGraphicsObjects();

    // Settings and layout.
    void SetSettingsFlags(char a, char b, char c, char d);
    void GetSettings(_MWinSettings *out);
    void SetSettings(const _MWinSettings *in);
    // The settings in force, for the toolkit's own parts.
    _MWinSettings *GetSettingsP() { return &m_settings; }
    _MWinLayoutSettings *GetScreenLayout();
    // The working metrics of one layout (0 to 4); null for another number.
    _MWinLayoutSettings *GetLayoutSettings(int layout);
    int GetLayout() const { return m_layout; }
    float GetScale();
    void SetScaleOn(char on) { m_scale_on = on; }
    char IsScaleOn() const { return m_scale_on; }
    void SetScreenLayoutForDevice();
    void SetScreenLayout(int layout);
    void UpdateLayoutSettings();
    void ButtonsChanged();
    void LanguageChanged();
    void GetVirtualSize(float *w, float *h);
    _EngTextureFileExt GetTextureFileExt() const { return m_texture_file_ext; }

    MWinDesktop *GetDesktop() { return m_desktop; }
    MWinTextures *GetTextures() { return m_textures; }
    MWinFonts *GetFonts() { return m_fonts; }

    // Input; each true when the event was used.
    char ButtonPressed(char button, char pressed, char extra);
    char MouseWheelMoved(int clicks);
    char KeyDownChar(int ch);
    char KeyDown(int key);
    char KeyUp(int key);
    char MouseMove(float x, float y);
    char MouseMoveInt(int x, int y);
    char Tick();
    char IsPointerInDimension(const _Dimension *area, const _Vector2d *offset);
    char IsMouseInDimension(const _Dimension *area, const _Vector2d *offset);
    char IsAnyButtonEditing();
    float GetPointerX() const { return m_pointer_x; }
    float GetPointerY() const { return m_pointer_y; }
    float GetMouseX() const { return m_mouse_x; }
    float GetMouseY() const { return m_mouse_y; }

    // The pointer's y below a menu bar of height menu_h: the band under the
    // bar is stretched over the whole 480 units. A bar of 480 or more leaves
    // no band, and the mouse's own y is kept.
    static float PointerYBelowMenu(float mouse_y, float menu_h);

    // The message queue.
    char AddMessageToQueue(const char *collection_id, const char *window_id, const char *button_id,
                           _MWinMessageNum message);
    char ProcessQueueMessages();
    void RemoveAnyQueuedMessagesForButton(MWinButton *button, MWinWindow *window, MWinCollection *collection);
    int GetNumQueuedMessages() const { return m_queue_count; }

    // Lookups; report asks for a report of what was not found.
    MWinCollection *GetCollectionFromID(const char *id, char report);
    MWinWindow *GetWindowFromIDs(const char *collection_id, const char *window_id, char report);
    MWinButton *GetButtonFromIDs(const char *collection_id, const char *window_id, const char *button_id,
                                 char report);

    // Rendering.
    void RenderMain();
    char RenderPopups();
    void RequestRender();

    // Text drawing for controls and windows.
    void DrawTextLine(int font_num, _MWinTextAlign align, float inset, float x, float y, float w, float h,
                      const _Vector2d *offset, const char *text, int max_chars, char prepare, char fit);
    void DrawTextLineInDimension(int font_num, _MWinTextAlign align, float inset, const _Dimension *area,
                                 const _Vector2d *offset, const char *text, int max_chars, char prepare,
                                 char fit);
    void DrawTextLineAllChars(int font_num, _MWinTextAlign align, float inset, float x, float y, float w, float h,
                              const _Vector2d *offset, const char *text, char prepare, char fit);
    void DrawTextMultiline(int font_num, _MWinTextAlign align, float inset, const _Dimension *area,
                           const _Vector2d *offset, const char *text, char prepare);
    static float AdjustXForScale(float x, float w);
    static float AdjustYForScale(float y, float h);

    // Calls the event hook when one is set (no operation of the toolkit sets it).
    void CallEventHook(int event);

    // Popups (MWinPopups.cpp). One modal popup at a time, in the collection
    // "MWIN_POPUP" above all others, which are deactivated and dimmed while
    // it is open. Each builder returns false, with a report, when the popup
    // cannot be shown (one is open, the toolkit is off, a window or control
    // cannot be made); the done callback is then never called. A null
    // title shows no title bar.
    char PopupOk(const char *title, const char *text, MWinPopupDoneCB done, void *user);
    char PopupMessage(const char *title, const char *text);
    char PopupMessageNoTitle(const char *text);
    char PopupOkCancel(const char *title, const char *text, MWinPopupDoneCB done, void *user);
    char PopupYesNo(const char *title, const char *text, MWinPopupDoneCB done, void *user);
    // Yes (1), Cancel (0) and No (2), laid out Yes, No, Cancel.
    char PopupYesNoCancel(const char *title, const char *text, MWinPopupDoneCB done, void *user);
    // An OK box in the error colour; a null title reads "Error".
    char PopupErrorOk(const char *title, const char *text, MWinPopupDoneCB done, void *user);
    char PopupErrorMessage(const char *text);
    // No buttons and no answer: it stays until closed by code.
    char PopupShowMessage(const char *title, const char *text);
    // Edits the caller's buffer of size bytes in place (at most size - 1
    // characters); Enter or OK answers 1.
    char PopupGetText(const char *title, const char *text, char *buffer, int size, MWinPopupDoneCB done,
                      void *user);
    // A list of entries in a panel of w x h bound to **selection (its first
    // row and the answer); selected hears every move; OK only when
    // first_button_kind is not 0.
    char PopupPanel(const char *title, const char *text, int entries, int lines_per_entry, float w, float h,
                    MWinPopupStringsCB strings, char first_button_kind, int **selection,
                    MWinPopupSelectedCB selected, MWinPopupDoneCB done, void *user);
    // Blocks for seconds, drawing its own frames, then closes; with fade
    // (over 0.2 s) it fades in and out over 0.1 s each.
    char PopupShowTimedMessage(const char *title, const char *text, double seconds, char fade);
    // Draws a buttonless message into two frames at once and closes it, so
    // it stays on screen during the caller's following blocking work.
    char PopupShowMessageNow(const char *title, const char *text);

    // Null or empty ids, negative floats and an alignment of -1 keep what
    // is set.
    void PopupSetStyle(const char *window_back, const char *title_back, const char *window_font,
                       const char *control_back, const char *control_font, float msg_r, float msg_g, float msg_b,
                       float msg_a, float msg_scale_x, float msg_scale_y, float title_r, float title_g,
                       float title_b, float title_a, float title_scale_x, float title_scale_y, int title_align);
    // Texts of the next popup's buttons only; null keeps the usual text.
    void PopupSetButtonTexts(const char *first, const char *second);
    void PopupSetYesNoCancelTexts(const char *yes, const char *no, const char *cancel);
    void PopupSetWideButtons();
    void PopupResetButtonWidths();
    // > 0 sets the width, -2 restores the platform's default.
    void PopupSetButtonWidths(float portrait, float landscape);
    void PopupSetButtonWidth(float width);
    // The open popup closes by itself, without answer, after seconds of
    // program time; 0 or less clears the time-out.
    void PopupSetTimeout(double seconds);
    void PopupSetAlpha(float alpha);
    void PopupSelectSizesForPlatform();
    void PopupResetAll();

    char IsPopupOn();
    // Closes an open popup without its answer; true when one was open.
    char PopupCloseIfOn();
    char PopupCloseCollection();
    void PopupCheckTimeout();
    MWinCollection *GetPopupCollection() { return m_popup_collection; }
    MWinButton *GetPopupButton(int which) { return m_popup_buttons[which]; }
    // A button of the popup answered: closes it, then calls done.
    void PopupAnswer(char result);
    // The panel popup's control reported an event.
    void PopupPanelEvent(const _MWinButtonCallbackInfo *info);
    // The text entry reported an event.
    void PopupTextEditEvent(const _MWinButtonCallbackInfo *info);

    // 1 leaves the screen undimmed behind the next popup only.
    char m_popup_no_dim_next;

    // The colour picker's graphics (MWinColour.cpp).
    char ColourCreateGraphics();
    void ColourDestroyGraphics();
    // Hue palette entry i (0..255) as r, g, b.
    const float *GetHuePaletteColour(int i) const { return m_hue_palette[i & 255]; }

    // The on-screen keyboard's entry points (MWinKeyboard.cpp).
    char PopupRenderFullScreenTextEntryMobile(char check_only);
    // The full-screen text entry of phones and tablets; false with "Not
    // mobile." on the desktop.
    char PopupGetText_Mobile(const char *title, const char *text, char *buffer, int size, MWinPopupDoneCB done,
                             void *user);
    void PopupGetTextSetEntryMode(int kind, char hidden, char automatic_capitals);

    // For tests: the raw on flag, to check IsOn's guard.
    void SetIsOnForTests(char value) { m_is_on = value; }
    // For tests: the next popup's window cannot be made, as when memory
    // runs out after the popup's collection exists.
    void PopupFailNextWindowForTests() { m_popup_fail_next_window = 1; }

private:
    void SetDefaultSettings();
    void UpdatePointerPosition();

    // The popup's building steps.
    char PopupCreateCollection();
    char PopupSetupDefaultButtons(const char *title, const char *text, char first, char second, char third,
                                  char fourth, float extra_w, float extra_h);
    char PopupCompleteSetup(MWinPopupDoneCB done, void *user);
    void PopupApplyStyle(MWinButton *button);
    // Create, build and complete a box of buttons; a failure rolls back.
    char PopupBuild(const char *title, const char *text, char first, char second, char third, char fourth,
                    MWinPopupDoneCB done, void *user);
    // Removes the popup collection and restores what it changed; used by
    // closing and by a build that failed.
    void PopupRemoveCollection();
    void PopupRollBack();
    char PopupMeasureText(const _MWinWindowCreateInfo *info, const char *text, float w, char multiline,
                          float *out_w, float *out_h);
    void PopupPlaceButtons(float box, float gaps, float gap, float bw);
    // The one-shot texts, else the usual ones of the buttons' kinds.
    void PopupApplyButtonTexts(char first, char second);
    void PopupClearOneShots();
    // The fade of a timed message: alpha from 'from' to 'to' over seconds.
    void PopupFadeAlpha(float from, float to, double seconds);

    Game *m_game;
    _MWinQueuedMessage m_queue;
    int m_queue_count;
    int m_layout;
    MWinScreens *m_screens;

    // Popup state.
    char m_popup_on;
    // The collection switching saved while a popup is open; -1 none.
    signed char m_popup_saved_switching;
    // 1 when the popup hid the menu bar, else -1.
    signed char m_popup_menu_hidden;
    char m_popup_style[MWIN_POPUP_NUM_STYLES][MWIN_ID_SIZE];
    _ColourRGBA m_popup_msg_colour;
    float m_popup_msg_scale[2];
    _ColourRGBA m_popup_title_colour;
    float m_popup_title_scale[2];
    // [portrait, landscape].
    float m_popup_min_w[2], m_popup_max_w[2];
    float m_popup_default_button_w[2], m_popup_button_w[2], m_popup_button_h[2];
    // -1: the next popup in the error colour.
    signed char m_popup_colour_kind;
    // Program time in seconds; 0 none.
    double m_popup_timeout;
    _MWinTextAlign m_popup_title_align;
    char m_popup_button_text[3][64];
    MWinCollection *m_popup_collection;
    MWinWindow *m_popup_window;
    MWinButton *m_popup_msg;
    MWinButton *m_popup_buttons[MWIN_POPUP_NUM_BUTTONS];
    MWinButton *m_popup_panel;
    MWinButton *m_popup_text_edit;
    MWinPopupSelectedCB m_popup_panel_selected;
    MWinPopupDoneCB m_popup_done;
    void *m_popup_user;
    char m_popup_fail_next_window;

    _MWinSettings m_settings;
    _MWinLayoutSettings m_layouts[MWIN_NUM_LAYOUTS];
    char m_is_on;
    MWinDesktop *m_desktop;
    MWinTextures *m_textures;
    MWinFonts *m_fonts;
    EngTexture m_bg_clear_image;
    float m_mouse_x, m_mouse_y;
    float m_pointer_x, m_pointer_y;
    _EngTextureFileExt m_texture_file_ext;
    float m_virtual_size[MWIN_NUM_LAYOUTS][2];
    MWinEventHook m_event_hook;
    void *m_event_hook_user;
    char m_scale_on;

    // The colour picker's hue palette.
    float m_hue_palette[256][3];

    // The on-screen keyboard: the entry rules of the next text entry.
    int m_entry_kind;
    char m_entry_hidden;
    char m_entry_auto_capitals;
};

// Reads and clears the main window's one-shot record that the left button
// was let go while the pointer was outside the program's window: the
// toolkit never gets that release, and every press or drag ends on it.
char MWinTakeReleasedOutside();
