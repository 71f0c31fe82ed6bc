// The Notice screen: its note, and Ok or the Escape key starting the game
// the Select screen chose.
#include "tests/screens/MenuScreensTestSupport.h"

#include "game/HiveWatcher.h"
#include "game/Levels.h"

namespace {

using namespace menu_screens_test;
using N = NoticeCollectionController;

class NoticeCCTest : public MenuScreensTest {
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        select_chosen_garden = 1;
        Options()->gardens[1].unlocked_difficulty = 2;
        Options()->gardens[1].chosen_difficulty = 2;
        screens->GotoScreen(HW_SCREEN_GENL, nullptr);
        ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GENL);
    }

    void ExpectGameStarted()
    {
        EXPECT_FALSE(screens->IsOn());
        EXPECT_EQ(play_under_way, 1);
        EXPECT_EQ(levels_garden, 1);
        EXPECT_EQ(levels_difficulty, 2);
    }
};

TEST_F(NoticeCCTest, TheNoteKeepsItsLineBreaks)
{
    MWinButton *text = notice_cc->Control(N::NOTICE_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->GetTextP(), "Buy a factory, buy some weapons,\nand press \"START\" when ready.\n\n"
                                   "Press the \"Menu\" button or the\n\"Escape\" key to return to the menus.");
    // Only Ok acts; the title has no picture here.
    _MWinButtonCallbackInfo info = {};
    for (auto control : {N::NOTICE_TITLE, N::NOTICE_FRAME, N::NOTICE_TEXT}) {
        notice_cc->Control(control)->FillCallbackInfo(&info);
        EXPECT_EQ(notice_cc->ButtonPressedCB(notice_cc->Control(control), &info), 0) << control;
    }
    EXPECT_EQ(notice_cc->Control(N::NOTICE_TITLE)->GetAttachedPicture(), nullptr);
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GENL);
}

TEST_F(NoticeCCTest, OkStartsTheChosenGame)
{
    EXPECT_EQ(Press(notice_cc->Control(N::NOTICE_OK)), 1);
    ExpectGameStarted();
}

TEST_F(NoticeCCTest, EscapeStartsTheGameAsOkDoes)
{
    PressEscape();
    ExpectGameStarted();
}

} // namespace
