// The select-player screen ('uSEL'): the player choice of tablets, where it
// is the first player screen. On the PC it is registered like the other
// player screens but never entered. It lists the saved players with their
// flags and loads one when it is picked, continues at once with the last
// player when that player asked to be loaded always, and offers a new
// player, deleting a player (a list, then a question) and, in the Normal
// layout, leaving.
//
// A player that does not load shows "Unable to load user."; when the
// continue step fails, the screen goes back to its first state with its
// controls enabled, instead of trying again every frame. Missing controls
// are skipped. Main thread only.
#pragma once

#include "screens/ScreenController.h"

class UserScreens;

class UserSelectCollectionController : public ScreenController {
public:
    enum Row { NEW, TITLE_PIC, SEL_TEXT, PANEL, DELETE, EXIT, LANG_FLAG, ALWAYS_LOAD, DEVICE, NUM_CONTROLS };
    explicit UserSelectCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
};

class UserSelectCC : public UserSelectCollectionController {
public:
    UserSelectCC(MWinScreens *screens, UserScreens *user_screens);

    void StartingCB(void *data) override;
    void TickCB() override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // 0 idle, 1 waiting to continue with the last player, 2 continuing;
    // mirrored into "AlwaysLoad".
    void SetState(char state);
    char GetState() const { return m_state; }
    UserScreens *GetUserScreens() { return m_user_screens; }

    void PanelPicked();
    void NewPressed();
    void ExitPressed();
    void DeletePressed();
    void AfterDeletePanel(char result);
    void AfterDeletePopup(char result);

private:
    void EnableControls(char on);

    UserScreens *m_user_screens;
    char m_state;
    double m_wait_until;
    int m_delete_row;
    int *m_delete_row_p;
    char m_country[4];
};

void UserSelectPanelCB(MWin *mwin, _MWinButtonCallbackInfo *info, UserSelectCC *screen);
void UserSelectNewCB(MWin *mwin, _MWinButtonCallbackInfo *info, UserSelectCC *screen);
void UserSelectExitCB(MWin *mwin, _MWinButtonCallbackInfo *info, UserSelectCC *screen);
void UserSelectDeleteCB(MWin *mwin, _MWinButtonCallbackInfo *info, UserSelectCC *screen);
const char *UserSelectFillPanelCB(int index, MWinButton *panel, void *select_cc);
void UserSelectAfterDeletePanelCB(MWin *mwin, char result, void *select_cc);
void UserSelectAfterDeletePopupCB(MWin *mwin, char result, void *select_cc);
