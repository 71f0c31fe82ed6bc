// The game's screen set (see the header).
#include "game/HW_Screens.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngWindow.h"
#include "game/GameNeighbours.h"
#include "game/Sound.h"
#include "gui/MWin.h"
#include "gui/MWinDesktop.h"
#include "screens/GameAdsCC.h"
#include "screens/UserScreens.h"

#include <initializer_list>
#include <new>

const unsigned int hw_screen_ids[11] = {HW_SCREEN_MAIN, HW_SCREEN_ABOT, HW_SCREEN_OPTN, HW_SCREEN_SELE,
                                        HW_SCREEN_PLRS, HW_SCREEN_STAT, HW_SCREEN_PAUS, HW_SCREEN_HELP,
                                        HW_SCREEN_GENL, HW_SCREEN_POPU, HW_SCREEN_LOGS};

// Filled by the program before the set is made (screens/ScreenMakers.h).
HW_ScreenMaker hw_screen_makers[HWS_COUNT] = {};

namespace {

// Each slot's id; the slots are in the order of registration.
const unsigned int slot_ids[HWS_COUNT] = {HW_SCREEN_MAIN, HW_SCREEN_OPTN, HW_SCREEN_PLRS, HW_SCREEN_SELE,
                                          HW_SCREEN_STAT, HW_SCREEN_GENL, HW_SCREEN_POPU, HW_SCREEN_HELP,
                                          HW_SCREEN_PAUS, HW_SCREEN_ABOT, HW_SCREEN_LOGS, HW_SCREEN_GADS};

// The controllers are made in this order (the cross-promotion screen last,
// after the player screens) and deleted in the second.
const HW_ScreenSlot creation_order[] = {HWS_MAIN,  HWS_OPTIONS, HWS_SOUNDS, HWS_SELECT, HWS_SCORES, HWS_NOTICE,
                                        HWS_POPUP, HWS_HELP,    HWS_PAUSE,  HWS_ABOUT,  HWS_LOG,    HWS_GAME_ADS};
const HW_ScreenSlot deletion_order[] = {HWS_GAME_ADS, HWS_MAIN, HWS_OPTIONS, HWS_SELECT, HWS_SCORES, HWS_SOUNDS,
                                        HWS_NOTICE,   HWS_POPUP, HWS_HELP,   HWS_PAUSE,  HWS_ABOUT,  HWS_LOG};

} // namespace

HW_Screens::HW_Screens(Game *game, MWin *mwin)
    : MWinScreens(mwin, 0), m_game(game), m_controllers{}, m_user_screens(nullptr)
{
    DebugCheckFatal(game != nullptr, "HW_Screens::HW_Screens", "No game_p");
    for (HW_ScreenSlot slot : creation_order) {
        if (slot == HWS_GAME_ADS)
            m_user_screens = new (std::nothrow) UserScreens(this);
        if (hw_screen_makers[slot])
            m_controllers[slot] = hw_screen_makers[slot](this);
    }
}

HW_Screens::~HW_Screens()
{
    // The stack lets go of the controllers before they are deleted.
    RemoveAllScreens();
    for (HW_ScreenSlot slot : deletion_order) {
        delete m_controllers[slot];
        m_controllers[slot] = nullptr;
        if (slot == HWS_GAME_ADS) {
            delete m_user_screens;
            m_user_screens = nullptr;
        }
    }
}

UserScreens *HW_Screens::GetUserScreens()
{
    DebugCheckFatal(m_user_screens != nullptr, "HW_Screens::GetUserScreens", "No user screens");
    return m_user_screens;
}

char HW_Screens::CreateGraphics()
{
    GameAdsCC *ads = dynamic_cast<GameAdsCC *>(m_controllers[HWS_GAME_ADS]);
    if (ads && GetCurrentScreen() == HW_SCREEN_GADS)
        ads->CreateGraphics();
    return 1;
}

void HW_Screens::DestroyGraphics()
{
    if (GameAdsCC *ads = dynamic_cast<GameAdsCC *>(m_controllers[HWS_GAME_ADS]))
        ads->DestroyGraphics();
}

char HW_Screens::SetupScreensCB()
{
    char ok = 1;
    for (int slot = 0; slot < HWS_COUNT; slot++)
        if (m_controllers[slot] && !AddScreen(slot_ids[slot], m_controllers[slot]))
            ok = 0;
    if (!m_user_screens || !m_user_screens->AddScreens(1))
        ok = 0;
    if (m_user_screens)
        m_user_screens->SetFirstScreen();
    return ok;
}

void HW_Screens::ClearTransientPointers()
{
    for (HW_ScreenSlot slot : {HWS_NOTICE, HWS_LOG})
        if (m_controllers[slot])
            m_controllers[slot]->ClearPointers();
}

void HW_Screens::StartScreenCB()
{
    ClearTransientPointers();
    if (GetMWin())
        GetMWin()->PopupCloseIfOn();
    if (eng_main_window)
        eng_main_window->ShowMouseCursor();
    // No music is chosen here: the stack does not count as on yet, so the
    // play's music would be asked for and let go again a moment later. The
    // first screen's change, once the stack is on, chooses it.
}

void HW_Screens::PreChangingScreenCB()
{
    ClearTransientPointers();
    if (GetMWin() && GetMWin()->GetDesktop())
        GetMWin()->GetDesktop()->RemoveAllCollections();
}

void HW_Screens::PostChangingScreenCB(unsigned int)
{
    if (GetMWin())
        GetMWin()->ButtonsChanged();
    SoundUpdateMusicForCurrentState();
}

void HW_Screens::EndCB()
{
    ClearTransientPointers();
    SoundUpdateMusicForCurrentState();
}
