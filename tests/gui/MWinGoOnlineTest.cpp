// Going online with the toolkit: the question asked through the OK/Cancel
// popup under the flags of the current mode, its answers, and the notice
// shown while the browser opens.
#include "tests/support/GuiTestKit.h"

#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngWindow.h"
#include "tests/support/TestHooks.h"

#include <string>

namespace {

const char ADDRESS[] = "https://example.invalid/page";

class MWinGoOnlineTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        VariousResetForTests();
        TestHooks::Install();
        mwin->PopupSetStyle("White", "Grey", "Main", "White", "Main", 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1);
    }

    void TearDown() override
    {
        eng_screen_windowed = 1;
        GuiTest::TearDown();
    }

    std::string Question()
    {
        MWinButton *msg = mwin->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0);
        return msg && msg->GetTextP() ? msg->GetTextP() : "";
    }

    void Answer(int which)
    {
        _Dimension d;
        ASSERT_TRUE(mwin->GetPopupButton(which)->GetScreenDimension(&d));
        Click(d.x + d.w / 2, d.y + d.h / 2);
    }
};

TEST_F(MWinGoOnlineTest, TheQuestionFollowsTheFlagsOfTheCurrentMode)
{
    const struct {
        const char *name;
        char windowed;
        char ask_full, ask_window, exit_full, exit_window;
        const char *caller_question;
        // Empty: no question, the page opens at once.
        const char *question;
    } cases[] = {
        {"windowed, asking", 1, 0, 1, 0, 0, nullptr, "Go Online ?"},
        {"windowed, asking to leave", 1, 0, 1, 0, 1, nullptr, "Exit Program and Go Online ?"},
        {"the caller's question", 1, 0, 1, 0, 0, "Visit the forum?", "Visit the forum?"},
        {"windowed, not asking", 1, 1, 0, 0, 0, nullptr, ""},
        {"full screen, asking", 0, 1, 0, 0, 0, nullptr, "Go Online ?"},
        {"full screen, not asking", 0, 0, 1, 0, 0, nullptr, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestHooks::shell_opens.clear();
        eng_screen_windowed = c.windowed;
        VariousGoOnline(mwin, c.caller_question, ADDRESS, c.ask_full, c.ask_window, c.exit_full, c.exit_window);
        if (c.question[0]) {
            ASSERT_TRUE(mwin->IsPopupOn());
            EXPECT_EQ(Question(), c.question);
            EXPECT_FALSE(mwin->GetWindowFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", 0)->HasTitleBar());
            EXPECT_TRUE(TestHooks::shell_opens.empty());
            // Cancel does nothing.
            Answer(MWIN_POPUP_CANCEL);
            EXPECT_TRUE(TestHooks::shell_opens.empty());
        } else {
            EXPECT_FALSE(mwin->IsPopupOn());
            ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
            EXPECT_EQ(TestHooks::shell_opens[0].file, ADDRESS);
        }
        EXPECT_FALSE(mwin->IsPopupOn());
    }
}

TEST_F(MWinGoOnlineTest, AnOkOpensThePageBehindANotice)
{
    VariousGoOnline(mwin, nullptr, ADDRESS, 0, 1, 0, 0);
    program->renders = 0;
    Answer(MWIN_POPUP_OK);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].file, ADDRESS);
    // "Opening browser..." was drawn into two frames and closed again.
    EXPECT_EQ(program->renders, 2);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(program->GetExitFlag());

    // Over another popup the notice is left out, and that popup stays.
    ASSERT_TRUE(mwin->PopupMessage(nullptr, "Busy"));
    program->renders = 0;
    VariousOpenBrowser(mwin);
    EXPECT_EQ(program->renders, 0);
    EXPECT_EQ(TestHooks::shell_opens.size(), 2u);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(Question(), "Busy");
}

} // namespace
