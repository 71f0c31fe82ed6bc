#include "engine/core/EngMemory.h"
#include "engine/core/EngServers.h"
#include "modules/ScoresSubmit.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/modules/ModulesTestSupport.h"
#include "tests/modules/ScoresTestSupport.h"

#include <vector>

namespace {

using modules_test::ModulesTest;
using scores_test::ValidScore;

ScoreServer server;
const char *kScript = "/cgi-bin/common/scores/Scores.fcgi";

// The popups a submission showed, as "title|text" (an untitled one as
// "|text"), "now|text" for the message drawn at once, and "timeout|3".
std::vector<std::string> popups;
bool popups_allowed = true;
MWin *const kToolkit = reinterpret_cast<MWin *>(0x10);

class ScoresSubmitNetTest : public ModulesTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }
    void SetUp() override
    {
        ModulesTest::SetUp();
        ScoresResetHooksForTests();
        popups.clear();
        popups_allowed = true;
        scores_hooks.popups_allowed = [](MWin *mwin) { return mwin == kToolkit && popups_allowed; };
        scores_hooks.popup_message = [](MWin *, const char *title, const char *text) {
            popups.push_back(std::string(title ? title : "") + "|" + text);
        };
        scores_hooks.popup_show_message_now = [](MWin *, const char *text) { popups.push_back("now|" + std::string(text)); };
        scores_hooks.popup_set_timeout = [](MWin *, double seconds) {
            popups.push_back("timeout|" + std::to_string(static_cast<int>(seconds)));
        };
        EngServersSetScoreServerAddressForTests(server.Base().c_str());
        ScoresSubmitSetTimeoutForTests(1);
        server.ForgetRequests();
    }
    void TearDown() override
    {
        ScoresSubmitSetTimeoutForTests(0);
        EngServersSetScoreServerAddressForTests(nullptr);
        ScoresResetHooksForTests();
        ModulesTest::TearDown();
    }

    _ScoresSubmitResult Submit(const nlohmann::json &answer, const _ScoresScore &score = ValidScore())
    {
        server.Script({{kScript, answer}});
        return ScoresSubmitScore(SP_THIS_GAME, 150, 1002, &score, kToolkit);
    }
};

TEST_F(ScoresSubmitNetTest, SendsTheScoreEncipheredWithItsMembersInOrder)
{
    _ScoresScore score = ValidScore();
    // "Zoë" in the program's 1252 text.
    strcpy(score.name, "Zo\xEB");
    strcpy(score.second_name, "Z");
    score.value3 = 4000000000u;
    score.flags[0] = 1;
    score.flags[3] = 9;
    EXPECT_EQ(Submit({{"body", " A\n"}}, score), SSR_SUBMITTED);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0]["method"], "POST");
    EXPECT_TRUE(requests[0]["query"].empty());
    EXPECT_TRUE(requests[0]["body_ends_with_zero"]);
    ASSERT_TRUE(requests[0].contains("submission")) << requests[0].dump();
    nlohmann::ordered_json expected = nlohmann::ordered_json::parse(R"([
        ["ac", "Sub"], ["ver", 1], ["prog", 55], ["gver", 150], ["set", 1002], ["uid", 4242],
        ["name", "Zoë"], ["cc", "FR"], ["fb", "Z"], ["v1", 12345], ["v2", 107], ["v3", 4000000000], ["v4", 0],
        ["f1", 1], ["f2", 0], ["f3", 0], ["f4", 9], ["date", 1511758], ["plat", "W"]])");
    EXPECT_EQ(requests[0]["submission"], expected);
    EXPECT_EQ(popups, std::vector<std::string>({"now|Submitting your score...",
                                                "Congratulations!|Your score was submitted successfully!",
                                                "timeout|3"}));
}

TEST_F(ScoresSubmitNetTest, WritesIntegersAsIntegers)
{
    _ScoresScore score = ValidScore();
    char *json = ScoresSubmitMakeJsonText(SP_THIS_GAME, 150, 1002, &score);
    ASSERT_NE(json, nullptr);
    EXPECT_STREQ(json, R"({"ac":"Sub","ver":1,"prog":55,"gver":150,"set":1002,"uid":4242,"name":"Ann Smith",)"
                       R"("cc":"FR","fb":"","v1":12345,"v2":107,"v3":0,"v4":0,"f1":0,"f2":0,"f3":0,"f4":0,)"
                       R"("date":1511758,"plat":"W"})");
    EngFree(json, 1, "test");
}

TEST_F(ScoresSubmitNetTest, ReadsTheServersAnswer)
{
    const struct {
        nlohmann::json answer;
        _ScoresSubmitResult result;
        std::string popup;
        std::string logged;
    } cases[] = {
        {{{"body", " Axyz"}}, SSR_SUBMITTED, "Congratulations!|Your score was submitted successfully!", ""},
        {{{"body", " D\n"}}, SSR_BETTER_SCORE_EXISTS, "|You have already submitted as good a score or better.", ""},
        {{{"body", " V 150 151"}}, SSR_OUT_OF_DATE,
         "|This game is out of date - you need to download the latest version.", ""},
        {{{"body", " V 150 150"}}, SSR_FAILED, "Error|Problem reading high scores list  [V SAME 150]", ""},
        {{{"body", " V 151 152"}}, SSR_FAILED, "Error|Problem reading high scores list  [GV150 > CGV151]", ""},
        {{{"body", " V 150 149"}}, SSR_FAILED, "Error|Problem reading high scores list  [V150 > V149]", ""},
        {{{"body", " X " + std::string(37, 'e')}}, SSR_FAILED, "Sorry|There was a problem submitting your score.",
         "CE: " + std::string(12, 'e')},
        {{{"body", "A fine day"}}, SSR_FAILED, "Sorry|Unknown problem while submitting.", "CE: Unknown [A fine day]."},
        {{{"body", "<html><body>"}}, SSR_FAILED, "Sorry|Unknown problem while submitting.", "CE: Unknown [<html><body>]."},
        {{{"body", " A\n"}, {"status", 500}}, SSR_COMMUNICATION_PROBLEM,
         "Error|Problem encountered communicating with Lichenware", "Problem submitting [(no data)]."},
        {{{"body", " A\n"}}, SSR_SUBMITTED, "Congratulations!|Your score was submitted successfully!", ""},
        {{{"body", " Ab"}, {"cut", 1}}, SSR_COMMUNICATION_PROBLEM,
         "Error|Problem encountered communicating with Lichenware", "Problem submitting [(no data)]."},
        {{{"body", " A\n"}, {"silent", true}}, SSR_COMMUNICATION_PROBLEM,
         "Error|Problem encountered communicating with Lichenware", "Problem ( from: 10  error: 28 ("},
        // Fewer than 3 bytes is no answer.
        {{{"body", " A"}}, SSR_COMMUNICATION_PROBLEM, "Error|Problem encountered communicating with Lichenware",
         "Problem submitting [ A]."},
        {{{"body", "A"}}, SSR_COMMUNICATION_PROBLEM, "Error|Problem encountered communicating with Lichenware",
         "Problem submitting [A]."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.dump());
        ResetEngineForTest();
        popups.clear();
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Submit(c.answer), c.result);
        EXPECT_LT(SecondsSince(start), 4.0);
        ASSERT_GE(popups.size(), 2u);
        EXPECT_EQ(popups[0], "now|Submitting your score...");
        EXPECT_EQ(popups[1], c.popup);
        if (!c.logged.empty()) {
            EXPECT_TRUE(Logged(c.logged)) << LastStored();
        }
    }
}

TEST_F(ScoresSubmitNetTest, RefusesASelfSignedServerAndSendsNothingInvalid)
{
    // The refusal comes with the handshake, but reading the system's
    // certificate store first can take longer than the short time-out of
    // the other cases on a busy machine: that would end in a time-out (28)
    // instead, so this request gets the program's own 15 seconds.
    ScoresSubmitSetTimeoutForTests(0);
    EngServersSetScoreServerAddressForTests(server.TlsUrl("").c_str());
    EXPECT_EQ(Submit({{"body", " A\n"}}), SSR_COMMUNICATION_PROBLEM);
    EXPECT_TRUE(Logged("Problem ( from: 10  error: 60 ("));

    EngServersSetScoreServerAddressForTests(server.Base().c_str());
    server.ForgetRequests();
    popups.clear();
    _ScoresScore bad = ValidScore();
    bad.user_id = 0;
    EXPECT_EQ(Submit({{"body", " A\n"}}, bad), SSR_FAILED);
    EXPECT_EQ(popups, std::vector<std::string>({"Error|Internal Error 1"}));
    popups.clear();
    EXPECT_EQ(ScoresSubmitScore(SP_THIS_GAME, 150, 1002, nullptr, kToolkit), SSR_FAILED);
    EXPECT_EQ(popups, std::vector<std::string>({"Error|Internal Error"}));
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ScoresSubmitNetTest, ShowsNothingWithoutTheToolkitOrWithAPopupOpen)
{
    server.Script({{kScript, {{"body", " D\n"}}}});
    _ScoresScore score = ValidScore();
    EXPECT_EQ(ScoresSubmitScore(SP_THIS_GAME, 150, 1002, &score, nullptr), SSR_BETTER_SCORE_EXISTS);
    popups_allowed = false;
    EXPECT_EQ(ScoresSubmitScore(SP_THIS_GAME, 150, 1002, &score, kToolkit), SSR_BETTER_SCORE_EXISTS);
    EXPECT_TRUE(popups.empty());
}

} // namespace
