#include "engine/core/EngMisc.h"
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "platform/win32/Win32MessageBox.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EngMiscTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngMiscRandSeed(12345);
        eng_main_program_time = 0.0;
    }
};

TEST_F(EngMiscTest, TheProgramIsADesktopProgramWithTheNormalLayout)
{
    EXPECT_TRUE(EngMiscIsDesktopPlatform());
    EXPECT_FALSE(EngMiscIsTabletPlatform());
    EXPECT_STREQ(EngMiscGetPlatformName(), "Windows");

    for (int orientation : {EO_PORTRAIT, EO_PORTRAIT_FLIPPED, EO_LANDSCAPE, EO_LANDSCAPE_FLIPPED}) {
        EngMainSetOrientation(orientation);
        EXPECT_EQ(EngMainGetOrientation(), orientation);
        EXPECT_EQ(EngMainIsPortrait(), orientation <= EO_PORTRAIT_FLIPPED);
        EXPECT_EQ(EngMainIsLandscape(), orientation >= EO_LANDSCAPE);
        EXPECT_EQ(EngLayoutGetLayoutNumber(-1), 0);
        EXPECT_FALSE(EngLayoutIsNotNormalLayout(-1));
    }
    EngMainSetOrientation(EO_PORTRAIT);
    EXPECT_EQ(EngLayoutGetLayoutNumber(3), 3);
    EXPECT_EQ(EngLayoutGetLayoutNumber(0), 0);
    EXPECT_TRUE(EngLayoutIsNotNormalLayout(4));
}

TEST_F(EngMiscTest, TheGeneratorGives15BitValuesInASeededSequence)
{
    std::vector<int> first;
    int highest = 0;
    for (int i = 0; i < 100000; i++) {
        int value = EngMiscRand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, ENG_MISC_RAND_MAX);
        highest = std::max(highest, value);
        if (i < 20)
            first.push_back(value);
    }
    EXPECT_GT(highest, 32000);
    EngMiscRandSeed(12345);
    for (int expected : first)
        EXPECT_EQ(EngMiscRand(), expected);
    EngMiscRandSeed(54321);
    EXPECT_NE(EngMiscRand(), first[0]);
}

TEST_F(EngMiscTest, RandFloatStepsBySizeAndNeverReachesItsMax)
{
    EXPECT_EQ(EngMiscRandFloat(0.000001f, 1), 0.0f);
    EXPECT_FALSE(std::signbit(EngMiscRandFloat(0.000001f, 1))) << "never negated";
    EXPECT_EQ(EngMiscRandFloat(0.0f, 0), 0.0f);

    struct Case {
        float max;
        float step;
    };
    for (Case c : {Case{5.0f, 0.001f}, Case{-5.0f, 0.001f}, Case{0.5f, 0.0001f}, Case{50.0f, 0.01f}}) {
        SCOPED_TRACE(c.max);
        float top = 0.0f;
        for (int i = 0; i < 20000; i++) {
            float r = EngMiscRandFloat(c.max, 0);
            ASSERT_GE(r, 0.0f);
            ASSERT_LT(r, std::fabs(c.max));
            float steps = r / c.step;
            ASSERT_NEAR(steps, std::round(steps), 0.01f) << r;
            top = std::max(top, r);
        }
        EXPECT_GT(top, std::fabs(c.max) * 0.99f);
    }
    // With step 1 the draw reaches only the generator's own range.
    for (int i = 0; i < 1000; i++)
        ASSERT_LE(EngMiscRandFloat(50000.0f, 0), 32767.0f);
    // Limits beyond every range: no step count to convert, or more than an int holds.
    EXPECT_EQ(EngMiscRandFloat(std::nanf(""), 1), 0.0f);
    EXPECT_EQ(EngMiscRandFloatInRange(1.0f, std::nanf(""), 0), 1.0f);
    EXPECT_LE(EngMiscRandFloat(HUGE_VALF, 0), 32767.0f);
    EXPECT_LE(EngMiscRandFloat(3e38f, 0), 32767.0f);
    EXPECT_EQ(DebugGetNumMessages(), 0);

    bool negative = false, positive = false;
    for (int i = 0; i < 100; i++) {
        float r = EngMiscRandFloat(5.0f, 1);
        negative |= r < 0;
        positive |= r > 0;
    }
    EXPECT_TRUE(negative && positive);
}

TEST_F(EngMiscTest, RangesFlipTheirSignOnTheCoinAsTheyShould)
{
    // The coin is the generator's value being odd. A degenerate range flips
    // its sign when the coin is false, a proper one when it is true.
    for (unsigned seed = 1; seed < 40; seed++) {
        EngMiscRandSeed(seed);
        int coin = EngMiscRand() % 2;
        EngMiscRandSeed(seed);
        EXPECT_EQ(EngMiscRandIntInRange(3, 3, 1), coin ? 3 : -3);
        EngMiscRandSeed(seed);
        EXPECT_EQ(EngMiscRandFloatInRange(2.0f, 1.0f, 1), coin ? 2.0f : -2.0f);

        EngMiscRandSeed(seed);
        int value = EngMiscRand();
        coin = EngMiscRand() % 2;
        EngMiscRandSeed(seed);
        int expected = 10 + value % 5;
        EXPECT_EQ(EngMiscRandIntInRange(10, 15, 1), coin ? -expected : expected);
    }

    EXPECT_EQ(EngMiscRandIntInRange(3, 3, 0), 3);
    EXPECT_EQ(EngMiscRandIntInRange(5, 2, 0), 5);
    std::set<int> seen;
    for (int i = 0; i < 2000; i++)
        seen.insert(EngMiscRandIntInRange(0, 10, 0));
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // Ranges wider than an int still stay inside.
    for (int i = 0; i < 100; i++) {
        int value = EngMiscRandIntInRange(-2000000000, 2000000000, 0);
        ASSERT_GE(value, -2000000000);
        ASSERT_LT(value, 2000000000);
    }
    for (int i = 0; i < 1000; i++) {
        double value = EngMiscRandDoubleInRange(1.0, 3.0, 0);
        ASSERT_GE(value, 1.0);
        ASSERT_LT(value, 3.0);
    }
}

TEST_F(EngMiscTest, ChancesAndOneInsDrawOnlyWhenTheyMust)
{
    EngMiscRandSeed(7);
    int first = EngMiscRand();
    int second = EngMiscRand();

    EngMiscRandSeed(7);
    EXPECT_FALSE(EngMiscRandChance(0));
    EXPECT_FALSE(EngMiscRandChance(-3));
    EXPECT_TRUE(EngMiscRandOneIn(1));
    EXPECT_TRUE(EngMiscRandOneIn(0));
    EXPECT_EQ(EngMiscRandChance(1), first % 2 != 0) << "no draw before";
    EXPECT_EQ(EngMiscRandOneIn(2), second % 2 == 0);

    int chances = 0;
    for (int i = 0; i < 30000; i++)
        chances += EngMiscRandChance(2);
    EXPECT_NEAR(chances / 30000.0, 2.0 / 3.0, 0.02);
    // n + 1 must not overflow: true unless the value is 0.
    EngMiscRandSeed(7);
    EXPECT_EQ(EngMiscRandChance(INT_MAX), first != 0);
}

TEST_F(EngMiscTest, FloatHelpers)
{
    struct Near {
        float a, b;
        bool equal;
    };
    for (Near c : {Near{100.0f, 100.05f, true}, Near{0.0f, 0.0001f, false}, Near{0.0f, 0.0f, true},
                   Near{1.0f, 0.0f, false}, Near{1000.0f, 1000.9f, true}, Near{1000.0f, 1001.1f, false}}) {
        EXPECT_EQ(EngMiscAreFloatsNearlyEqual(c.a, c.b), c.equal) << c.a << " " << c.b;
    }

    float value = 5.0f;
    EngMiscClampFloat(&value, 0.0f, 1.0f);
    EXPECT_EQ(value, 1.0f);
    EngMiscClampFloat(&value, 2.0f, 3.0f);
    EXPECT_EQ(value, 2.0f);
    EngMiscClampFloat(nullptr, 0.0f, 1.0f);

    value = 0.0f;
    EXPECT_FALSE(EngMiscMoveFloatTowards(&value, 1.0f, 0.4f));
    EXPECT_FALSE(EngMiscMoveFloatTowards(&value, 1.0f, 0.4f));
    EXPECT_TRUE(EngMiscMoveFloatTowards(&value, 1.0f, 0.4f));
    EXPECT_EQ(value, 1.0f) << "stops on the target";
    EXPECT_TRUE(EngMiscMoveFloatTowards(&value, 1.0f, 0.4f));
    value = 1.0f;
    EXPECT_TRUE(EngMiscMoveFloatTowards(&value, 0.5f, 0.25f) == 0 && value == 0.75f);
    EXPECT_TRUE(EngMiscMoveFloatTowards(&value, 0.5f, 0.25f));
    EXPECT_EQ(value, 0.5f) << "lands exactly";
    EXPECT_TRUE(EngMiscMoveFloatTowards(nullptr, 1.0f, 1.0f));

    double next = 0.0;
    eng_main_program_time = 10.0;
    EXPECT_TRUE(EngMiscCheckRepeatTimer(&next, 0.5));
    EXPECT_EQ(next, 10.5);
    eng_main_program_time = 10.2;
    EXPECT_FALSE(EngMiscCheckRepeatTimer(&next, 0.5));
    eng_main_program_time = 10.5;
    EXPECT_TRUE(EngMiscCheckRepeatTimer(&next, 0.5));
    EXPECT_FALSE(EngMiscCheckRepeatTimer(nullptr, 0.5));
}

TEST_F(EngMiscTest, ThrobPulsesOncePerTurn)
{
    const float pi = 3.14159265f;
    float phase = 0.0f;
    char done = 1;
    const float expected[] = {0.5f, 1.0f, 0.5f, 0.0f, 0.5f};
    const bool cycle[] = {false, false, false, true, false};
    for (int i = 0; i < 5; i++) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(EngMiscUpdateThrob(&phase, pi / 4.0f, &done), expected[i], 1e-5f);
        EXPECT_EQ(done != 0, cycle[i]);
    }
    // The phase keeps within -pi/2 .. 4 pi; each wrap is a finished cycle.
    phase = 12.0f;
    EngMiscUpdateThrob(&phase, 0.5f, &done);
    EXPECT_NEAR(phase, 13.0f - 12.566371f, 1e-5f);
    EXPECT_TRUE(done);
    phase = -1.5f;
    EngMiscUpdateThrob(&phase, -0.1f, &done);
    EXPECT_NEAR(phase, -1.7f + 12.566371f, 1e-5f);
    EXPECT_TRUE(done);

    EXPECT_EQ(EngMiscUpdateThrob(nullptr, 1.0f, &done), 0.0f);
    EXPECT_FALSE(done);
}

TEST_F(EngMiscTest, TextHelpers)
{
    char text[32] = "line\r\n\n";
    EXPECT_TRUE(EngMiscRemoveAnyNewLinesFromEndOfString(text));
    EXPECT_STREQ(text, "line");
    char empty[4] = "";
    EXPECT_FALSE(EngMiscRemoveAnyNewLinesFromEndOfString(empty));
    EXPECT_FALSE(EngMiscRemoveAnyNewLinesFromEndOfString(nullptr));

    char padded[32] = " \t a b \t";
    EXPECT_TRUE(EngMiscRemoveAnySpacesFromStartOrEndOfString(padded));
    EXPECT_STREQ(padded, "a b");
    char blanks[8] = " \t ";
    EXPECT_TRUE(EngMiscRemoveAnySpacesFromStartOrEndOfString(blanks));
    EXPECT_STREQ(blanks, "");
    EXPECT_FALSE(EngMiscRemoveAnySpacesFromStartOrEndOfString(empty));

    struct Alnum {
        const char *text;
        char space, stop, comma, hyphen;
        bool ok;
    };
    for (Alnum c : {Alnum{"Abc123", 0, 0, 0, 0, true}, Alnum{"a b", 0, 0, 0, 0, false}, Alnum{"a b", 1, 0, 0, 0, true},
                    Alnum{"a.b,c-d", 0, 1, 1, 1, true}, Alnum{"a.b", 1, 0, 1, 1, false},
                    Alnum{"caf\xE9", 1, 1, 1, 1, false}, Alnum{"", 1, 1, 1, 1, false}}) {
        EXPECT_EQ(EngMiscIsStringAlphanumeric(c.text, c.space, c.stop, c.comma, c.hyphen), c.ok) << c.text;
    }
    EXPECT_FALSE(EngMiscIsStringAlphanumeric(nullptr, 1, 1, 1, 1));

    char word[16] = "abc\xE9z1";
    EngMiscConvertStringToUpperCase(word);
    EXPECT_STREQ(word, "ABC\xE9Z1");
    EngMiscConvertStringToUpperCase(nullptr);

    EXPECT_STREQ(EngMiscGetExtensionFromFilename("a.b.png"), "png");
    EXPECT_EQ(EngMiscGetExtensionFromFilename(".png"), nullptr);
    EXPECT_EQ(EngMiscGetExtensionFromFilename("name."), nullptr);
    EXPECT_EQ(EngMiscGetExtensionFromFilename("name"), nullptr);
    EXPECT_EQ(EngMiscGetExtensionFromFilename(""), nullptr);
    const char *where = "EngMiscGetExtensionFromFilename";
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine(where, "No extension in [.png]."),
                                 ErrorLine(where, "No extension in [name.]."),
                                 ErrorLine(where, "No extension in [name]."),
                                 ErrorLine(where, "No filename."),
                             }));
}

_EngMiscDate Date(int year, int month, int day)
{
    return _EngMiscDate{year, static_cast<char>(month), static_cast<char>(day)};
}

TEST_F(EngMiscTest, PreviousDays)
{
    struct Case {
        _EngMiscDate from, to;
    };
    const Case cases[] = {
        {Date(2012, 3, 1), Date(2012, 2, 29)}, {Date(2100, 3, 1), Date(2100, 2, 28)},
        {Date(2000, 3, 1), Date(2000, 2, 29)}, {Date(2015, 1, 1), Date(2014, 12, 31)},
        {Date(2015, 5, 1), Date(2015, 4, 30)}, {Date(2015, 7, 1), Date(2015, 6, 30)},
        {Date(2015, 10, 1), Date(2015, 9, 30)}, {Date(2015, 12, 1), Date(2015, 11, 30)},
        {Date(2015, 2, 1), Date(2015, 1, 31)}, {Date(2015, 8, 1), Date(2015, 7, 31)},
        {Date(2015, 7, 15), Date(2015, 7, 14)},
    };
    for (const Case &c : cases) {
        _EngMiscDate date = c.from;
        EngMiscGetPreviousDay(&date);
        EXPECT_EQ(date.year, c.to.year);
        EXPECT_EQ(date.month, c.to.month);
        EXPECT_EQ(date.day, c.to.day) << c.from.year << "-" << int(c.from.month) << "-" << int(c.from.day);
    }
    _EngMiscDate bad = Date(2015, 13, 1);
    EngMiscGetPreviousDay(&bad);
    EXPECT_EQ(bad.month, 13);
    EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngMiscGetPreviousDay", "Invalid date 2015:13:01")});
}

TEST_F(EngMiscTest, DaysMonthsAndTheOrderingNumbers)
{
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 2016), 29);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 1900), 28);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 2000), 29);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(9, 2015), 30);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(13, 2015), 0);
    _EngMiscDate april = Date(2015, 4, 9);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonthForDate(&april), 30);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonthForDate(nullptr), 0);

    _EngMiscDate last2015 = Date(2015, 12, 31), first2016 = Date(2016, 1, 1), last2016 = Date(2016, 12, 31);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&last2015), 365);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&last2016), 366);
    // Day of year plus 366 a year: it orders moments, it does not count days.
    EXPECT_EQ(EngMiscGetDaysFromDate(&last2015), 365u + 366u * 2015u);
    EXPECT_EQ(EngMiscGetDaysFromDate(&first2016), 1u + 366u * 2016u);
    EXPECT_EQ(EngMiscGetDaysFromDate(&first2016) - EngMiscGetDaysFromDate(&last2015), 2u);
    _EngMiscDateAndTime moment = {Date(2016, 1, 1), 13, 7, 59};
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(&moment), 7u + 60u * (13u + 24u * (1u + 366u * 2016u)));

    EXPECT_TRUE(EngMiscIsDateLaterThan(first2016, last2015));
    EXPECT_FALSE(EngMiscIsDateLaterThan(last2015, first2016));
    EXPECT_TRUE(EngMiscIsDateLaterThan(Date(2015, 12, 2), Date(2015, 11, 30)));
    EXPECT_FALSE(EngMiscIsDateLaterThan(last2015, last2015));

    ResetEngineForTest();
    _EngMiscDate bad_month = Date(2015, 0, 1);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(nullptr), 0);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&bad_month), 0);
    EXPECT_EQ(EngMiscGetDaysFromDate(nullptr), 0u);
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(nullptr), 0u);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngMiscGetDayOfYearForDate", "No date."),
                                 ErrorLine("EngMiscGetDayOfYearForDate", "Invalid month 0."),
                                 ErrorLine("EngMiscGetDaysFromDate", "Bad parameters."),
                                 ErrorLine("EngMiscGetMinutesFromDateAndTime", "Bad parameters."),
                             }));
}

TEST_F(EngMiscTest, DateValidity)
{
    struct Case {
        _EngMiscDate date;
        const char *report; // null: valid
    };
    const Case cases[] = {
        {Date(2016, 2, 29), nullptr},           {Date(1900, 1, 1), nullptr},
        {Date(2015, 2, 29), "Invalid day 29 (28)."}, {Date(1899, 12, 31), "Invalid year 1899."},
        {Date(2015, 0, 10), "Invalid month 0."},  {Date(2015, 13, 10), "Invalid month 13."},
        {Date(2015, 4, 0), "Invalid day 0 (30)."},
    };
    for (const Case &c : cases) {
        ResetEngineForTest();
        EXPECT_EQ(EngMiscIsDateValid(&c.date, 0), c.report == nullptr);
        EXPECT_EQ(DebugGetNumMessages(), 0);
        EXPECT_EQ(EngMiscIsDateValid(&c.date, 1), c.report == nullptr);
        std::vector<std::string> expected;
        if (c.report)
            expected.push_back(ErrorLine("EngMiscIsDateValid", c.report));
        EXPECT_EQ(StoredLines(), expected);
    }
    ResetEngineForTest();
    EXPECT_FALSE(EngMiscIsDateValid(nullptr, 1));
    EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngMiscIsDateValid", "Bad parameters.")});
}

TEST_F(EngMiscTest, TheCurrentDateIsTheLocalOne)
{
    _EngMiscDateAndTime now = {};
    EngMiscGetCurrentDateAndTime(&now);
    std::time_t seconds = std::time(nullptr);
    std::tm local = {};
    localtime_r(&seconds, &local);
    EXPECT_TRUE(EngMiscIsDateValid(&now.date, 1));
    EXPECT_EQ(now.date.year, local.tm_year + 1900);
    EXPECT_GE(now.hour, 0);
    EXPECT_LT(now.hour, 24);
    EXPECT_LT(now.minute, 60);

    _EngMiscDate today = {};
    EngMiscGetCurrentDate(&today);
    EXPECT_EQ(today.year, now.date.year);
    _EngMiscDateAndTime time = {Date(1, 1, 1), -1, -1, -1};
    EngMiscGetCurrentTime(&time);
    EXPECT_EQ(time.date.year, 1) << "only the time is filled";
    EXPECT_GE(time.hour, 0);
    EXPECT_GE(time.second, 0);
}

TEST_F(EngMiscTest, WaitsRefreshTheProgramTime)
{
    double before = EngMainUpdateProgramTime();
    EngMiscWait(0.05);
    EXPECT_GE(eng_main_program_time - before, 0.05 - 1e-9);
    EngMiscWait(-1.0);
    EngMiscSleep(0.0);
}

TEST_F(EngMiscTest, PopupsGoToTheMessageBoxWithTheirIcon)
{
    struct Case {
        _EngMiscPopupType type;
        unsigned box_type;
    };
    for (Case c : {Case{EMPT_ERROR, MB_OK | MB_ICONERROR}, Case{EMPT_WARNING, MB_OK | MB_ICONWARNING},
                   Case{EMPT_INFO, MB_OK}, Case{EMPT_NONE, MB_OK}}) {
        TestHooks::Install();
        EngMiscShowPopupMessage(c.type, "Title", "Text");
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        EXPECT_EQ(TestHooks::message_boxes[0].caption, "Title");
        EXPECT_EQ(TestHooks::message_boxes[0].text, "Text");
        EXPECT_EQ(TestHooks::message_boxes[0].type, c.box_type);
        EXPECT_FALSE(EngMiscIsPopupSetToShowAfterExit());
    }

    // The popup kept for after the exit, its texts cut to their buffers.
    TestHooks::Install();
    std::string title(150, 't'), text(500, 'x');
    EngMiscSetPopupToShowAfterExit(EMPT_WARNING, title.c_str(), text.c_str());
    EXPECT_TRUE(EngMiscIsPopupSetToShowAfterExit());
    EngMiscShowPopupMessage(EMPT_NONE, nullptr, nullptr);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, std::string(99, 't'));
    EXPECT_EQ(TestHooks::message_boxes[0].text, std::string(399, 'x'));
    EXPECT_EQ(TestHooks::message_boxes[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_FALSE(EngMiscIsPopupSetToShowAfterExit());
}

class EngMiscFolderTest : public EngMiscTest {
protected:
    void SetUp() override
    {
        EngMiscTest::SetUp();
        data = std::getenv("XDG_DATA_HOME");
        home = std::getenv("HOME");
        // The desktop's place is read from the user's settings under here.
        config = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", home + "/.config");
    }
    void TearDown() override { config.reset(); }
    std::string data;
    std::string home;
    std::unique_ptr<ScopedEnvironment> config;
};

TEST_F(EngMiscFolderTest, FolderQueriesNeedRoomAndGiveTheXdgFolders)
{
    char buffer[768];
    EXPECT_FALSE(EngMiscGetUserApplicationDataDirectory(buffer, 255));
    EXPECT_FALSE(EngMiscGetUserApplicationDataDirectory(nullptr, 768));
    EXPECT_FALSE(EngMiscGetDesktopDirectory(buffer, 100));
    EXPECT_EQ(DebugGetNumMessages(), 0) << "silently";

    ASSERT_TRUE(EngMiscGetUserApplicationDataDirectory(buffer, 256));
    EXPECT_EQ(std::string(buffer), data);

    ASSERT_TRUE(EngMiscGetUserApplicationDataFolderPath("Lichenware", buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer), data + "\\Lichenware");

    ASSERT_TRUE(EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded("Lichenware", "Game", buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer), data + "\\Lichenware\\Game");
    EXPECT_TRUE(fs::is_directory(fs::path(data) / "Lichenware" / "Game"));
    // Again: the folders are there already.
    ASSERT_TRUE(EngMiscCreateUserApplicationDataSubDirectoryIfNeeded("Lichenware", buffer, sizeof(buffer)));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    fs::create_directories(fs::path(home) / "Desktop");
    ASSERT_TRUE(EngMiscGetDesktopDirectory(buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer), home + "/Desktop");
    // Without a desktop folder files go to the home folder.
    fs::remove_all(fs::path(home) / "Desktop");
    ASSERT_TRUE(EngMiscGetDesktopDirectory(buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer), home);
    EXPECT_EQ(DebugGetNumMessages(), 0);

    ScopedEnvironment homeless("HOME", home + "/missing");
    EXPECT_FALSE(EngMiscGetDesktopDirectory(buffer, sizeof(buffer)));
    EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngMiscGetDesktopDirectory_PC",
                                                                "Could not get desktop directory")});
}

TEST_F(EngMiscFolderTest, AFolderPathThatDoesNotFitIsRefused)
{
    // A data folder of about 200 characters leaves no room in 300 bytes for
    // a second level of 100.
    fs::path deep = fs::path(home) / std::string(90, 'a') / std::string(90, 'b');
    fs::create_directories(deep);
    ScopedEnvironment xdg("XDG_DATA_HOME", deep.string());
    std::string sub_sub(100, 'c');
    char buffer[300];
    EXPECT_FALSE(EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded("Lichenware", sub_sub.c_str(), buffer,
                                                                        sizeof(buffer)));
    std::string sub = deep.string() + "\\Lichenware";
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>{ErrorLine("EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded",
                                                 "Path too long <" + sub + "> + <" + sub_sub + ">")});
    EXPECT_TRUE(fs::is_directory(deep / "Lichenware"));
    EXPECT_FALSE(fs::exists(deep / "Lichenware" / sub_sub));

    // The first level alone must leave the folder more than 255 bytes.
    ResetEngineForTest();
    EXPECT_FALSE(EngMiscGetUserApplicationDataFolderPath(std::string(60, 'd').c_str(), buffer, sizeof(buffer)));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngMiscFolderTest, TheUsersName)
{
    char name[64];
    ASSERT_TRUE(EngMiscGetDefaultUsersName(name, sizeof(name)));
    EXPECT_GT(std::strlen(name), 0u);
    char tiny[1] = {'x'};
    EXPECT_FALSE(EngMiscGetDefaultUsersName(tiny, sizeof(tiny)));
    EXPECT_EQ(tiny[0], 0);
    EXPECT_FALSE(EngMiscGetDefaultUsersName(nullptr, 10));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngMiscGetDefaultUsersName_PC", "Could not get user name."),
                                 ErrorLine("EngMiscGetDefaultUsersName_PC", "Bad parameters."),
                             }));
}

TEST_F(EngMiscTest, EngUnicodeHandsBackTheNarrowText)
{
    EngUnicode converted("caf\xE9", 0);
    EXPECT_STREQ(converted.GetAsciiString(0, 1), "caf\xE9");
    EXPECT_STREQ(converted.GetString(0, 1), "caf\xE9");

    EngUnicode kept("English", 1);
    EXPECT_STREQ(kept.GetAsciiString(0, 1), "English");

    EngUnicode none(nullptr, 1);
    EXPECT_EQ(none.GetAsciiString(1, 1), nullptr);
    EXPECT_STREQ(none.GetAsciiString(0, 1), "");
    EngUnicode empty("", 0);
    EXPECT_EQ(empty.GetAsciiString(1, 1), nullptr);
    EXPECT_STREQ(empty.GetAsciiString(0, 0), "");
    EXPECT_STREQ(empty.GetAsciiString(0, 1), "");
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngUnicode::GetAsciiString", "No string (NCN)"),
                                 ErrorLine("EngUnicode::GetAsciiString", "No string"),
                             }));
}

} // namespace
