// The Select screen: the garden thumbnails, the difficulty buttons for each
// unlocked difficulty and for bad records, the road through the Notice
// screen for the first games, the start of the game itself, and Back.
#include "tests/screens/MenuScreensTestSupport.h"

#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "tests/support/TestLog.h"

namespace {

using namespace menu_screens_test;
using S = SelectCollectionController;

class SelectCCTest : public MenuScreensTest {
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
        EnterSelect();
    }

    void EnterSelect()
    {
        if (!screens->IsOn())
            screens->StartScreen(HW_SCREEN_MAIN, -1);
        screens->GotoScreen(HW_SCREEN_SELE, nullptr);
        ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_SELE);
    }

    _UserGardenProgress &Garden(int garden) { return Options()->gardens[garden]; }
};

TEST_F(SelectCCTest, EveryGardenShowsItsThumbnailCutAtTheEdges)
{
    for (int garden = 0; garden < SELECT_GARDENS; garden++) {
        EXPECT_TRUE(SelectCC_GetThumbnail(garden)->IsCreated()) << garden;
        MWinButton *picture = select_cc->Control(S::SELECT_LEVEL0 + garden);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetAttachedTexture(), SelectCC_GetThumbnail(garden));
    }
    EXPECT_EQ(SelectCC_GetThumbnail(4), nullptr);
    // Asking for the file names leaves the play's garden as it was.
    SelectCC_DestroyGraphics();
    levels_garden = -1;
    EXPECT_EQ(SelectCC_CreateGraphics(), 1);
    EXPECT_EQ(levels_garden, -1);
    EXPECT_TRUE(TitlePictureIsLoaded());
}

TEST_F(SelectCCTest, DifficultyButtonsCycleThroughTheUnlockedDifficulties)
{
    struct Case {
        unsigned char unlocked, chosen;
        // The button's text at start and after each press; empty: hidden.
        std::vector<std::string> texts;
        // The record after the last press.
        unsigned char stored_unlocked, stored_chosen;
    };
    const Case cases[] = {
        {0, 0, {}, 0, 0},
        {1, 0, {"Normal", "Tough", "Normal"}, 1, 0},
        {2, 0, {"Normal", "Tough", "Extreme", "Normal"}, 2, 0},
        {2, 1, {"Tough", "Extreme", "Normal"}, 2, 0},
        // Bad records are put right when shown.
        {1, 2, {"Tough"}, 1, 1},
        {7, 1, {}, 0, 0},
        {2, 200, {"Normal"}, 2, 0},
    };
    for (const Case &c : cases) {
        const std::string label = std::to_string(c.unlocked) + "/" + std::to_string(c.chosen);
        Garden(1) = {};
        Garden(1).unlocked_difficulty = c.unlocked;
        Garden(1).chosen_difficulty = c.chosen;
        EnterSelect();
        MWinButton *button = select_cc->Control(S::SELECT_DIFF0 + 1);
        ASSERT_NE(button, nullptr);
        if (c.texts.empty()) {
            EXPECT_FALSE(button->IsShown()) << label;
        } else {
            EXPECT_TRUE(button->IsShown()) << label;
            EXPECT_STREQ(button->GetTextP(), c.texts[0].c_str()) << label;
            for (size_t i = 1; i < c.texts.size(); i++) {
                EXPECT_EQ(Press(button), 1) << label;
                EXPECT_STREQ(button->GetTextP(), c.texts[i].c_str()) << label << " press " << i;
            }
        }
        EXPECT_EQ(Garden(1).unlocked_difficulty, c.stored_unlocked) << label;
        EXPECT_EQ(Garden(1).chosen_difficulty, c.stored_chosen) << label;
    }
    // Garden 1's button alone changed.
    EXPECT_FALSE(select_cc->Control(S::SELECT_DIFF0)->IsShown());
}

TEST_F(SelectCCTest, BadDifficultyButtonCallsAreReportedAndChangeNothing)
{
    Garden(0).chosen_difficulty = 9;
    select_cc->UpdateDifficultyButton(select_cc->Control(S::SELECT_DIFF0), 4);
    EXPECT_TRUE(LogHas("Internal error."));
    select_cc->UpdateDifficultyButton(select_cc->Control(S::SELECT_DIFF0), -1);
    select_cc->UpdateDifficultyButton(nullptr, 0);
    EXPECT_TRUE(LogHas("Bad parameters."));
    EXPECT_EQ(Garden(0).chosen_difficulty, 9);
}

TEST_F(SelectCCTest, TheFirstThreeGamesPassThroughTheNoticeTheFourthStartsAtOnce)
{
    ASSERT_EQ(Options()->notice_showings_left, 3) << "a new player's count";
    Garden(2).unlocked_difficulty = 2;
    Garden(2).chosen_difficulty = 1;
    for (int game_number = 1; game_number <= 4; game_number++) {
        EnterSelect();
        EXPECT_EQ(Press(select_cc->Control(S::SELECT_LEVEL0 + 2)), 1);
        // The screen's own graphics and the title picture go before the next screen comes.
        EXPECT_FALSE(SelectCC_GetThumbnail(0)->IsCreated());
        EXPECT_FALSE(TitlePictureIsLoaded());
        if (game_number <= 3) {
            EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GENL) << game_number;
            EXPECT_EQ(Options()->notice_showings_left, 3 - game_number);
            EXPECT_EQ(play_under_way, 0);
            ASSERT_EQ(Press(notice_cc->Control(NoticeCollectionController::NOTICE_OK)), 1);
        }
        EXPECT_FALSE(screens->IsOn()) << game_number;
        EXPECT_EQ(play_under_way, 1) << game_number;
        EXPECT_EQ(levels_garden, 2);
        EXPECT_EQ(levels_difficulty, 1);
        EXPECT_EQ(LevelsGetGraphicsGarden(), 2);
        play_under_way = 0;
    }
    EXPECT_EQ(Options()->notice_showings_left, 0);
}

TEST_F(SelectCCTest, ACountBelowZeroShowsNoNotice)
{
    // 255 in the file is -1 as the signed count.
    Options()->notice_showings_left = 255;
    EXPECT_EQ(Press(select_cc->Control(S::SELECT_LEVEL0 + 3)), 1);
    EXPECT_FALSE(screens->IsOn());
    EXPECT_EQ(levels_garden, 3);
    EXPECT_EQ(Options()->notice_showings_left, 255);
}

TEST_F(SelectCCTest, StartGamePlaysTheChosenGardenAtItsChosenDifficulty)
{
    Options()->notice_showings_left = 0;
    Garden(0).unlocked_difficulty = 1;
    Garden(0).chosen_difficulty = 1;
    EXPECT_EQ(Press(select_cc->Control(S::SELECT_LEVEL0)), 1);
    EXPECT_EQ(select_chosen_garden, 0);
    EXPECT_EQ(levels_difficulty, 1);
    EXPECT_EQ(LevelsGetGraphicsGarden(), 0);
    // A record gone bad behind the screen's back still starts at Normal.
    Garden(0).chosen_difficulty = 5;
    select_cc->StartGame();
    EXPECT_EQ(levels_difficulty, 0);
    EXPECT_EQ(levels_garden, 0);
}

TEST_F(SelectCCTest, BackAndEscapeReturnToTheScreenBefore)
{
    EXPECT_EQ(Press(select_cc->Control(S::SELECT_BACK)), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_FALSE(SelectCC_GetThumbnail(0)->IsCreated());
    EnterSelect();
    PressEscape();
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_FALSE(SelectCC_GetThumbnail(0)->IsCreated());
    // Not a garden's, the title's or Back: not handled.
    EnterSelect();
    _MWinButtonCallbackInfo info = {};
    MWinButton *heading = select_cc->Control(S::SELECT_SELECT_T);
    heading->FillCallbackInfo(&info);
    EXPECT_EQ(select_cc->ButtonPressedCB(heading, &info), 0);
    EXPECT_EQ(select_cc->ButtonPressedCB(heading, nullptr), 0);
}

} // namespace
