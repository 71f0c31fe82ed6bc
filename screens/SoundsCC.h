// The Sounds screen ('PLRS', collection and window "Sounds"): for the
// current player, whether sound effects play and how loud, and for each
// piece of music (the main music, the game-won and the game-over music)
// whether it plays and how loud; for the main music also when it plays
// (always, in the menus only, during play only). Reached from the Main and
// the Pause screens; Back (or Escape) returns to whichever opened it.
//
// Every control is bound to its field of the player's record, so a change is
// in the record at once and reaches the player's file at the next save. A
// volume bar is disabled while its switch is off (its value stays in the
// record). Changes that must be heard at once go to the game's sounds: the
// effects' volume, the main music's volume, and the main music started or
// stopped to suit its switch and its "when" choice (this is a menu screen,
// so "Game Only" stops it here).
//
// Failures: missing controls are skipped; a stored choice outside its
// entries is reported by the choice and left as it is.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

class SoundsCollectionController : public ScreenController {
public:
    // The controls of the window "Sounds", in the order they are added.
    enum SoundsControl {
        SOUNDS_TITLE,
        SOUNDS_SOUNDS_ON_TEXT,
        SOUNDS_SOUNDS_ON,
        SOUNDS_SOUNDS_VOL_TEXT,
        SOUNDS_SOUNDS_VOL,
        SOUNDS_MAIN_MUSIC_ON_TEXT,
        SOUNDS_MAIN_MUSIC_ON,
        SOUNDS_MAIN_MUSIC_ON_TEXT2,
        SOUNDS_MAIN_MUSIC_ON_WHEN,
        SOUNDS_MAIN_MUSIC_VOL_TEXT,
        SOUNDS_MAIN_MUSIC_VOL,
        SOUNDS_WIN_MUSIC_ON_TEXT,
        SOUNDS_WIN_MUSIC_ON,
        SOUNDS_WIN_MUSIC_VOL_TEXT,
        SOUNDS_WIN_MUSIC_VOL,
        SOUNDS_GO_MUSIC_VOL_TEXT,
        SOUNDS_GO_MUSIC_VOL,
        SOUNDS_GO_MUSIC_ON_TEXT,
        SOUNDS_GO_MUSIC_ON,
        SOUNDS_BACK,
        SOUNDS_NUM_CONTROLS,
    };

    explicit SoundsCollectionController(MWinScreens *screens);
    MWinButton *Control(SoundsControl control) const { return GetControl(0, control); }
};

class SoundsCC : public SoundsCollectionController {
public:
    explicit SoundsCC(MWinScreens *screens) : SoundsCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

MWinCollectionController *SoundsCC_Make(HW_Screens *screens);
