// The load-player screen ('uLOD'): every saved player of the machine with
// the flag of its country; "Load" makes the chosen one the game's player,
// "Delete" removes every file of the player after a question, "Back" goes
// back. UserLoadCC also keeps the list of saved players that the other
// player screens read.
//
// The list is rebuilt from the Users folder whenever a player screen starts:
// every "<name>.usr" file is an entry, with the country read from the file
// by a check-only load (empty when the file does not load). A name that
// does not fit an entry (more than 24 characters) is skipped, since no
// player of that name can be loaded. A player whose file does not load is
// never half loaded: the current player stays and a popup offers "Reset"
// (a fresh record of the same name, its saved games kept; refused, with
// nothing deleted, when the name is no valid player name), "Delete" (every
// file of the player, its saved games too) or "Cancel". Main thread only.
#pragma once

#include "engine/core/EngIndexedList.h"
#include "screens/ScreenController.h"

class UserScreens;

enum {
    USER_LIST_NAME_SIZE = 25,
    USER_LIST_COUNTRY_SIZE = 3,
};

// One saved player of the list: 28 bytes, both texts NUL-terminated.
struct _UserListEntry {
    char name[USER_LIST_NAME_SIZE];
    char country[USER_LIST_COUNTRY_SIZE];
};
static_assert(sizeof(_UserListEntry) == 28, "a list entry is 28 bytes");

class UserLoadCollectionController : public ScreenController {
public:
    enum Row { PANEL, LOAD, BACK, TAR_TEXT_PIC, LOAD_PROGRESS, SETTINGS, DELETE, NUM_CONTROLS };
    explicit UserLoadCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
};

class UserLoadCC : public UserLoadCollectionController {
public:
    UserLoadCC(MWinScreens *screens, UserScreens *user_screens);
    ~UserLoadCC() override;

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // The list of saved players.
    void SetupUserNameList();
    int GetNumUserNames() const;
    // Null with the list's report for a bad index.
    const char *GetUserName(int index) const;
    const char *GetUserNameOrEmpty(int index) const;
    const char *GetUserCountryOrEmpty(int index) const;
    void FreeUserNameList();
    // Rebuilds the list and checks the player named in the start-up
    // settings; its always-load flag and country into the outputs.
    char IsLastUserLoadedOk(char *out_always_load, char *out_country);
    // Deletes the player's files (with reset_only its record alone); when
    // that player is the game's loaded player it is unloaded unsaved, and
    // the start-up settings stop naming it as the one to continue with.
    char DeletePlayer(const char *name, char reset_only);
    // DeletePlayer on the player at the panel's position, then starts the
    // screen again.
    void DeleteSelectedUser(char reset_only);

    void LoadSelectedUser();
    void AskToDeleteSelectedUser();
    void AfterLoadFailedPopupCB(char result);
    void AfterDeletePopup(char result);
    void BackCB();

private:
    const _UserListEntry *Entry(int index) const;

    UserScreens *m_user_screens;
    EngIndexedList m_names;
};

const char *UserLoadFillPanelCB(int index, MWinButton *panel, void *load_cc);
void UserLoadAfterLoadFailedPopupCB(MWin *mwin, char result, void *load_cc);
void UserLoadAfterDeletePopupCB(MWin *mwin, char result, void *load_cc);
