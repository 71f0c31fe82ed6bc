// A started game whose screen set holds the game's real screens where they
// exist and recording screens for the others, with presses delivered to a
// screen's controller as the toolkit delivers them.
#pragma once

#include "tests/game/GameTestSupport.h"

#include "screens/PauseCC.h"
#include "screens/ScoresCC.h"

#include <utility>

namespace screens_test {

using namespace game_test;

template <int... Slots> void UseRecordingScreensFor(std::integer_sequence<int, Slots...>)
{
    ((hw_screen_makers[Slots] = MakeRecordingScreen<Slots>), ...);
}

class ScreenGameTest : public StartedGameTest {
protected:
    void UseScreens() override
    {
        UseRecordingScreensFor(std::make_integer_sequence<int, HWS_COUNT>());
        hw_screen_makers[HWS_SCORES] = ScoresCC_Make;
        hw_screen_makers[HWS_PAUSE] = PauseCC_Make;
    }

    HW_Screens *Screens() { return game->GetScreens(); }
    unsigned Current() { return Screens()->GetCurrentScreen(); }

    // A press on a control, as the window hands it to its controller.
    static char Press(MWinCollectionController *controller, MWinButton *button)
    {
        _MWinButtonCallbackInfo info = {};
        info.m_button = button;
        return controller->ButtonPressedCB(button, &info);
    }

    // Answers the open popup as its button would (1 OK or Yes, 0 Cancel,
    // 2 No); false when none is open.
    bool Answer(char result)
    {
        MWin *mwin = game->GetMWin();
        if (!mwin->IsPopupOn())
            return false;
        mwin->PopupAnswer(result);
        return true;
    }
};

} // namespace screens_test
