// The Notice screen: a short note between choosing a garden on the Select
// screen and the start of the game, for the first games of a player. It
// tells how to begin and how to get back to the menus; its Ok button (or
// the Escape key) starts the game through SelectCC::StartGame.
//
// The screen keeps no state (the Select screen keeps the count of notices
// still to show) and has no failure of its own: missing controls are
// skipped.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

class NoticeCollectionController : public ScreenController {
public:
    // The controls of the window "Notice", in the order they are added.
    enum NoticeControl {
        NOTICE_TITLE,
        NOTICE_FRAME,
        NOTICE_OK,
        NOTICE_TEXT,
        NOTICE_NUM_CONTROLS,
    };

    explicit NoticeCollectionController(MWinScreens *screens);
    MWinButton *Control(NoticeControl control) const { return GetControl(0, control); }
};

class NoticeCC : public NoticeCollectionController {
public:
    explicit NoticeCC(MWinScreens *screens) : NoticeCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

// The note, with its own line breaks.
extern const char *const notice_text;

MWinCollectionController *NoticeCC_Make(HW_Screens *screens);
