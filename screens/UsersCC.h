// The Players screen ('uUSR'), the first screen a player meets: continue
// with the player who played last, or leave the game, with the game's logo
// above and the splash picture between the logo and the buttons. When the
// last player asked to be loaded always, the screen hides its buttons and
// continues with that player by itself a tenth of a second after it starts.
//
// The other player screens (new player, load player, the country screen)
// are not in the program yet: "Setup Player" and "Load Player" are shown
// disabled until they are. Missing controls are skipped; a last player whose
// file no longer loads leaves the screen as it is.
#pragma once

#include "screens/ScreenController.h"

class EngPicture;

constexpr unsigned int USERS_SCREEN_ID = ('u' << 24) | ('U' << 16) | ('S' << 8) | 'R';

class UsersCC : public ScreenController {
public:
    explicit UsersCC(MWinScreens *screens);

    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

private:
    void ContinueCB();
    MWinButton *Control(int row) const { return GetControl(0, row); }

    char m_country[8];
    double m_continue_time;
};

// The player screens of this program, as the game's screen set asks for
// them: registered, the first one started, and their shared graphics.
char UserScreensRegister(MWinScreens *screens, char with_country);
void UserScreensStartFirst();
char UserScreensIsOn();
char UserScreensMakeGraphics();
void UserScreensReleaseGraphics();
// Deletes the screens' objects; for the end of the program and tests.
void UserScreensDelete();
