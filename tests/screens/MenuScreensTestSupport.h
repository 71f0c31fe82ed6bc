// Shared by the tests of the Main, Select, Notice and cross-promotion
// screens: the whole game started headless with those four screens real and
// every other screen a recorder. A recorder notes its start as "start STAT", followed by " data"
// when it was given data and by " title" or " thumbnails" when the screen
// it came from had not released those graphics yet. A new player "Ann" is
// loaded.
#pragma once

#include "engine/graphics/EngTexture.h"
#include "gui/MWinButton.h"
#include "gui/MWinWindow.h"
#include "modules/GameAds.h"
#include "modules/UserClass.h"
#include "screens/GameAdsCC.h"
#include "screens/MainCC.h"
#include "screens/NoticeCC.h"
#include "screens/SelectCC.h"
#include "tests/game/GameTestSupport.h"

#include <string>

namespace menu_screens_test {

using namespace game_test;

// The player screens' first screen.
constexpr unsigned int kPlayersScreen = HW_ScreenId("uUSR");

class StartRecorder : public MWinCollectionController {
public:
    explicit StartRecorder(const char *name) : m_name(name) {}
    void StartingCB(void *data) override
    {
        std::string line = "start " + m_name;
        if (data)
            line += " data";
        if (TitlePictureIsLoaded())
            line += " title";
        if (SelectCC_GetThumbnail(0)->IsCreated())
            line += " thumbnails";
        calls.push_back(line);
    }

private:
    std::string m_name;
};

template <int Slot> MWinCollectionController *MakeStartRecorder(HW_Screens *screens)
{
    StartRecorder *screen = new StartRecorder(slot_names[Slot]);
    screen->SetScreens(screens);
    return screen;
}


class MenuScreensTest : public StartedGameTest {
protected:
    void UseScreens() override
    {
        hw_screen_makers[HWS_MAIN] = MainCC_Make;
        hw_screen_makers[HWS_SELECT] = SelectCC_Make;
        hw_screen_makers[HWS_NOTICE] = NoticeCC_Make;
        hw_screen_makers[HWS_OPTIONS] = MakeStartRecorder<HWS_OPTIONS>;
        hw_screen_makers[HWS_SOUNDS] = MakeStartRecorder<HWS_SOUNDS>;
        hw_screen_makers[HWS_SCORES] = MakeStartRecorder<HWS_SCORES>;
        hw_screen_makers[HWS_HELP] = MakeStartRecorder<HWS_HELP>;
        hw_screen_makers[HWS_ABOUT] = MakeStartRecorder<HWS_ABOUT>;
        hw_screen_makers[HWS_GAME_ADS] = GameAdsCC_Make;
    }

    void SetUp() override
    {
        StartedGameTest::SetUp();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        screens = game->GetScreens();
        main_cc = dynamic_cast<MainCC *>(screens->GetController(HWS_MAIN));
        select_cc = dynamic_cast<SelectCC *>(screens->GetController(HWS_SELECT));
        notice_cc = dynamic_cast<NoticeCC *>(screens->GetController(HWS_NOTICE));
        ASSERT_TRUE(main_cc && select_cc && notice_cc);
        calls.clear();
    }

    void TearDown() override
    {
        SelectCC_DestroyGraphics();
        TitlePictureDestroyGraphics();
        GameAdsResetForTests();
        StartedGameTest::TearDown();
    }

    // A press as the toolkit delivers it: the control's window hands it to
    // the screen's controller. The controller's answer.
    static char Press(MWinButton *button)
    {
        if (!button || !button->GetWindow() || !button->GetWindow()->GetController(0))
            return 0;
        _MWinButtonCallbackInfo info = {};
        button->FillCallbackInfo(&info);
        return button->GetWindow()->GetController(0)->ButtonPressedCB(button, &info);
    }

    // The toolkit presses the escape button on its next tick.
    void PressEscape()
    {
        game->InputEvent(5, 27, 0);
        game->InputEvent(6, 27, 0);
        game->Tick();
    }

    _UserOptions *Options() { return game->GetUserOptions(); }

    HW_Screens *screens = nullptr;
    MainCC *main_cc = nullptr;
    SelectCC *select_cc = nullptr;
    NoticeCC *notice_cc = nullptr;
};

} // namespace menu_screens_test
