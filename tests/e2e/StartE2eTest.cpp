// The real program on its own X display: with a settings file that asks for
// no dialog, in a private home folder, it opens its window on the Players
// screen with the splash picture between the logo and the buttons, and ends
// with exit code 0 when asked to close; a damaged player record is offered
// for reset and kept until the player chooses.
#include "tests/e2e/E2eDriver.h"
#include "tests/support/TestLog.h"

#include <filesystem>
#include <fstream>

namespace {

using namespace e2e;

// The Players screen is drawn: the splash in the middle, the "Exit Game"
// button at the bottom right, and black between them.
bool PlayersScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 230, 150, 180, 200) > 20 && LitPoints(screen, 510, 435, 110, 25) > 30 &&
           Brightness(GamePixel(screen, 450, 300)) < 60;
}

class StartE2eTest : public E2eTest {};

TEST_F(StartE2eTest, StartsOnThePlayersScreenAndClosesWithCodeZero)
{
    ASSERT_TRUE(StartProgram());
    const bool drawn = WaitFor(PlayersScreenDrawn, 60);
    SaveShot("Players");
    EXPECT_TRUE(drawn) << "the Players screen was not drawn; see " HW_SCREENSHOT_DIR "/Players.png";
    EXPECT_EQ(StopProgram(), 0);
}

// A player whose record is damaged: the Load screen's "Load User" offers to
// reset or delete him in one popup (its title strip above its body, saved
// as UnableToLoadPlayer.png), and Cancel leaves his file as it was.
TEST_F(StartE2eTest, ADamagedRecordIsOfferedForResetInOnePopupAndCancelKeepsIt)
{
    SeedPlayer("Bob", "GB", false);
    const std::filesystem::path record = modules_test::UsersFolder() / "Bob.usr";
    {
        std::ofstream out(record, std::ios::binary | std::ios::trunc);
        out << "not a player record";
    }
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(PlayersScreenDrawn, 60));
    Screen screen = Shot();
    Click(75, 403); // "Load Player"
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(320, 155); // Bob, the panel's only row
    Click(505, 162); // "Load User"
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("UnableToLoadPlayer");
    // The title on its strip, the message and the three buttons below it.
    EXPECT_GT(LitPoints(screen, 200, 145, 240, 15), 3);
    EXPECT_GT(LitPoints(screen, 40, 180, 560, 70), 6);
    EXPECT_GT(LitPoints(screen, 235, 275, 170, 25), 10);

    Click(380, 287); // "Cancel"
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    EXPECT_EQ(ReadWhole(record), "not a player record");
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
