// The screens the main screen opens besides the game - How To Play,
// Options, Sound & Music and About - each opened with its button on the real
// program and left with its own Back button.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include <cstdio>
#include <string>

namespace {

using namespace e2e;

// A whole button's face is lit; text alone lights only a few points.
bool ButtonAt(const Screen &screen, float x, float y, float w, float h)
{
    return LitPoints(screen, x + 2, y + 2, w - 4, h - 4) > 50;
}

// True once two shots in a row hardly differ.
std::function<bool(const Screen &)> Settled()
{
    return [previous = Screen()](const Screen &screen) mutable {
        const bool still = previous.width == screen.width && previous.height == screen.height &&
                           ChangedShare(previous, screen) < 0.001;
        previous = screen;
        return still;
    };
}

struct SideScreen {
    const char *name;
    float button_x, button_y; // its button on the main screen, 150 x 30
    // What only this screen shows, where the main screen has no button.
    std::function<bool(const Screen &)> drawn;
};

class MenuScreensE2eTest : public E2eTest {};

TEST_F(MenuScreensE2eTest, EachScreenOpensFromTheMainScreenAndGoesBack)
{
    const SideScreen screens[] = {
        // The page of text in its panel, left of the main screen's buttons.
        {"Help", 330, 280, [](const Screen &s) { return ButtonAt(s, 90, 140, 60, 60); }},
        // The first and the last row of choices, with the main screen's
        // lowest buttons gone.
        {"Options", 160, 320,
         [](const Screen &s) {
             return ButtonAt(s, 270, 200, 240, 18) && ButtonAt(s, 270, 328, 240, 18) && !MainScreenDrawn(s);
         }},
        // The sound effects' volume bar, with the main screen gone.
        {"Sounds", 330, 320, [](const Screen &s) { return ButtonAt(s, 240, 148, 260, 18) && !MainScreenDrawn(s); }},
        // The links along the bottom.
        {"About", 330, 360,
         [](const Screen &s) { return ButtonAt(s, 10, 440, 80, 30) && ButtonAt(s, 190, 440, 80, 30); }},
    };

    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    for (const SideScreen &side : screens) {
        SCOPED_TRACE(side.name);
        ASSERT_FALSE(side.drawn(Shot()));
        Click(side.button_x + 75, side.button_y + 15);
        if (!WaitFor(side.drawn)) {
            SaveShot(std::string(side.name) + "NotDrawn");
            FAIL();
        }
        // The shot once fades (the credits' among them) are done.
        ASSERT_TRUE(WaitFor(Settled()));
        SaveShot(side.name);
        if (std::string(side.name) == "Help") {
            // The page's light body text reads on its panel: the lines of
            // the first paragraph, below the page's brighter heading.
            const double contrast = TextContrast(Shot(), 106, 150, 428, 32);
            RecordProperty("HelpContrast", std::to_string(contrast));
            printf("Help text contrast %.2f:1\n", contrast);
            EXPECT_GE(contrast, 4.5);
        }
        Click(590, 455); // Back
        ASSERT_TRUE(WaitFor(MainScreenDrawn));
    }
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
