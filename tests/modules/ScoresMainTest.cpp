#include "modules/ScoresMain.h"
#include "modules/Platform.h"
#include "modules/ScoresHooks.h"
#include "tests/modules/ModulesTestSupport.h"
#include "tests/modules/ScoresTestSupport.h"

#include <string>
#include <vector>

namespace {

using modules_test::ModulesTest;
using scores_test::ValidScore;

class ScoresMainTest : public ModulesTest {};

TEST_F(ScoresMainTest, CountsDaysAndWeeksOfTheYear)
{
    const struct {
        _EngMiscDate date;
        int day;
        int week;
    } cases[] = {{{2015, 1, 1}, 1, 1},     {{2015, 1, 6}, 6, 1},      {{2015, 1, 7}, 7, 2},
                 {{2015, 3, 3}, 62, 9},    {{2015, 3, 4}, 63, 10},    {{2015, 12, 31}, 365, 52},
                 {{2016, 3, 1}, 61, 9},    {{2000, 12, 31}, 366, 52}, {{1900, 3, 1}, 60, 9}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.date.year << "-" << int(c.date.month) << "-" << int(c.date.day));
        EXPECT_EQ(ScoresMainGetDatesYearDayNum(&c.date), c.day);
        EXPECT_EQ(ScoresMainGetDatesWeekNumber(&c.date), c.week);
    }
    _EngMiscDate bad = {2015, 13, 1};
    EXPECT_EQ(ScoresMainGetDatesYearDayNum(&bad), 0);
    EXPECT_TRUE(Logged("Invalid month 13."));
    EXPECT_EQ(ScoresMainGetDatesWeekNumber(nullptr), 0);
    EXPECT_TRUE(Logged("No date."));
}

TEST_F(ScoresMainTest, TellsWhichRangesTwoDatesShare)
{
    _EngMiscDate march4 = {2015, 3, 4}, march10 = {2015, 3, 10}, march3 = {2015, 3, 3}, next_year = {2016, 3, 4};
    char day = 9, week = 9, month = 9, year = 9;
    ASSERT_TRUE(ScoresMainGetRangesFromDate(&march4, &march10, &day, &week, &month, &year));
    EXPECT_EQ(std::vector<int>({day, week, month, year}), std::vector<int>({0, 1, 1, 1}));
    ASSERT_TRUE(ScoresMainGetRangesFromDate(&march4, &march3, &day, &week, &month, &year));
    EXPECT_EQ(std::vector<int>({day, week, month, year}), std::vector<int>({0, 0, 1, 1}));
    ASSERT_TRUE(ScoresMainGetRangesFromDate(&march4, &next_year, &day, &week, &month, &year));
    EXPECT_EQ(std::vector<int>({day, week, month, year}), std::vector<int>({0, 0, 0, 0}));
    _EngMiscDate old = {1900, 1, 1};
    EXPECT_FALSE(ScoresMainGetRangesFromDate(&old, &march4, nullptr, nullptr, nullptr, &year));
    EXPECT_EQ(year, 0);
    EXPECT_TRUE(Logged("Invalid dates"));
}

TEST_F(ScoresMainTest, ChecksAScoreBeforeItIsSent)
{
    _ScoresScore valid = ValidScore();
    EXPECT_TRUE(ScoresMainIsScoreValid(&valid, 1));
    const struct {
        const char *what;
        void (*spoil)(_ScoresScore *);
        char check_platform;
        const char *logged;
    } cases[] = {
        {"no score", [](_ScoresScore *s) { s->score = 0; }, 0, "IE_IS [0 107 Ann Smith 4242]"},
        {"negative level", [](_ScoresScore *s) { s->level = -1; }, 0, "IE_IS [12345 -1 Ann Smith 4242]"},
        {"no name", [](_ScoresScore *s) { s->name[0] = 0; }, 0, "IE_IS [12345 107  4242]"},
        {"no user id", [](_ScoresScore *s) { s->user_id = 0; }, 0, "IE_IS [12345 107 Ann Smith 0]"},
        {"a flag of 10", [](_ScoresScore *s) { s->flags[2] = 10; }, 0, "IS_IF [0 0 10 0]"},
        {"a flag below 0", [](_ScoresScore *s) { s->flags[0] = -1; }, 0, "IS_IF [-1 0 0 0]"},
        {"a bad date", [](_ScoresScore *s) { s->date.month = 13; }, 0, ""},
        {"a lower-case platform", [](_ScoresScore *s) { s->platform = 'w'; }, 1, "Invalid platform '119'."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineForTest();
        _ScoresScore s = ValidScore();
        c.spoil(&s);
        EXPECT_FALSE(ScoresMainIsScoreValid(&s, c.check_platform));
        EXPECT_TRUE(Logged(c.logged)) << LastStored();
    }
    _ScoresScore w = ValidScore();
    w.platform = 'w';
    EXPECT_TRUE(ScoresMainIsScoreValid(&w, 0));
    EXPECT_FALSE(ScoresMainIsScoreValid(nullptr, 0));
    EXPECT_TRUE(Logged("Bad parameters."));
}

TEST_F(ScoresMainTest, NamesACacheFilePerRange)
{
    const char *names[] = {"Scores_55_1001_A.sco", "Scores_55_1001_Y.sco", "Scores_55_1001_M.sco",
                           "Scores_55_1001_W.sco", "Scores_55_1001_D.sco"};
    ScoresMain scores;
    for (int range = SR_ALL; range <= SR_DAY; range++) {
        ASSERT_TRUE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, static_cast<_ScoresRange>(range), nullptr, 0, 60));
        std::string name = scores.GetScoresFileName();
        EXPECT_EQ(name, std::string(PrefFolderGetSubFolder("Scores", 0)) + "\\" + names[range]);
    }
    ASSERT_TRUE(scores.Setup(SP_TEST, 150, 100, 1001, SR_ALL, nullptr, 0, 60));
    EXPECT_STREQ(scores.GetScoresFileName(), "ScoresMainTest.sco");
}

TEST_F(ScoresMainTest, RefusesBadSetUpAndCallsBeforeIt)
{
    ScoresMain scores;
    EXPECT_FALSE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 0));
    EXPECT_FALSE(scores.Setup(SP_THIS_GAME, 0, 100, 1001, SR_ALL, nullptr, 0, 60));
    EXPECT_FALSE(scores.Setup(SP_THIS_GAME, 150, 0, 1001, SR_ALL, nullptr, 0, 60));
    EXPECT_FALSE(scores.Setup(SP_THIS_GAME, 150, 100, 1001, static_cast<_ScoresRange>(5), nullptr, 0, 60));
    EXPECT_EQ(LogCount("Parameter Error"), 4);
    EXPECT_FALSE(scores.IsSetup());
    EXPECT_FALSE(scores.Update());
    EXPECT_EQ(scores.GetScoresList(1), nullptr);
    EXPECT_EQ(scores.UpdateIfNeeded(1), 0);
    EXPECT_GE(LogCount("Not setup."), 3);
}

TEST_F(ScoresMainTest, TakesAnAnswerGivenWithoutADownload)
{
    ScoresResetHooksForTests();
    scores_hooks.country_num_from_code = scores_test::CountryNum;
    ScoresMain scores;
    _EngInternetThreadReadResult status = EITRR_NONE;
    EXPECT_EQ(scores.TakeAnswer("Y \n", 3, &status, nullptr), SCORES_UPDATE_OTHER);
    EXPECT_TRUE(Logged("Not setup."));
    ASSERT_TRUE(scores.Setup(SP_TEST, 150, 100, 1001, SR_ALL, nullptr, 0, 60));

    // Only the given bytes are read, with no terminator after them: the last
    // line is cut, so it is not taken.
    const std::string text = "Y \n900 107 1 2 11 Ann FR Annie 2015-10-08 W\n800 212 0 0 12 Bob";
    const std::vector<char> answer(text.begin(), text.end());
    EXPECT_EQ(scores.TakeAnswer(answer.data(), static_cast<unsigned>(answer.size()), &status, nullptr),
              SCORES_UPDATE_LIST);
    EXPECT_EQ(status, EITRR_DONE);
    ASSERT_EQ(scores.GetNumberOfScores(), 1);
    EXPECT_STREQ(scores.GetScore(0)->name, "Ann");

    // An answer that fills the buffer is refused whole; the list stays.
    const std::vector<char> full(SCORES_MAIN_ANSWER_SIZE, 'z');
    EXPECT_EQ(scores.TakeAnswer(full.data(), static_cast<unsigned>(full.size()), &status, nullptr),
              SCORES_UPDATE_OTHER);
    EXPECT_EQ(status, SCORES_STATUS_BAD_DATA);
    EXPECT_EQ(scores.GetNumberOfScores(), 1);
    ScoresResetHooksForTests();
}

} // namespace
