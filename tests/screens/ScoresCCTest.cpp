// The Scores screen: its cell texts, the checks of a list's entries, the
// FindMe jump, the screen on a started game with local score files and a
// world list read from its cache file, the highlight of a finished game,
// and the Update button's download states.
#include "screens/ScoresCC.h"

#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindowInput.h"
#include "game/Levels.h"
#include "game/Scores.h"
#include "game/ScoresWorld.h"
#include "gui/MWinTabPanel.h"
#include "modules/ScoresMain.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Time.h"
#include "tests/fixtures/LoopbackServer.h"
#include "tests/screens/ScreenGameTest.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kKeyS = 'S';

using namespace screens_test;

_ScoresScore Entry(int score, const char *name, int year = 2015, int month = 3, int day = 7, int level = 5)
{
    _ScoresScore entry = {};
    entry.score = score;
    entry.level = level;
    entry.date.year = year;
    entry.date.month = static_cast<uint8_t>(month);
    entry.date.day = static_cast<uint8_t>(day);
    std::strncpy(entry.name, name, sizeof(entry.name));
    std::memcpy(entry.country, "FR", 3);
    entry.user_id = 7;
    entry.platform = 'W';
    return entry;
}

std::string Cell(_ScoresColumn role, const _ScoresScore &entry, char online, char day_first, int index = 0)
{
    char text[SCORES_SCREEN_TEXT_SIZE];
    return ScoresCC_FormatCell(text, sizeof(text), role, index, entry, online, day_first, SCORES_SCREEN_NAME_WIDTH);
}

TEST(ScoresCellText, DatesLevelsNamesAndNumbers)
{
    const std::string n21(21, 'a'), n22(22, 'b'), n23(23, 'c'), n30(30, 'd');
    _ScoresScore unterminated = Entry(1, "");
    std::memset(unterminated.name, 'e', sizeof(unterminated.name));
    struct Case {
        const char *what;
        _ScoresColumn role;
        _ScoresScore entry;
        char online, day_first;
        std::string text;
    } cases[] = {
        {"local date, day first", SCC_DATE, Entry(1, "A", 2015, 3, 7), 0, 1, "07/03/15"},
        {"local date, month first", SCC_DATE, Entry(1, "A", 2015, 3, 7), 0, 0, "03/07/15"},
        {"online date, day first", SCC_DATE, Entry(1, "A", 2015, 3, 7), 1, 1, "07/03"},
        {"online date, month first", SCC_DATE, Entry(1, "A", 2015, 3, 7), 1, 0, "03/07"},
        {"a year before 2000 in full", SCC_DATE, Entry(1, "A", 1999, 3, 7), 0, 1, "07/03/1999"},
        {"a year from 3000 in full", SCC_DATE, Entry(1, "A", 3001, 12, 31), 0, 0, "12/31/3001"},
        {"extreme level", SCC_LEVEL, Entry(1, "A", 2015, 3, 7, 237), 0, 0, "37X"},
        {"tough level", SCC_LEVEL, Entry(1, "A", 2015, 3, 7, 137), 0, 0, "37T"},
        {"normal level", SCC_LEVEL, Entry(1, "A", 2015, 3, 7, 37), 0, 0, "37"},
        {"tough level 0", SCC_LEVEL, Entry(1, "A", 2015, 3, 7, 100), 0, 0, "0T"},
        {"a level beyond the difficulties", SCC_LEVEL, Entry(1, "A", 2015, 3, 7, 300), 0, 0, "300"},
        {"name of 21", SCC_NAME, Entry(1, n21.c_str()), 0, 0, n21},
        {"name of 22 loses its last character", SCC_NAME, Entry(1, n22.c_str()), 0, 0, n22.substr(0, 21)},
        {"name of 23", SCC_NAME, Entry(1, n23.c_str()), 0, 0, n23.substr(0, 19) + "..."},
        {"name of 30", SCC_NAME, Entry(1, n30.c_str()), 0, 0, n30.substr(0, 19) + "..."},
        {"name filling its field unterminated", SCC_NAME, unterminated, 1, 0, std::string(19, 'e') + "..."},
        {"score", SCC_SCORE, Entry(123456, "A"), 0, 0, "123456"},
        {"country is drawn", SCC_COUNTRY, Entry(1, "A"), 1, 0, ""},
        {"device is drawn", SCC_DEVICE, Entry(1, "A"), 1, 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Cell(c.role, c.entry, c.online, c.day_first), c.text) << c.what;
    EXPECT_EQ(Cell(SCC_POS, Entry(1, "A"), 0, 0, 41), "42.");
    // A short width shows the name as it is.
    char text[8];
    EXPECT_STREQ(ScoresCC_FormatCell(text, sizeof(text), SCC_NAME, 0, Entry(1, "Abcdef"), 0, 0, 4), "Abcdef");
    // The buffer bounds the text.
    EXPECT_STREQ(ScoresCC_FormatCell(text, 4, SCC_SCORE, 0, Entry(123456, "A"), 0, 0, 22), "123");
}

TEST(ScoresEntryValidity, EachFaultIsNamedWithItsIndex)
{
    struct Case {
        const char *what;
        _ScoresScore entry;
        const char *log; // null: valid
    } cases[] = {
        {"valid", Entry(5, "Ann"), nullptr},
        {"year 1899", Entry(5, "Ann", 1899, 3, 7), "3: Bad date [7/3/1899]"},
        {"month 0", Entry(5, "Ann", 2015, 0, 7), "3: Bad date [7/0/2015]"},
        {"month 13", Entry(5, "Ann", 2015, 13, 7), "3: Bad date [7/13/2015]"},
        {"day 0", Entry(5, "Ann", 2015, 3, 0), "3: Bad date [0/3/2015]"},
        {"day 32", Entry(5, "Ann", 2015, 3, 32), "3: Bad date [32/3/2015]"},
        {"no name", Entry(5, ""), "3: No user name."},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ScoresCC_IsScoreEntryValid(3, &c.entry), c.log == nullptr) << c.what;
        if (c.log) {
            EXPECT_EQ(LastStored(), ErrorLine("ScoresCC_IsScoreEntryValid", c.log)) << c.what;
        }
    }
    EXPECT_EQ(ScoresCC_IsScoreEntryValid(9, nullptr), 0);
    EXPECT_EQ(LastStored(), ErrorLine("ScoresCC_IsScoreEntryValid", "9: No score."));
}

TEST(ScoresFindMe, TheRowComesToTheMiddleOfThePage)
{
    struct Case {
        int first, row, rows, expected;
    } cases[] = {
        {0, 40, 100, 33},  // below the page
        {0, 98, 100, 86},  // below, held at rows - 15 + 1
        {0, 14, 100, 0},   // the page's last row stays
        {0, 15, 100, 8},   // one past the page
        {50, 50, 100, 50}, // the page's first row stays
        {50, 10, 100, 3},  // above the page
        {50, 3, 100, 0},   // above, held at 0
        {0, 10, 12, 0},    // a short list keeps its top
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScoresCC_FindMeFirstRow(c.first, c.row, SCORES_SCREEN_PAGE_ROWS, c.rows), c.expected)
            << c.first << " " << c.row << " " << c.rows;
}

// The system clock, as far ahead as the test moved it.
std::atomic<int64_t> clock_ahead_ns{0};
int64_t ClockAhead()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec + clock_ahead_ns;
}

class ScoresScreenTest : public ScreenGameTest {
protected:
    void SetUp() override
    {
        ScreenGameTest::SetUp();
        ScoresResetForTests();
        scores_get_today = [](_EngMiscDate *date) { *date = {2026, 3, 20}; };
        // The world list schedules its looks on the system clock, which the
        // test moves on.
        clock_ahead_ns = 0;
        PlatformSetClockHooks(ClockAhead, nullptr);
        EngMainUpdateProgramTime();
        // Submissions and downloads meet a port that nothing listens on.
        refused = "http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort());
        EngServersSetScoreServerAddressForTests(refused.c_str());
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        Me().player_id = 7;
        Options().date_format = 1;
        levels_garden = -1;
        scores = dynamic_cast<ScoresCC *>(Screens()->GetController(HWS_SCORES));
        ASSERT_NE(scores, nullptr);
    }

    void TearDown() override
    {
        levels_garden = -1;
        ScoresResetForTests();
        ScoresMain::SetReadTimeoutForTests(0);
        EngServersSetScoreServerAddressForTests(nullptr);
        ScreenGameTest::TearDown();
        PlatformSetClockHooks(nullptr, nullptr);
    }

    _UserInfo &Me() { return *game->GetUserInfo(); }
    _UserOptions &Options() { return Me().options; }
    MWinTabPanel *Table() { return static_cast<MWinTabPanel *>(scores->Control(SCB_SCORES)); }

    // A game of the garden finished with the score; the Scores screen
    // follows it.
    void FinishGame(int garden, int difficulty, int level, int score)
    {
        levels_garden = garden;
        levels_difficulty = difficulty;
        play_level = level;
        play_score = score;
        game->CloseMenusAndPlay();
        GameGotoScoresAfterGame();
    }

    _ScoresScore Mine(int score)
    {
        _ScoresScore entry = Entry(score, "Ann", 2026, 3, 20);
        std::memcpy(entry.country, "GB", 3);
        entry.platform = 0;
        return entry;
    }

    // The local score file of a garden with these entries.
    void WriteLocalScores(int garden, const std::vector<_ScoresScore> &entries)
    {
        game_neighbours_garden = garden;
        play_neighbours.scores_screen_get_garden = [] { return game_neighbours_garden; };
        scores_count = 0;
        for (const _ScoresScore &entry : entries)
            scores_table[scores_count++] = entry;
        ASSERT_EQ(ScoresWriteToFile(), 1);
        play_neighbours.scores_screen_get_garden = nullptr;
    }

    void Open()
    {
        Screens()->GotoScreen(HW_SCREEN_STAT, nullptr);
        ASSERT_EQ(Current(), HW_SCREEN_STAT);
    }

    void Tick(double seconds)
    {
        eng_main_program_time = eng_main_program_time + seconds;
        scores->TickCB();
    }

    // The world list of the shown garden and the player's range as a download
    // leaves it in its cache file, taken up by the screen's ticks as the main
    // loop runs them.
    void LoadWorld(const std::vector<_ScoresScore> &entries)
    {
        const char letters[] = "AYMWD";
        std::string name = std::string(PrefFolderGetSubFolder("Scores", 1)) + "/Scores_55_" +
                           std::to_string(1000 + scores->GetShownGarden()) + "_" + letters[Options().scores_range] +
                           ".sco";
        std::replace(name.begin(), name.end(), '\\', '/');
        std::string cache(22, '\0');
        _EngMiscDateAndTime now = {};
        EngMiscGetCurrentDateAndTime(&now);
        const uint16_t version = 150;
        const int32_t count = static_cast<int32_t>(entries.size());
        std::memcpy(&cache[0], &version, 2);
        std::memcpy(&cache[2], &now.date.year, 4);
        cache[6] = static_cast<char>(now.date.month);
        cache[7] = static_cast<char>(now.date.day);
        std::memcpy(&cache[10], &now.hour, 4);
        cache[14] = static_cast<char>(now.minute);
        cache[15] = static_cast<char>(now.second);
        std::memcpy(&cache[18], &count, 4);
        cache.append(reinterpret_cast<const char *>(entries.data()), entries.size() * sizeof(_ScoresScore));
        std::ofstream(name, std::ios::binary) << cache;
        // The first look after the list is set up only schedules the next,
        // a moment later on the real clock.
        for (int i = 0; i < 10 && ScoresWorldGetNumScores() != count; i++) {
            clock_ahead_ns += 150000000;
            eng_main_program_time = std::max<double>(eng_main_program_time, EngMainGetTime()) + 0.01;
            scores->TickCB();
        }
        ASSERT_EQ(ScoresWorldGetNumScores(), count);
    }

    std::vector<std::string> Row(int row)
    {
        std::vector<std::string> cells;
        for (int column = 0; column < scores->GetColumnCount(); column++)
            cells.push_back(scores->GetCellText(row, column));
        return cells;
    }

    static inline int game_neighbours_garden = 0;
    ScoresCC *scores = nullptr;
    std::string refused;
};

TEST_F(ScoresScreenTest, ShowsTheGardenJustPlayedOrTheLastOneShown)
{
    WriteLocalScores(2, {Mine(300), Entry(200, "Bob", 2026, 3, 19)});
    Options().scores_online = 0;
    Options().scores_garden = 1;
    levels_garden = 2;
    Open();
    EXPECT_EQ(scores->GetShownGarden(), 2);
    EXPECT_EQ(Options().scores_garden, 2);
    EXPECT_STREQ(scores->Control(SCB_HEADING)->GetTextP(), "GARDEN 3 HIGH SCORES");
    EXPECT_EQ(scores->GetNumRows(), 2);
    EXPECT_EQ(Row(-1), (std::vector<std::string>{"Pos", "Name", "Country", "Date", "Level", "Score"}));
    EXPECT_EQ(Row(0), (std::vector<std::string>{"1.", "Ann", "", "20/03/26", "5", "300"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"2.", "Bob", "", "19/03/26", "5", "200"}));

    // From the title menu, with no garden in play, the last one shown.
    levels_garden = -1;
    Options().scores_garden = 1;
    Open();
    EXPECT_EQ(scores->GetShownGarden(), 1);
    EXPECT_EQ(scores->GetNumRows(), 0);
    // A garden button shows that garden.
    Press(scores, scores->Control(SCB_LEVEL2));
    EXPECT_EQ(scores->GetShownGarden(), 2);
    EXPECT_EQ(scores->GetNumRows(), 2);
    EXPECT_STREQ(scores->Control(SCB_HEADING)->GetTextP(), "GARDEN 3 HIGH SCORES");
}

TEST_F(ScoresScreenTest, TheViewDecidesTheColumnsAndButtons)
{
    struct Case {
        unsigned char online;
        int columns;
        int device_column;
        char update, reset;
    } cases[] = {{0, 6, -1, 0, 1}, {1, 7, 5, 1, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.online));
        Options().scores_online = c.online;
        Open();
        EXPECT_EQ(scores->GetColumnCount(), c.columns);
        EXPECT_EQ(scores->GetColumnOf(SCC_DEVICE), c.device_column);
        EXPECT_EQ(scores->Control(SCB_UPDATE)->IsEnabled(), c.update);
        EXPECT_EQ(scores->Control(SCB_RESET)->IsEnabled(), c.reset);
        EXPECT_EQ(scores->Control(SCB_FINDME)->IsEnabled(), 0);
        EXPECT_FALSE(scores->Control(SCB_INFO)->IsShown());
        EXPECT_FALSE(scores->Control(SCB_DBG_DELETE)->IsShown());
    }
    // Switching the view by its choice.
    scores->Control(SCB_WHICH)->ChoiceSetSel(0, 0);
    Press(scores, scores->Control(SCB_WHICH));
    EXPECT_EQ(Options().scores_online, 0);
    EXPECT_EQ(scores->GetColumnCount(), 6);
    EXPECT_EQ(scores->Control(SCB_UPDATE)->IsEnabled(), 0);
}

TEST_F(ScoresScreenTest, ARangeOutsideTheFourBecomesTheYear)
{
    WriteLocalScores(0, {Mine(300), Entry(200, "Bob", 2025, 12, 30)});
    Options().scores_online = 0;
    for (unsigned char stored : {0, 7}) {
        Options().scores_range = stored;
        Open();
        EXPECT_EQ(Options().scores_range, SR_YEAR) << int(stored);
        EXPECT_EQ(scores->Control(SCB_RANGE)->ChoiceGetSel(), 0);
        // Last year's entry is not this year's.
        EXPECT_EQ(scores->GetNumRows(), 1);
    }
    // The Range choice narrows the table.
    WriteLocalScores(0, {Mine(300), Entry(200, "Bob", 2026, 3, 2)});
    Open();
    EXPECT_EQ(scores->GetNumRows(), 2);
    scores->Control(SCB_RANGE)->ChoiceSetSel(3, 0);
    Press(scores, scores->Control(SCB_RANGE));
    EXPECT_EQ(Options().scores_range, SR_DAY);
    EXPECT_EQ(scores->GetNumRows(), 1);
}

TEST_F(ScoresScreenTest, EveryStartClearsTheListFlag)
{
    for (int start = 0; start < 2; start++) {
        Options().scores_list_flag = 1;
        Open();
        EXPECT_EQ(Options().scores_list_flag, 0) << start;
    }
}

TEST_F(ScoresScreenTest, OneBadEntryIsShownTwoEmptyTheTable)
{
    Options().scores_online = 1;
    std::vector<_ScoresScore> world = {Entry(900, "Cy"), Entry(800, "", 2015, 3, 7), Entry(700, "Di")};
    Open();
    LoadWorld(world);
    EXPECT_EQ(scores->GetNumRows(), 3);
    EXPECT_TRUE(LogHas(ErrorLine("ScoresCC::SetupList", "1 bad scores.")));
    EXPECT_TRUE(LogHas("1: No user name."));
    EXPECT_EQ(Row(0), (std::vector<std::string>{"1.", "Cy", "07/03", "", "5", "", "900"}));

    world[2].date.month = 0;
    Press(scores, scores->Control(SCB_LEVEL0));
    LoadWorld(world);
    EXPECT_EQ(scores->GetNumRows(), 0);
    EXPECT_TRUE(LogHas(ErrorLine("ScoresCC::SetupList", "2 bad scores.")));
    EXPECT_EQ(Row(0), (std::vector<std::string>{"", "", "", "", "", "", ""}));
}

TEST_F(ScoresScreenTest, FindMeBringsThePlayersWorldEntryOntoThePage)
{
    Options().scores_online = 1;
    std::vector<_ScoresScore> world;
    for (int i = 0; i < 99; i++)
        world.push_back(Entry(1000 - i, ("P" + std::to_string(i)).c_str()));
    world[40] = Mine(960);
    Open();
    EXPECT_EQ(scores->Control(SCB_FINDME)->IsEnabled(), 0);
    // A list that arrives jumps to the player's entry.
    LoadWorld(world);
    EXPECT_EQ(scores->GetPlayersRow(), 40);
    EXPECT_EQ(scores->Control(SCB_FINDME)->IsEnabled(), 1);
    EXPECT_EQ(scores->GetFirstRow(), 33);
    EXPECT_EQ(Table()->GetFirstVisibleRow(), 33);
    EXPECT_TRUE(Table()->IsRowSelected(40));
    // Scrolled away, FindMe brings it back.
    Table()->SetFirstVisibleRow(0);
    Press(scores, scores->Control(SCB_FINDME));
    EXPECT_EQ(scores->GetFirstRow(), 33);
    EXPECT_TRUE(Table()->IsRowSelected(40));

    world[40] = Entry(960, "P40");
    world[97] = Mine(903);
    Press(scores, scores->Control(SCB_LEVEL0));
    LoadWorld(world);
    EXPECT_EQ(scores->GetPlayersRow(), 97);
    // One row past the end is allowed; the table itself stops at its last page.
    EXPECT_EQ(scores->GetFirstRow(), 85);
    EXPECT_EQ(Table()->GetFirstVisibleRow(), 84);
    EXPECT_TRUE(Table()->IsRowSelected(97));
}

TEST_F(ScoresScreenTest, SubmitIsOfferedForThePlayersOwnLocalScore)
{
    Options().scores_online = 0;
    WriteLocalScores(0, {Entry(500, "Bob", 2026, 3, 20)});
    Open();
    EXPECT_EQ(scores->GetPlayersLocalIndex(), -1);
    EXPECT_EQ(scores->Control(SCB_SUBMIT)->IsEnabled(), 0);
    WriteLocalScores(0, {Entry(500, "Bob", 2026, 3, 20), Mine(400)});
    Open();
    EXPECT_EQ(scores->GetPlayersLocalIndex(), 1);
    EXPECT_EQ(scores->Control(SCB_SUBMIT)->IsEnabled(), 1);
    // The player's best goes out; the server cannot be reached.
    Press(scores, scores->Control(SCB_SUBMIT));
    EXPECT_TRUE(LogHas(ErrorLine("ScoresCallSubmitScore", "Problem submitting score [-3].")));
    EXPECT_TRUE(Table()->IsShown());
    EXPECT_EQ(scores->IsRefreshPending(), 1);
}

TEST_F(ScoresScreenTest, ResetDeletesThePlayersScoresAfterTheQuestion)
{
    Options().scores_online = 0;
    WriteLocalScores(0, {Entry(500, "Bob", 2026, 3, 20), Mine(400)});
    Open();
    Press(scores, scores->Control(SCB_RESET));
    ASSERT_TRUE(Answer(2));
    EXPECT_EQ(scores->GetNumRows(), 2);
    Press(scores, scores->Control(SCB_RESET));
    ASSERT_TRUE(Answer(1));
    EXPECT_EQ(scores->GetNumRows(), 1);
    EXPECT_EQ(Row(0)[1], "Bob");
}

// A player whose locale names no country ("??") has the scores stored under
// "US"; the screen knows them for the player's own all the same: Submit is
// offered, FindMe finds the world entry and Reset deletes them.
TEST_F(ScoresScreenTest, APlayerOfAnUnknownCountryKnowsTheirOwnScores)
{
    struct Case {
        const char *country;
        const char *stored;
    };
    const Case cases[] = {{"GB", "GB"}, {"??", "US"}, {"?", "US"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.country);
        EngSafeStrcpy(Me().country, c.country, sizeof(Me().country));
        Options().scores_online = 0;
        WriteLocalScores(0, {Entry(900, "Bob", 2026, 3, 20)});
        FinishGame(0, 0, 6, 500);
        play_score = 0;
        ASSERT_EQ(Current(), HW_SCREEN_STAT);
        // The question after the game, left unanswered.
        ASSERT_TRUE(Answer(0));
        ASSERT_EQ(scores->GetNumRows(), 2);
        EXPECT_STREQ(scores_last_score.country, c.stored);
        EXPECT_EQ(scores->GetPlayersLocalIndex(), 1);
        EXPECT_EQ(scores->Control(SCB_SUBMIT)->IsEnabled(), 1);

        // The world list as the submission leaves it.
        Options().scores_online = 1;
        Open();
        _ScoresScore mine = scores_last_score;
        mine.flags[0] = 0;
        mine.platform = 'W';
        LoadWorld({Entry(1000, "Cy"), mine});
        EXPECT_EQ(scores->GetPlayersRow(), 1);
        EXPECT_EQ(scores->Control(SCB_FINDME)->IsEnabled(), 1);

        Options().scores_online = 0;
        Open();
        Press(scores, scores->Control(SCB_RESET));
        ASSERT_TRUE(Answer(1));
        ASSERT_EQ(scores->GetNumRows(), 1);
        EXPECT_EQ(Row(0)[1], "Bob");
        ScoresWorldRelease();
    }
}

TEST_F(ScoresScreenTest, AFinishedGamesScoreIsHighlightedAtItsPlace)
{
    Options().scores_online = 0;
    WriteLocalScores(1, {Entry(900, "Bob", 2026, 3, 20), Entry(100, "Cy", 2026, 3, 20)});
    FinishGame(1, 1, 6, 500);
    ASSERT_EQ(Current(), HW_SCREEN_STAT);
    EXPECT_EQ(scores->GetShownGarden(), 1);
    ASSERT_EQ(scores->GetNumRows(), 3);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"2.", "Ann", "", "20/03/26", "7T", "500"}));
    EXPECT_TRUE(Table()->IsRowSelected(1));
    EXPECT_FALSE(Table()->IsRowSelected(0));
    EXPECT_FALSE(Table()->IsRowSelected(2));
    // The question after the game: its OK submits the last score.
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
    ASSERT_TRUE(Answer(1));
    EXPECT_TRUE(LogHas("Problem submitting [(no data)]."));
    EXPECT_TRUE(LogHas(ErrorLine("ScoresCallSubmitScore", "Problem submitting score [-3].")));
    ASSERT_TRUE(Answer(1));
    // The highlight outlives the one-second timer through the newest mark.
    for (double t = 1; t < 3; t += 0.2) {
        eng_main_program_time = eng_main_program_time + 0.2;
        scores->TickCB();
    }
    EXPECT_EQ(scores_last_added_index, -1);
    EXPECT_TRUE(Table()->IsRowSelected(1));
    play_score = 0;
}

TEST_F(ScoresScreenTest, UpdateShowsTheDownloadAndAFailureForThreeSeconds)
{
    // A server that takes the connection and never answers.
    int silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    ASSERT_EQ(getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const std::string base = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    EngServersSetScoreServerAddressForTests(base.c_str());
    ScoresMain::SetReadTimeoutForTests(1);

    Options().scores_online = 1;
    Open();
    MWinButton *update = scores->Control(SCB_UPDATE);
    Press(scores, update);
    Tick(0.2);
    EXPECT_STREQ(update->GetTextP(), "Updating...");
    EXPECT_EQ(update->IsEnabled(), 0);
    // The read gives up after its time-out: a failure shown in red.
    for (int i = 0; i < 60 && std::strcmp(update->GetTextP(), "Failed") != 0; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Tick(0.1);
    }
    EXPECT_STREQ(update->GetTextP(), "Failed");
    Tick(2);
    EXPECT_STREQ(update->GetTextP(), "Failed");
    Tick(1.2);
    EXPECT_STREQ(update->GetTextP(), "Update");
    EXPECT_EQ(update->IsEnabled(), 1);
    close(silent);
}

TEST_F(ScoresScreenTest, TheSKeyLeavesLikeBack)
{
    Screens()->GotoScreen(HW_SCREEN_OPTN, nullptr);
    Open();
    eng_main_key_states[kKeyS] = 2;
    // Not while a popup is open.
    game->GetMWin()->PopupMessageNoTitle("Hello");
    eng_main_program_time = eng_main_program_time + 0.2;
    scores->TickCB();
    EXPECT_EQ(Current(), HW_SCREEN_STAT);
    ASSERT_TRUE(Answer(1));
    eng_main_program_time = eng_main_program_time + 0.2;
    scores->TickCB();
    EXPECT_EQ(eng_main_key_states[kKeyS], 0);
    EXPECT_EQ(Current(), HW_SCREEN_OPTN);
}

} // namespace
