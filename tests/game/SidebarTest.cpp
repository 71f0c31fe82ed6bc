// The sidebar and the bottom bar: button rectangles and their queries, which
// buttons are on sale, hovering and clicks, starting and ending placing, and
// the tutorial hints chosen from the situation.
#include "game/Sidebar.h"

#include "engine/runtime/EngWindow.h"
#include "game/Tutorial.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SidebarTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        eng_font_scale_x = 1.0f;
        SidebarSetup();
        play_money = 500;
    }
    void TearDown() override { ResetPlayForTest(); }

    // The mouse at a point of the 640 x 480 screen, as the play hub passes it.
    static char MoveTo(float x, float y) { return SidebarMouseMove(x, y); }
    // The middle of a button, in 640 x 480 units.
    static void MoveToButton(int i)
    {
        const _SidebarPixelRect &p = sidebar_button_pixels[i];
        MoveTo((p.left + p.right) / 2.0f * 100.0f / 256.0f, (p.top + p.bottom) / 2.0f * 450.0f / 1024.0f);
    }
    static void SetFactories(int gun, int spray, int projectile)
    {
        weapons_factory_level[0] = gun;
        weapons_factory_level[1] = spray;
        weapons_factory_level[2] = projectile;
        SidebarRefresh(SIDEBAR_REFRESH_ENABLED_ONLY);
    }
};

}  // namespace

TEST_F(SidebarTest, ButtonRectanglesAndTheirQueries)
{
    _Dimension r;
    ASSERT_TRUE(SidebarGetSideButtonPosition(4, 0, 0, 0, &r));
    EXPECT_FLOAT_EQ(92.0f * 100.0f / 256.0f, r.x);
    EXPECT_FLOAT_EQ(205.3125f, r.y);
    EXPECT_FLOAT_EQ(70.0f * 100.0f / 256.0f, r.w);
    EXPECT_FLOAT_EQ(37.5f, r.h);

    // On the drawn sidebar, 450 units high instead of 480.
    ASSERT_TRUE(SidebarGetSideButtonPosition(4, 1, 0, 0, &r));
    EXPECT_FLOAT_EQ(205.3125f / 1.0666667f, r.y);

    // Grown rectangles stay on the screen.
    ASSERT_TRUE(SidebarGetSideButtonPosition(0, 1, 20, 200, &r));
    EXPECT_FLOAT_EQ(0.0f, r.x);
    EXPECT_FLOAT_EQ(0.0f, r.y);
    ASSERT_TRUE(SidebarGetSideButtonPosition(11, 0, 0, 50, &r));
    EXPECT_FLOAT_EQ(480.0f, r.y + r.h);

    // A window that changes shape after set-up (1280 x 720, then 985 x 587,
    // then back) narrows the screen rectangles by its aspect factor, while
    // the drawn sidebar, which is never widened, keeps its buttons in place.
    for (float aspect : {0.75f, 587.0f / 985.0f * 1.3333334f, 1.0f}) {
        SCOPED_TRACE(aspect);
        eng_font_scale_x = aspect;
        ASSERT_TRUE(SidebarGetSideButtonPosition(4, 0, 0, 0, &r));
        EXPECT_FLOAT_EQ(92.0f * 100.0f / 256.0f * aspect, r.x);
        EXPECT_FLOAT_EQ(70.0f * 100.0f / 256.0f * aspect, r.w);
        ASSERT_TRUE(SidebarGetSideButtonPosition(4, 1, 0, 0, &r));
        EXPECT_FLOAT_EQ(92.0f * 100.0f / 256.0f, r.x);
        EXPECT_FLOAT_EQ(70.0f * 100.0f / 256.0f, r.w);
    }

    ASSERT_TRUE(SidebarGetBottomButtonPosition(0, 1, 5, 3, &r));
    EXPECT_TRUE(LogHas("[468 450 87 30]"));
    EXPECT_FLOAT_EQ(463.0f, r.x);
    EXPECT_FLOAT_EQ(447.0f, r.y);
    EXPECT_FLOAT_EQ(97.0f, r.w);
    EXPECT_FLOAT_EQ(36.0f, r.h);

    DebugClearLogs();
    EXPECT_FALSE(SidebarGetSideButtonPosition(0, 0, 0, 0, nullptr));
    EXPECT_FALSE(SidebarGetSideButtonPosition(12, 0, 0, 0, &r));
    EXPECT_FALSE(SidebarGetBottomButtonPosition(1, 0, 0, 0, &r));
    EXPECT_FALSE(SidebarGetBottomButtonPosition(0, 0, 0, 0, nullptr));
    EXPECT_TRUE(LogHas("Bad parameters."));
    EXPECT_TRUE(LogHas("Bad bnum 12."));
    EXPECT_TRUE(LogHas("Not implemented."));
}

TEST_F(SidebarTest, ButtonsOnSaleFollowTheFactoryLevels)
{
    struct Case {
        int gun, spray, projectile;
        const char *enabled;  // buttons 0 to 11
    };
    const Case cases[] = {
        {0, 0, 0, "000000000111"},
        {1, 0, 0, "100000000011"},
        {3, 2, 0, "111110000001"},
        {3, 3, 3, "111111111000"},
    };
    for (const Case &c : cases) {
        SetFactories(c.gun, c.spray, c.projectile);
        std::string enabled;
        for (uint8_t on : sidebar_enabled)
            enabled += on ? '1' : '0';
        EXPECT_EQ(c.enabled, enabled);
    }
}

TEST_F(SidebarTest, HoverFindsButtonsAndTheBottomBar)
{
    SetFactories(1, 0, 0);
    struct Case {
        float x, y;
        char used;
        int hovered;
        int bottom;
    };
    const Case cases[] = {
        {19, 110, 1, 0, 0},   // the Turret's button
        {40, 110, 1, 1, 0},   // the Cannon's, locked (the popup leaves it out)
        {34, 110, 1, -1, 0},  // the gap between two columns
        {70, 400, 1, 11, 0},  // the Projectile Factory
        {19, 400, 1, -1, 0},  // the Gun Factory, already built
        {300, 200, 0, -1, 0}, // the board
        {500, 465, 1, -1, 1}, // start/pause
        {600, 465, 1, -1, 2}, // menu
        {560, 465, 1, -1, 0}, // between them
        {50, 465, 1, -1, 0},  // the bottom bar below the sidebar
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(c.used, MoveTo(c.x, c.y));
        EXPECT_EQ(c.hovered, sidebar_hovered);
        EXPECT_EQ(c.bottom, sidebar_bottom_hover);
    }
}

TEST_F(SidebarTest, ClicksStartAndEndPlacing)
{
    SetFactories(1, 0, 0);
    // A press on a locked weapon is used and does nothing.
    MoveToButton(1);
    EXPECT_TRUE(SidebarHandleClick(0, 1));
    EXPECT_EQ(0, sidebar_placing);
    // A release does not start placing; a press does, with sound 20.
    MoveToButton(0);
    EXPECT_TRUE(SidebarHandleClick(0, 0));
    EXPECT_EQ(0, sidebar_placing);
    EXPECT_TRUE(SidebarHandleClick(0, 1));
    EXPECT_EQ(1, sidebar_placing);
    EXPECT_EQ(0, sidebar_placing_type);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 20"}, NeighbourLog::Take());
    // A second start while placing is refused.
    EXPECT_FALSE(SidebarStartPlacingWeapon(3));
    EXPECT_EQ(0, sidebar_placing_type);
    // A right click on the sidebar is used and changes nothing.
    EXPECT_TRUE(SidebarHandleClick(1, 1));
    EXPECT_EQ(1, sidebar_placing);
    // A left press on the sidebar while placing cancels it and deselects.
    EXPECT_TRUE(SidebarHandleClick(0, 1));
    EXPECT_EQ(0, sidebar_placing);
    EXPECT_EQ(-1, sidebar_hovered);
    // A double click cancels and starts again on the button under the mouse.
    MoveToButton(0);
    ASSERT_TRUE(SidebarStartPlacingWeapon(9));
    EXPECT_TRUE(SidebarHandleClick(0, 2));
    EXPECT_EQ(1, sidebar_placing);
    EXPECT_EQ(0, sidebar_placing_type);
    SidebarCancelPlacing();

    // Too little money, or a type beyond the table.
    play_money = weapons_level_info[0][0].cost - 1;
    EXPECT_FALSE(SidebarStartPlacingWeapon(0));
    EXPECT_EQ(0, sidebar_placing);
    DebugClearLogs();
    EXPECT_FALSE(SidebarStartPlacingWeapon(12));
    EXPECT_TRUE(LogHas("Internal error."));
    // Clicks on the board are left to others.
    MoveTo(300, 200);
    EXPECT_FALSE(SidebarHandleClick(0, 1));
}

TEST_F(SidebarTest, TheStartButtonRunsAndPausesThePlay)
{
    const std::pair<char, char> cases[] = {{2, 0}, {0, 1}, {1, 0}};
    MoveTo(500, 465);
    for (const auto &c : cases) {
        play_run_state = c.first;
        EXPECT_TRUE(SidebarHandleClick(0, 1));
        EXPECT_EQ(c.second, play_run_state) << (int)c.first;
    }
    // Only a left press counts; the bar takes the rest too.
    play_run_state = 2;
    EXPECT_TRUE(SidebarHandleClick(0, 0));
    EXPECT_TRUE(SidebarHandleClick(1, 1));
    EXPECT_EQ(2, play_run_state);
}

TEST_F(SidebarTest, HintsFollowTheGame)
{
    NeighbourLog::hints = 1;
    struct Case {
        const char *name;
        int gun, spray;
        int weapons;
        char run_state;
        const char *text;  // null: no hint
        int button;        // the button framed, -1 for the start button, -2 the factories
    };
    const Case cases[] = {
        {"no factory", 0, 0, 0, 2, "Place a factory in the garden.", -2},
        {"a gun factory", 1, 0, 0, 2, "Place a weapon near the road.", 0},
        {"a spray factory", 0, 1, 1, 2, "Place another weapon near the road.", 3},
        {"two weapons, not started", 1, 0, 2, 2, "Press Start to begin...", -1},
        {"two weapons, running", 1, 0, 2, 0, nullptr, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WeaponsDeleteAll();
        for (int i = 0; i < c.weapons; i++)
            AddTestWeapon(0, 0.0f, 0.0f);
        // A factory does not count as a weapon.
        AddTestWeapon(9, 0.0f, 0.0f);
        SetFactories(c.gun, c.spray, 0);
        play_run_state = c.run_state;
        TutorialUpdateHint();
        if (!c.text) {
            EXPECT_EQ(0, tutorial_on);
            continue;
        }
        EXPECT_EQ(1, tutorial_on);
        EXPECT_STREQ(c.text, tutorial_text);
        _Dimension want;
        if (c.button == -2) {
            _Dimension last;
            SidebarGetSideButtonPosition(9, 1, 6, 6, &want);
            SidebarGetSideButtonPosition(11, 1, 6, 6, &last);
            want = {want.x, want.y - 5, last.x + last.w - want.x, want.h + 10};
        } else if (c.button == -1) {
            SidebarGetBottomButtonPosition(0, 0, 5, 3, &want);
        } else {
            SidebarGetSideButtonPosition(c.button, 1, 6, 11, &want);
        }
        EXPECT_FLOAT_EQ(want.x, tutorial_highlights[0].x);
        EXPECT_FLOAT_EQ(want.y, tutorial_highlights[0].y);
        EXPECT_FLOAT_EQ(want.w, tutorial_highlights[0].w);
        EXPECT_FLOAT_EQ(want.h, tutorial_highlights[0].h);
        EXPECT_EQ(0.0f, tutorial_highlights[1].w);
        // Without a font the box is 350 wide, above the frame and on the screen.
        EXPECT_FLOAT_EQ(350.0f, tutorial_box.w);
        EXPECT_FLOAT_EQ(50.0f, tutorial_box.h);
        EXPECT_GE(tutorial_box.x, 0.0f);
        EXPECT_LE(tutorial_box.x + tutorial_box.w, 640.0f);
        EXPECT_LE(tutorial_box.y + tutorial_box.h, tutorial_highlights[0].y);
        EXPECT_FLOAT_EQ(tutorial_box.x + 175.0f, tutorial_box_centre_x);
        // Clear of the level panel at the sidebar's top: a box that would
        // cover it stands on the board instead.
        const _Dimension panel = SidebarGetLevelPanel();
        const bool beside = tutorial_box.x >= panel.x + panel.w || tutorial_box.y >= panel.y + panel.h;
        EXPECT_TRUE(beside) << tutorial_box.x << "," << tutorial_box.y;
        if (c.button == 0)
            EXPECT_FLOAT_EQ(100.0f, tutorial_box.x);
    }

    // The player's option off: no hint at all.
    NeighbourLog::hints = 0;
    TutorialRestart();
    EXPECT_EQ(0, tutorial_on);
}

// The hint is chosen again when the graphics are made again after a resize;
// its frame sits on the drawn Turret button whatever shape the window took
// since the sidebar was set up.
TEST_F(SidebarTest, AHintFramesItsButtonAfterTheWindowChangesShape)
{
    NeighbourLog::hints = 1;
    SetFactories(1, 0, 0);
    const _SidebarPixelRect &turret = sidebar_button_pixels[0];
    for (float aspect : {0.75f, 587.0f / 985.0f * 1.3333334f, 1.0f}) {
        SCOPED_TRACE(aspect);
        eng_font_scale_x = aspect;
        TutorialUpdateHint();
        ASSERT_STREQ("Place a weapon near the road.", tutorial_text);
        // Grown by 6 on each side, and kept on the screen.
        EXPECT_FLOAT_EQ(std::max(0.0f, turret.left * 100.0f / 256.0f - 6.0f), tutorial_highlights[0].x);
        EXPECT_FLOAT_EQ((turret.right - turret.left) * 100.0f / 256.0f + 12.0f, tutorial_highlights[0].w);
    }
}

TEST_F(SidebarTest, AHintFadesInAndStays)
{
    NeighbourLog::hints = 1;
    TutorialRestart();
    play_frame_time = 0.05f;
    std::vector<int> states;
    for (int frame = 0; frame < 6; frame++) {
        TutorialTick();
        states.push_back(tutorial_state);
        EXPECT_GE(tutorial_pulse, 0.6f);
        EXPECT_LE(tutorial_pulse, 1.0f);
    }
    // 0.25 of alpha a frame: full after four frames.
    EXPECT_EQ((std::vector<int>{1, 1, 1, 2, 2, 2}), states);
    EXPECT_EQ(1.0f, tutorial_alpha);
}
