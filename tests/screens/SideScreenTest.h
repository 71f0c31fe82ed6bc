// Shared by the tests of the Options, Sounds, Help and About screens: a
// started game with those four screens real (and Scores and Pause), every
// other screen a recorder, and a new player "Ann" loaded. A screen is
// entered from the Main screen as its button there does it, and the popup
// a screen opens can be read back.
#pragma once

#include "tests/screens/ScreenGameTest.h"

#include "gui/MWinWindow.h"
#include "modules/UserClass.h"
#include "screens/AboutCC.h"
#include "screens/HelpCC.h"
#include "screens/OptionsCC.h"
#include "screens/SoundsCC.h"

#include <string>

namespace screens_test {

class SideScreenTest : public ScreenGameTest {
protected:
    void UseScreens() override
    {
        ScreenGameTest::UseScreens();
        hw_screen_makers[HWS_OPTIONS] = OptionsCC_Make;
        hw_screen_makers[HWS_SOUNDS] = SoundsCC_Make;
        hw_screen_makers[HWS_HELP] = HelpCC_Make;
        hw_screen_makers[HWS_ABOUT] = AboutCC_Make;
    }

    void SetUp() override
    {
        ScreenGameTest::SetUp();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        calls.clear();
    }

    // The screen's controller, started from the Main screen.
    template <class Screen> Screen *Enter(HW_ScreenSlot slot, unsigned screen_id)
    {
        Screens()->GotoScreen(screen_id, nullptr);
        return Current() == screen_id ? dynamic_cast<Screen *>(Screens()->GetController(slot)) : nullptr;
    }

    // The toolkit presses the escape button on its next tick.
    void PressEscape()
    {
        game->InputEvent(5, 27, 0);
        game->InputEvent(6, 27, 0);
        game->Tick();
    }

    _UserOptions *Options() { return game->GetUserOptions(); }

    // The open popup's title ("" for none) and message.
    std::string PopupTitle()
    {
        MWinWindow *window = game->GetMWin()->GetWindowFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", 0);
        return window && window->HasTitleBar() ? window->GetInfo()->m_title : "";
    }
    std::string PopupMessage()
    {
        MWinButton *message = game->GetMWin()->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0);
        return message && message->GetTextP() ? message->GetTextP() : "";
    }
};

} // namespace screens_test
