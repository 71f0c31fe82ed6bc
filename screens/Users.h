// The Players screen ('uUSR'), the first screen a player meets on the PC:
// "Continue" with the player who played last (named in the start-up
// settings, shown with the flag of its country), "Setup Player", "Load
// Player" and "Exit Game". When the last player asked to be loaded always,
// the screen hides its buttons and continues by itself a tenth of a second
// after it starts.
//
// A last player whose file no longer loads leaves the screen usable: the
// buttons come back and "Continue" may be pressed again. Missing controls
// are reported by name and skipped. Main thread only.
#pragma once

#include "screens/ScreenController.h"

class UserScreens;

class UsersCollectionController : public ScreenController {
public:
    enum Row { CONTINUE, NEW, MANAGE, DEVICE, EXIT, TITLE_PIC, LOAD_PROGRESS, ALWAYS_LOAD, LANG_FLAG, NUM_CONTROLS };
    explicit UsersCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
};

class UsersCC : public UsersCollectionController {
public:
    UsersCC(MWinScreens *screens, UserScreens *user_screens);

    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    const char *GetLastCountry() const { return m_country; }
    double GetContinueTime() const { return m_continue_time; }

private:
    void ContinueCB();
    void NewCB();
    void LoadCB();
    void SetAlwaysLoad(char on);
    friend void UsersControlContinueExtraRenderCB(MWinButton *, _Dimension *, _MWinTextureState, int, void *);

    UserScreens *m_user_screens;
    char m_country[8];
    double m_continue_time;
};

// Draws the last player's flag beside "Continue".
void UsersControlContinueExtraRenderCB(MWinButton *button, _Dimension *rect, _MWinTextureState state, int value,
                                       void *users_cc);
