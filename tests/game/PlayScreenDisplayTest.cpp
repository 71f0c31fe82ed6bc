// The play on a real window with the generated data: the player buys the
// gun factory and a turret from the sidebar with the mouse, is refused on
// the road (the pointer turns), starts the wave with Space, and the bugs walk
// the road drawn in the garden picture while the turret fires along its aim.
// Each stage's screen is saved to <build>/screens/.
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "game/HiveWatcherMWin.h"
#include "game/Shots.h"
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/DisplayTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

EngFont font;

class PlayScreenDisplayTest : public DisplayTest<> {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        if (HasFatalFailure())
            return;
        parms = WindowParms(1, 640, 480);
        ASSERT_EQ(1, Open());
        if (!std::filesystem::exists("Data"))
            std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
        ResetPlayForTest();
        RecordNeighbours();
        NeighbourLog::hints = 1;
        ASSERT_TRUE(HiveWatcherMWinCreateFontApart(0, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", &font));
        // The drawing state the game sets once its graphics exist.
        eng_device->ModulateTextureAlphaWithColourAlpha();
        eng_device->SuspendZBufferIfOn();
        eng_device->PrepareFor2DIfNeeded(1);
        play_neighbours.game_get_font = [] { return &font; };
        EngMiscRandSeed(3);
        ASSERT_TRUE(HiveWatcherSetup());
        levels_garden = 0;
        ASSERT_TRUE(HiveWatcherCreateGraphics());
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
    }
    void TearDown() override
    {
        HiveWatcherDestroyGraphics();
        font.Destroy();
        ResetPlayForTest();
        DisplayTest::TearDown();
    }

    void Frame()
    {
        eng_main_frame_time = 1.0f / 60.0f;
        HiveWatcherTick();
        Draw();
    }
    void Draw()
    {
        eng_device->ClearBackBuffer();
        ASSERT_TRUE(eng_device->BeginRendering());
        HiveWatcherRender();
        eng_device->EndRendering();
    }
    void Save(const char *name)
    {
        const std::filesystem::path dir = std::filesystem::path(HW_DATA_DIR).parent_path() / "screens";
        std::filesystem::create_directories(dir);
        std::vector<DWORD> pixels = Screen();
        EXPECT_TRUE(WritePng((dir / name).c_str(), parms.width, parms.height,
                             [&](int x, int y) { return pixels[y * parms.width + x] | 0xFF000000u; }));
    }
    // The pixels that differ between two shots within a rectangle.
    static int Changed(const std::vector<DWORD> &a, const std::vector<DWORD> &b, const _Dimension &area)
    {
        int changed = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) {
                const bool in = x >= area.x && x < area.x + area.w && y >= area.y && y < area.y + area.h;
                changed += in && !Near(a[y * 640 + x], b[y * 640 + x], 8) ? 1 : 0;
            }
        return changed;
    }
    // The mouse to a point of the 640 x 480 screen (the window's pixels).
    static void MoveTo(float x, float y) { HiveWatcherMouseMove(x, y); }
    static void MoveToBoard(float bx, float by) { MoveTo((bx + 1.0f) * 270.0f + 100.0f, (by + 1.0f) * 225.0f); }
    static void ClickAt(float x, float y)
    {
        MoveTo(x, y);
        HiveWatcherMouseButton(0, 1);
        HiveWatcherMouseButton(0, 0);
    }
    static void ClickSidebarButton(int i)
    {
        const _SidebarPixelRect &p = sidebar_button_pixels[i];
        ClickAt((p.left + p.right) / 2.0f * 100.0f / 256.0f, (p.top + p.bottom) / 2.0f * 450.0f / 1024.0f);
    }
    // A free place for the type, near the middle of the road.
    static bool FreeSpotNearRoad(int type, float *x, float *y)
    {
        const _TraversePoint &middle = traverse_data.point[traverse_data.num_steps / 2];
        for (float d = 0.12f; d < 0.5f; d += 0.02f)
            for (float a = 0.0f; a < 6.28f; a += 0.2f)
                if (WeaponsCanPlaceAt(type, middle.x + d * std::cos(a), middle.y + d * std::sin(a), 0)) {
                    *x = middle.x + d * std::cos(a);
                    *y = middle.y + d * std::sin(a);
                    return true;
                }
        return false;
    }
};

}  // namespace

TEST_F(PlayScreenDisplayTest, PlaceWeaponsStartTheWaveAndWatchTheTurretFire)
{
    Frame();
    Save("play-0-start.png");
    const std::vector<DWORD> garden = Screen();
    EXPECT_STREQ("Place a factory in the garden.", tutorial_text);

    // The gun factory, bought from the sidebar and put on free ground.
    ClickSidebarButton(9);
    ASSERT_EQ(1, sidebar_placing);
    float fx, fy;
    ASSERT_TRUE(FreeSpotNearRoad(9, &fx, &fy));
    ClickAt((fx + 1.0f) * 270.0f + 100.0f, (fy + 1.0f) * 225.0f);
    ASSERT_EQ(1, weapons_count);
    EXPECT_EQ(1, weapons_factory_level[0]);
    EXPECT_STREQ("Place a weapon near the road.", tutorial_text);

    // The hint over the top row of buttons, faded in, leaves the level panel
    // at the sidebar's top as it was.
    for (int frame = 0; frame < 10; frame++)
        Frame();
    Save("play-0-hint-beside-level-panel.png");
    const std::vector<DWORD> hinted = Screen();
    tutorial_on = 0;
    Draw();
    tutorial_on = 1;
    const std::vector<DWORD> plain = Screen();
    EXPECT_GT(Changed(hinted, plain, {0, 0, 640, 480}), 1000);
    EXPECT_EQ(0, Changed(hinted, plain, SidebarGetLevelPanel()));

    // A turret over the road is refused: the pointer turns and the click does nothing.
    ClickSidebarButton(0);
    ASSERT_EQ(1, sidebar_placing);
    const _TraversePoint &on_road = traverse_data.point[traverse_data.num_steps / 3];
    MoveToBoard(on_road.x, on_road.y);
    EXPECT_EQ(1, play_pointer);
    Frame();
    Save("play-1-refused-on-road.png");
    HiveWatcherMouseButton(0, 1);
    HiveWatcherMouseButton(0, 0);
    EXPECT_EQ(1, weapons_count);
    EXPECT_EQ(1, sidebar_placing);

    float tx, ty;
    ASSERT_TRUE(FreeSpotNearRoad(0, &tx, &ty));
    MoveToBoard(tx, ty);
    EXPECT_EQ(0, play_pointer);
    HiveWatcherMouseButton(0, 1);
    HiveWatcherMouseButton(0, 0);
    ASSERT_EQ(2, weapons_count);
    Weapon *turret = weapons_list[1];
    EXPECT_EQ(0, turret->m_type);
    EXPECT_EQ(0, sidebar_placing);
    Frame();
    Save("play-2-placed.png");

    // Space starts the wave; the bugs walk the road and the turret fires.
    eng_main_key_states[VK_SPACE] = 2;
    bool fired = false;
    for (int frame = 0; frame < 60 * 30 && !fired; frame++) {
        Frame();
        fired = turret->m_num_shots > 0 && bugs_count > 0;
    }
    ASSERT_TRUE(fired);
    EXPECT_EQ(0, play_run_state);
    Save("play-3-wave.png");

    // The walking bugs stand on the road the garden's ground map marks, and
    // the screen shows them there over the garden.
    const std::vector<DWORD> wave = Screen();
    int walking = 0, seen = 0;
    for (int i = 0; i < bugs_count; i++) {
        Bug *bug = bugs_table[i];
        if (!bug || !bug->m_on_board || bug->m_state != BS_ON_ROAD)
            continue;
        walking++;
        const _TraversePoint &at = traverse_data.point[bug->m_shown_step];
        int cx, cy;
        HiveWatcherBoardToGrid(at.x, at.y, &cx, &cy);
        EXPECT_NE(0, play_grid[cx * ROAD_GRID_SIDE + cy]) << "bug " << i;
        const int px = (int)((at.x + 1.0f) * 270.0f + 100.0f), py = (int)((at.y + 1.0f) * 225.0f);
        if (px >= 100 && px < 640 && py >= 0 && py < 450 && !Near(garden[py * 640 + px], wave[py * 640 + px], 8))
            seen++;
    }
    EXPECT_GT(walking, 0);
    EXPECT_GE(seen * 2, walking);

    // The turret points along its shot's path: the shot leaves along the
    // turret's angle, and the pixels ahead of the barrel changed colour.
    Shot *shot = nullptr;
    for (Shot *s : turret->m_shots)
        if (s && s->m_alive)
            shot = s;
    ASSERT_NE(nullptr, shot);
    const float heading = std::atan2(shot->m_y - turret->m_y, shot->m_x - turret->m_x);
    // The angle points from the target back to the weapon; the barrel points
    // the other way.
    const float aim = std::atan2(-std::sin(turret->m_angle), -std::cos(turret->m_angle));
    float diff = std::fabs(heading - aim);
    diff = std::min(diff, 6.2831853f - diff);
    EXPECT_LT(diff, 0.35f) << "shot heading " << heading << ", turret angle " << aim;
    const float reach = turret->m_draw_half * 0.8f;
    const int px = (int)((turret->m_x + reach * std::cos(aim) + 1.0f) * 270.0f + 100.0f);
    const int py = (int)((turret->m_y + reach * std::sin(aim) + 1.0f) * 225.0f);
    ASSERT_TRUE(px >= 0 && px < 640 && py >= 0 && py < 480);
    // The turret close up, four times its size.
    const int cx = (int)((turret->m_x + 1.0f) * 270.0f + 100.0f), cy = (int)((turret->m_y + 1.0f) * 225.0f);
    const std::filesystem::path dir = std::filesystem::path(HW_DATA_DIR).parent_path() / "screens";
    WritePng((dir / "play-4-turret.png").c_str(), 160, 160, [&](int x, int y) {
        const int sx = std::min(std::max(cx - 20 + x / 4, 0), 639), sy = std::min(std::max(cy - 20 + y / 4, 0), 479);
        return wave[sy * 640 + sx] | 0xFF000000u;
    });
    EXPECT_FALSE(Near(garden[py * 640 + px], wave[py * 640 + px], 8)) << px << ", " << py;
}

// A level title longer than the level panel is narrowed to fit inside the
// panel's frame; a short one keeps its size.
TEST_F(PlayScreenDisplayTest, ALongLevelTitleFitsItsPanel)
{
    eng_main_key_states[VK_SPACE] = 2;
    for (int frame = 0; frame < 600 && bugs_count <= 0; frame++)
        Frame();
    ASSERT_GT(bugs_count, 0);
    // Drawn without ticking: the bugs stand still between the shots.
    play_title_text[0] = 0;
    Draw();
    const std::vector<DWORD> untitled = Screen();
    const _Dimension panel = SidebarGetLevelPanel();
    // Inside the frame: the panel less its rim.
    const _Dimension inner = {panel.x + 2, panel.y + 2, panel.w - 4, panel.h - 4};
    for (const char *title : {"1: ACLYPEA", "11E: GLISCHROCHILUS", "5: GLISCHROCHILUS"}) {
        SCOPED_TRACE(title);
        snprintf(play_title_text, sizeof(play_title_text), "%s", title);
        Draw();
        const std::vector<DWORD> titled = Screen();
        const int inside = Changed(untitled, titled, inner);
        EXPECT_GT(inside, 100);
        EXPECT_EQ(inside, Changed(untitled, titled, {0, 0, 640, 480}));
        Save("play-5-level-title.png");
    }
}
