// The Main screen: the texts it fills in at start, where each button leads
// (with null data, after the title picture is released), the player record
// "Change Player" leaves behind, and the buttons that do not leave.
#include "tests/screens/MenuScreensTestSupport.h"

#include "engine/runtime/EngProgram.h"
#include "game/SavedGame.h"
#include "tests/support/TestLog.h"

namespace {

using namespace menu_screens_test;

class MainCCTest : public MenuScreensTest {
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        sound_recorder.music_update = [] { calls.push_back("music"); };
        EnterMain();
    }

    void EnterMain()
    {
        screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
        ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
        calls.clear();
    }
};

TEST_F(MainCCTest, StartFillsTheWelcomeAndVersionAndHidesTheSpareButtons)
{
    MWinButton *welcome = main_cc->Control(MainCollectionController::MAIN_WELCOME);
    ASSERT_NE(welcome, nullptr);
    EXPECT_STREQ(welcome->GetTextP(), "Welcome, Ann.");
    EXPECT_STREQ(main_cc->Control(MainCollectionController::MAIN_VERSION)->GetTextP(), "Version 2.01");
    EXPECT_FALSE(main_cc->Control(MainCollectionController::MAIN_DEBUG)->IsShown());
    EXPECT_FALSE(main_cc->Control(MainCollectionController::MAIN_REVIEW)->IsShown());
    EXPECT_TRUE(main_cc->Control(MainCollectionController::MAIN_EXIT)->IsShown());
    EXPECT_TRUE(TitlePictureIsLoaded());
    EXPECT_EQ(main_cc->Control(MainCollectionController::MAIN_TITLE)->GetAttachedPicture() != nullptr, true);
}

TEST_F(MainCCTest, EachButtonLeadsToItsScreenWithNullDataAfterTheTitleIsReleased)
{
    using M = MainCollectionController;
    struct Case {
        M::MainControl control;
        std::vector<std::string> calls;
    };
    // A recorder's start line would carry " title" had the picture still
    // been loaded, and " data" for any data.
    const Case cases[] = {
        {M::MAIN_SCORES, {"start STAT", "music"}},
        {M::MAIN_HELP, {"start HELP", "music"}},
        {M::MAIN_SOUND, {"start PLRS", "music"}},
        {M::MAIN_OPTIONS, {"start OPTN", "music"}},
        {M::MAIN_ABOUT, {"start ABOT", "music"}},
        // The real cross-promotion screen records no start (its own test
        // follows it from here).
        {M::MAIN_OTHER_GAMES, {"music"}},
        // The real Players screen records no start; the music is chosen
        // again once the player screens are up.
        {M::MAIN_USER, {"music", "music"}},
    };
    for (const Case &c : cases) {
        EnterMain();
        EXPECT_EQ(Press(main_cc->Control(c.control)), 1) << c.control;
        EXPECT_EQ(TakeCalls(), c.calls) << c.control;
    }
}

TEST_F(MainCCTest, NewGameDeletesTheGameInProgressBeforeTheSelectScreen)
{
    ASSERT_EQ(SaveGame(0, 1), 1);
    ASSERT_EQ(SavedGameExists(0, 1), 1);
    EXPECT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_PLAY)), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_SELE);
    EXPECT_EQ(SavedGameExists(0, 1), 0);
    // Back from the Select screen finds Main again, with its picture.
    PressEscape();
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_TRUE(TitlePictureIsLoaded());
}

TEST_F(MainCCTest, ChangePlayerLeavesTheRecordSavedWithoutAlwaysLoad)
{
    game->GetUserInfo()->options.always_load = 1;
    ASSERT_EQ(game->GetUser()->Save(1), 1);
    EXPECT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_USER)), 1);
    char always_load = 1;
    char country[8] = {};
    ASSERT_EQ(game->GetUser()->LoadUser("Ann", 1, &always_load, country), 1);
    EXPECT_EQ(always_load, 0);
    EXPECT_EQ(screens->GetCurrentScreen(), kPlayersScreen);
}

TEST_F(MainCCTest, ExitEndsTheMainLoopAndStays)
{
    ASSERT_NE(eng_main_program, nullptr);
    eng_main_program->ClearExitFlag();
    EXPECT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_EXIT)), 1);
    EXPECT_EQ(eng_main_program->GetExitFlag(), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    eng_main_program->ClearExitFlag();
}

TEST_F(MainCCTest, TheSpareButtonsAndEmptyPressesAreNotHandled)
{
    _MWinButtonCallbackInfo info = {};
    for (auto control : {MainCollectionController::MAIN_DEBUG, MainCollectionController::MAIN_REVIEW}) {
        MWinButton *button = main_cc->Control(control);
        ASSERT_NE(button, nullptr);
        button->FillCallbackInfo(&info);
        EXPECT_EQ(main_cc->ButtonPressedCB(button, &info), 0) << control;
    }
    EXPECT_EQ(main_cc->ButtonPressedCB(nullptr, &info), 0);
    EXPECT_EQ(main_cc->ButtonPressedCB(main_cc->Control(MainCollectionController::MAIN_PLAY), nullptr), 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
}

TEST_F(MainCCTest, WithoutTheOtherTitlesScreenThePlayerStays)
{
    HW_Screens *set = screens;
    // The set made without the cross-promotion screen.
    hw_screen_makers[HWS_GAME_ADS] = nullptr;
    MWin mwin(game);
    HW_Screens bare(game, &mwin);
    ASSERT_EQ(bare.GetController(HWS_GAME_ADS), nullptr);
    auto *bare_main = dynamic_cast<MainCC *>(bare.GetController(HWS_MAIN));
    ASSERT_NE(bare_main, nullptr);
    bare_main->OtherGamesCB();
    EXPECT_TRUE(LogHas("No game ads CC."));
    EXPECT_EQ(set->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_TRUE(calls.empty());
}

} // namespace
