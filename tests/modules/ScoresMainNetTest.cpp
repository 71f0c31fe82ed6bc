#include "engine/core/EngServers.h"
#include "modules/ScoresMain.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/modules/ModulesTestSupport.h"
#include "tests/modules/ScoresTestSupport.h"

#include <algorithm>

namespace {

using modules_test::At;
using modules_test::ModulesTest;
using modules_test::Put;
using scores_test::PollUntilFinished;

ScoreServer server;
const char *kScript = "/cgi-bin/common/scores/Scores.fcgi";

// Three lines the parser takes, each with its own country form.
const std::string kThreeLines = "900 107 1 2 11 Ann_B_Smith FR Annie 2015-10-08 W\n"
                                "800 212 0 0 12 Bob UK Bobby 2016/01/31 M trailing words\n"
                                "700 5 0 0 13 Cy DEU Cy 2020.02.29 \n";

// The cache file's path as the file layer opens it ('\\' as '/').
std::string CachePath(const ScoresMain &scores)
{
    std::string path = scores.GetScoresFileName();
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class ScoresMainNetTest : public ModulesTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }
    void SetUp() override
    {
        ModulesTest::SetUp();
        ScoresResetHooksForTests();
        scores_hooks.country_num_from_code = scores_test::CountryNum;
        EngServersSetScoreServerAddressForTests(server.Base().c_str());
        ScoresMain::SetReadTimeoutForTests(2);
        server.ForgetRequests();
        EngMainUpdateProgramTime();
    }
    void TearDown() override
    {
        ScoresMain::SetReadTimeoutForTests(0);
        EngServersSetScoreServerAddressForTests(nullptr);
        ScoresResetHooksForTests();
        ModulesTest::TearDown();
    }

    // Downloads one answer into scores and returns IsUpdateFinished's result.
    unsigned char Download(ScoresMain &scores, const nlohmann::json &answer, _EngInternetThreadReadResult *status,
                           const char **message = nullptr)
    {
        server.Script({{kScript, answer}});
        EXPECT_TRUE(scores.Update());
        return PollUntilFinished(scores, status, message);
    }
};

TEST_F(ScoresMainNetTest, DownloadsAListPerRangeAndCachesIt)
{
    for (int range = SR_ALL; range <= SR_DAY; range++) {
        SCOPED_TRACE(range);
        server.ForgetRequests();
        ScoresMain scores;
        ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, static_cast<_ScoresRange>(range), nullptr, 0, 60));
        _EngInternetThreadReadResult status = EITRR_NONE;
        ASSERT_EQ(Download(scores, {{"body", "Y \n" + kThreeLines + "*\n"}}, &status), SCORES_UPDATE_LIST);
        EXPECT_EQ(status, EITRR_DONE);
        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0]["query"], nlohmann::ordered_json::parse(R"({"zz":"1","gv":"150","pr":"55","st":"1001",
            "ra":")" + std::to_string(range) + R"(","sp":"1","ep":"99"})"));

        ASSERT_EQ(scores.GetNumberOfScores(), 3);
        const _ScoresScore *first = scores.GetScore(0);
        EXPECT_EQ(first->score, 900);
        EXPECT_EQ(first->level, 107);
        EXPECT_EQ(first->value3, 1u);
        EXPECT_EQ(first->value4, 2u);
        EXPECT_EQ(first->user_id, 11);
        EXPECT_STREQ(first->name, "Ann B Smith");
        EXPECT_STREQ(first->country, "FR");
        EXPECT_STREQ(first->second_name, "Annie");
        EXPECT_EQ(first->date.year, 2015);
        EXPECT_EQ(first->date.month, 10);
        EXPECT_EQ(first->date.day, 8);
        EXPECT_EQ(first->platform, 'W');
        EXPECT_STREQ(scores.GetScore(1)->country, "UK");
        EXPECT_EQ(scores.GetScore(1)->platform, 'M');
        EXPECT_STREQ(scores.GetScore(2)->country, "DE");
        EXPECT_EQ(scores.GetScore(2)->platform, 0);

        // The cache holds the list whole, and the next look reads it instead
        // of the server. Each range has a letter of its own, the day too.
        const std::string name = CachePath(scores);
        EXPECT_EQ(name.substr(name.rfind('/') + 1),
                  std::string("Scores_55_1001_") + "AYMWD"[range] + ".sco");
        std::string cache = ReadWhole(CachePath(scores));
        ASSERT_EQ(cache.size(), 22u + 3 * 88);
        EXPECT_EQ(At<uint16_t>(cache, 0), 150);
        EXPECT_EQ(At<int32_t>(cache, 18), 3);
        EXPECT_EQ(cache.substr(22), std::string(reinterpret_cast<const char *>(scores.GetScoresList(1)), 3 * 88));
        ScoresMain again;
        ASSERT_TRUE(again.Setup(SP_THIS_GAME, 150, 100, 1001, static_cast<_ScoresRange>(range), nullptr, 1, 60));
        EXPECT_EQ(again.UpdateIfNeeded(1), 2);
        EXPECT_EQ(again.GetNumberOfScores(), 3);
        EXPECT_EQ(server.Requests().size(), 1u);
    }
}

TEST_F(ScoresMainNetTest, DropsLinesThatFailTheirChecks)
{
    const std::string lines[] = {
        "1 1 0 0 1 A FR B 2015-10-08",                                  // eight blanks: logged
        "1 1 0 0 1 " + std::string(32, 'n') + " FR B 2015-10-08 W",     // name too long
        "1 1 0 0 1 A FR " + std::string(20, 's') + " 2015-10-08 W",     // second name too long
        "1 1 0 0 1 A FR B 2015-13-08 W", "1 1 0 0 1 A FR B 1999-10-08 W", "1 1 0 0 1 A FR B 2015-10-32 W",
        "1 1 0 0 0 A FR B 2015-10-08 W", "1 1 0 0 70000 A FR B 2015-10-08 W", "-1 1 0 0 1 A FR B 2015-10-08 W",
        "99999999999 1 0 0 1 A FR B 2015-10-08 W", "1 1 0 0 1 A XX B 2015-10-08 W", "1 1 0 0 1 A FR B 2015-10-8 W",
        "1 1 0 0 1  FR B 2015-10-08 W", "1 1 -4294967296 0 1 A FR B 2015-10-08 W",
        "1 1 0 4294967296 1 A FR B 2015-10-08 W",
    };
    std::string body = "Y \n";
    for (const std::string &line : lines)
        body += line + "\n";
    // Values 3 and 4 are unsigned: a negative one wraps around. The program
    // submits an empty second name, and the server echoes the empty field.
    body += "5 1 0 0 1 Kept FR B 2015-10-08 W\n"
            "4 1 -3 -4294967295 1 Negative FR B 2015-10-08 W\n"
            "3 1 0 0 1 No_second FR  2015-10-08 W\n"
            "5 1 0 0 1 Cut FR B 2015-10-08 W";
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60));
    _EngInternetThreadReadResult status = EITRR_NONE;
    ASSERT_EQ(Download(scores, {{"body", body}}, &status), SCORES_UPDATE_LIST);
    ASSERT_EQ(scores.GetNumberOfScores(), 3);
    EXPECT_STREQ(scores.GetScore(0)->name, "Kept");
    EXPECT_STREQ(scores.GetScore(1)->name, "Negative");
    EXPECT_EQ(scores.GetScore(1)->value3, 4294967293u);
    EXPECT_EQ(scores.GetScore(1)->value4, 1u);
    EXPECT_STREQ(scores.GetScore(2)->name, "No second");
    EXPECT_STREQ(scores.GetScore(2)->second_name, "");
    EXPECT_STREQ(scores.GetScore(2)->country, "FR");
    EXPECT_EQ(scores.GetScore(2)->date.year, 2015);
    EXPECT_EQ(scores.GetScore(2)->platform, 'W');
    EXPECT_EQ(LogCount("Invalid line received: <1 1 0 0 1 A FR B 2015-10-08>"), 1);
    EXPECT_EQ(LogCount("Invalid line received"), 1);
    EXPECT_EQ(scores.GetScore(3), nullptr);
    EXPECT_TRUE(Logged("Bad num 3 (3)"));
}

TEST_F(ScoresMainNetTest, AnswersOtherThanAListLeaveTheListAsItWas)
{
    const struct {
        nlohmann::json answer;
        unsigned char result;
        int status;
        std::string logged;
    } cases[] = {
        {{{"body", " X no such set"}}, SCORES_UPDATE_OTHER, SCORES_STATUS_INVALID, "Error received: < X no such set>"},
        {{{"body", " V 150 151 0"}}, SCORES_UPDATE_OTHER, SCORES_STATUS_OLD_VERSION, ""},
        {{{"body", " V 150 150 0"}}, SCORES_UPDATE_OTHER, SCORES_STATUS_INVALID,
         "Version problem: < V 150 150 0>  <150,150> <150> <0>"},
        {{{"body", "<html>" + std::string(100, 'x')}}, SCORES_UPDATE_OTHER, SCORES_STATUS_INVALID,
         "Invalid data received: <<html>" + std::string(58, 'x') + ">"},
        {{{"body", "Y"}}, SCORES_UPDATE_OTHER, SCORES_STATUS_BAD_DATA, "No data received"},
        {{{"body", ""}}, SCORES_UPDATE_OTHER, SCORES_STATUS_BAD_DATA, "Update failed"},
        {{{"body", "Y \n" + std::string(8189, 'z')}}, SCORES_UPDATE_OTHER, SCORES_STATUS_BAD_DATA,
         "Too much data read."},
        // An error page is no list, whatever it holds.
        {{{"status", 500}, {"body", "Y \n" + kThreeLines + "*\n"}}, SCORES_UPDATE_OTHER, EITRR_ERROR,
         "The server answered with HTTP status 500."},
        {{{"status", 404}, {"body", "<h1>Not Found</h1>"}}, SCORES_UPDATE_OTHER, EITRR_ERROR,
         "The server answered with HTTP status 404."},
        {{{"body", "Y \n" + kThreeLines}, {"cut", 20}}, SCORES_UPDATE_OTHER, EITRR_ERROR, ""},
        {{{"silent", true}}, SCORES_UPDATE_OTHER, EITRR_TIMED_OUT, ""},
    };
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_WEEK, nullptr, 0, 60));
    _EngInternetThreadReadResult status = EITRR_NONE;
    ASSERT_EQ(Download(scores, {{"body", "Y \n" + kThreeLines}}, &status), SCORES_UPDATE_LIST);
    std::string cache = ReadWhole(CachePath(scores));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.dump().substr(0, 80));
        ResetEngineForTest();
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Download(scores, c.answer, &status), c.result);
        EXPECT_LT(SecondsSince(start), 5.0);
        EXPECT_EQ(status, c.status);
        if (!c.logged.empty()) {
            EXPECT_TRUE(Logged(c.logged)) << LastStored();
        }
        EXPECT_EQ(scores.GetNumberOfScores(), 3);
        EXPECT_FALSE(scores.IsUpdating());
        EXPECT_EQ(ReadWhole(CachePath(scores)), cache);
    }
}

TEST_F(ScoresMainNetTest, KeepsTheServersMessageReadable)
{
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_TEST, 150, 100, 1001, SR_ALL, nullptr, 0, 60));
    _EngInternetThreadReadResult status = EITRR_NONE;
    const char *message = nullptr;
    EXPECT_EQ(Download(scores, {{"body", " M The lists rest tonight."}}, &status, &message), SCORES_UPDATE_OTHER);
    EXPECT_EQ(status, EITRR_DONE);
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(message, "The lists rest tonight.");
    EXPECT_TRUE(Logged("Main scores message received: <The lists rest tonight.>"));
    // A test list keeps no cache.
    EXPECT_EQ(Download(scores, {{"body", "Y \n" + kThreeLines}}, &status), SCORES_UPDATE_LIST);
    EXPECT_FALSE(std::filesystem::exists("ScoresMainTest.sco"));
}

TEST_F(ScoresMainNetTest, AbandonedDownloadsNeverHoldUpTheMainThread)
{
    server.Script({{kScript, {{"silent", true}}}});
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60));
    // More downloads than the ring has slots, each abandoned while its reader
    // still waits for the server.
    for (int i = 0; i < SCORES_MAIN_READERS + 1; i++) {
        SCOPED_TRACE(i);
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(scores.Update());
        EngMainUpdateProgramTime();
        EXPECT_EQ(scores.IsUpdateFinished(nullptr, nullptr), SCORES_UPDATE_RUNNING);
        scores.StopUpdating();
        EXPECT_LT(SecondsSince(start), 0.5);
    }
    EXPECT_FALSE(scores.IsUpdating());
    server.Script({{kScript, {{"body", "Y \n" + kThreeLines}}}});
    _EngInternetThreadReadResult status = EITRR_NONE;
    ASSERT_TRUE(scores.Update());
    EXPECT_EQ(PollUntilFinished(scores, &status), SCORES_UPDATE_LIST);
    EXPECT_EQ(scores.GetNumberOfScores(), 3);
}

TEST_F(ScoresMainNetTest, ARefusedServerIsAnError)
{
    EngServersSetScoreServerAddressForTests(
        ("http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort())).c_str());
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60));
    ASSERT_TRUE(scores.Update());
    _EngInternetThreadReadResult status = EITRR_NONE;
    EXPECT_EQ(PollUntilFinished(scores, &status), SCORES_UPDATE_OTHER);
    EXPECT_EQ(status, EITRR_ERROR);
}

TEST_F(ScoresMainNetTest, UpdatesWhenTheCacheIsMissingOldOrOfAnotherVersion)
{
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_MONTH, nullptr, 1, 60));
    server.Script({{kScript, {{"body", "Y \n" + kThreeLines}}}});
    // The first look after set-up only schedules the next.
    EXPECT_EQ(scores.UpdateIfNeeded(0), 0);
    EXPECT_EQ(scores.UpdateIfNeeded(1), 1);
    _EngInternetThreadReadResult status = EITRR_NONE;
    ASSERT_EQ(PollUntilFinished(scores, &status), SCORES_UPDATE_LIST);
    std::string cache = ReadWhole(CachePath(scores));

    const struct {
        const char *what;
        void (*spoil)(std::string *);
    } cases[] = {
        {"another version", [](std::string *c) { Put<uint16_t>(c, 0, 149); }},
        {"a day old", [](std::string *c) { Put<int32_t>(c, 2, At<int32_t>(*c, 2) - 1); }},
        {"100 entries", [](std::string *c) {
             Put<int32_t>(c, 18, 100);
             c->resize(22 + 100 * 88);
         }},
        {"cut short", [](std::string *c) { c->resize(c->size() - 1); }},
        {"missing", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        server.ForgetRequests();
        std::string spoiled = cache;
        if (c.spoil)
            c.spoil(&spoiled);
        if (c.spoil)
            WriteWhole(CachePath(scores), spoiled);
        else
            scores.DeleteScoresFile();
        EXPECT_EQ(scores.UpdateIfNeeded(1), 1);
        ASSERT_EQ(PollUntilFinished(scores, &status), SCORES_UPDATE_LIST);
        EXPECT_EQ(server.Requests().size(), 1u);
    }
}

} // namespace
