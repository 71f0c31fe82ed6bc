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

    // Popups (MWinPopups.cpp).
    char IsPopupOn();
    char PopupCloseIfOn();
    void PopupCheckTimeout();
    MWinCollection *GetPopupCollection() { return m_popup_collection; }

    // The colour picker's graphics (MWinColour.cpp).
    char ColourCreateGraphics();
    void ColourDestroyGraphics();
    // Hue palette entry i (0..255) as r, g, b.
    const float *GetHuePaletteColour(int i) const { return m_hue_palette[i & 255]; }

    // The on-screen keyboard's entry points (MWinKeyboard.cpp).
    char PopupRenderFullScreenTextEntryMobile(char check_only);
    void PopupGetTextSetEntryMode(int kind, char hidden, char automatic_capitals);

    // For tests: the raw on flag, to check IsOn's guard.
    void SetIsOnForTests(char value) { m_is_on = value; }

private:
    void SetDefaultSettings();
    void UpdatePointerPosition();

    Game *m_game;
    _MWinQueuedMessage m_queue;
    int m_queue_count;
    int m_layout;
    MWinScreens *m_screens;

    // Popup state.
    MWinCollection *m_popup_collection;
    double m_popup_timeout;

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
