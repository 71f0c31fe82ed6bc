// The play on the recording device with the generated data: graphics
// creation, how bugs are drawn, a run through the first four levels of
// garden 0 without weapons, and seeded games played frame by frame by a
// strong player and by one who places nothing, with the rules of play
// checked after every frame.
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
#include <string>
#include <vector>

namespace {

// One frame of play of `seconds` on the program clock, as the program's
// main loop runs it.
void PlayFrame(float seconds)
{
    VirtualClock::Advance((int)(seconds * 1000.0f));
    EngMainUpdateProgramTime();
    eng_main_frame_time = seconds;
    HiveWatcherTick();
}

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

    // A new game of the garden at the difficulty, its wave under way.
    void StartGame(int garden, int difficulty, unsigned seed)
    {
        EngMiscRandSeed(seed);
        ASSERT_TRUE(HiveWatcherSetup());
        // The garden is chosen after the set-up, as the Select screen does.
        levels_garden = (int16_t)garden;
        levels_difficulty = (int16_t)difficulty;
        ASSERT_TRUE(HiveWatcherCreateGraphics());
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
        eng_main_key_states[VK_SPACE] = 2;
    }
};

// The play's accounts as a player reads them, and the wave on the board.
struct Accounts {
    int level, money, lives, score, bonus, placed;
    int bugs;
    double reward;
    int kill_score;

    static Accounts Now()
    {
        Accounts a = {play_level, play_money, play_lives, play_score, play_bonus, 0, 0, bugs_reward, bugs_kill_score};
        for (int i = 0; i < weapons_count; i++)
            a.placed += weapons_list[i] != nullptr;
        for (const Bug *bug : bugs_table)
            a.bugs += bug != nullptr;
        return a;
    }
};

// Watches a game frame by frame and checks the rules of play against what
// the frame did: the wave only shrinks, each bug that leaves it was killed
// or reached the end; a kill pays the wave's reward and kill score, a bug at
// the end takes one life; a level ends only once its wave is gone, and then
// within two frames, paying 50 times the new level's number counted from 1
// and adding 100 to the score; nothing is ever negative; and nothing
// changes the accounts once the game is over.
class RuleWatch {
public:
    RuleWatch() : m_before(Accounts::Now()) {}

    void Frame(float seconds)
    {
        NeighbourLog::Take();
        const bool over = play_game_over;
        PlayFrame(seconds);
        const Accounts after = Accounts::Now();
        const std::vector<std::string> calls = NeighbourLog::Take();
        const int kills = (int)std::count(calls.begin(), calls.end(), "SoundPlay 22");
        const int at_end = (int)std::count(calls.begin(), calls.end(), "SoundPlay 23");
        Check(over, kills, at_end, after);
        m_kills += kills;
        m_before = after;
    }

    // Around a purchase or an upgrade: the money goes down by its price
    // and each weapon placed adds 10 to the score.
    template <typename Act> bool Spend(int price, Act act)
    {
        const Accounts before = Accounts::Now();
        if (!act())
            return false;
        const Accounts after = Accounts::Now();
        EXPECT_EQ(before.money - price, after.money);
        EXPECT_EQ(before.score + 10 * (after.placed - before.placed), after.score);
        EXPECT_EQ(before.lives, after.lives);
        m_before = after;
        return true;
    }

    int Kills() const { return m_kills; }

private:
    void Check(bool over, int kills, int at_end, const Accounts &after)
    {
        const Accounts &b = m_before;
        EXPECT_GE(after.money, 0);
        EXPECT_GE(after.lives, 0);
        EXPECT_GE(after.score, 0);
        EXPECT_EQ(b.placed, after.placed);
        if (over) {
            EXPECT_EQ(b.money, after.money);
            EXPECT_EQ(b.lives, after.lives);
            EXPECT_EQ(b.score, after.score);
            EXPECT_EQ(b.level, after.level);
            return;
        }
        if (after.level != b.level) {
            // The wave was gone before the frame; the new one is whole.
            EXPECT_EQ(b.level + 1, after.level);
            EXPECT_EQ(0, b.bugs);
            EXPECT_EQ(bugs_count, after.bugs);
            EXPECT_GT(after.bugs, 0);
            EXPECT_EQ(b.money + 50 * (after.level + 1), after.money);
            EXPECT_EQ(b.score + 100, after.score);
            EXPECT_EQ(b.lives, after.lives);
            m_empty_frames = 0;
            return;
        }
        // Bugs leave the wave, none joins it: killed, or at the end, where
        // each takes a life. The bug that takes the last life ends the game
        // without its sound, and those after it take nothing.
        const int lost = b.lives - after.lives;
        if (play_game_over) {
            EXPECT_EQ(0, after.lives);
            EXPECT_EQ(at_end + 1, lost);
            EXPECT_GE(b.bugs - after.bugs, kills + lost);
        } else {
            EXPECT_EQ(at_end, lost) << "level " << b.level;
            EXPECT_EQ(b.bugs - after.bugs, kills + at_end) << "level " << b.level;
        }
        // Kills come before the end of the game in a frame: each pays.
        EXPECT_EQ(b.money + kills * (int)b.reward, after.money) << "level " << b.level;
        EXPECT_EQ(b.bonus + kills * b.kill_score, after.bonus) << "level " << b.level;
        EXPECT_EQ(b.score + kills * b.kill_score, after.score) << "level " << b.level;
        m_empty_frames = after.bugs == 0 ? m_empty_frames + 1 : 0;
        EXPECT_LE(m_empty_frames, 2) << "level " << b.level << " goes on without a wave";
    }

    Accounts m_before;
    int m_kills = 0;
    int m_empty_frames = 0;
};

// A player who spends everything as soon as it can on one family of
// weapons: its factory first, away from the road; then the strongest
// weapon on sale where it reaches most of the road; else the factory's next
// level, which puts a stronger weapon on sale; else an upgrade of its
// weakest weapon. Acts once a second of play.
class StrongPlayer {
public:
    explicit StrongPlayer(int family) : family_(family), factory_(WEAPON_FIRST_FACTORY + family) {}

    void Act(RuleWatch &watch)
    {
        Weapon *factory = Find(factory_);
        if (!factory) {
            Build(watch, factory_);
            return;
        }
        const int best = family_ * 3 + weapons_factory_level[family_] - 1;
        if (Build(watch, best) || (factory->m_level < 2 && Upgrade(watch, factory)))
            return;
        Weapon *weakest = nullptr;
        for (int i = 0; i < weapons_count; i++) {
            Weapon *w = weapons_list[i];
            if (w && !w->IsFactory() && !w->m_upgrading && w->m_level < w->GetTopLevelCount() - 1 &&
                (!weakest || w->m_level < weakest->m_level))
                weakest = w;
        }
        if (weakest)
            Upgrade(watch, weakest);
    }

private:
    struct Spot {
        int covered;
        float x, y;
    };

    static Weapon *Find(int type)
    {
        for (int i = 0; i < weapons_count; i++)
            if (weapons_list[i] && weapons_list[i]->m_type == type)
                return weapons_list[i];
        return nullptr;
    }

    // Spots on a grid over the board, the most road steps where bugs can be
    // shot within the type's reach first; a factory, which shoots nothing,
    // takes the spots that reach least of the road.
    static std::vector<Spot> Spots(int type)
    {
        const float reach = weapons_level_info[type][0].range;
        const int n = traverse_data.num_steps;
        std::vector<Spot> spots;
        for (float x = -0.9f; x <= 0.9f; x += 0.04f)
            for (float y = -0.9f; y <= 0.9f; y += 0.04f) {
                int covered = 0;
                for (int s = (int)levels_target_start; s < n - (int)levels_target_end; s += 4) {
                    float dx = traverse_data.point[s].x - x, dy = traverse_data.point[s].y - y;
                    covered += dx * dx + dy * dy < reach * reach;
                }
                if (covered > 0 || type >= WEAPON_FIRST_FACTORY)
                    spots.push_back({covered, x, y});
            }
        std::stable_sort(spots.begin(), spots.end(), [type](const Spot &a, const Spot &b) {
            return type >= WEAPON_FIRST_FACTORY ? a.covered < b.covered : a.covered > b.covered;
        });
        return spots;
    }

    // At the first free spot, when there is the money.
    bool Build(RuleWatch &watch, int type)
    {
        const int price = weapons_level_info[type][0].cost;
        if (play_money < price)
            return false;
        if (spots_[type].empty())
            spots_[type] = Spots(type);
        for (const Spot &spot : spots_[type])
            if (WeaponsCanPlaceAt(type, spot.x, spot.y, 0))
                return watch.Spend(price, [&] { return WeaponsCreateNew(type, spot.x, spot.y, 0, 0); });
        return false;
    }

    static bool Upgrade(RuleWatch &watch, Weapon *weapon)
    {
        if (weapon->m_upgrading)
            return false;
        const int price = weapons_level_info[weapon->m_type][weapon->m_level + 1].cost;
        return watch.Spend(price, [&] { return play_money >= price && weapon->StartUpgrade(); });
    }

    int family_, factory_;
    std::vector<Spot> spots_[WEAPON_TYPES];
};

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
        PlayFrame(0.05f);
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

// Seeded games at every difficulty in the gardens whose road the Turret
// reaches.
TEST_F(PlayRunTest, AStrongPlayerClearsTwentyLevelsAndEveryFrameKeepsTheRules)
{
    const struct {
        int garden, difficulty;
        unsigned seed;
    } runs[] = {{0, 0, 2024}, {1, 1, 7}, {3, 2, 99}};
    for (const auto &run : runs) {
        SCOPED_TRACE("garden " + std::to_string(run.garden) + " difficulty " + std::to_string(run.difficulty));
        StartGame(run.garden, run.difficulty, run.seed);
        RuleWatch watch;
        StrongPlayer player(0);
        for (int frame = 0; play_level < 20 && !play_game_over && frame < 100000 && !HasFailure(); frame++) {
            if (frame % 20 == 0)
                player.Act(watch);
            watch.Frame(0.05f);
            if (frame % 500 == 0) {
                DrawFrame();
                D3D9RecordingReset();
            }
        }
        EXPECT_EQ(20, play_level);
        EXPECT_FALSE(play_game_over);
        EXPECT_GT(play_lives, 0);
        EXPECT_GT(watch.Kills(), 0);
        HiveWatcherDestroyGraphics();
        ResetPlayForTest();
        RecordNeighbours();
    }
}

TEST_F(PlayRunTest, APlayerWhoPlacesNothingLosesEveryLifeToTheBugsAndTheAccountsThenStayStill)
{
    for (unsigned seed : {1u, 2024u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        StartGame(0, 0, seed);
        RuleWatch watch;
        for (int frame = 0; !play_game_over && frame < 100000 && !HasFailure(); frame++)
            watch.Frame(0.05f);
        EXPECT_TRUE(play_game_over);
        EXPECT_EQ(0, play_lives);
        EXPECT_EQ(0, watch.Kills());
        // Twenty lives go within the first waves.
        EXPECT_LT(play_level, 5);
        // The game-over scene runs on; its parade changes nothing.
        for (int i = 0; i < 200 && !HasFailure(); i++)
            watch.Frame(0.05f);
        if (HasFailure())
            return;
        HiveWatcherDestroyGraphics();
        ResetPlayForTest();
        RecordNeighbours();
    }
}
