// The "other games" screen on the real program: opened from the main
// screen's "Other Games", it shows the first title with its two pictures,
// "Next" shows another title, and Escape leads back to the main screen.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include <cstdlib>

namespace {

using namespace e2e;

// How many points of an 8 x 8 grid over the area stand out from the
// screen's background, sampled in the margin left of the pictures.
int PointsOffBackground(const Screen &screen, float x, float y, float w, float h)
{
    const int background = Brightness(GamePixel(screen, 20, 250));
    int off = 0;
    for (int row = 0; row < 8; row++)
        for (int column = 0; column < 8; column++)
            if (std::abs(Brightness(GamePixel(screen, x + column * w / 8, y + row * h / 8)) - background) > 40)
                off++;
    return off;
}

// Both screenshots of a title, side by side: each of them is a scene, not
// the window's plain background.
bool PicturesDrawn(const Screen &screen)
{
    return PointsOffBackground(screen, 60, 165, 240, 240) >= 16 && PointsOffBackground(screen, 337, 165, 240, 240) >= 16;
}

class OtherGamesE2eTest : public E2eTest {};

TEST_F(OtherGamesE2eTest, TheOtherTitlesAreShownWithTheirPicturesAndBrowsed)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    const Screen main_screen = Shot();

    Click(235, 415); // Other Games
    Screen first;
    ASSERT_TRUE(WaitForNewScreen(main_screen, &first));
    EXPECT_TRUE(PicturesDrawn(first));
    SaveShot("OtherGames");

    Click(514, 445); // Next
    Screen second;
    ASSERT_TRUE(WaitForNewScreen(first, &second));
    EXPECT_TRUE(PicturesDrawn(second));
    // Another title: its pictures differ from the first title's.
    EXPECT_GT(ChangedShare(first, second), 0.2);
    SaveShot("OtherGamesNext");

    Key("Escape");
    Screen back;
    ASSERT_TRUE(WaitForNewScreen(second, &back));
    EXPECT_TRUE(MainScreenDrawn(back));
    EXPECT_LT(ChangedShare(main_screen, back), 0.08);

    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
