// The About screen: the credits' rows and how they fade in, the version,
// where each button leads (the browser through the shell hook), and the way
// back.
#include "screens/AboutCC.h"

#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWinButton.h"
#include "gui/MWinWindow.h"
#include "tests/screens/SideScreenTest.h"
#include "tests/support/TestHooks.h"

namespace {

using namespace screens_test;
using ACC = AboutCollectionController;

class AboutCCTest : public SideScreenTest {
protected:
    void TearDown() override
    {
        eng_main_frame_time = 1.0f / 60.0f;
        eng_screen_windowed = 1;
        VariousResetForTests();
        SideScreenTest::TearDown();
    }

    AboutCC *EnterAbout() { return Enter<AboutCC>(HWS_ABOUT, HW_SCREEN_ABOT); }
};

TEST_F(AboutCCTest, TheCreditsStandInTheirRowsWithTheirStylesCaps)
{
    const struct Row {
        float y;
        float scale_x, scale_y;
        float alpha; // at full opacity
    } rows[ABOUT_NUM_CREDITS] = {
        {150, 0.8f, 0.8f, 0.9f}, {178, 1.1f, 1.1f, 1}, {206, 0.9f, 0.9f, 0.7f}, {234, 0.9f, 0.9f, 0.7f},
        {262, 0.8f, 0.8f, 0.9f}, {290, 1.1f, 1.1f, 1}, {318, 1.1f, 1.1f, 1},    {361, 0.8f, 0.7f, 0.5f},
    };
    for (float fade : {1.0f, 0.5f, 0.0f}) {
        _AboutCreditLook looks[ABOUT_NUM_CREDITS];
        AboutGetCreditLooks(fade, looks);
        for (int i = 0; i < ABOUT_NUM_CREDITS; i++) {
            SCOPED_TRACE(std::to_string(i) + " at " + std::to_string(fade));
            EXPECT_FLOAT_EQ(looks[i].y, rows[i].y);
            EXPECT_FLOAT_EQ(looks[i].scale_x, rows[i].scale_x);
            EXPECT_FLOAT_EQ(looks[i].scale_y, rows[i].scale_y);
            EXPECT_FLOAT_EQ(looks[i].a, rows[i].alpha * fade);
        }
    }
    // The headings are tinted blue.
    _AboutCreditLook looks[ABOUT_NUM_CREDITS];
    AboutGetCreditLooks(1, looks);
    EXPECT_FLOAT_EQ(looks[0].r, 0.6f);
    EXPECT_FLOAT_EQ(looks[4].b, 1.0f);
    EXPECT_STREQ(AboutGetCredits()[0].text, "Design / Programming / Art / Sound / Music");
    EXPECT_STREQ(AboutGetCredits()[4].text, "Bug Artwork");
}

TEST_F(AboutCCTest, TheCreditsFadeInOverTwoSecondsAtAnyFrameRate)
{
    const struct Case {
        float frame_time;
        int frames_to_full;
    } cases[] = {{1.0f / 60, 120}, {0.25f, 8}, {0.3f, 7}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.frame_time);
        AboutCC *about = EnterAbout();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->GetFade(), 0);
        eng_main_frame_time = c.frame_time;
        for (int i = 1; i < c.frames_to_full; i++)
            about->TickCB();
        EXPECT_LT(about->GetFade(), 1);
        about->TickCB();
        EXPECT_NEAR(about->GetFade(), 1, 1e-4);
        about->TickCB();
        EXPECT_LE(about->GetFade(), 1);
        // Drawn at every stage without complaint; other passes draw nothing.
        about->RenderCB(1);
        Screens()->GoBack();
    }
}

TEST_F(AboutCCTest, EachButtonLeadsWhereItSays)
{
    AboutCC *about = EnterAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(about->Control(ACC::ABOUT_VERSION)->GetTextP(), "Version 2.01");
    EXPECT_STREQ(about->GetWindow(0)->GetInfo()->m_title, "About");
    EXPECT_STREQ(about->GetWindow(0)->GetInfo()->m_back_texbut, "MWIN_TEXBUT_DEFAULT");
    EXPECT_FALSE(about->GetWindow(0)->HasTitleBar());
    EXPECT_STREQ(AboutGetCredits()[2].text, "www.lichenware.invalid");

    // In a window the pages open at once, without a question.
    TestHooks::shell_opens.clear();
    EXPECT_EQ(Press(about, about->Control(ACC::ABOUT_HOME_PAGE)), 1);
    EXPECT_EQ(Press(about, about->Control(ACC::ABOUT_FORUMS)), 1);
    EXPECT_FALSE(game->GetMWin()->IsPopupOn());
    ASSERT_EQ(TestHooks::shell_opens.size(), 2u);
    EXPECT_EQ(TestHooks::shell_opens[0].file, "http://www.lichenware.invalid/games/hive-watcher");
    EXPECT_EQ(TestHooks::shell_opens[1].file, "http://www.lichenware.invalid/games/hive-watcher/forums");
    EXPECT_EQ(program->GetExitFlag(), 0);

    EXPECT_EQ(Press(about, about->Control(ACC::ABOUT_VERSION)), 0);
    EXPECT_EQ(Press(about, nullptr), 0);
    calls.clear();
    EXPECT_EQ(Press(about, about->Control(ACC::ABOUT_LOGS)), 1);
    EXPECT_EQ(Current(), HW_SCREEN_LOGS);
    EXPECT_EQ(TakeCalls(), std::vector<std::string>{"start LOGS"});
    // Coming back starts the screen, and its fade, again.
    Screens()->GoBack();
    EXPECT_EQ(Current(), HW_SCREEN_ABOT);
    EXPECT_EQ(about->GetFade(), 0);
    EXPECT_EQ(Press(about, about->Control(ACC::ABOUT_BACK)), 1);
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    ASSERT_NE(EnterAbout(), nullptr);
    PressEscape();
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
}

TEST_F(AboutCCTest, InFullScreenTheProgramClosesBeforeThePageOpens)
{
    AboutCC *about = EnterAbout();
    ASSERT_NE(about, nullptr);
    TestHooks::shell_opens.clear();
    eng_screen_windowed = 0;
    // A click as the player makes it: the program closes down under the
    // toolkit that delivered the press.
    program->InputEventCB(EPIE_MOUSE_MOVE, 230 * eng_screen_width / 640.0f, 455 * eng_screen_height / 480.0f);
    for (int state : {1, 0})
        program->InputEventCB(EPIE_MOUSE_BUTTON, 0, state);
    EXPECT_EQ(program->GetExitFlag(), 1);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].file, "http://www.lichenware.invalid/games/hive-watcher/forums");
}

} // namespace
