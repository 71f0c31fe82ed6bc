// A player's way from the main screen into a game, by clicks on the real
// program: main -> select -> the first garden -> the notice a new player
// sees before the first games -> play.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include <cstdio>
#include <string>

namespace {

using namespace e2e;

class MenuE2eTest : public E2eTest {};

TEST_F(MenuE2eTest, FromTheMainScreenThroughTheGardensIntoPlay)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    // The player is continued at start: the main screen follows the
    // Players screen at once.
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    SaveShot("Main");
    Screen screen = Shot();

    Click(320, 225); // New Game
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("Select");

    Click(235, 200); // the first garden's picture
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("Notice");
    // The note's light text reads on its panel (inside the panel's rim,
    // above the Ok button).
    const double contrast = TextContrast(screen, 142.5f, 154.5f, 355, 133);
    RecordProperty("NoticeContrast", std::to_string(contrast));
    printf("Notice text contrast %.2f:1\n", contrast);
    EXPECT_GE(contrast, 4.5);

    Click(320, 312); // Ok
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("Play");

    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
