// Bugs and waves: a bug's place on the road, hits and slows, the wave
// generator with a seeded generator, target search and the end of a level.
#include "game/Bugs.h"

#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class BugsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        UseStraightRoad(100);
        play_level = 0;
        play_run_state = 0;
    }
    void TearDown() override { ResetPlayForTest(); }

    // One road bug in slot `slot` of a wave of `count`.
    Bug *PutBug(int slot, int count)
    {
        bugs_count = count;
        bugs_table[slot] = new Bug(slot, 0);
        return bugs_table[slot];
    }

    // A targetable bug standing on `step` with the distance and hit points given.
    Bug *PutTarget(int slot, int step, float distance, double hp, int count)
    {
        Bug *bug = PutBug(slot, count);
        bug->m_shown_step = bug->m_step = step;
        bug->m_distance = distance;
        bug->m_hp = hp;
        bug->m_targetable = 1;
        return bug;
    }
};

}  // namespace

TEST_F(BugsTest, PositionFollowsTheDistanceAlongTheRoad)
{
    // N 100, spacing 2, target window 10 < d < 90.
    bugs_spacing = 2.0f;
    levels_target_start = 10.0f;
    levels_target_end = 10.0f;
    bugs_count = 1;
    struct Case {
        float distance;
        int state;
        int on_board;
        int step;
        int targetable;
        int alive;
        int lives_lost;
    };
    const Case cases[] = {
        {-4.0f, BS_WAITING, 0, 0, 0, 1, 0},   {-2.0f, BS_AT_START, 1, 0, 0, 1, 0},
        {-0.5f, BS_AT_START, 1, 0, 0, 1, 0},  {0.0f, BS_ON_ROAD, 1, 0, 0, 1, 0},
        {10.0f, BS_ON_ROAD, 1, 10, 0, 1, 0},  {10.5f, BS_ON_ROAD, 1, 10, 1, 1, 0},
        {89.9f, BS_ON_ROAD, 1, 89, 1, 1, 0},  {90.0f, BS_ON_ROAD, 1, 90, 0, 1, 0},
        {99.9f, BS_ON_ROAD, 1, 99, 0, 1, 0},  {100.0f, BS_AT_END, 1, 99, 0, 0, 1},
        {101.9f, BS_AT_END, 1, 99, 0, 0, 1},  {102.0f, BS_PAST_END, 0, 99, 0, 0, 0},
    };
    for (const Case &c : cases) {
        play_lives = 20;
        Bug bug(0, 0);
        NeighbourLog::Take();
        bug.m_distance = c.distance;
        bug.UpdatePosition();
        SCOPED_TRACE(c.distance);
        EXPECT_EQ(c.state, bug.m_state);
        EXPECT_EQ(c.on_board, bug.m_on_board);
        EXPECT_EQ(c.step, bug.m_step);
        EXPECT_EQ(c.step, bug.m_shown_step);
        EXPECT_EQ(c.targetable, bug.m_targetable);
        EXPECT_EQ(c.alive, bug.m_alive);
        EXPECT_EQ(20 - c.lives_lost, play_lives);
        std::vector<std::string> sounds = c.lives_lost ? std::vector<std::string>{"SoundPlay 23"}
                                                       : std::vector<std::string>{};
        EXPECT_EQ(sounds, NeighbourLog::Take());
    }
}

TEST_F(BugsTest, TheLastLifeLostAtTheEndStartsGameOverWithoutTheEndSound)
{
    play_lives = 1;
    Bug *bug = PutBug(0, 1);
    bug->m_distance = 100.0f;
    bug->UpdatePosition();
    EXPECT_EQ(0, play_lives);
    EXPECT_EQ(1, play_game_over);
    EXPECT_EQ(BUGS_MAX, bugs_count);
    // The scene chooses its music; no bug-at-end sound.
    EXPECT_EQ(std::vector<std::string>{"SoundUpdateMusicForCurrentState"}, NeighbourLog::Take());
}

TEST_F(BugsTest, BugsQueueBehindTheRoadOneSpacingApart)
{
    bugs_spacing = 3.0f;
    bugs_speed = 40.0;
    bugs_hp = 12.5;
    PutBug(0, 3);
    PutBug(2, 3);
    EXPECT_EQ(-9.0f, bugs_table[0]->m_distance);
    EXPECT_EQ(-3.0f, bugs_table[2]->m_distance);
    EXPECT_EQ(BS_WAITING, bugs_table[0]->m_state);
    EXPECT_EQ(BS_AT_START, bugs_table[2]->m_state);
    EXPECT_FLOAT_EQ(-traverse_data.heading[0], bugs_table[0]->m_angle);
    EXPECT_EQ(40.0, bugs_table[0]->m_speed);
    EXPECT_EQ(12.5, bugs_table[0]->m_max_hp);
    EXPECT_EQ(-1, bugs_table[0]->m_reserved_int);

    // A slot beyond the wave is reported and starts at the road's beginning.
    Bug stray(3, 0);
    EXPECT_EQ(0.0f, stray.m_distance);
    EXPECT_EQ(ErrorLine("Bug::Bug", "Internal Error (3,3)"), LastStored());
}

TEST_F(BugsTest, WalkingAdvancesBySpeedStepRateAndFrameTime)
{
    bugs_speed = 50.0;
    Bug *bug = PutBug(0, 1);
    bug->m_distance = 10.0f;
    play_frame_time = 0.05f;
    bug->Update();
    // 50 x 4 steps a second for 0.05 s.
    EXPECT_FLOAT_EQ(20.0f, bug->m_distance);
    EXPECT_EQ(20, bug->m_shown_step);
    EXPECT_FLOAT_EQ(0.05f * 4.0f * 50.0f, bug->m_anim_phase);
    EXPECT_FLOAT_EQ(bug->GetX(), traverse_data.point[20].x);
}

TEST_F(BugsTest, LookAheadStaysOnTheRoad)
{
    bugs_speed = 50.0;
    play_frame_time = 0.01f;
    Bug *bug = PutBug(0, 1);
    traverse_data.point[0] = {-1.3f, 0.5f};

    // Waiting behind the road: the step ahead is negative and is held at 0.
    bug->m_distance = -6.0f;
    bug->UpdatePosition();
    EXPECT_EQ(-1.3f, bug->GetAheadX(1.0f));
    EXPECT_EQ(0.5f, bug->GetAheadY(1.0f));
    // On the road: two steps a frame.
    bug->m_distance = 40.0f;
    bug->UpdatePosition();
    EXPECT_EQ(traverse_data.point[46].x, bug->GetAheadX(3.0f));
    // Past the end: the shown point.
    EXPECT_EQ(bug->GetX(), bug->GetAheadX(100.0f));
}

// A loaded game's dead bug can still be aimed at, and its record may hold any
// finite speed and distance: the step ahead is held on the road, never an
// int out of range.
TEST_F(BugsTest, LookingAheadOfADeadBugWithAnyFiniteRecordStaysOnTheRoad)
{
    play_frame_time = 1.0f / 60.0f;
    traverse_data.point[0] = {-1.3f, 0.5f};
    const struct {
        const char *what;
        float distance;
        double speed;
        bool at_start;
    } cases[] = {
        {"a speed beyond a float's range", 120.0f, 4.56e279, false},
        {"a distance near a float's largest", 3.0e38f, 50.0, false},
        {"a distance near a float's lowest", -3.0e38f, 50.0, true},
        {"a speed far below zero", 120.0f, -1.0e300, true},
    };
    int slot = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Bug *bug = PutBug(slot, slot + 1);
        slot++;
        bug->m_distance = 40.0f;
        bug->UpdatePosition();
        bug->m_alive = 0;
        bug->m_distance = c.distance;
        bug->m_speed = c.speed;
        EXPECT_EQ(c.at_start ? -1.3f : bug->GetX(), bug->GetAheadX(109.0f));
        EXPECT_EQ(c.at_start ? 0.5f : bug->GetY(), bug->GetAheadY(109.0f));
    }
}

TEST_F(BugsTest, ARefusedRoadIsNeverReadOutsideItsTables)
{
    // A garden whose road was refused: no steps, no end step.
    memset(&traverse_data, 0, sizeof(traverse_data));
    traverse_data.step_length = 1.0f;
    traverse_data.point[0] = {0.75f, -0.5f};
    Bug *bug = PutBug(0, 1);
    bug->m_distance = 0.5f;
    bug->UpdatePosition();
    EXPECT_EQ(BS_AT_END, bug->m_state);
    EXPECT_EQ(0.75f, bug->GetX());
    EXPECT_EQ(-0.5f, bug->GetY());
    EXPECT_EQ(0.75f, bug->GetAheadX(2.0f));
}

TEST_F(BugsTest, RunnersEnterFromACircleRoundTheBoardAndLeaveIt)
{
    EngMiscRandSeed(77);
    bugs_speed = 60.0;
    bugs_count = BUGS_MAX;
    Bug runner(0, 1);
    eng_main_program_time = 5.0;
    play_frame_time = 0.5f;
    runner.Update();
    EXPECT_GE(runner.m_angle, 0.0f);
    EXPECT_LT(runner.m_angle, 2.0f * 3.14159265f);
    EXPECT_GE(runner.m_next_turn_time, 5.01);
    EXPECT_LT(runner.m_next_turn_time, 5.2);
    // Placed 1.5 from the centre, then walked 60 x 0.5 x 0.003 towards it.
    EXPECT_NEAR(1.5f - 0.09f, std::hypot(runner.m_x, runner.m_y), 1e-4);

    int frames = 0;
    while (runner.m_alive && frames < 10000) {
        eng_main_program_time = eng_main_program_time + 0.5;
        runner.Update();
        frames++;
        ASSERT_LE(std::max(std::fabs(runner.m_x), std::fabs(runner.m_y)), 2.0f + 0.09f);
    }
    EXPECT_FALSE(runner.m_alive);
    EXPECT_GT(std::max(std::fabs(runner.m_x), std::fabs(runner.m_y)), 2.0f);
}

TEST_F(BugsTest, HitsKillAndPayOnceAndSlowsStopAtTen)
{
    bugs_reward = 7.9;
    bugs_kill_score = 4;
    bugs_hp = 10.0;
    bugs_speed = 12.0;
    Bug *bug = PutBug(0, 1);
    bug->Slow(150.0);
    EXPECT_EQ(10.5, bug->m_speed);
    bug->Slow(500.0);
    EXPECT_EQ(10.0, bug->m_speed);

    bug->Hit(4.0);
    EXPECT_EQ(6.0, bug->m_hp);
    EXPECT_TRUE(bug->m_alive);
    bug->Hit(6.0);
    EXPECT_FALSE(bug->m_alive);
    EXPECT_EQ(0.0, bug->m_hp);
    EXPECT_EQ(507, play_money);
    EXPECT_EQ(4, play_bonus);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 22"}, NeighbourLog::Take());

    // A dead bug takes no more hits or slows.
    bug->Hit(5.0);
    bug->Slow(1.0);
    EXPECT_EQ(507, play_money);
    EXPECT_EQ(10.0, bug->m_speed);
    EXPECT_TRUE(NeighbourLog::Take().empty());
}

TEST_F(BugsTest, AKillDuringGameOverPaysNothing)
{
    bugs_reward = 5.0;
    Bug *bug = PutBug(0, 1);
    play_game_over = 1;
    bug->Hit(1000.0);
    EXPECT_FALSE(bug->m_alive);
    EXPECT_EQ(500, play_money);
}

TEST_F(BugsTest, LevelZeroStrengthMatchesTheWorkedExample)
{
    // Count 8 at speed 52: w = (1 - 4/96) / 2.
    double w = (1.0 - 4.0 / 96.0) * 0.5;
    EXPECT_NEAR(12.43, BugsWaveStrength(0, 0, 8, 52.0, w), 0.005);
    // Without the small-bug bonus (w above 0.5) and at speed 30.
    EXPECT_NEAR(800.0 / 52.0, BugsWaveStrength(0, 0, 52, 30.0, 0.6), 1e-9);
    // Level 40: hit points with exponent 2.15 and the difficulty factor, the
    // reward base with exponent 2.0 and none.
    levels_difficulty_factor = 1.1f;
    EXPECT_NEAR(800800.0 / 52.0, BugsWaveStrength(1, 40, 52, 30.0, 0.6), 1e-6);
    double hp = (double)(float)std::pow(40.0, 2.15) * 500.0 * (double)1.1f + 800.0;
    EXPECT_NEAR(hp / 52.0, BugsWaveStrength(0, 40, 52, 30.0, 0.6), 1e-6);
    // Never below one hit point.
    EXPECT_EQ(1.0, BugsWaveStrength(0, 0, 8, 10000.0, 0.6));
}

TEST_F(BugsTest, HitPointExponentByLevel)
{
    const std::pair<int, double> cases[] = {{0, 2.0}, {39, 2.0}, {40, 2.15}, {49, 2.15}, {50, 2.4}};
    for (const auto &c : cases)
        EXPECT_EQ(c.second, BugsGetHitPointExponent(c.first)) << c.first;
}

TEST_F(BugsTest, EarlyWavesFollowTheirRanges)
{
    levels_garden = 0;
    levels_reward_factor = 0.82f;
    for (unsigned seed = 1; seed <= 200; seed++) {
        EngMiscRandSeed(seed);
        play_level = seed % 10;
        ASSERT_TRUE(BugsInitForNewLevel(0));
        SCOPED_TRACE(seed);
        const int count = bugs_count;
        EXPECT_GE(count, 8);
        EXPECT_LT(count, play_level <= 4 ? 25 : 50);
        EXPECT_GE(bugs_kind, 0);
        EXPECT_LT(bugs_kind, BUGS_KINDS);
        EXPECT_GE(bugs_speed, play_level <= 4 ? 52.0 : 45.0);
        EXPECT_LT(bugs_speed, 60.0);
        double w = (1.0 - (count - 4) / 96.0) * 0.5;
        EXPECT_EQ((float)(w * 0.04999999701976776 + 0.07000000029802322), bugs_size);
        EXPECT_FLOAT_EQ(bugs_size * 0.6f, bugs_hit_radius);
        // Spacing: 0.8 to 2.5 bug sizes, in road steps.
        EXPECT_GE(bugs_spacing, 0.8f * bugs_size / 0.01f - 1e-3f);
        EXPECT_LT(bugs_spacing, 2.5f * bugs_size / 0.01f);
        EXPECT_DOUBLE_EQ(BugsWaveStrength(0, play_level, count, bugs_speed, w), bugs_hp);
        double reward =
            EngMathRoundDoubleToInt(std::pow(BugsWaveStrength(1, play_level, count, bugs_speed, w), 0.58) * 3.0) *
            (double)0.82f;
        EXPECT_DOUBLE_EQ(std::max(1.0, reward), bugs_reward);
        EXPECT_EQ(EngMathRoundDoubleToInt(bugs_reward * bugs_speed / 30.0 * 0.1), bugs_kill_score);
        EXPECT_EQ(0, bugs_last_boss_level);
        // The wave queues behind the road, slot 0 farthest back.
        for (int i = 0; i < count; i++)
            ASSERT_FLOAT_EQ((count - i) * -bugs_spacing, bugs_table[i]->m_distance);
        for (int i = count; i < BUGS_MAX; i++)
            ASSERT_EQ(nullptr, bugs_table[i]);
    }
}

TEST_F(BugsTest, BossWavesComeTenLevelsApartOrByChance)
{
    levels_reward_factor = 0.9f;
    const int multiplier[4] = {0, 9, 6, 3};
    int chance_bosses = 0, seen_one_bug = 0;
    const unsigned seeds = 2000;
    for (unsigned seed = 1; seed <= seeds; seed++) {
        // Ten levels after the last boss (level 0 at a new game): certain.
        EngMiscRandSeed(seed);
        bugs_last_boss_level = 0;
        play_level = 10;
        BugsInitForNewLevel(0);
        ASSERT_GE(bugs_count, 1);
        ASSERT_LE(bugs_count, 3);
        ASSERT_EQ(10, bugs_last_boss_level);
        double h = 1.0 - (bugs_count - 4) / 96.0;
        ASSERT_EQ((float)(h * 0.04999999701976776 + 0.07000000029802322), bugs_size);
        ASSERT_GE(bugs_speed, 30.0);
        double base = BugsWaveStrength(1, 10, bugs_count, bugs_speed, h);
        ASSERT_DOUBLE_EQ(EngMathRoundDoubleToInt(std::pow(base, 0.58) * 3.0) * (double)0.9f * multiplier[bugs_count],
                         bugs_reward);
        seen_one_bug += bugs_count == 1;

        // The level after: a boss only by the one-in-ten chance.
        play_level = 11;
        BugsInitForNewLevel(0);
        if (bugs_last_boss_level == 11) {
            chance_bosses++;
            ASSERT_LE(bugs_count, 3);
        } else {
            ASSERT_GE(bugs_count, 8);
            ASSERT_LT(bugs_count, 100);
            ASSERT_GE(bugs_speed, bugs_count >= 52 ? 45.0 : 30.0);
        }
    }
    EXPECT_GT(seen_one_bug, 0);
    EXPECT_GT(chance_bosses, (int)seeds / 20);
    EXPECT_LT(chance_bosses, (int)seeds * 3 / 20);

    // A one-bug boss is about 0.12 board units across in half-size terms.
    BugsSetSize((float)((1.0 + 3.0 / 96.0) * 0.04999999701976776 + 0.07000000029802322));
    EXPECT_NEAR(0.1216, bugs_size, 0.0001);
}

TEST_F(BugsTest, EveryWaveStaysWithinTheBoundsASavedGameIsCheckedAgainst)
{
    double most_hp = 0.0, most_reward = 0.0;
    for (int garden = 0; garden < 4; garden++)
        for (int difficulty = 0; difficulty < 3; difficulty++)
            for (int level = 0; level < 50; level++)
                for (unsigned seed = 1; seed <= 6; seed++) {
                    levels_garden = (int16_t)garden;
                    levels_difficulty = (int16_t)difficulty;
                    ASSERT_TRUE(LevelsInitForNewLevel());
                    EngMiscRandSeed(seed);
                    play_level = level;
                    // Odd seeds force a boss wave, whose few bugs are the strongest.
                    bugs_last_boss_level = seed % 2 ? level - 10 : level;
                    ASSERT_TRUE(BugsInitForNewLevel(0));
                    ASSERT_GE(bugs_speed, BUGS_SPEED_SLOWEST);
                    ASSERT_LE(bugs_speed, BUGS_SPEED_FASTEST);
                    ASSERT_GE(bugs_hp, 1.0);
                    ASSERT_LE(bugs_hp, BUGS_HP_MOST);
                    ASSERT_GE(bugs_reward, 1.0);
                    ASSERT_LE(bugs_reward, BUGS_REWARD_MOST);
                    most_hp = std::max(most_hp, bugs_hp);
                    most_reward = std::max(most_reward, bugs_reward);
                }
    // The bounds are near what the play makes, not far above it.
    EXPECT_GT(most_hp, BUGS_HP_MOST / 4);
    EXPECT_GT(most_reward, BUGS_REWARD_MOST / 2);
}

TEST_F(BugsTest, RestoringLeavesTheTableEmpty)
{
    PutBug(0, 1);
    EXPECT_TRUE(BugsInitForNewLevel(1));
    EXPECT_EQ(0, bugs_count);
    EXPECT_EQ(nullptr, bugs_table[0]);
}

TEST_F(BugsTest, TargetModesPreferTheLowestSlotOnTies)
{
    bugs_size = 0.0f;
    // Slots 1 and 2 tie on everything, as do 0 and 4; slot 3 is not targetable.
    PutTarget(0, 50, 50.5f, 30.0, 5);
    PutTarget(1, 60, 60.2f, 50.0, 5);
    PutTarget(2, 60, 60.2f, 50.0, 5);
    PutTarget(3, 70, 70.0f, 90.0, 5)->m_targetable = 0;
    PutTarget(4, 50, 50.5f, 30.0, 5);
    const float x = traverse_data.point[59].x, y = 0.25f;
    const std::pair<int, int> cases[] = {
        {BTM_FRONT, 1}, {BTM_BACK, 0}, {BTM_STRONG, 1}, {BTM_WEAK, 0}, {BTM_NEAR, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.second, BugsFindTarget(x, y, 1.0f, c.first)) << "mode " << c.first;

    // Only slot 1 and 2 within 0.05 of step 59.
    EXPECT_EQ(1, BugsFindTarget(x, y, 0.05f, BTM_BACK));
    EXPECT_EQ(-1, BugsFindTarget(x, 0.9f, 0.05f, BTM_FRONT));
    bugs_count = 0;
    EXPECT_EQ(-1, BugsFindTarget(x, y, 1.0f, BTM_FRONT));
}

TEST_F(BugsTest, TheBugSizeIsTakenFromTheSquaredDistance)
{
    bugs_size = 0.05f;
    PutTarget(0, 60, 60.0f, 10.0, 1);
    const float bx = traverse_data.point[60].x;
    // 0.2 away: 0.04 - 0.05 is below a range of 0.
    EXPECT_EQ(0, BugsFindTarget(bx - 0.2f, 0.25f, 0.0f, BTM_NEAR));
    // 0.3 away: 0.09 - 0.05 is above 0.1 squared.
    EXPECT_EQ(-1, BugsFindTarget(bx - 0.3f, 0.25f, 0.1f, BTM_NEAR));
}

TEST_F(BugsTest, ALevelEndsOnTheSecondEmptyFrame)
{
    levels_garden = 0;
    play_money = 200;
    bugs_spacing = 3.0f;
    Bug *bug = PutBug(0, 1);
    bug->m_distance = 99.5f;
    play_frame_time = 0.01f;
    bugs_speed = 50.0;
    bug->m_speed = 50.0;

    BugsUpdate();  // the bug reaches the end and is removed
    EXPECT_EQ(nullptr, bugs_table[0]);
    EXPECT_EQ(19, play_lives);
    BugsUpdate();  // first empty frame
    EXPECT_EQ(0, play_level);
    NeighbourLog::Take();

    // Paused, the level does not end.
    play_run_state = 1;
    BugsUpdate();
    EXPECT_EQ(0, play_level);
    play_run_state = 0;

    BugsUpdate();  // second empty frame
    EXPECT_EQ(1, play_level);
    EXPECT_EQ(200 + 50 * 2, play_money);
    EXPECT_GE(bugs_count, 8);
    EXPECT_EQ("LEVEL  2", std::string(levels_banner_text));
    EXPECT_EQ((std::vector<std::string>{"SoundPlay 24", "PlayerSetTutorialHints 0"}), NeighbourLog::Take());
}

TEST_F(BugsTest, ClearingTheFiftiethLevelWinsTheGame)
{
    play_level = 49;
    play_money = 10;
    BugsUpdate();
    BugsUpdate();
    EXPECT_EQ(49, play_level);
    EXPECT_EQ(10, play_money);
    EXPECT_EQ(0, bugs_count);
    EXPECT_EQ(1, play_game_won);
    EXPECT_EQ(0, gamewon_step);
    // The scene chooses its music; no level-complete sound.
    EXPECT_EQ(std::vector<std::string>{"SoundUpdateMusicForCurrentState"}, NeighbourLog::Take());
}
