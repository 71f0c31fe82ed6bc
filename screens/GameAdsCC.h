// The "other games" screen ('GADS', "Also by Lichenware"): the maker's
// other titles from the cross-promotion module, one at a time, with the
// title, four lines of description and two screenshots, and buttons to
// browse to the previous or next title (also the arrow keys), to download
// the shown title's installer, to tell a friend about it, and Back (the
// window's hide button, also Escape).
//
// The Main screen prepares the module and opens the screen
// (GameAdsPrepareBrowse). A press is kept and handled on the next tick, so
// that a handler that changes the screen never runs inside the toolkit's
// press handling. A download or a web page chosen here ends the program
// first; the updater or the browser then follows.
//
// The screenshots exist only while the screen is current; browsing replaces
// them, and the screen set drops and reloads them around a recreation of
// the graphics device. A picture that cannot be loaded leaves its control
// empty; a missing control is skipped. On a tablet the layouts show one
// picture and a line naming where the title runs, a sideways drag on the
// picture browses, and a "<-- SWIPE -->" hint shows once, when there is more
// than one title to browse.
#pragma once

#include "gui/EngScroller.h"
#include "screens/ScreenController.h"

class HW_Screens;

class GameAdsCollectionController : public ScreenController {
public:
    // The controls of the window "MainWin", in the order they are added.
    // The Normal layout has the first fifteen but "Pic1Frame"; the mobile
    // layouts have their own few (one picture, "Platform", "GetApp").
    enum GameAdsControl {
        GADS_TITLE,
        GADS_PIC1_FRAME,
        GADS_PIC1_BG,
        GADS_PIC1,
        GADS_PIC2_BG,
        GADS_PIC2,
        GADS_PIC_CEN_BG,
        GADS_PIC_CEN,
        GADS_DESC1,
        GADS_DESC2,
        GADS_DESC3,
        GADS_DESC4,
        GADS_DOWNLOAD,
        GADS_TELL_A_FRIEND,
        GADS_PREV,
        GADS_NEXT,
        GADS_PLATFORM,
        GADS_GET_APP,
        GADS_BACK,
        GADS_NUM_CONTROLS,
    };

    explicit GameAdsCollectionController(MWinScreens *screens);
    // Builds the screen, then gives the window's title its style.
    char CreateCollection(MWin *mwin) override;
    MWinButton *Control(int control) const { return GetControl(0, control); }

protected:
    void AdjustWindowInfo(int window, int layout, _MWinWindowCreateInfo *info) override;
};

class GameAdsCC : public GameAdsCollectionController {
public:
    explicit GameAdsCC(MWinScreens *screens);

    // The Main screen calls it before every opening.
    void SetBrowseMode() { m_browse_mode = 1; }
    // The current ad's pictures, loaded and attached while the screen is
    // current; released and detached.
    void CreateGraphics();
    void DestroyGraphics();

    void ClearPointers() override;
    void StartingCB(void *data) override;
    void TickCB() override;
    // Pass 1 on a tablet: the swipe hint.
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // The control that acts as Back: "Back", else the window's hide button.
    MWinButton *GetBackControl() const { return m_back; }
    // The download control's alpha as last set (it pulses between 0.7 and 1
    // for a title that can be downloaded).
    float GetDownloadAlpha() const { return m_download_alpha; }
    // The swipe hint's state (255 until the first start decides it, then
    // 1 to be shown, 0 never or no more) and how much of it shows, 0 to 1.
    unsigned char GetSwipeHintState() const { return m_swipe_hint_state; }
    float GetSwipeHintFade() const { return m_swipe_hint_fade; }

private:
    bool IsCurrent() const;
    void Browse(int (*step)());
    void HandlePress(MWinButton *pressed);
    void PressDownload();
    // A tablet's drag on the picture, fed from the left button and the
    // mouse; a drag beyond 0.05 of the picture's width browses.
    void TickSwipe();
    void UpdateSwipeHint();

    char m_browse_mode;
    char m_started_once;
    char m_pulse;
    float m_pulse_phase;
    float m_download_alpha;
    // Pressed on this frame, handled on the next tick.
    MWinButton *m_pressed;
    MWinButton *m_back;
    unsigned char m_swipe_hint_state;
    float m_swipe_hint_fade;
    double m_swipe_hint_time;
    EngScroller m_scroller;
    char m_swipe_button_down;
};

// Makes the cross-promotion module and the screen ready for browsing from
// the Main screen: the included titles, browse mode, the links path with
// the player's name, the current title kept in the player's record (Tarnwick
// when the record has none yet) and the picture files.
void GameAdsPrepareBrowse(GameAdsCC *ads, const char *player_name, short *current_ad);

MWinCollectionController *GameAdsCC_Make(HW_Screens *screens);
