// The play on the recording device with the generated data: graphics
// creation, how bugs are drawn, a run through the first four levels of
// garden 0 without weapons, and levels 0 to 9 with a simple player who builds
// and upgrades weapons along the road.
#include "game/HiveWatcher.h"

#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"
#include "game/Weapon.h"
#include "game/Weapons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

class PlayRunTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        ResetPlayForTest();
        RecordNeighbours();
        // The program finds its data in Data/ beside it.
        if (!std::filesystem::is_symlink("Data"))
            std::filesystem::remove_all("Data");
        if (!std::filesystem::exists("Data"))
            std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
    }
    void TearDown() override
    {
        HiveWatcherDestroyGraphics();
        ResetPlayForTest();
        RecordingDeviceTest::TearDown();
    }

    // One frame of play of `seconds` on the program clock.
    static void Frame(float seconds)
    {
        VirtualClock::Advance((int)(seconds * 1000.0f));
        EngMainUpdateProgramTime();
        eng_main_frame_time = seconds;
        HiveWatcherTick();
    }

    // "Data" as the generated data folder without one of its files.
    static void UseDataWithout(const char *missing)
    {
        std::filesystem::remove_all("Data");
        std::filesystem::create_directory("Data");
        for (const auto &entry : std::filesystem::directory_iterator(HW_DATA_DIR))
            if (entry.path().filename() != missing)
                std::filesystem::create_symlink(entry.path(), std::filesystem::path("Data") / entry.path().filename());
    }

    void DrawFrame()
    {
        InScene([] { HiveWatcherRender(); });
    }

    struct RunResult {
        int level, score, lives, money, weapons;
    };
    // Levels 0 to 9 of garden 0 at the difficulty, played by SimplePlayer at
    // 20 frames a second until level 10 starts or the last life is lost,
    // which starts the game-over scene.
    RunResult RunGardenZero(int difficulty, unsigned seed);
};

// A simple player. Once a second of play it builds whichever factory is
// missing, else the weapon on sale it has fewest of (up to four of each
// type), waiting for the money; with four of everything on sale it upgrades
// its lowest factory, or else its weakest weapon, as money allows.
class SimplePlayer {
public:
    SimplePlayer()
    {
        // Spots on both sides of the road, at every thirtieth of its length,
        // nearest first.
        const int n = traverse_data.num_steps;
        for (float offset : {0.16f, -0.16f, 0.2f, -0.2f, 0.25f, -0.25f}) {
            for (int s = n / 30; s + 5 < n; s += n / 30) {
                const _TraversePoint &p = traverse_data.point[s], &q = traverse_data.point[s + 5];
                float dx = q.x - p.x, dy = q.y - p.y, length = std::sqrt(dx * dx + dy * dy);
                if (length <= 0.0f)
                    continue;
                float x = p.x - dy / length * offset, y = p.y + dx / length * offset;
                if (std::fabs(x) < 0.9f && std::fabs(y) < 0.9f)
                    spots_.push_back({x, y});
            }
        }
    }

    void Act()
    {
        for (int family = 0; family < 3; family++)
            if (weapons_factory_level[family] == 0 && !Find(WEAPON_FIRST_FACTORY + family)) {
                Build(WEAPON_FIRST_FACTORY + family);
                return;
            }
        int wanted = -1, fewest = 4;
        for (int t = 0; t < WEAPON_SHOOTING_TYPES; t++) {
            int count = 0;
            for (int i = 0; i < weapons_count; i++)
                count += weapons_list[i] && weapons_list[i]->m_type == t;
            if (t % 3 < weapons_factory_level[t / 3] && count < fewest && !full_[t]) {
                wanted = t;
                fewest = count;
            }
        }
        if (wanted >= 0) {
            Build(wanted);
            return;
        }
        Weapon *lowest = nullptr;
        for (int i = 0; i < weapons_count; i++) {
            Weapon *w = weapons_list[i];
            if (w && !w->m_upgrading && w->m_level < w->GetTopLevelCount() - 1 &&
                (!lowest || w->IsFactory() > lowest->IsFactory() ||
                 (w->IsFactory() == lowest->IsFactory() && w->m_level < lowest->m_level)))
                lowest = w;
        }
        if (lowest)
            lowest->StartUpgrade();
    }

private:
    static Weapon *Find(int type)
    {
        for (int i = 0; i < weapons_count; i++)
            if (weapons_list[i] && weapons_list[i]->m_type == type)
                return weapons_list[i];
        return nullptr;
    }
    // At the first spot where it fits, when there is the money; a type that
    // fits nowhere is not tried again.
    void Build(int type)
    {
        if (play_money < weapons_level_info[type][0].cost)
            return;
        for (const auto &[x, y] : spots_)
            if (WeaponsCanPlaceAt(type, x, y, 0) && WeaponsCreateNew(type, x, y, 0, 0))
                return;
        full_[type] = true;
    }

    std::vector<std::pair<float, float>> spots_;
    bool full_[WEAPON_TYPES] = {};
};

PlayRunTest::RunResult PlayRunTest::RunGardenZero(int difficulty, unsigned seed)
{
    EngMiscRandSeed(seed);
    EXPECT_TRUE(HiveWatcherSetup());
    levels_garden = 0;
    levels_difficulty = (int16_t)difficulty;
    EXPECT_TRUE(HiveWatcherCreateGraphics());
    EXPECT_TRUE(HiveWatcherStartNewGame(0));
    eng_main_key_states[VK_SPACE] = 2;
    SimplePlayer player;
    for (int frame = 0; play_level < 10 && play_lives > 0 && frame < 200000; frame++) {
        if (frame % 20 == 0)
            player.Act();
        Frame(0.05f);
        if (frame % 500 == 0) {
            DrawFrame();
            D3D9RecordingReset();
        }
    }
    return {play_level, play_score, play_lives, play_money, weapons_count};
}

}  // namespace

TEST_F(PlayRunTest, GraphicsCreationStopsAtAModulesFailureExceptTheTutorials)
{
    levels_garden = 0;
    EXPECT_TRUE(HiveWatcherCreateGraphics());
    EXPECT_TRUE(LevelsGetGardenPicture()->IsCreated());

    // An end scene's picture is loaded only while the scene runs, and a
    // missing one fails the creation.
    const struct {
        char *running;
        const char *missing;
        const char *failing;
    } cases[] = {
        {&play_game_over, "1390.dat", "GameOverCreateGraphics"},
        {&play_game_won, "1019.dat", "GameWonCreateGraphics"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.failing);
        HiveWatcherDestroyGraphics();
        UseDataWithout(c.missing);
        play_game_over = play_game_won = 0;
        DebugClearLogs();
        EXPECT_TRUE(HiveWatcherCreateGraphics());
        HiveWatcherDestroyGraphics();
        *c.running = 1;
        EXPECT_FALSE(HiveWatcherCreateGraphics());
        EXPECT_TRUE(LogHas(ErrorLine("HiveWatcherCreateGraphics", std::string(c.failing) + "() failed")));
        *c.running = 0;
    }

    // A missing hub picture fails without a message.
    HiveWatcherDestroyGraphics();
    std::filesystem::remove_all("Data");
    DebugClearLogs();
    EXPECT_FALSE(HiveWatcherCreateGraphics());
    EXPECT_TRUE(NeighbourLog::Take().empty());
}

TEST_F(PlayRunTest, BugBodiesAreDrawnBeforeTheirHealthBarsLastSlotFirst)
{
    UseStraightRoad(300);
    bugs_kind = 3;
    ASSERT_TRUE(BugsCreateGraphics());
    BugsSetSize(0.1f);
    bugs_hp = 10.0;
    bugs_count = 2;
    for (int i = 0; i < 2; i++) {
        bugs_table[i] = new Bug(i, 0);
        bugs_table[i]->m_distance = 100.0f + 50.0f * i;
        bugs_table[i]->UpdatePosition();
    }
    bugs_table[1]->m_hp = 5.0;
    StartRecording();
    InScene([] { BugsDraw(); });

    // Two bodies (slot 1, then 0), then fill and frame of slot 1, then of 0.
    ASSERT_EQ(6u, Draws().size());
    const float x1 = traverse_data.point[150].x, x0 = traverse_data.point[100].x;
    const float expected_x[6] = {x1, x0, x1, x1, x0, x0};
    for (int i = 0; i < 6; i++)
        EXPECT_FLOAT_EQ(expected_x[i], Draws()[i].state.world.m[3][0]) << i;
    // The road's y is 0.25; the world's y grows upwards.
    EXPECT_FLOAT_EQ(-0.25f, Draws()[0].state.world.m[3][1]);
    // The fill of the hurt bug is half the frame's width.
    std::vector<ReadVertex> fill = ReadVertices(Draws()[2]), frame = ReadVertices(Draws()[3]);
    ASSERT_EQ(4u, fill.size());
    auto width = [](const std::vector<ReadVertex> &v) {
        auto [lo, hi] = std::minmax_element(v.begin(), v.end(), [](auto &a, auto &b) { return a.x < b.x; });
        return hi->x - lo->x;
    };
    EXPECT_NEAR(width(frame) / 2.0f, width(fill), 1e-6);
    // The transform is put back after each bug.
    EngMatrix world;
    eng_device->GetTransformMatrix(&world);
    EXPECT_EQ(0.0f, world.m_elements[12]);
}

TEST_F(PlayRunTest, AWeaponDrawsItsBaseThenItsTurretTurnedTowardsItsTarget)
{
    levels_garden = 0;
    ASSERT_TRUE(HiveWatcherCreateGraphics());
    UseStraightRoad(300);
    BugsSetSize(0.1f);
    // A bug straight below a Turret that has turned to it.
    PutRoadBug(0, 1, 150, 1e9);
    Weapon turret(0, 0.4f, 0.15f);
    turret.m_angle = 3.0f * 3.14159265f / 2.0f;
    turret.m_mouse_over = 1;
    ASSERT_TRUE(turret.Fire(0));
    StartRecording();
    InScene([&] {
        turret.Draw();
        turret.DrawShots();
    });
    // Base, turret, range circle, level marker, then the shot.
    ASSERT_EQ(5u, Draws().size());
    auto texture_of = [](EngTexture &t) { return (IDirect3DBaseTexture9 *)t.GetTextureDX9()->GetD3DTexture(); };
    EXPECT_EQ(texture_of(weapons_base_textures[0]), Draws()[0].state.textures[0]);
    EXPECT_EQ(texture_of(weapons_turret_textures[0]), Draws()[1].state.textures[0]);
    EXPECT_EQ(texture_of(play_textures[HWT_RANGE_CIRCLE]), Draws()[2].state.textures[0]);
    EXPECT_EQ(texture_of(play_textures[HWT_LEVEL_MARKER]), Draws()[3].state.textures[0]);
    EXPECT_EQ(texture_of(weapons_shot_textures[0]), Draws()[4].state.textures[0]);
    // The picture's top (world +y) is turned to world -y: down the screen,
    // towards the bug, and the shot starts below the Turret.
    const D3DMATRIX &world = Draws()[1].state.world;
    EXPECT_NEAR(-1.0f, world.m[1][1], 1e-5);
    EXPECT_NEAR(0.0f, world.m[1][0], 1e-5);
    EXPECT_FLOAT_EQ(0.4f, world.m[3][0]);
    EXPECT_FLOAT_EQ(-0.15f, world.m[3][1]);
    EXPECT_LT(Draws()[4].state.world.m[3][1], -0.15f);
}

TEST_F(PlayRunTest, TheBannerDrawsAShadowThenTheText)
{
    // Released by its destructor, before the device goes.
    EngFont font;
    static EngFont *game_font;
    game_font = &font;
    ASSERT_TRUE(CreateTestFont(font, 32, 32, 95));
    play_neighbours.game_get_font = [] { return game_font; };
    levels_banner_state = -1;
    StartRecording();
    InScene([] { LevelsDrawBanner(); });
    EXPECT_TRUE(Draws().empty());

    levels_banner_state = 2;
    levels_banner_alpha = 0.5f;
    snprintf(levels_banner_text, sizeof(levels_banner_text), "LEVEL  3T");
    StartRecording();
    InScene([] { LevelsDrawBanner(); });
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    // Nine characters, twice.
    ASSERT_EQ(18u, Draws().size());
    for (size_t i = 0; i < 18; i++) {
        const D3DCOLORVALUE &colour = Draws()[i].state.material.Emissive;
        float grey = i < 9 ? 0.0f : 1.0f;
        EXPECT_EQ(grey, colour.r) << i;
        EXPECT_EQ(grey, colour.b) << i;
        EXPECT_FLOAT_EQ(0.35f, colour.a) << i;
    }
    // The shadow lies 4 units right of and below the text.
    const D3DMATRIX &shadow = Draws()[0].state.world, &text = Draws()[9].state.world;
    EXPECT_NEAR(4.0f, shadow.m[3][0] - text.m[3][0], 1e-3);
    EXPECT_NEAR(4.0f, std::fabs(shadow.m[3][1] - text.m[3][1]), 1e-3);
}

TEST_F(PlayRunTest, BugsWalkTheFirstFourLevelsOfGardenZeroAndTakeLives)
{
    EngMiscRandSeed(2024);
    ASSERT_TRUE(HiveWatcherSetup());
    // The garden is chosen after the set-up, as the Select screen does.
    levels_garden = 0;
    levels_difficulty = 0;
    ASSERT_TRUE(HiveWatcherCreateGraphics());
    ASSERT_TRUE(HiveWatcherStartNewGame(0));
    ASSERT_GT(traverse_data.num_steps, 1000);
    // Enough lives to watch four whole waves arrive.
    HiveWatcherAddToLives(80);
    eng_main_key_states[VK_SPACE] = 2;

    const int steps = traverse_data.num_steps;
    int arrived = 0, level = -1, frames = 0;
    float previous[BUGS_MAX];
    // At each new level: the wave's size and the score before it.
    auto start_level = [&] {
        level = play_level;
        std::fill(std::begin(previous), std::end(previous), -1e9f);
        if (level >= 4)
            return;
        arrived += bugs_count;
        EXPECT_EQ(level * 100, play_score);
        EXPECT_GE(bugs_count, 8);
        EXPECT_LT(bugs_count, 25);
    };
    start_level();
    while (play_level < 4 && frames < 20000) {
        Frame(0.05f);
        frames++;
        if (play_level != level)
            start_level();
        for (int i = 0; i < BUGS_MAX; i++) {
            const Bug *bug = bugs_table[i];
            if (!bug)
                continue;
            ASSERT_TRUE(bug->m_alive);
            ASSERT_GT(bug->m_distance, previous[i]) << "slot " << i;
            previous[i] = bug->m_distance;
            ASSERT_GE(bug->m_shown_step, 0);
            ASSERT_LT(bug->m_shown_step, steps);
            if (bug->m_state == BS_ON_ROAD) {
                ASSERT_EQ(traverse_data.point[(int)bug->m_distance].x, bug->GetX());
                ASSERT_FLOAT_EQ(-traverse_data.heading[bug->m_shown_step], bug->m_angle);
            }
            if (bug->m_targetable) {
                ASSERT_TRUE(std::fabs(bug->GetX()) <= 1.0f && std::fabs(bug->GetY()) <= 1.0f) << "slot " << i;
            }
        }
        if (frames % 25 == 0) {
            DrawFrame();
            D3D9RecordingReset();
        }
    }
    EXPECT_EQ(4, play_level);
    // Every bug of levels 0 to 3 reached the end and took a life.
    EXPECT_EQ(100 - arrived, play_lives);
    EXPECT_EQ(std::to_string(play_lives), play_lives_text);
    std::vector<std::string> calls = NeighbourLog::Take();
    EXPECT_EQ(arrived, std::count(calls.begin(), calls.end(), "SoundPlay 23"));
    EXPECT_EQ(4, std::count(calls.begin(), calls.end(), "SoundPlay 24"));
    // No kills: the money is the start and the level bonuses only.
    EXPECT_EQ(500 + 100 + 150 + 200 + 250, play_money);
    EXPECT_EQ(400, play_score);
}

TEST_F(PlayRunTest, ASimplePlayerPlaysGardenZeroFromLevelZeroToTheEnd)
{
    const RunResult run = RunGardenZero(0, 2024);
    const std::vector<std::string> calls = NeighbourLog::Take();
    const int kills = (int)std::count(calls.begin(), calls.end(), "SoundPlay 22");
    printf("difficulty 0: level %d, score %d, lives %d, money %d, weapons %d, kills %d\n", run.level, run.score,
           run.lives, run.money, run.weapons, kills);
    // The waves of level 5 overrun a player who buys many small weapons.
    EXPECT_EQ(5, run.level);
    EXPECT_EQ(851, run.score);
    EXPECT_EQ(0, run.lives);
    EXPECT_EQ(232, run.money);
    EXPECT_EQ(16, run.weapons);
    EXPECT_EQ(64, kills);
}

// The same at every difficulty; too slow for every test run, so it runs
// only when asked (--gtest_also_run_disabled_tests).
TEST_F(PlayRunTest, DISABLED_ASimplePlayerAtEveryDifficulty)
{
    for (int difficulty = 0; difficulty < 3; difficulty++) {
        const RunResult run = RunGardenZero(difficulty, 2024);
        printf("difficulty %d: level %d, score %d, lives %d, money %d, weapons %d\n", difficulty, run.level,
               run.score, run.lives, run.money, run.weapons);
        HiveWatcherDestroyGraphics();
    }
}
