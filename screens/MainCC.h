// The Main screen, the title menu: the animated title picture, a welcome
// line with the player's name, the program version, and the buttons that
// lead to a new game, the high scores, the options, sound and music, how to
// play, the about page, the player screens, the other-titles screen and out
// of the program.
//
// The screen keeps no state: the title picture is loaded on every start and
// released before every change of screen. Missing controls are skipped; a
// title picture that cannot be loaded leaves "Title" empty and the screen
// works on. A missing player record is fatal (the game's accessors); a
// missing other-titles screen is reported and the player stays here.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

class MainCollectionController : public ScreenController {
public:
    // The controls of the window "Main", in the order they are added.
    enum MainControl {
        MAIN_TITLE,
        MAIN_VERSION,
        MAIN_WELCOME,
        MAIN_PLAY,
        MAIN_HELP,
        MAIN_SCORES,
        MAIN_SOUND,
        MAIN_OPTIONS,
        MAIN_ABOUT,
        MAIN_USER,
        MAIN_OTHER_GAMES,
        MAIN_EXIT,
        MAIN_DEBUG,
        MAIN_REVIEW,
        MAIN_NUM_CONTROLS,
    };

    explicit MainCollectionController(MWinScreens *screens);
    MWinButton *Control(MainControl control) const { return GetControl(0, control); }
};

class MainCC : public MainCollectionController {
public:
    explicit MainCC(MWinScreens *screens) : MainCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // Releases the title picture.
    void DestroyGraphics();
    // Ends the main loop after this frame, with no question.
    void ExitCB();
    // Prepares the cross-promotion screen for browsing and opens it.
    void OtherGamesCB();

private:
    // Releases the title picture and goes to the screen with null data.
    void Leave(unsigned int screen_id);
    void ChangePlayer();
};

MWinCollectionController *MainCC_Make(HW_Screens *screens);
