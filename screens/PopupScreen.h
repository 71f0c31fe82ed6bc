// The in-game weapon popup: two small windows of the collection "Popup" laid
// over the board during play. "Sidebar" describes the weapon type under the
// mouse in the sidebar (name, price, level-1 figures); "Weapon" describes the
// selected placed weapon (level, figures now and after the next upgrade,
// target mode) and carries Upgrade, Full Upgrade, Sell and the target choice.
// At most one of the two is shown. The screen set registers the controller as
// the screen 'POPU', but the stack never makes it current: the game's popup
// glue shows, refreshes, ticks and hides it.
//
// Failures: a missing window ends the filling after the toolkit's own report,
// a missing control is skipped, a slot type above 11 leaves the window
// unfilled, and a selected weapon that is gone leaves its window unfilled
// with buttons that do nothing. A popup whose collection was removed behind
// its back (a screen change empties the desktop) counts as hidden, so no
// window pointer outlives its window.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

// The controls of the two windows, in the order of their rows.
enum _PopupSidebarControl {
    PSC_TITLE,
    PSC_COST,
    PSC_COST_T,
    PSC_RELOAD,
    PSC_DAMAGE_T,
    PSC_DAMAGE,
    PSC_RELOAD_T,
    PSC_SLOW,
    PSC_SLOW_T,
    PSC_RANGE,
    PSC_RANGE_T,
    PSC_COUNT,
};

enum _PopupWeaponControl {
    PWC_TITLE,
    PWC_RELOAD,
    PWC_DAMAGE_T,
    PWC_DAMAGE,
    PWC_RELOAD_T,
    PWC_SLOW,
    PWC_SLOW_T,
    PWC_RANGE,
    PWC_RANGE_T,
    PWC_RELOAD2,
    PWC_DAMAGE2,
    PWC_SLOW2,
    PWC_RANGE2,
    PWC_LEVEL,
    PWC_UPGRADE,
    PWC_SELL,
    PWC_ARROW1,
    PWC_ARROW2,
    PWC_ARROW3,
    PWC_ARROW4,
    PWC_FULL_UPGRADE,
    PWC_TARGET_T,
    PWC_TARGET,
    PWC_COUNT,
};

enum _PopupWindow {
    PW_SIDEBAR,
    PW_WEAPON,
    PW_COUNT,
};

// The layout: the collection "Popup" with its two windows, dragged from any
// free point, on the popup background with the "Back3" title bar.
class PopupCollectionController : public ScreenController {
public:
    explicit PopupCollectionController(MWinScreens *screens);

protected:
    void AdjustWindowInfo(int window, int layout, _MWinWindowCreateInfo *info) override;
};

class PopupCC : public PopupCollectionController {
public:
    explicit PopupCC(MWinScreens *screens);
    ~PopupCC() override;

    // Shows the popup, or fills it again when shown and refresh is set;
    // returns whether it is shown. A popup built anew drops a close request
    // left from the one before; one already shown keeps it, since the glue
    // shows it again every frame before its tick takes the request up.
    char Show(char refresh);
    void Hide();
    // The next TickCB deselects the weapon and hides the popup.
    void RequestHide() { m_close_requested = 1; }
    // True while the Weapon window is shown and the mouse is inside it.
    char IsMouseOver();
    char IsShown();
    MWin *GetMWin() const { return m_mwin; }
    char IsPriceAboveMoney() const { return m_price_above_money; }
    MWinWindow *GetWeaponWindow() const { return m_weapon_window; }
    MWinWindow *GetSidebarWindow() const { return m_sidebar_window; }

    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int) override {}
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

private:
    // Clears the state kept while shown.
    void Forget();
    // The window's height, and its controls' places and visibility, as built.
    void RestoreAsBuilt(int window, MWinWindow *win);
    MWinButton *Control(MWinWindow *win, const char *id);
    void FillSidebar(int type);
    void FillWeapon();
    // Sets a price's colour: red, with the flag set, when above the money.
    void ColourPrice(MWinButton *button, int price);
    void StartUpgradeFromButton(MWinButton *pressed, bool full, _MWinButtonCallbackInfo *info);

    char m_shown;
    char m_price_above_money;
    MWinWindow *m_weapon_window;
    MWinWindow *m_sidebar_window;
    char m_close_requested;
};

// The screen set's popup controller, for the glue; null while there is none.
extern PopupCC *main_popup_cc;

// Makes the screen's controller for the screen set (null when it cannot).
MWinCollectionController *PopupCC_Make(HW_Screens *screens);
