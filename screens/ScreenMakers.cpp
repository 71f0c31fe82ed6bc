// The game's screens put into the screen set (see the header).
#include "screens/ScreenMakers.h"

#include "game/HW_Screens.h"
#include "screens/AboutCC.h"
#include "screens/CountryCC.h"
#include "screens/GameAdsCC.h"
#include "screens/HelpCC.h"
#include "screens/LogCC.h"
#include "screens/MainCC.h"
#include "screens/NoticeCC.h"
#include "screens/OptionsCC.h"
#include "screens/PauseCC.h"
#include "screens/PopupScreen.h"
#include "screens/ScoresCC.h"
#include "screens/SelectCC.h"
#include "screens/SoundsCC.h"
#include "screens/UserScreens.h"

namespace {

const struct {
    HW_ScreenSlot slot;
    HW_ScreenMaker maker;
} makers[] = {
    {HWS_MAIN, MainCC_Make},
    {HWS_OPTIONS, OptionsCC_Make},
    {HWS_SOUNDS, SoundsCC_Make},
    {HWS_SELECT, SelectCC_Make},
    {HWS_SCORES, ScoresCC_Make},
    {HWS_NOTICE, NoticeCC_Make},
    {HWS_POPUP, PopupCC_Make},
    {HWS_HELP, HelpCC_Make},
    {HWS_PAUSE, PauseCC_Make},
    {HWS_ABOUT, AboutCC_Make},
    {HWS_LOG, LogCC_Make},
    {HWS_GAME_ADS, GameAdsCC_Make},
};

} // namespace

void ScreenMakersSetAll()
{
    for (const auto &row : makers)
        hw_screen_makers[row.slot] = row.maker;
    user_screens_country_maker = CountryCC_Make;
}
