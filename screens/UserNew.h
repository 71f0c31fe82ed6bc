// The new-player screen ('uNEW'): the name typed into a text-entry popup,
// the country chosen on the country screen, and "Continue", which checks
// the name again, creates the player's record and goes on to the title
// menu. It also re-creates a damaged player under its old name for the
// load-player screen's "Reset".
//
// Names are checked by UserNewIsNameValid: 1 to maxLen - 1 characters, no
// blank or tab at either end, none of the refused characters or texts, at
// most two full stops, blanks and hyphens each, and usable as a file name.
// A refused name is answered by a popup and is emptied (after the text
// entry) or kept (on "Continue"); nothing is created. "Continue" never
// replaces an existing player: a name that has a player file is refused
// there too. The system user's log-on name is proposed on the
// first start of a run when no player of that name exists. Main thread
// only.
#pragma once

#include "screens/ScreenController.h"

class UserScreens;

// True when name is a valid player name shorter than max_len characters
// that the player files can be named after; *out_too_long (optional) tells
// that it was refused for its length.
char UserNewIsNameValid(const char *name, int max_len, char *out_too_long);
// The popup text that answers a refused name.
const char *UserNewRefusedNameMessage(char too_long);

class UserNewCollectionController : public ScreenController {
public:
    enum Row { NAME, BACK, NAME_TEXT, COUNTRY, COUNTRY_TEXT, CONTINUE, TAR_TEXT_PIC, NUM_CONTROLS };
    explicit UserNewCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
};

class UserNewCC : public UserNewCollectionController {
public:
    enum { NAME_SIZE = 22, NAME_LIMIT = 20 };

    UserNewCC(MWinScreens *screens, UserScreens *user_screens);

    void StartingCB(void *data) override;
    void TickCB() override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    void AskForName();
    void AfterNamePopup(char result);
    void CreatePlayer(char from_reset);
    char ResetAndLoadUser(const char *name);
    void CountryCB();
    void BackCB();
    void DrawCountryFlag(_Dimension *rect);

    const char *GetName() const { return m_name; }

private:
    void ShowName();

    [[maybe_unused]] UserScreens *m_user_screens;
    char m_name[NAME_SIZE];
    char m_prev_name[NAME_SIZE];
    char m_started;
    int m_country_num;
    char m_countdown;
};

void UserNewAfterNamePopupCB(MWin *mwin, char result, void *new_cc);
void UserNewCountyButtonExtraRenderCB(MWinButton *button, _Dimension *rect, _MWinTextureState state, int value,
                                      void *new_cc);
