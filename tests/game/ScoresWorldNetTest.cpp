// The world scores bound to a started game, against the loopback score
// server: the lists of each range drawn into the Scores screen's online
// table, the server's messages in its info text, the submission of the
// player's scores with what each answer leaves behind, and the question
// whether the game may go online.
#include "game/ScoresWorld.h"

#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "game/Levels.h"
#include "game/Scores.h"
#include "gui/MWinTabPanel.h"
#include "modules/ScoresMain.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Time.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/screens/ScreenGameTest.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace screens_test;

ScoreServer server;
const char *kScript = "/cgi-bin/common/scores/Scores.fcgi";
const char kLetters[] = "AYMWD";

// The system clock, as far ahead as the test moved it.
std::atomic<int64_t> clock_ahead_ns{0};
int64_t ClockAhead()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec + clock_ahead_ns;
}

class ScoresWorldNetTest : public ScreenGameTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }

    void SetUp() override
    {
        ScreenGameTest::SetUp();
        ScoresResetForTests();
        EngServersSetScoreServerAddressForTests(server.Base().c_str());
        // The world list and its reader keep time by the system clock, which
        // the test moves on.
        clock_ahead_ns = 0;
        PlatformSetClockHooks(ClockAhead, nullptr);
        EngMainUpdateProgramTime();
        // Long enough for a first transfer on a busy machine; the silent
        // server's case sets its own.
        ScoresMain::SetReadTimeoutForTests(15);
        server.ForgetRequests();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann Lee", "GB", 0), 1);
        Me().player_id = 77;
        Options().date_format = 1;
        scores_internet_allowed = 0;
        levels_garden = -1;
        Options().scores_garden = 2;
        scores = dynamic_cast<ScoresCC *>(Screens()->GetController(HWS_SCORES));
        ASSERT_NE(scores, nullptr);
    }

    void TearDown() override
    {
        ScoresResetForTests();
        ScoresMain::SetReadTimeoutForTests(0);
        EngServersSetScoreServerAddressForTests(nullptr);
        ScreenGameTest::TearDown();
        PlatformSetClockHooks(nullptr, nullptr);
    }

    _UserInfo &Me() { return *game->GetUserInfo(); }
    _UserOptions &Options() { return Me().options; }
    MWinTabPanel *Table() { return static_cast<MWinTabPanel *>(scores->Control(SCB_SCORES)); }

    // One tick of the main loop, the screen's 0.1 s on from the last on the
    // system clock, which the download's reader also reads.
    void Tick()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        clock_ahead_ns += 50000000;
        eng_main_program_time = std::max<double>(eng_main_program_time, EngMainGetTime()) + 0.01;
        scores->TickCB();
    }

    // Ticks the screen until a download ends, and once more as the main loop
    // goes on.
    void TickUntilDownloaded()
    {
        for (int i = 0; i < 200 && ScoresWorldIsUpdating(); i++)
            Tick();
        EXPECT_FALSE(ScoresWorldIsUpdating());
        Tick();
    }

    std::vector<std::string> Row(int row)
    {
        std::vector<std::string> cells;
        for (int column = 0; column < scores->GetColumnCount(); column++)
            cells.push_back(scores->GetCellText(row, column));
        return cells;
    }

    // The cache file of one range of the shown garden.
    std::string CachePath(int range)
    {
        std::string path = std::string(PrefFolderGetSubFolder("Scores", 1)) + "/Scores_55_" +
                           std::to_string(1000 + scores->GetShownGarden()) + "_" + kLetters[range] + ".sco";
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }

    // The player's local scores of the shown garden.
    void WriteLocalScores(const std::vector<std::pair<int, _EngMiscDate>> &games)
    {
        scores_count = 0;
        for (const auto &g : games) {
            _ScoresScore &entry = scores_table[scores_count++];
            entry = {};
            entry.score = g.first;
            entry.level = 112;
            entry.date = g.second;
            entry.user_id = 77;
            std::strcpy(entry.name, "Ann Lee");
            std::strcpy(entry.country, "GB");
        }
        ASSERT_EQ(ScoresWriteToFile(), 1);
    }

    void OpenOnline()
    {
        Options().scores_online = 1;
        Screens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
        Screens()->GotoScreen(HW_SCREEN_STAT, nullptr);
        ASSERT_EQ(Screens()->GetCurrentScreen(), HW_SCREEN_STAT);
    }

    ScoresCC *scores = nullptr;
};

TEST_F(ScoresWorldNetTest, EachRangesListIsDrawnIntoTheOnlineTable)
{
    const std::string list = "Y \n"
                             "9000 212 0 0 5 Bea_Moss FR Bee 2026-03-02 W\n"
                             // The player's own score, submitted with an
                             // empty second name and echoed so.
                             "8000 7 0 0 77 Ann_Lee GB  2026-03-01 ?\n"
                             "*\n";
    server.Answer(kScript, list);
    OpenOnline();
    for (int range = SR_YEAR; range <= SR_DAY; range++) {
        SCOPED_TRACE(range);
        server.ForgetRequests();
        scores->Control(SCB_RANGE)->ChoiceSetSel(range - 1, 0);
        Press(scores, scores->Control(SCB_RANGE));
        Press(scores, scores->Control(SCB_UPDATE));
        TickUntilDownloaded();

        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0]["query"]["ra"], std::to_string(range));
        EXPECT_EQ(requests[0]["query"]["st"], "1002");
        ASSERT_EQ(scores->GetNumRows(), 2);
        EXPECT_EQ(Row(-1), (std::vector<std::string>{"Pos", "Name", "Date", "Country", "Level", "Device", "Score"}));
        EXPECT_EQ(Row(0), (std::vector<std::string>{"1.", "Bea Moss", "02/03", "", "12X", "", "9000"}));
        EXPECT_EQ(Row(1)[1], "Ann Lee");
        // The player's own entry is found and selected.
        EXPECT_EQ(scores->GetPlayersRow(), 1);
        EXPECT_TRUE(Table()->IsRowSelected(1));
        EXPECT_STREQ(scores->Control(SCB_UPDATE)->GetTextP(), "Update");
        // Every range has its own cache file, the day's with its letter too.
        EXPECT_EQ(ReadWhole(CachePath(range)).size(), 22u + 2 * 88) << CachePath(range);
    }
}

TEST_F(ScoresWorldNetTest, TheServersNoticesReachTheInfoTextAndFailuresTheUpdateButton)
{
    const struct {
        nlohmann::json answer;
        const char *info;   // null: hidden
        const char *update; // the button's text after the answer
        int timeout = 15;
    } cases[] = {
        // A message is no list: the button shows the failure too.
        {{{"body", " M The lists rest tonight."}}, "The lists rest tonight.", "Failed"},
        {{{"body", " V 150 151 0"}}, "This game is out of date - you need to download the latest version.", "Failed"},
        {{{"body", " X no such set"}}, nullptr, "Failed"},
        {{{"body", std::string(8192, 'Y')}}, nullptr, "Failed"},
        {{{"status", 500}, {"body", "<h1>Internal Server Error</h1>"}}, nullptr, "Failed"},
        {{{"body", "Y \n9000 212 0 0 5 Bea FR Bee 2026-03-02 W\n"}, {"cut", 20}}, nullptr, "Failed"},
        {{{"silent", true}}, nullptr, "Failed", 4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.dump().substr(0, 60));
        server.Script({{kScript, c.answer}});
        ScoresMain::SetReadTimeoutForTests(c.timeout);
        OpenOnline();
        auto start = std::chrono::steady_clock::now();
        Press(scores, scores->Control(SCB_UPDATE));
        TickUntilDownloaded();
        EXPECT_LT(SecondsSince(start), 5.0);
        MWinButton *info = scores->Control(SCB_INFO);
        EXPECT_EQ(info->IsShown(), c.info != nullptr);
        if (c.info) {
            EXPECT_STREQ(info->GetTextP(), c.info);
        }
        EXPECT_STREQ(scores->Control(SCB_UPDATE)->GetTextP(), c.update);
        EXPECT_EQ(scores->GetNumRows(), 0);
    }
}

TEST_F(ScoresWorldNetTest, SubmittingTheBestOfARangeSendsItAndForgetsTheGardensLists)
{
    OpenOnline();
    WriteLocalScores({{500, {2026, 1, 4}}, {700, {2025, 6, 1}}, {300, {2026, 1, 5}}});
    // Every cached list of the garden is out of date once the server took
    // a score; another garden's stays.
    std::vector<std::string> caches;
    for (int range = SR_ALL; range <= SR_DAY; range++) {
        caches.push_back(CachePath(range));
        WriteWhole(caches.back(), std::string(22, '\0'));
    }
    std::string other = caches[0];
    other.replace(other.find("_1002_"), 6, "_1001_");
    WriteWhole(other, std::string(22, '\0'));

    server.Answer(kScript, " A\n");
    // This year's best, as the local table holds it for the current date.
    scores_get_today = [](_EngMiscDate *date) { *date = {2026, 1, 20}; };
    EXPECT_EQ(ScoresSubmitUsersBestScoreForCurrentGardenAndRange(SR_YEAR), 1);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_TRUE(requests[0].contains("submission")) << requests[0].dump();
    const auto &members = requests[0]["submission"];
    auto member = [&](const std::string &name) {
        for (const auto &pair : members)
            if (pair[0] == name)
                return pair[1];
        return nlohmann::ordered_json();
    };
    EXPECT_EQ(member("set"), 1002);
    EXPECT_EQ(member("v1"), 500);
    EXPECT_EQ(member("uid"), 77);
    EXPECT_EQ(member("name"), "Ann Lee");
    EXPECT_EQ(member("cc"), "GB");
    for (const std::string &cache : caches)
        EXPECT_FALSE(std::filesystem::exists(cache)) << cache;
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(ResolutionGetSettings()->internet_test[0], 1);
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
    scores_get_today = EngMiscGetCurrentDate;
}

TEST_F(ScoresWorldNetTest, EachAnswerLeavesItsMarkInTheSettings)
{
    OpenOnline();
    WriteLocalScores({{500, {2026, 1, 4}}});
    scores_get_today = [](_EngMiscDate *date) { *date = {2026, 1, 20}; };
    const struct {
        const char *answer;
        char result;
        const char *logged; // null: nothing
        unsigned char show_dialog;
    } cases[] = {
        {" D\n", 1, nullptr, 0},
        {" V 150 151", 0, "Problem submitting score [7].", 1},
        {" X closed", 0, "Problem submitting score [-1].", 0},
        {"?", 0, "Problem submitting score [-3].", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        _ResolutionSettings *settings = ResolutionGetSettings();
        settings->show_dialog = 0;
        settings->internet_test[0] = 0;
        settings->last_update_check = {2026, 1, 19};
        WriteWhole(CachePath(SR_ALL), std::string(22, '\0'));
        server.Answer(kScript, c.answer);
        game->GetMWin()->PopupCloseIfOn();
        EXPECT_EQ(ScoresSubmitUsersBestScoreForCurrentGardenAndRange(SR_ALL), c.result);
        if (c.logged) {
            EXPECT_TRUE(LogHas(ErrorLine("ScoresCallSubmitScore", c.logged))) << LastStored();
        }
        EXPECT_EQ(settings->show_dialog, c.show_dialog);
        // Out of date: the next start looks for an update.
        EXPECT_EQ(settings->last_update_check.year, c.show_dialog ? 0 : 2026);
        // Any answer of the server shows the connection works.
        EXPECT_EQ(settings->internet_test[0], c.result || c.show_dialog ? 1 : 0);
        // Only a score taken makes the lists old.
        EXPECT_TRUE(std::filesystem::exists(CachePath(SR_ALL)));
    }
    // Without a score of the player, nothing is sent.
    server.ForgetRequests();
    game->GetMWin()->PopupCloseIfOn();
    EXPECT_EQ(ScoresSubmitUsersBestScoreForCurrentGardenAndRange(SR_DAY), 0);
    EXPECT_TRUE(LogHas(ErrorLine("ScoresCallSubmitScore", "Internal Error (no ss)")));
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
    EXPECT_TRUE(server.Requests().empty());
    scores_get_today = EngMiscGetCurrentDate;
}

TEST_F(ScoresWorldNetTest, OnlineScoresWaitForThePlayersLeave)
{
    MWin *mwin = game->GetMWin();
    _ResolutionSettings *settings = ResolutionGetSettings();
    auto buttons = [mwin] {
        std::vector<std::string> texts;
        for (int i = 0; i < MWIN_POPUP_NUM_BUTTONS; i++)
            if (mwin->GetPopupButton(i) && mwin->GetPopupButton(i)->IsShown())
                texts.push_back(mwin->GetPopupButton(i)->GetTextP());
        return texts;
    };
    struct Case {
        const char *what;
        std::vector<char> answers;
        char allowed;
        signed char internet_test;
    } cases[] = {
        {"OK tests the connection at the next start", {1}, 0, -1},
        {"Ignore, then Yes, allows this run", {0, 1}, 1, 0},
        {"Ignore, then No, is as OK", {0, 2}, 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScoresWorldResetForTests();
        settings->internet_test[0] = 0;
        settings->show_dialog = 0;
        EXPECT_EQ(ScoresIsInternetAccessAllowed(game, 0), 0);
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_EQ(ScoresIsInternetAccessAllowed(game, 1), 0);
        ASSERT_TRUE(mwin->IsPopupOn());
        EXPECT_EQ(buttons(), (std::vector<std::string>{"Ok", "Ignore"}));
        for (char answer : c.answers)
            ASSERT_TRUE(Answer(answer));
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_EQ(ScoresIsInternetAccessAllowed(game, 0), c.allowed);
        EXPECT_EQ(settings->internet_test[0], c.internet_test);
        EXPECT_EQ(settings->show_dialog, c.allowed ? 0 : 1);
    }
    // A tested connection needs no leave.
    ScoresWorldResetForTests();
    settings->internet_test[0] = 1;
    EXPECT_EQ(ScoresIsInternetAccessAllowed(game, 1), 1);
    EXPECT_FALSE(mwin->IsPopupOn());
}

} // namespace
