// The country screen ('mCTY' of the player screens): the 222 countries in a
// scrolling list, each with its flag on its left, the user's own country
// chosen and centred at start, and "Continue", which keeps the chosen
// country's code in the country module and goes on through the module's
// continue callback, or back to the screen before when none is set.
//
// Pressing Enter on the list continues as "Continue" does. Continuing with
// nothing chosen asks for a country first. The controls' vertical places
// are remembered on the first start and moved by the module's top and
// bottom offsets on every start when either is set. A flags texture that
// cannot be loaded leaves the flags blank. Main thread only.
#pragma once

#include "screens/ScreenController.h"

class MWin;

class CountryCollectionController : public ScreenController {
public:
    enum Row { TITLE, CONTINUE, COUNTRY, NOTE, NUM_CONTROLS };
    explicit CountryCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
};

class CountryCC : public CountryCollectionController {
public:
    explicit CountryCC(MWinScreens *screens);

    void StartingCB(void *data) override;
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

private:
    void PlaceControls();

    // The y and height of each control as built, from the first start.
    char m_remembered;
    float m_built_y[NUM_CONTROLS];
    float m_built_h[NUM_CONTROLS];
};

// The list's text for a row: the country's name, "" past the table.
const char *CountryListTextCB(int row, MWinButton *list, void *country_cc);
// "Continue" on the country screen: keeps the chosen country and goes on.
void CountryControlContinueCB(MWin *mwin, CountryCC *screen);

// The player screens' maker of this screen (user_screens_country_maker).
MWinCollectionController *CountryCC_Make(MWinScreens *screens);
