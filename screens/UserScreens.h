// The player screens: the screens shown before the play starts (select
// player, the Players screen, load a saved player, new player, and the
// country choice). UserScreens makes their controllers, registers them with
// the game's screen set under their own ids, chooses and starts the first of
// them and tells the game whether one of them is current. This file also
// holds what the player screens share: the title and logo graphics they
// load, the set-up of their title and language-flag controls, and the flag
// drawn at the right end of a player's row.
//
// A missing screen set or controller is fatal, as the program cannot offer a
// player without them. A graphic whose file does not load is not shown and
// the control that would show it stays empty. The country screen belongs to
// the country module: it enters the set through user_screens_country_maker,
// and while that is null the set has no 'mCTY'. Main thread only.
#pragma once

#include "game/HW_Screens.h"
#include "gui/MWinTypes.h"

class MWin;
class MWinButton;
class MWinCollectionController;
class MWinScreens;
class UserLoadCC;
class UserNewCC;
class UserSelectCC;
class UsersCC;

constexpr unsigned int USER_SCREEN_SELECT = HW_ScreenId("uSEL");
constexpr unsigned int USER_SCREEN_USERS = HW_ScreenId("uUSR");
constexpr unsigned int USER_SCREEN_LOAD = HW_ScreenId("uLOD");
constexpr unsigned int USER_SCREEN_NEW = HW_ScreenId("uNEW");
constexpr unsigned int USER_SCREEN_COUNTRY = HW_ScreenId("mCTY");

// Makes the country screen's controller for the screen set.
typedef MWinCollectionController *(*UserScreensCountryMaker)(MWinScreens *screens);
extern UserScreensCountryMaker user_screens_country_maker;

class UserScreens {
public:
    explicit UserScreens(MWinScreens *screens);
    ~UserScreens();
    UserScreens(const UserScreens &) = delete;
    UserScreens &operator=(const UserScreens &) = delete;

    // Registers the four player screens (each tried), then with
    // with_country the country screen; true when all registered.
    char AddScreens(char with_country);
    unsigned int GetFirstScreenId();
    void SetFirstScreen();
    void StartFirstScreen();
    char IsUserScreenOn();

    MWinScreens *GetScreens() { return m_screens; }
    UserSelectCC *GetUserSelectCC() { return m_select_cc; }
    UsersCC *GetUsersCC() { return m_users_cc; }
    UserLoadCC *GetUserLoadCC();
    UserNewCC *GetUserNewCC();
    MWinCollectionController *GetCountryCC() { return m_country_cc; }

private:
    MWinScreens *m_screens;
    UserSelectCC *m_select_cc;
    UsersCC *m_users_cc;
    UserLoadCC *m_load_cc;
    UserNewCC *m_new_cc;
    MWinCollectionController *m_country_cc;
};

// Loads the title and logo graphics the modules' settings ask for, skipping
// what is loaded; always true.
char UserScreensCreateGraphics();
void UserScreensDestroyGraphics();
// The title graphic into a screen's title control, placed by the settings'
// rectangle or the layout's size (afresh unless keep_position).
void UserScreensSetupTitleButton(MWinButton *control, char keep_position);
// Hidden unless the settings offer the language choice and two languages
// are installed.
void UserScreensSetupLanguageFlagButton(MWin *mwin, MWinButton *control);
// A saved player's row: the flag of its country on the right.
void UserSelectPanelExtraRenderCB(MWinButton *panel, _Dimension *row, _MWinTextureState state, int index,
                                  void *user_screens);
