// The game-won scene: the progress towards the next difficulty, the
// accounting show on a fixed clock (weapons sold, money and lives turned
// into score, one sound per step), and Escape or a click ending it with the
// same final score as the whole show.
#include "game/GameWon.h"

#include "modules/UserClass.h"
#include "tests/game/PlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class GameWonTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        eng_main_program_time = 100.0;
        levels_garden = 0;
        play_level = 49;
    }
    void TearDown() override { ResetPlayForTest(); }

    // Three Turrets with a hole between the second and the third, the money
    // and the lives given, the show started.
    static void WinWith(int money, int lives)
    {
        AddTestWeapon(0, 0.0f, 0.0f);
        AddTestWeapon(0, 0.2f, 0.0f);
        weapons_list[weapons_count++] = nullptr;
        AddTestWeapon(0, 0.4f, 0.0f);
        play_money = money;
        play_lives = lives;
        HiveWatcherAddToScore(0);
        GameWonInit();
        NeighbourLog::Take();
    }

    // Frames of 0.05 s until the step is reached (or 2000 frames); returns
    // the money after each frame in which it changed.
    static std::vector<int> RunUntilStep(int step)
    {
        std::vector<int> money;
        for (int frame = 0; frame < 2000 && gamewon_step != step; frame++) {
            eng_main_program_time = eng_main_program_time + 0.05;
            play_frame_time = 0.05f;
            const int before = play_money;
            GameWonTick(1);
            if (play_money != before)
                money.push_back(play_money);
        }
        return money;
    }

    static long StepSounds()
    {
        std::vector<std::string> calls = NeighbourLog::Take();
        return std::count(calls.begin(), calls.end(), "SoundPlay 25");
    }
};

} // namespace

TEST_F(GameWonTest, WinsCountTowardsTheNextDifficulty)
{
    struct Case {
        const char *what;
        unsigned char unlocked, wins;
        int difficulty;
        unsigned char unlocked_after, wins_after;
        const char *message;
        char flag;
    };
    const Case cases[] = {
        {"first win at NORMAL", 0, 0, 0, 0, 1, "NORMAL DIFFICULTY PROGRESS: 25%", 1},
        {"second", 0, 1, 0, 0, 2, "NORMAL DIFFICULTY PROGRESS: 50%", 1},
        {"third", 0, 2, 0, 0, 3, "NORMAL DIFFICULTY PROGRESS: 75%", 1},
        {"fourth unlocks TOUGH", 0, 3, 0, 1, 0, "TOUGH DIFFICULTY UNLOCKED", 1},
        {"NORMAL with TOUGH unlocked", 1, 0, 0, 1, 0, "", 0},
        {"fourth at TOUGH unlocks EXTREME", 1, 3, 1, 2, 0, "EXTREME DIFFICULTY UNLOCKED", 2},
        {"TOUGH with EXTREME unlocked", 2, 1, 1, 2, 1, "", 0},
        {"EXTREME", 2, 0, 2, 2, 0, "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        _UserGardenProgress progress = {};
        progress.unlocked_difficulty = c.unlocked;
        progress.wins_toward_unlock = c.wins;
        progress.chosen_difficulty = 9;
        gamewon_unlock_message[0] = 0;
        gamewon_unlock_flag = 0;
        GameWonCountProgress(&progress, c.difficulty);
        EXPECT_EQ(c.unlocked_after, progress.unlocked_difficulty);
        EXPECT_EQ(c.wins_after, progress.wins_toward_unlock);
        EXPECT_EQ(c.flag ? c.difficulty : 9, progress.chosen_difficulty);
        EXPECT_STREQ(c.message, gamewon_unlock_message);
        EXPECT_EQ(c.flag, gamewon_unlock_flag);
    }
}

TEST_F(GameWonTest, TheShowSellsCashesInAndCountsTheLives)
{
    WinWith(12345 - 3 * 40, 20);
    const int score_before = play_score;

    RunUntilStep(9);
    // Three Turrets sold for 40 each, a sound after each sale.
    EXPECT_EQ(0, weapons_count);
    EXPECT_EQ(12345, play_money);
    EXPECT_EQ(3, StepSounds());

    // The score drops the 10 per weapon at its next count.
    const int score_unarmed = score_before - 30;
    EXPECT_EQ((std::vector<int>{7345, 2345, 0}), RunUntilStep(13));
    EXPECT_EQ(score_unarmed + 12345, play_score);
    EXPECT_EQ(3, StepSounds());

    RunUntilStep(17);
    EXPECT_EQ(1, play_lives);
    EXPECT_EQ(score_unarmed + 12345 + 19 * 5000, play_score);
    EXPECT_EQ(19, StepSounds());

    RunUntilStep(22);
    EXPECT_EQ("FINAL SCORE: " + std::to_string(play_score), std::string(gamewon_caption));
    // The show waits at its last step.
    RunUntilStep(-1);
    EXPECT_EQ(22, gamewon_step);
    EXPECT_EQ(1, play_game_won);
}

TEST_F(GameWonTest, EscapeDuringTheSaleGivesTheWholeShowsScoreSilently)
{
    WinWith(12345, 20);
    RunUntilStep(22);
    const int whole_show = play_score;
    EXPECT_TRUE(GameWonEnd(1));

    ResetPlayForTest();
    RecordNeighbours();
    levels_garden = 0;
    play_level = 49;
    WinWith(12345, 20);
    RunUntilStep(8);
    // Into the sale: one Turret sold.
    for (int frame = 0; frame < 4; frame++) {
        eng_main_program_time = eng_main_program_time + 0.05;
        GameWonTick(1);
    }
    ASSERT_EQ(8, gamewon_step);
    ASSERT_EQ(nullptr, weapons_list[3]);
    NeighbourLog::Take();
    // A click before the final score is shown is ignored on the PC.
    EXPECT_FALSE(GameWonEnd(1));
    EXPECT_EQ(8, gamewon_step);
    EXPECT_TRUE(GameWonEnd(0));
    EXPECT_EQ(whole_show, play_score);
    EXPECT_EQ(0, play_game_won);
    EXPECT_EQ(0, play_under_way);
    EXPECT_EQ(-1, gamewon_step);
    EXPECT_TRUE(NeighbourLog::Take().empty());
    EXPECT_FALSE(GameWonEnd(0));
}
