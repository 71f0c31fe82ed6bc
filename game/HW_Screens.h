// The game's screen set: the toolkit's screen stack with one controller for
// every menu screen of the game, the log viewer's and the cross-promotion
// screen's, plus the player screens. It makes and owns the controllers,
// registers them under their four-character ids, and reacts to the stack's
// start, changes and end: an open popup closed and the system cursor shown
// at start, the desktop emptied before every new screen is built, and the
// music chosen again after every change (the first screen's included, once
// the stack counts as on) and at the stack's end.
//
// A screen is in the set once its controller exists: each screen's module
// puts its maker into `hw_screen_makers`. A registration that fails makes
// SetupScreensCB answer false (the toolkit then reports that the program's
// screens could not be set up); the other screens are still registered.
#pragma once

#include "gui/MWinScreens.h"

class Game;
class MWin;
class MWinCollectionController;

// A four-character screen id, as the multi-character constant 'MAIN' is.
constexpr unsigned int HW_ScreenId(const char (&id)[5])
{
    return (static_cast<unsigned int>(static_cast<unsigned char>(id[0])) << 24) |
           (static_cast<unsigned int>(static_cast<unsigned char>(id[1])) << 16) |
           (static_cast<unsigned int>(static_cast<unsigned char>(id[2])) << 8) |
           static_cast<unsigned int>(static_cast<unsigned char>(id[3]));
}

constexpr unsigned int HW_SCREEN_MAIN = HW_ScreenId("MAIN");
constexpr unsigned int HW_SCREEN_ABOT = HW_ScreenId("ABOT");
constexpr unsigned int HW_SCREEN_OPTN = HW_ScreenId("OPTN");
constexpr unsigned int HW_SCREEN_SELE = HW_ScreenId("SELE");
// The Sounds screen.
constexpr unsigned int HW_SCREEN_PLRS = HW_ScreenId("PLRS");
// The Scores screen.
constexpr unsigned int HW_SCREEN_STAT = HW_ScreenId("STAT");
constexpr unsigned int HW_SCREEN_PAUS = HW_ScreenId("PAUS");
constexpr unsigned int HW_SCREEN_HELP = HW_ScreenId("HELP");
// The Notice screen.
constexpr unsigned int HW_SCREEN_GENL = HW_ScreenId("GENL");
constexpr unsigned int HW_SCREEN_POPU = HW_ScreenId("POPU");
constexpr unsigned int HW_SCREEN_LOGS = HW_ScreenId("LOGS");
constexpr unsigned int HW_SCREEN_GADS = HW_ScreenId("GADS");

// The game's screen ids, by index 0 to 10 ('GADS' stands apart).
extern const unsigned int hw_screen_ids[11];

// The screens of the set, in the order of their registration.
enum HW_ScreenSlot {
    HWS_MAIN,
    HWS_OPTIONS,
    HWS_SOUNDS,
    HWS_SELECT,
    HWS_SCORES,
    HWS_NOTICE,
    HWS_POPUP,
    HWS_HELP,
    HWS_PAUSE,
    HWS_ABOUT,
    HWS_LOG,
    HWS_GAME_ADS,
    HWS_COUNT,
};

class HW_Screens;
class UserScreens;
// Makes a screen's controller for the set (null when it cannot).
typedef MWinCollectionController *(*HW_ScreenMaker)(HW_Screens *screens);
// A null maker leaves its screen out of the set.
extern HW_ScreenMaker hw_screen_makers[HWS_COUNT];

class HW_Screens : public MWinScreens {
public:
    HW_Screens(Game *game, MWin *mwin);
    ~HW_Screens() override;

    char SetupScreensCB() override;
    void StartScreenCB() override;
    void PreChangingScreenCB() override;
    void PostChangingScreenCB(unsigned int new_screen_id) override;
    void EndCB() override;

    // The controller of a slot, null when the screen is not in the set.
    MWinCollectionController *GetController(HW_ScreenSlot slot) const { return m_controllers[slot]; }
    Game *GetGame() const { return m_game; }
    // The player screens (fatal when they could not be made).
    UserScreens *GetUserScreens();

    // The cross-promotion screen's pictures, around a recreation of the
    // graphics device: made again only while it is the current screen.
    char CreateGraphics();
    void DestroyGraphics();

private:
    void ClearTransientPointers();

    Game *m_game;
    MWinCollectionController *m_controllers[HWS_COUNT];
    UserScreens *m_user_screens;
};
