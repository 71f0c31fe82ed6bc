// The per-user files survive a program killed at any moment: a child process
// saves the player record, the settings, a saved game and a score table over
// and over, each save stamped with a rising generation, and is killed with
// SIGKILL after a random wait. After every kill each file must load through
// its own reader, whole and consistent, and hold the generation seen before
// or a newer one: the old file or the new one, never a torn or lost one.
#include "engine/core/EngMemory.h"
#include "game/SavedGame.h"
#include "game/Scores.h"
#include "modules/UserClass.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/modules/ModulesTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace modules_test;

_UserInfo player;

// What each file held when last read; -1 before the first read.
struct Generations {
    int player = -1, settings = -1, game = -1, scores = -1;
};

class CrashSafetyTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        ResetPlayForTest();
        RecordNeighbours();
        ScoresResetForTests();
        player = _UserInfo{};
        std::snprintf(player.name, sizeof(player.name), "Bob");
        std::snprintf(player.country, sizeof(player.country), "GB");
        player.player_id = 42;
        play_neighbours.player_get_loaded = [] { return (const _UserInfo *)&player; };
        play_neighbours.scores_screen_get_garden = [] { return 0; };
        std::error_code ignored;
        fs::remove_all("Data", ignored);
        fs::create_directories("Data");
        fs::copy_file(fs::path(HW_DATA_DIR) / "1130.dat", "Data/1130.dat");
        levels_garden = 0;
        levels_difficulty = 1;
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
        ResolutionSetDefaults();
        m_user = std::make_unique<UserClass>(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(m_user->CreateNewUser("Bob", "GB", 0));
        ASSERT_TRUE(SaveAll(m_user.get(), 0));
    }
    void TearDown() override
    {
        m_user.reset();
        ScoresResetForTests();
        ResetPlayForTest();
        std::error_code ignored;
        fs::remove_all("Data", ignored);
        ModulesTest::TearDown();
    }

    // The player the child saves, loaded once before any child starts.
    std::unique_ptr<UserClass> m_user;

    // Every file once, each stamped with the generation.
    static bool SaveAll(UserClass *user, int generation)
    {
        user->GetInfo()->options.load_count = generation;
        if (!user->Save(1))
            return false;
        ResolutionGetSettings()->reserved_352 = generation;
        if (!ResolutionSaveSettings())
            return false;
        play_score = generation;
        play_bonus = generation;
        if (!SaveGame(0, 1))
            return false;
        // A full table: the writer is busy with it long enough for kills to
        // land in the middle.
        scores_count = SCORES_MAX;
        for (int i = 0; i < SCORES_MAX; i++) {
            _ScoresScore &entry = scores_table[i];
            entry = _ScoresScore{};
            entry.score = generation + 1;
            entry.level = 100 + i % 50;
            entry.date = {2026, 3, 1};
            entry.user_id = 42;
            std::snprintf(entry.name, sizeof(entry.name), "Bob%d", i);
            std::snprintf(entry.country, sizeof(entry.country), "GB");
        }
        return ScoresWriteToFile();
    }

    // The child: saves from the generation on until killed; it writes a
    // byte to the pipe when the loop starts and after every whole round, and
    // ends with code 3 at a failed save.
    [[noreturn]] void SaveUntilKilled(int ready, int generation)
    {
        alarm(30); // never outlives a parent that died
        const char byte = 1;
        for (;;) {
            if (write(ready, &byte, 1) != 1)
                _exit(2);
            if (!SaveAll(m_user.get(), ++generation))
                _exit(3);
        }
    }

    // Reads every file with the program's readers into `now`; each must
    // load and be no older than in `before`.
    static void CheckFiles(const Generations &before, Generations *now)
    {
        ResolutionSetDefaults();
        ASSERT_TRUE(ResolutionLoadSettings()) << "the settings";
        now->settings = ResolutionGetSettings()->reserved_352;

        // A full load writes the record and the settings back as read.
        UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        char always_load = 0;
        char country[USER_COUNTRY_SIZE] = "";
        ASSERT_TRUE(user.LoadUser("Bob", 0, &always_load, country)) << "the player record";
        now->player = user.GetInfo()->options.load_count;

        play_score = play_bonus = -1;
        ASSERT_TRUE(LoadSavedGame(0, 1)) << "the saved game";
        EXPECT_EQ(play_score, play_bonus) << "a saved game mixed from two saves";
        now->game = play_score;

        ScoresReadCurrentGardenScores();
        ASSERT_EQ(SCORES_MAX, scores_count) << "the score table";
        for (int i = 1; i < scores_count; i++)
            ASSERT_EQ(scores_table[0].score, scores_table[i].score) << "a score table mixed from two saves";
        now->scores = scores_table[0].score - 1;

        EXPECT_GE(now->player, before.player);
        EXPECT_GE(now->settings, before.settings);
        EXPECT_GE(now->game, before.game);
        EXPECT_GE(now->scores, before.scores);
    }
};

} // namespace

TEST_F(CrashSafetyTest, FilesAreOldOrNewWholeAfterAKillAtAnyMoment)
{
    const int rounds = 200;
    // Waits from none to a little more than one round of saving all four,
    // timed here as the machine runs now.
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveAll(m_user.get(), 0));
    const auto round_us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - before).count();
    std::mt19937 random(43);
    std::uniform_int_distribution<long> wait_us(0, round_us * 5 / 4);
    Generations seen;
    CheckFiles(seen, &seen);
    ASSERT_FALSE(HasFailure());
    const Generations first = seen;
    for (int round = 0; round < rounds && !HasFailure(); round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        int ready[2];
        ASSERT_EQ(0, pipe(ready));
        // Each child starts above every generation written so far.
        const int start = (round + 1) * 100000;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            SaveUntilKilled(ready[1], start);
        }
        close(ready[1]);
        char byte = 0;
        bool started = read(ready[0], &byte, 1) == 1;
        // Every fourth child finishes a round first, so that every file
        // moves on even on a slow machine. A child that ended by itself
        // (a failed save) shows in its status below.
        if (started && round % 4 == 0)
            started = read(ready[0], &byte, 1) == 1;
        if (started)
            usleep(static_cast<useconds_t>(wait_us(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        close(ready[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended by itself: a failed save, status " << status;
        Generations now;
        CheckFiles(seen, &now);
        seen = now;
    }
    ASSERT_FALSE(HasFailure());
    // The kills landed among the saves, not only before them.
    EXPECT_GT(seen.player, first.player);
    EXPECT_GT(seen.settings, first.settings);
    EXPECT_GT(seen.game, first.game);
    EXPECT_GT(seen.scores, first.scores);
}
