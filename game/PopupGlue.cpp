// The weapon popup glue (see the header).
#include "game/PopupGlue.h"

#include "game/Sidebar.h"
#include "game/Weapons.h"
#include "gui/MWin.h"
#include "gui/MWinWindow.h"
#include "screens/PopupScreen.h"

namespace {

MWin *Toolkit()
{
    return main_popup_cc ? main_popup_cc->GetMWin() : nullptr;
}

} // namespace

void PopupHide()
{
    if (main_popup_cc)
        main_popup_cc->Hide();
}

char PopupPriceAboveMoney()
{
    return main_popup_cc ? main_popup_cc->IsPriceAboveMoney() : 1;
}

char PopupIsShown()
{
    return main_popup_cc && main_popup_cc->IsShown();
}

void PopupShow(char refresh)
{
    if (main_popup_cc)
        main_popup_cc->Show(refresh);
}

void PopupRefresh(char refresh)
{
    if (!main_popup_cc)
        return;
    const bool slot = sidebar_hovered >= 0 && sidebar_hovered < SIDEBAR_BUTTONS && sidebar_enabled[sidebar_hovered] &&
                      !sidebar_placing;
    if (slot || weapons_selected >= 0)
        main_popup_cc->Show(refresh);
    else
        main_popup_cc->Hide();
    MWinWindow *weapon_window = main_popup_cc->GetWeaponWindow();
    if (main_popup_cc->IsShown() && weapon_window && weapon_window->IsShown())
        weapon_window->UpdateMouseOver();
}

void PopupTick()
{
    PopupRefresh(0);
    if (!PopupIsShown())
        return;
    if (MWin *mwin = Toolkit())
        mwin->Tick();
    // The toolkit's tick may have run a press that took the controller's state.
    if (main_popup_cc)
        main_popup_cc->TickCB();
}

void PopupRender()
{
    if (!PopupIsShown())
        return;
    MWin *mwin = Toolkit();
    mwin->RenderMain();
    mwin->RenderPopups();
}

char PopupMouseMove(float x, float y)
{
    if (!PopupIsShown())
        return 0;
    Toolkit()->MouseMove(x, y);
    return main_popup_cc->IsMouseOver();
}

char PopupMouseButton(int button, int state)
{
    if (!main_popup_cc)
        return 0;
    if (button == 1 && main_popup_cc->IsShown() && weapons_selected >= 0) {
        main_popup_cc->Hide();
        weapons_selected = -1;
        return 1;
    }
    if (!main_popup_cc->IsMouseOver())
        return 0;
    Toolkit()->ButtonPressed((char)button, (char)state, 0);
    return 1;
}
