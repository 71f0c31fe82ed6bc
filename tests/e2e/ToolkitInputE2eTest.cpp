// The toolkit's mouse handling in the real program: the country list's
// thumb dragged out of the window and let go there stops following the
// pointer, and a notch of the wheel on the local score table scrolls three
// rows, three times as far as the Down key.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include "engine/core/EngMisc.h"
#include "game/PlayNeighbours.h"
#include "game/Scores.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using namespace e2e;

void Rest(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The Scores screen's buttons along its foot.
bool ScoresScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 10, 440, 70, 30) > 20 && LitPoints(screen, 565, 440, 65, 30) > 20;
}

// Where the score table's thumb is: the middle (pixels down the shot) of
// the light thumb in the scrollbar at the table's right edge, which moves
// by the same length for every row scrolled.
double ThumbMiddle(const Screen &screen)
{
    double sum = 0;
    int count = 0;
    for (int y = 282; y < 690; y++)
        for (int x = 988; x < 1002; x++)
            if (Brightness(screen.At(x, y)) > 400) {
                sum += y;
                count++;
            }
    return count ? sum / count : -1;
}

class ToolkitInputE2eTest : public E2eTest {
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        // No country of the player's own: the country list starts at its top.
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", "C", 1);
    }

    void TearDown() override
    {
        E2eTest::TearDown();
        PlayNeighboursResetForTests();
    }

    // Waits until the score table differs from `before` and holds still,
    // and answers the settled shot through `after`. The rows' text is too
    // little of the screen for WaitForNewScreen.
    bool WaitForTableChange(const Screen &before, Screen *after)
    {
        auto table = [](const Screen &a, const Screen &b) { return ChangedIn(a, b, 15, 175, 600, 257); };
        Screen last;
        bool changed = false;
        return WaitFor(
            [&](const Screen &now) {
                const bool still = changed && table(last, now) < 0.002;
                changed = changed || table(before, now) > 0.01;
                last = now;
                *after = now;
                return still;
            },
            10);
    }

    // Thirty local scores of the first garden, highest first.
    static void SeedScores()
    {
        play_neighbours.scores_screen_get_garden = [] { return 0; };
        ScoresInit();
        _EngMiscDate today = {};
        EngMiscGetCurrentDate(&today);
        for (scores_count = 0; scores_count < 30; scores_count++) {
            _ScoresScore &entry = scores_table[scores_count];
            entry = _ScoresScore{};
            entry.score = 1000 * (30 - scores_count);
            entry.level = 1 + scores_count % 50;
            entry.date = today;
            entry.user_id = static_cast<uint16_t>(100 + scores_count);
            std::snprintf(entry.name, sizeof(entry.name), "Player %02d", scores_count + 1);
            std::snprintf(entry.country, sizeof(entry.country), "GB");
        }
        ASSERT_TRUE(ScoresWriteToFile());
    }
};

TEST_F(ToolkitInputE2eTest, TheCountryListsThumbLetGoOutsideTheWindowStopsFollowing)
{
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(PlayersScreenDrawn));
    Screen screen = Shot();
    Click(75, 447); // New Player
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(320, 292); // Country
    ASSERT_TRUE(WaitFor(CountryScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));

    // The list's thumb sits at the top of its scrollbar, at the list's
    // right edge.
    const float thumb_x = 463, thumb_y = 62;
    ASSERT_GT(Brightness(GamePixel(screen, thumb_x, thumb_y)), 300) << "the thumb is where it is grabbed";
    const float list_x = 175, list_y = 52, list_w = 275, list_h = 318;
    MoveTo(thumb_x, thumb_y);
    PressLeft();
    MoveTo(thumb_x, 200);
    ASSERT_TRUE(WaitFor([&](const Screen &now) { return ChangedIn(screen, now, list_x, list_y, list_w, list_h) > 0.05; },
                        10))
        << "the list follows the dragged thumb";
    SaveShot("ToolkitInput_CountryDragged");

    // Above the program's window, let go there, then back over the list.
    MoveTo(thumb_x, -6);
    Rest(300);
    ReleaseLeft();
    Rest(300);
    const Screen let_go = Shot();
    SaveShot("ToolkitInput_CountryLetGoOutside");
    MoveTo(thumb_x, 300);
    Rest(300);
    MoveTo(thumb_x, 360);
    Rest(500);
    const Screen back = Shot();
    SaveShot("ToolkitInput_CountryPointerBack");
    EXPECT_LT(ChangedIn(let_go, back, list_x, list_y, list_w, list_h), 0.01)
        << "the list no longer follows a pointer with no button held";
    EXPECT_EQ(StopProgram(), 0);
}

TEST_F(ToolkitInputE2eTest, OneWheelNotchScrollsTheScoreTableThreeRows)
{
    SeedPlayer("Ada", "GB", true);
    SeedScores();
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    Screen screen = Shot();
    Click(235, 295); // High Scores
    ASSERT_TRUE(WaitFor(ScoresScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(196, 133); // Local
    ASSERT_TRUE(WaitForTableChange(screen, &screen));
    // The pointer rests on the table; one notch towards the user.
    MoveTo(320, 300);
    Rest(300);
    const Screen before = Shot();
    SaveShot("ToolkitInput_ScoresBeforeWheel");
    Wheel(320, 300, -1);
    Screen wheeled;
    ASSERT_TRUE(WaitForTableChange(before, &wheeled));
    SaveShot("ToolkitInput_ScoresAfterWheel");
    Key("Down");
    Screen stepped;
    ASSERT_TRUE(WaitForTableChange(wheeled, &stepped));
    SaveShot("ToolkitInput_ScoresAfterDown");

    const double top = ThumbMiddle(before), notch = ThumbMiddle(wheeled) - top,
                 row = ThumbMiddle(stepped) - ThumbMiddle(wheeled);
    ASSERT_GT(top, 0) << "the table has a thumb";
    EXPECT_GT(row, 5) << "Down scrolls one row";
    EXPECT_NEAR(notch, 3 * row, 2) << "a notch scrolls three rows";
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
