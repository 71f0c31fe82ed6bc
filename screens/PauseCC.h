// The Pause screen ('PAUS', collection "Pause", window "MainWin"): the menu
// over a game in progress. From here the player resumes the game, saves it
// and leaves the program, gives it up (after a question) and goes back to
// the title menu, or opens the Scores, Help, Sounds and Options screens,
// which come back here with their Back button. The play does not advance
// while the screen is up. Escape does nothing here: the window has no
// escape button.
//
// Failures: a control that could not be made never matches a press. A save
// that fails leaves the screen up and the game as it was; the save itself
// reports why. The title picture is loaded when the screen starts and
// released before every switch away from it.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

// The controls of the window "MainWin", in the builder's order.
enum _PauseControl {
    PCB_TITLE,
    PCB_RESUME,
    PCB_SCORES,
    PCB_HELP,
    PCB_SOUNDS,
    PCB_OPTIONS,
    PCB_QUIT,
    PCB_SAVE,
    PCB_COUNT,
};

class PauseCollectionController : public ScreenController {
public:
    explicit PauseCollectionController(MWinScreens *screens);
    MWinButton *Control(_PauseControl control) const { return GetControl(0, control); }
};

class PauseCC : public PauseCollectionController {
public:
    explicit PauseCC(MWinScreens *screens) : PauseCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // The answer to "Are you sure you wish to quit the game ?": OK (1) gives
    // the game up, deletes its saved game and goes to the title menu.
    void QuitAnswered(char result);
};

// The maker the screen set uses for the Pause screen.
MWinCollectionController *PauseCC_Make(HW_Screens *screens);
