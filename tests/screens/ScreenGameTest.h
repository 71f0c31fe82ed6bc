// A started game whose screen set holds the game's real screens where they
// exist and recording screens for the others, with presses delivered to a
// screen's controller as the toolkit delivers them.
#pragma once

#include "tests/game/GameTestSupport.h"

#include "screens/ScreenMakers.h"

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
        ScreenMakersSetAll();
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
};

// The popups the screens ask for: the last one's text, its answer callback
// and user pointer, so that a test can answer it.
struct AskedPopup {
    std::string text;
    GamePopupDoneCB done = nullptr;
    void *user = nullptr;

    void Answer(char result)
    {
        if (done)
            done(nullptr, result, user);
    }
};
inline AskedPopup asked_popup;

inline void RecordQuestions()
{
    asked_popup = AskedPopup{};
    auto record = [](MWin *, const char *, const char *text, GamePopupDoneCB done, void *user) {
        asked_popup = AskedPopup{text, done, user};
        return char(1);
    };
    game_neighbours.popup_ok_cancel = record;
    game_neighbours.popup_yes_no = record;
}

} // namespace screens_test
