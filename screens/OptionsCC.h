// The Options screen ('OPTN', collection and window "Options"): four of the
// player's settings as choices, each with a "?" that explains it - whether
// the start-up settings window shows at the next start, whether the program
// always starts with this player, how dates are written in the high-score
// lists and how much processor time the game takes. Reached from the Main
// and the Pause screens; Back (or Escape) returns to whichever opened it.
//
// The choices are bound to the bytes of the player's record, so a change is
// in the record at once and reaches the player's file at the next save. The
// CPU usage takes effect in the frame pacing at once; the start-up window
// flag is copied into the start-up settings when the screen is left.
//
// Failures: a stored CPU usage above 1 is corrected to 1 ("Low") on entry;
// any other value outside a choice's entries is reported by the choice and
// left as it is in the record. Missing controls are skipped.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

class OptionsCollectionController : public ScreenController {
public:
    // The controls of the window "Options", in the order they are added.
    enum OptionsControl {
        OPTIONS_TITLE,
        OPTIONS_SHOW_RES_T,
        OPTIONS_SHOW_RES,
        OPTIONS_SHOW_RES_INFO,
        OPTIONS_ONE_USER,
        OPTIONS_ONE_USER_T,
        OPTIONS_ONE_USER_INFO,
        OPTIONS_POWER_T,
        OPTIONS_POWER,
        OPTIONS_DATE_FORMAT_TEXT,
        OPTIONS_DATE_FORMAT,
        OPTIONS_POWER_INFO,
        OPTIONS_DATE_FORMAT_INFO,
        OPTIONS_BACK,
        OPTIONS_NUM_CONTROLS,
    };

    explicit OptionsCollectionController(MWinScreens *screens);
    MWinButton *Control(OptionsControl control) const { return GetControl(0, control); }
};

class OptionsCC : public OptionsCollectionController {
public:
    explicit OptionsCC(MWinScreens *screens) : OptionsCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // The current player's CPU usage reaches the main loop: "Low" (1) sleeps
    // 10 ms per wait for the next frame, "High" (0) 1 ms. Nothing happens
    // without a program object; without a player the game's zeroed record
    // gives "High".
    static void ApplyCpuUsage();
    // The second page of the CPU usage help, shown when the first closes.
    void ShowCpuUsageAdvice();
};

// OptionsCC::ApplyCpuUsage, as the game calls it after a player is loaded.
void OptionsApplyCpuUsage();

MWinCollectionController *OptionsCC_Make(HW_Screens *screens);
