// A player's score on its way to the world list, on the real program
// against the loopback score server: a score in the local table of the
// first garden submitted from the Scores screen's online view, and a game
// just lost submitted through the question after it; the server takes
// each, and the list downloaded afterwards shows it in the online table.
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "game/PlayNeighbours.h"
#include "game/Scores.h"
#include "modules/UserClass.h"
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"
#include "tests/fixtures/ScoreServer.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace e2e;

const char *kScript = "/cgi-bin/common/scores/Scores.fcgi";

// The Scores screen's buttons along its foot: Update, Submit, Me, Reset and
// Back.
bool ScoresScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 10, 440, 70, 30) > 20 && LitPoints(screen, 90, 440, 70, 30) > 20 &&
           LitPoints(screen, 565, 440, 65, 30) > 20;
}

// Light text in the online table's first row, under its header: the
// table's own background is dark. Only its place and name on the left and
// its score on the right count, which a message box over the table's
// middle leaves uncovered.
bool FirstRowShown(const Screen &screen)
{
    int bright = 0;
    for (float x = 20; x < 630; x += 1)
        for (float y = 178; y < 192; y += 2)
            if (x < 140 || x >= 500)
                bright += Brightness(GamePixel(screen, x, y)) > 450;
    return bright > 20;
}

class WorldScoresE2eTest : public PlayingE2eTest {
protected:
    void SetUp() override
    {
        PlayingE2eTest::SetUp();
        ASSERT_TRUE(server.Start());
        m_command = {HW_LOOPBACK_SCORES_PROGRAM, server.Base()};
    }
    void TearDown() override
    {
        PlayingE2eTest::TearDown();
        server.Stop();
        play_neighbours = _PlayNeighbours{};
    }

    // The player's finished game as the program keeps it: the first
    // garden's local score file (the driver set the program's cipher up).
    void SeedLocalScore(int score, uint16_t player_id)
    {
        play_neighbours.scores_screen_get_garden = [] { return 0; };
        ScoresInit();
        _ScoresScore &entry = scores_table[0];
        entry = {};
        entry.score = score;
        entry.level = 105;
        EngMiscGetCurrentDate(&entry.date);
        entry.user_id = player_id;
        std::strcpy(entry.name, "Ada");
        std::strcpy(entry.country, "GB");
        scores_count = 1;
        ASSERT_EQ(ScoresWriteToFile(), 1);
    }

    // The requests of one method the server received.
    std::vector<nlohmann::ordered_json> Requests(const char *method)
    {
        std::vector<nlohmann::ordered_json> found;
        for (auto &request : server.Requests())
            if (request["method"] == method)
                found.push_back(request);
        return found;
    }

    bool WaitForRequests(const char *method, size_t count)
    {
        for (int i = 0; i < 150; i++) {
            if (Requests(method).size() >= count)
                return true;
            if (!ProgramRunning())
                return false;
            usleep(200000);
        }
        ADD_FAILURE() << "no " << method << " request " << count << "; the program's log ends:\n"
                      << ProgramLogTail();
        return false;
    }

    // The server takes submissions into its list and answers lists from it;
    // the player Ada, continued at start, looks at the online view of the
    // year's scores, kept up to date by itself.
    void SeedOnlinePlayer(uint16_t *player_id)
    {
        server.Script({{std::string("POST ") + kScript, {{"body", " A\n"}, {"accept", true}}},
                       {std::string("GET ") + kScript, {{"list", true}}}});
        SeedPlayer("Ada", "GB", true);
        UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(user.LoadUser("Ada", 0, nullptr, nullptr));
        _UserOptions &options = user.GetInfo()->options;
        options.scores_online = 1;
        options.scores_range = SR_YEAR;
        options.scores_auto_update = 1;
        options.scores_garden = 0;
        *player_id = static_cast<uint16_t>(user.GetInfo()->player_id);
        ASSERT_TRUE(user.Save(1));
        // Loading forgets the player to continue with; the program is to.
        EngSafeStrcpy(Settings()->player_name, "Ada", RESOLUTION_PLAYER_NAME_SIZE);
    }

    ScoreServer server;
};

TEST_F(WorldScoresE2eTest, ASubmittedScoreComesBackInTheOnlineView)
{
    uint16_t player_id = 0;
    ASSERT_NO_FATAL_FAILURE(SeedOnlinePlayer(&player_id));
    SeedLocalScore(4321, player_id);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));

    Click(235, 295); // High Scores
    ASSERT_TRUE(WaitFor(ScoresScreenDrawn));
    // The empty world list comes first.
    ASSERT_TRUE(WaitForRequests("GET", 1));
    EXPECT_EQ(Requests("GET")[0]["query"]["st"], "1000");
    EXPECT_EQ(Requests("GET")[0]["query"]["ra"], "1");
    SaveShot("WorldScoresEmpty");

    Click(125, 455); // Submit
    ASSERT_TRUE(WaitForRequests("POST", 1));
    auto submission = Requests("POST")[0];
    ASSERT_TRUE(submission.contains("submission")) << submission.dump();
    EXPECT_EQ(submission["submission"][0], nlohmann::ordered_json::parse(R"(["ac", "Sub"])"));
    EXPECT_EQ(submission["submission"][9], nlohmann::ordered_json::parse(R"(["v1", 4321])"));

    // The taken score makes the cached lists old: the next list is fetched
    // and shows it.
    ASSERT_TRUE(WaitForRequests("GET", 2));
    ASSERT_TRUE(WaitFor(FirstRowShown, 20));
    SaveShot("WorldScoresOnline");
    EXPECT_EQ(StopProgram(), 0);
}

TEST_F(WorldScoresE2eTest, AGameJustLostIsSubmittedThroughTheQuestionAfterIt)
{
    uint16_t player_id = 0;
    ASSERT_NO_FATAL_FAILURE(SeedOnlinePlayer(&player_id));
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    EnterFirstGarden();
    ASSERT_TRUE(LoseTheGame());

    // A click more than a second after the end leads to the scores, with
    // the question whether to submit the score.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screen screen = Shot();
    Click(320, 240);
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WorldScoresAfterGameQuestion");
    Click(290, 290); // OK
    ASSERT_TRUE(WaitForRequests("POST", 1));
    auto submission = Requests("POST")[0];
    ASSERT_TRUE(submission.contains("submission")) << submission.dump();
    EXPECT_EQ(submission["submission"][0], nlohmann::ordered_json::parse(R"(["ac", "Sub"])"));
    EXPECT_EQ(submission["submission"][9][0], "v1");
    EXPECT_GE(submission["submission"][9][1].get<int>(), 10) << "the gun factory alone scores 10";

    ASSERT_TRUE(WaitFor(FirstRowShown, 30));
    Click(320, 255); // the OK of "Your score was submitted successfully!"
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    SaveShot("WorldScoresAfterGame");
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
