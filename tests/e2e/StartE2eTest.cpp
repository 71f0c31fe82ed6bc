// The real program on its own X display: with a settings file that asks for
// no dialog, in a private home folder, it opens its window on the Players
// screen with the splash picture between the logo and the buttons, and ends
// with exit code 0 when asked to close.
#include "tests/e2e/E2eDriver.h"

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

} // namespace
