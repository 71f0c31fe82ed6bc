// The game's screen set: the order its controllers are made, registered and
// deleted in, a failing registration that the others survive, and the music
// chosen again at the stack's start, at every change and at its end.
#include "game/HW_Screens.h"

#include "gui/MWinDesktop.h"
#include "tests/game/GameTestSupport.h"

#include <utility>

namespace {

using namespace game_test;

// A controller that records its deletion.
class DeletedScreen : public RecordingScreen {
public:
    explicit DeletedScreen(const char *name) : RecordingScreen(name), m_name(name) {}
    ~DeletedScreen() override { calls.push_back("delete " + m_name); }

private:
    std::string m_name;
};

template <int Slot> MWinCollectionController *MakeDeletedScreen(HW_Screens *screens)
{
    calls.push_back(std::string("make ") + slot_names[Slot]);
    DeletedScreen *screen = new DeletedScreen(slot_names[Slot]);
    screen->SetScreens(screens);
    return screen;
}

template <int... Slots> void UseDeletedScreens(std::integer_sequence<int, Slots...>)
{
    ((hw_screen_makers[Slots] = MakeDeletedScreen<Slots>), ...);
}

class HW_ScreensTest : public StartedGameTest {
protected:
    void SetUp() override
    {
        StartedGameTest::SetUp();
        UseDeletedScreens(std::make_integer_sequence<int, HWS_COUNT>{});
    }
};

TEST_F(HW_ScreensTest, ScreenIdsAreTheFourCharacterConstants)
{
    EXPECT_EQ(HW_SCREEN_MAIN, 0x4D41494Eu);
    EXPECT_EQ(hw_screen_ids[4], HW_SCREEN_PLRS) << "the Sounds screen answers to PLRS";
    EXPECT_EQ(hw_screen_ids[5], HW_SCREEN_STAT);
    EXPECT_EQ(hw_screen_ids[10], HW_SCREEN_LOGS);
}

TEST_F(HW_ScreensTest, MadeRegisteredAndDeletedInTheirOrders)
{
    calls.clear();
    {
        MWin mwin(game);
        HW_Screens screens(game, &mwin);
        EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"make MAIN", "make OPTN", "make PLRS", "make SELE",
                                                         "make STAT", "make GENL", "make POPU", "make HELP",
                                                         "make PAUS", "make ABOT", "make LOGS", "make GADS"}));
        // PAUS is taken already: its registration fails, the others are made.
        RecordingScreen other("other");
        ASSERT_EQ(screens.AddScreen(HW_SCREEN_PAUS, &other), 1);
        DebugResetForTests();
        EXPECT_EQ(screens.SetupScreensCB(), 0);
        for (unsigned id : hw_screen_ids)
            EXPECT_EQ(screens.SetCurrentScreen(id), 1) << id;
        EXPECT_EQ(screens.SetCurrentScreen(HW_SCREEN_GADS), 1);
        screens.RemoveAllScreens();
    }
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"delete GADS", "delete MAIN", "delete OPTN", "delete SELE",
                                                     "delete STAT", "delete PLRS", "delete GENL", "delete POPU",
                                                     "delete HELP", "delete PAUS", "delete ABOT", "delete LOGS"}));
}

TEST_F(HW_ScreensTest, ThePlayerScreensAreInTheSetAndComeFirst)
{
    MWin mwin(game);
    HW_Screens screens(game, &mwin);
    ASSERT_NE(screens.GetUserScreens(), nullptr);
    EXPECT_EQ(screens.SetupScreensCB(), 1);
    EXPECT_EQ(screens.GetCurrentScreen(), HW_ScreenId("uUSR"));
    for (unsigned id : {HW_ScreenId("uSEL"), HW_ScreenId("uUSR"), HW_ScreenId("uLOD"), HW_ScreenId("uNEW")})
        EXPECT_EQ(screens.SetCurrentScreen(id), 1) << id;
    screens.RemoveAllScreens();
}

TEST_F(HW_ScreensTest, MusicIsChosenAgainAtStartChangesAndEnd)
{
    sound_recorder.music_update = [] { calls.push_back("music"); };
    HW_Screens *screens = game->GetScreens();
    screens->End(-1);
    calls.clear();
    screens->StartScreen(HW_SCREEN_MAIN, -1);
    // Chosen once the first screen is on, not before.
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"start MAIN", "music"}));
    screens->GotoScreen(HW_SCREEN_OPTN, nullptr);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"start OPTN", "music"}));
    screens->End(-1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"music"}));
}

TEST_F(HW_ScreensTest, EveryChangeEmptiesTheDesktopBeforeTheNewScreen)
{
    HW_Screens *screens = game->GetScreens();
    MWin *mwin = game->GetMWin();
    ASSERT_NE(mwin->GetDesktop()->AddCollection("Leftover"), nullptr);
    screens->GotoScreen(HW_SCREEN_OPTN, nullptr);
    EXPECT_EQ(mwin->GetDesktop()->GetCollectionFromID("Leftover", 0), nullptr);
}

} // namespace
