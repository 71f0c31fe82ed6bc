// The Pause screen over a running game: where each button leads, the quit
// question, saving and leaving (and a save that fails), and Escape.
#include "screens/PauseCC.h"

#include "engine/runtime/EngProgram.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "gui/MWinButton.h"
#include "game/SavedGame.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Files.h"
#include "tests/screens/ScreenGameTest.h"

namespace {

using namespace screens_test;

class PauseScreenTest : public ScreenGameTest {
protected:
    void SetUp() override
    {
        ScreenGameTest::SetUp();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        pause = dynamic_cast<PauseCC *>(Screens()->GetController(HWS_PAUSE));
        ASSERT_NE(pause, nullptr);
        Pause();
    }

    void TearDown() override
    {
        play_under_way = 0;
        levels_garden = -1;
        ScreenGameTest::TearDown();
    }

    // A game under way, paused by Escape.
    void Pause()
    {
        levels_garden = 3;
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
        game->CloseMenusAndPlay();
        program->InputEventCB(EPIE_KEY_DOWN, 27, 0);
        ASSERT_EQ(Current(), HW_SCREEN_PAUS);
    }

    PauseCC *pause = nullptr;
};

TEST_F(PauseScreenTest, EachMenuButtonLeadsToItsScreenAndBack)
{
    EXPECT_NE(pause->Control(PCB_TITLE)->GetAttachedPicture(), nullptr);
    struct Case {
        _PauseControl control;
        unsigned screen;
    } cases[] = {
        {PCB_SCORES, HW_SCREEN_STAT},
        {PCB_HELP, HW_SCREEN_HELP},
        {PCB_SOUNDS, HW_SCREEN_PLRS},
        {PCB_OPTIONS, HW_SCREEN_OPTN},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.screen);
        EXPECT_EQ(Press(pause, pause->Control(c.control)), 1);
        EXPECT_EQ(Current(), c.screen);
        Screens()->GoBack();
        EXPECT_EQ(Current(), HW_SCREEN_PAUS);
        EXPECT_NE(pause->Control(PCB_TITLE)->GetAttachedPicture(), nullptr);
    }
    // Resume goes back to the same game.
    play_money = 777;
    EXPECT_EQ(Press(pause, pause->Control(PCB_RESUME)), 1);
    EXPECT_FALSE(Screens()->IsOn());
    EXPECT_EQ(play_under_way, 1);
    EXPECT_EQ(play_money, 777);
    // Presses the screen does not know.
    EXPECT_EQ(Press(pause, nullptr), 0);
}

TEST_F(PauseScreenTest, QuitAsksAndOnlyOkGivesTheGameUp)
{
    ASSERT_EQ(SaveGame(0, 1), 1);
    Press(pause, pause->Control(PCB_QUIT));
    ASSERT_TRUE(Answer(0));
    EXPECT_EQ(Current(), HW_SCREEN_PAUS);
    EXPECT_TRUE(SavedGameExists(0, 1));
    EXPECT_EQ(play_under_way, 1);

    Press(pause, pause->Control(PCB_QUIT));
    ASSERT_TRUE(Answer(1));
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    EXPECT_FALSE(SavedGameExists(0, 1));
    EXPECT_EQ(play_under_way, 0);
    // Closing the program afterwards saves no game.
    game->SaveUser(1);
    EXPECT_FALSE(SavedGameExists(0, 1));
}

TEST_F(PauseScreenTest, SaveWritesSlotZeroAndEndsTheProgram)
{
    EXPECT_EQ(Press(pause, pause->Control(PCB_SAVE)), 1);
    EXPECT_TRUE(SavedGameExists(0, 1));
    EXPECT_TRUE(LogHas("GAME SAVED TO SLOT 0:0"));
    EXPECT_EQ(program->GetExitFlag(), 1);
}

TEST_F(PauseScreenTest, AFailedSaveStaysOnPauseAndKeepsTheOldGame)
{
    play_money = 321;
    ASSERT_EQ(SaveGame(0, 1), 1);
    const int saved_lines = LogCount("GAME SAVED");
    play_money = 999;
    PlatformSetRenameFunction(modules_test::FailingRename);
    EXPECT_EQ(Press(pause, pause->Control(PCB_SAVE)), 1);
    PlatformSetRenameFunction(nullptr);
    EXPECT_EQ(Current(), HW_SCREEN_PAUS);
    EXPECT_EQ(program->GetExitFlag(), 0);
    EXPECT_EQ(LogCount("GAME SAVED"), saved_lines);
    // The earlier save is still whole.
    ASSERT_EQ(LoadSavedGame(0, 1), 1);
    EXPECT_EQ(play_money, 321);
}

TEST_F(PauseScreenTest, EscapeChangesNothing)
{
    EXPECT_EQ(program->InputEventCB(EPIE_KEY_DOWN, 27, 0), 0);
    EXPECT_EQ(Current(), HW_SCREEN_PAUS);
    EXPECT_TRUE(Screens()->IsOn());
}

} // namespace
