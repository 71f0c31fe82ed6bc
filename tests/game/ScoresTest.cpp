// The local high scores: reading score files (with damaged ones), the sort
// order, adding a game with the thinning of the player's older entries on
// fixed days, the queries, and the question after a game.
#include "game/Scores.h"

#include "engine/core/EngEncryption.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Files.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

_UserInfo player;
_EngMiscDate today;
int shown_garden;
char screen_current;
std::vector<std::string> asked, told;

fs::path ScoreFile(int garden)
{
    return fs::path(std::getenv("XDG_DATA_HOME")) / "Lichenware" / "Hive Watcher" / "Scores" /
           ("LG_" + std::to_string(garden) + ".sco");
}

// One stored entry block, as the fixture files spell it.
struct Block {
    int32_t score;
    int32_t level;
    int year;
    int month;
    int day;
    uint16_t user_id;
    std::string name;     // raw bytes, up to 22
    std::string country;  // raw bytes, up to 68
};

std::string Enciphered(const std::string &plain)
{
    unsigned char *block = EngEncryptionEncrypt(plain.data(), static_cast<unsigned>(plain.size()));
    std::string bytes(reinterpret_cast<char *>(block), plain.size() + ENG_ENCRYPTION_IV_SIZE);
    EngFree(block, 1, "test");
    return bytes;
}

std::string Header(int16_t version, int16_t garden)
{
    std::string plain(20, '\0');
    std::memcpy(&plain[0], &version, 2);
    std::memcpy(&plain[2], &garden, 2);
    return Enciphered(plain);
}

std::string Entry(const Block &b)
{
    std::string plain(116, '\0');
    std::memcpy(&plain[0], &b.score, 4);
    std::memcpy(&plain[4], &b.level, 4);
    std::memcpy(&plain[16], &b.year, 4);
    plain[20] = static_cast<char>(b.month);
    plain[21] = static_cast<char>(b.day);
    std::memcpy(&plain[24], &b.user_id, 2);
    plain.replace(26, b.name.size(), b.name);
    plain.replace(48, b.country.size(), b.country);
    return Enciphered(plain);
}

void WriteScoreFile(int garden, const std::vector<Block> &blocks, int16_t version = 200, int16_t header_garden = -1,
                    const std::string &tail = "")
{
    std::string bytes = Header(version, header_garden < 0 ? (int16_t)garden : header_garden);
    for (const Block &b : blocks)
        bytes += Entry(b);
    fs::create_directories(ScoreFile(garden).parent_path());
    WriteWhole(ScoreFile(garden), bytes + tail);
}

Block Bobs(int score, int year, int month, int day)
{
    return {score, 105, year, month, day, 42, "Bob", "GB"};
}

Block Someone(int score, const std::string &name = "Ann")
{
    return {score, 3, 2026, 3, 1, 7, name, "FR"};
}

std::vector<int> TableScores()
{
    std::vector<int> scores;
    for (int i = 0; i < scores_count; i++)
        scores.push_back(scores_table[i].score);
    return scores;
}

class ScoresTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        ScoresResetForTests();
        PrefFolderResetForTests();
        std::error_code ignored;
        fs::remove_all(ScoreFile(0).parent_path(), ignored);
        PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
        EngEncryptionInit("HiveKey");
        player = _UserInfo{};
        std::snprintf(player.name, sizeof(player.name), "Bob");
        std::snprintf(player.country, sizeof(player.country), "GB");
        player.player_id = 42;
        today = {2026, 3, 20};
        shown_garden = 0;
        screen_current = 1;
        asked.clear();
        told.clear();
        _PlayNeighbours &n = play_neighbours;
        n.player_get_loaded = [] { return (const _UserInfo *)&player; };
        n.scores_screen_get_garden = [] { return shown_garden; };
        n.scores_screen_is_current = [] { return screen_current; };
        n.scores_screen_ask_submit = [](const char *text) { asked.push_back(text); };
        n.popup_message_no_title = [](const char *text) { told.push_back(text); };
        scores_get_today = [](_EngMiscDate *date) { *date = today; };
        levels_difficulty = 1;
        play_level = 4;
    }
    void TearDown() override
    {
        ScoresResetForTests();
        ResetPlayForTest();
        EngEncryptionResetForTests();
    }

    // Finishes a game of that score in the shown garden.
    static void FinishGame(int score)
    {
        play_score = score;
        ScoresRecordFinishedGame();
    }
};

}  // namespace

TEST_F(ScoresTest, ScoreFilesAreReadAndADamagedOneKeepsTheEntriesBeforeTheFault)
{
    std::vector<Block> hundred_and_one;
    for (int i = 0; i < 101; i++)
        hundred_and_one.push_back(Someone(100 + i));
    std::vector<Block> month_zero = {Someone(50), Someone(40)};
    month_zero[1].month = 0;
    const std::string cut(50, 'x');
    struct Case {
        const char *name;
        std::vector<Block> blocks;
        int16_t version;
        int16_t header_garden;
        std::string tail;
        std::vector<int> scores;  // the table after reading (unsorted after a fault)
        const char *log;          // "" when the file stays
    };
    const Case cases[] = {
        {"header only", {}, 200, 0, "", {}, ""},
        {"three entries sorted", {Someone(5), Someone(9), Someone(7)}, 200, 0, "", {9, 7, 5}, ""},
        {"another garden", {Someone(5)}, 200, 1, "", {}, "Score file invalid - deleted"},
        {"version 199", {Someone(5)}, 199, 0, "", {}, "Score file invalid - deleted"},
        {"a cut block", {Someone(5), Someone(9), Someone(7)}, 200, 0, cut, {5, 9, 7},
         "Score file invalid line - deleted"},
        {"month 0", month_zero, 200, 0, "", {50}, "Invalid score entry - deleted"},
        {"day 32", {{5, 3, 2026, 3, 32, 7, "Ann", "FR"}}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"score 0", {{0, 3, 2026, 3, 1, 7, "Ann", "FR"}}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"name of 20", {Someone(5, std::string(20, 'n'))}, 200, 0, "", {5}, ""},
        {"name of 21", {Someone(5, std::string(21, 'n'))}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"unterminated name", {Someone(5, std::string(22, 'n'))}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"empty name", {Someone(5, "")}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"country of 4", {{5, 3, 2026, 3, 1, 7, "Ann", "FRAN"}}, 200, 0, "", {}, "Invalid score entry - deleted"},
        {"unterminated country", {{5, 3, 2026, 3, 1, 7, "Ann", std::string(68, 'c')}}, 200, 0, "", {},
         "Invalid score entry - deleted"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteScoreFile(0, c.blocks, c.version, c.header_garden, c.tail);
        DebugClearLogs();
        ScoresReadCurrentGardenScores();
        EXPECT_EQ(c.scores, TableScores());
        if (!*c.log) {
            EXPECT_TRUE(fs::exists(ScoreFile(0)));
            continue;
        }
        EXPECT_EQ(ErrorLine("ScoresReadCurrentGardenScores", std::string(c.log) + " <" + scores_file_name + ">"),
                  LastStored());
        // The entries read before the fault are the whole file now; without
        // one the file is gone.
        EXPECT_EQ(!c.scores.empty(), fs::exists(ScoreFile(0)));
        if (c.scores.empty())
            continue;
        EXPECT_FALSE(fs::exists(ScoreFile(0).string() + ".tmp"));
        std::vector<int> sorted = c.scores;
        std::sort(sorted.rbegin(), sorted.rend());
        DebugClearLogs();
        ScoresReadCurrentGardenScores();
        EXPECT_EQ(sorted, TableScores());
        EXPECT_EQ(0, DebugGetNumMessages()) << LastStored();
    }

    // Of 101 valid blocks the first 100 are kept.
    WriteScoreFile(0, hundred_and_one);
    ScoresReadCurrentGardenScores();
    ASSERT_EQ(100, scores_count);
    EXPECT_EQ(199, scores_table[0].score);
    EXPECT_EQ(100, scores_table[99].score);
    EXPECT_TRUE(fs::exists(ScoreFile(0)));

    // No file: an empty table and nothing logged.
    fs::remove(ScoreFile(0));
    DebugClearLogs();
    ScoresReadCurrentGardenScores();
    EXPECT_EQ(0, scores_count);
    EXPECT_EQ(0, DebugGetNumMessages());
}

TEST_F(ScoresTest, AScoreFileCutInHalfKeepsItsGoodEntriesForTheNextGame)
{
    for (int score = 100; score <= 800; score += 100)
        FinishGame(score);
    ASSERT_EQ(36u + 8u * 132u, fs::file_size(ScoreFile(0)));
    // The tail lost, say by a disk that filled: three whole entries remain.
    fs::resize_file(ScoreFile(0), fs::file_size(ScoreFile(0)) / 2);

    FinishGame(650);
    EXPECT_TRUE(LogHas("Score file invalid line - deleted <" + std::string(scores_file_name) + ">"));
    EXPECT_EQ((std::vector<int>{800, 700, 650, 600}), TableScores());
    EXPECT_EQ(2, scores_last_added_index);
    ScoresReadCurrentGardenScores();
    EXPECT_EQ((std::vector<int>{800, 700, 650, 600}), TableScores());
}

TEST_F(ScoresTest, AThreeLetterCountryIsKeptWithinItsField)
{
    WriteScoreFile(0, {{5, 3, 2026, 3, 1, 7, "Ann", "FRA"}});
    ScoresReadCurrentGardenScores();
    ASSERT_EQ(1, scores_count);
    EXPECT_EQ(0, std::memcmp(scores_table[0].country, "FRA", 3));
    EXPECT_EQ(0, scores_table[0].second_name[0]);
    // Written back unchanged.
    ASSERT_TRUE(ScoresWriteToFile());
    ScoresReadCurrentGardenScores();
    ASSERT_EQ(1, scores_count);
    EXPECT_EQ(0, std::memcmp(scores_table[0].country, "FRA", 3));
}

TEST_F(ScoresTest, AFailedWriteKeepsThePreviousTable)
{
    WriteScoreFile(0, {Someone(9), Someone(7)});
    const std::string before = ReadWhole(ScoreFile(0));
    ScoresReadCurrentGardenScores();
    ASSERT_EQ(2, scores_count);
    scores_count = 1;
    PlatformSetRenameFunction([](const char *, const char *) { return -1; });
    EXPECT_FALSE(ScoresWriteToFile());
    PlatformSetRenameFunction(nullptr);
    EXPECT_EQ(before, ReadWhole(ScoreFile(0)));
    EXPECT_FALSE(fs::exists(ScoreFile(0).string() + ".tmp"));
    ScoresReadCurrentGardenScores();
    EXPECT_EQ((std::vector<int>{9, 7}), TableScores());

    // A damaged file whose good entries cannot be written back (a full or
    // read-only disk) stays as it is, so they are read again next time.
    WriteScoreFile(0, {Someone(9), Someone(7)}, 200, 0, std::string(50, 'x'));
    const std::string damaged = ReadWhole(ScoreFile(0));
    PlatformSetRenameFunction([](const char *, const char *) { return -1; });
    ScoresReadCurrentGardenScores();
    PlatformSetRenameFunction(nullptr);
    EXPECT_EQ((std::vector<int>{9, 7}), TableScores());
    EXPECT_EQ(damaged, ReadWhole(ScoreFile(0)));
    ScoresReadCurrentGardenScores();
    EXPECT_EQ((std::vector<int>{9, 7}), TableScores());
}

TEST_F(ScoresTest, TheTableSortsByScoreLevelThenGreaterName)
{
    struct Row {
        int score, level;
        const char *name;
    };
    const Row rows[] = {{10, 105, "Amy"}, {30, 101, "Bob"}, {10, 205, "Cat"}, {10, 105, "Zed"},
                        {10, 105, "abe"}, {20, 150, "Dan"}, {10, 105, "Zaa"}};
    const char *const expected[] = {"Bob", "Dan", "Cat", "abe", "Zed", "Zaa", "Amy"};
    scores_count = 0;
    for (const Row &row : rows) {
        _ScoresScore &s = scores_table[scores_count++];
        s = _ScoresScore{};
        s.score = row.score;
        s.level = row.level;
        std::snprintf(s.name, sizeof(s.name), "%s", row.name);
    }
    ScoresSortTable();
    for (int i = 0; i < scores_count; i++)
        EXPECT_STREQ(expected[i], scores_table[i].name) << i;
}

TEST_F(ScoresTest, AddingAGameThinsOutThePlayersOlderEntries)
{
    struct Case {
        const char *name;
        _EngMiscDate today;
        std::vector<Block> file;
        std::vector<int> kept;  // the table's scores after adding a game of 30
    };
    const std::vector<Block> march_on_the_20th = {
        Bobs(300, 2025, 6, 1),  // best of all time
        Bobs(300, 2025, 7, 1),  // equal to it: kept
        Bobs(250, 2025, 8, 1),  // an older year below the best: dropped
        Bobs(200, 2026, 2, 10), // best of this year
        Bobs(150, 2026, 1, 5),  // an earlier month below it: dropped
        Bobs(100, 2026, 3, 1),  // best of this month
        Bobs(50, 2026, 3, 11),  // nine days ago, below the month's best: dropped
        Bobs(40, 2026, 3, 12),  // eight days ago: kept
        {10, 3, 2024, 1, 1, 7, "Ann", "FR"},  // another player's: never dropped
        {20, 3, 2024, 1, 1, 43, "Bob", "GB"}, // another id with the same name
        {15, 3, 2024, 1, 1, 42, "Bob", "US"}, // the same player in another country
    };
    const std::vector<Block> early_march = {Bobs(100, 2026, 3, 1), Bobs(50, 2026, 3, 2), Bobs(60, 2025, 3, 2)};
    const Case cases[] = {
        {"20 March", {2026, 3, 20}, march_on_the_20th, {300, 300, 200, 100, 40, 30, 20, 10}},
        {"8 March: the whole month stays", {2026, 3, 8}, early_march, {100, 50, 30}},
        {"9 March: the 1st still stays", {2026, 3, 9}, {Bobs(100, 2026, 3, 2), Bobs(50, 2026, 3, 1)}, {100, 50, 30}},
        {"10 March: the 1st goes when below the best", {2026, 3, 10}, {Bobs(100, 2026, 3, 2), Bobs(50, 2026, 3, 1)},
         {100, 30}},
        {"an empty garden", {2026, 3, 20}, {}, {30}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        today = c.today;
        WriteScoreFile(0, c.file);
        FinishGame(30);
        ScoresReadCurrentGardenScores();
        EXPECT_EQ(c.kept, TableScores());
    }

    // The new entry: today, the difficulty and level, the player, marked newest.
    const int row = scores_last_added_index;
    ASSERT_EQ(0, row);
    EXPECT_EQ(0, scores_last_added_garden);
    const _ScoresScore &s = scores_table[row];
    EXPECT_EQ(30, s.score);
    EXPECT_EQ(105, s.level);
    EXPECT_EQ(2026, s.date.year);
    EXPECT_EQ(3, s.date.month);
    EXPECT_EQ(20, s.date.day);
    EXPECT_EQ(42, s.user_id);
    EXPECT_STREQ("Bob", s.name);
    EXPECT_STREQ("GB", s.country);
    EXPECT_EQ(SCORES_NEWEST, s.flags[0]);
    EXPECT_EQ(36u + 132u, fs::file_size(ScoreFile(0)));
}

TEST_F(ScoresTest, AFullTableGivesUpItsLowestEntryEvenToALowerScore)
{
    std::vector<Block> full;
    for (int i = 0; i < 100; i++)
        full.push_back(Someone(1000 + i));
    WriteScoreFile(0, full);
    FinishGame(5);
    EXPECT_EQ(100, scores_count);
    EXPECT_EQ(99, scores_last_added_index);
    EXPECT_EQ(5, scores_table[99].score);
    EXPECT_EQ(SCORES_NEWEST, scores_table[99].flags[0]);
    EXPECT_EQ(1001, scores_table[98].score);
    EXPECT_EQ(36u + 100u * 132u, fs::file_size(ScoreFile(0)));
}

TEST_F(ScoresTest, WhatIsRecordedAfterAGame)
{
    // A country beginning with "?" is stored as "US".
    std::snprintf(player.country, sizeof(player.country), "?X");
    FinishGame(70);
    ASSERT_EQ(1, scores_count);
    EXPECT_STREQ("US", scores_table[0].country);

    // The newest mark comes back on every read, and only in memory.
    ScoresReadCurrentGardenScores();
    EXPECT_EQ(SCORES_NEWEST, scores_table[0].flags[0]);
    scores_last_score = _ScoresScore{};
    ScoresReadCurrentGardenScores();
    EXPECT_EQ(0, scores_table[0].flags[0]);

    // No points or no garden: nothing added.
    FinishGame(0);
    ScoresReadCurrentGardenScores();
    EXPECT_EQ(1, scores_count);
    shown_garden = 4;
    DebugClearLogs();
    FinishGame(80);
    EXPECT_FALSE(fs::exists(ScoreFile(4)));
    EXPECT_FALSE(ScoresGetFilename(0));
    EXPECT_TRUE(LogHas("Invalid garden 4"));

    // No player: "User not loaded" without a full stop.
    shown_garden = 0;
    play_neighbours.player_get_loaded = nullptr;
    DebugClearLogs();
    play_score = 90;
    EXPECT_FALSE(ScoresAddGameScore());
    EXPECT_EQ(ErrorLine("ScoresAddGameScore", "User not loaded"), LastStored());
    EXPECT_EQ(nullptr, ScoresGetUsersLastScoreForCurrentGarden());
    EXPECT_EQ(ErrorLine("ScoresGetUsersLastScoreForCurrentGarden", "User not loaded."), LastStored());
}

TEST_F(ScoresTest, QueriesFindThePlayersScoresByNameAndCountry)
{
    WriteScoreFile(0, {
                          Bobs(500, 2025, 5, 5),
                          Bobs(400, 2026, 1, 2),
                          Bobs(300, 2026, 3, 19),
                          {900, 3, 2026, 3, 20, 43, "Bob", "US"},  // another country: not the player's
                          Someone(800),
                      });
    FinishGame(200);
    ASSERT_EQ(6, scores_count);

    struct Case {
        _ScoresRange range;
        int best, best_not_last, subset;
    };
    const Case cases[] = {
        {SR_ALL, 500, 500, 6},
        {SR_YEAR, 400, 400, 5},
        {SR_MONTH, 300, 300, 4},
        {SR_WEEK, 300, 300, 3},
        {SR_DAY, 200, 0, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.range);
        const _ScoresScore *best = ScoresGetUsersBestScoreForCurrentGardenAndRange(c.range);
        ASSERT_NE(nullptr, best);
        EXPECT_EQ(c.best, best->score);
        EXPECT_EQ(c.subset, scores_subset_count);
        const _ScoresScore *other = ScoresGetUsersBestScoreForCurrentGardenNotLastScore(c.range);
        EXPECT_EQ(c.best_not_last, other ? other->score : 0);
    }
    const _ScoresScore *last = ScoresGetUsersLastScoreForCurrentGarden();
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(200, last->score);
    EXPECT_FALSE(ScoresGetSubsetForRange(static_cast<_ScoresRange>(7), 0, 0));
    EXPECT_EQ(nullptr, scores_subset);

    // Deleting takes the player's entries of this country only.
    ScoresDeleteUsersScoresForCurrentGarden();
    ScoresReadCurrentGardenScores();
    EXPECT_EQ((std::vector<int>{900, 800}), TableScores());
}

TEST_F(ScoresTest, TheQuestionAfterAGameNamesTheWidestRangeBeaten)
{
    struct Case {
        const char *name;
        std::vector<Block> file;
        int score;
        const char *range;  // null: the score is no best at all
    };
    const Case cases[] = {
        {"first game", {}, 120, "all time"},
        {"beats only this year", {Bobs(500, 2025, 5, 5), Bobs(100, 2026, 2, 2)}, 120, "yearly"},
        {"beats only today", {Bobs(500, 2026, 3, 20 - 2)}, 120, "daily"},
        {"equal everywhere", {{120, 104, 2026, 3, 20, 42, "Bob", "GB"}}, 120, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteScoreFile(0, c.file);
        asked.clear();
        told.clear();
        FinishGame(c.score);
        ScoresPromptToSubmitLastScore();
        const std::string said = "Bob, you scored 120 and got to level 5.\n\n";
        if (c.range) {
            ASSERT_EQ(1u, asked.size());
            EXPECT_EQ(said + "This is your best " + c.range + " score for this garden.\n\nSubmit this score?",
                      asked[0]);
            EXPECT_TRUE(told.empty());
        } else {
            ASSERT_EQ(1u, told.size());
            EXPECT_EQ(said + "You already have a better score than this one.", told[0]);
            EXPECT_TRUE(asked.empty());
        }
    }

    // Only on the Scores screen.
    screen_current = 0;
    asked.clear();
    told.clear();
    DebugClearLogs();
    ScoresPromptToSubmitLastScore();
    EXPECT_TRUE(asked.empty() && told.empty());
    EXPECT_EQ(1, DebugGetNumMessages());
}
