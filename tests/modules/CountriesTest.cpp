// The country table, its lookups, the user's country from the session's
// locale and the flag cells. Headless: nothing here draws.
#include "modules/Countries.h"

#include "engine/core/EngDebug.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

class CountriesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        CountryResetForTests();
        DebugClearLogs();
    }
    void TearDown() override { CountryResetForTests(); }
};

TEST_F(CountriesTest, TheTableHoldsEachCountryOnceWithItsCodeAndFlag)
{
    std::set<std::string> names, codes;
    for (int row = 0; row < COUNTRY_NUM_COUNTRIES; row++) {
        const _CountryEntry &entry = country_list[row];
        names.insert(entry.name);
        codes.insert(entry.code);
        ASSERT_EQ(std::strlen(entry.code), 2u) << row;
        EXPECT_EQ(entry.flag_cell, row == 142 ? 67 : row) << entry.name;
    }
    EXPECT_EQ(names.size(), 222u);
    EXPECT_EQ(codes.size(), 222u);
    EXPECT_EQ(names.count("United Kingdom"), 0u);
    EXPECT_EQ(codes.count("UK"), 0u);

    struct Row {
        int row;
        const char *name, *code;
    };
    const Row rows[] = {
        {0, "Afghanistan", "AF"},   {60, "England", "GB"},
        {67, "France", "FR"},       {71, "Germany", "DE"},
        {141, "Netherlands Antilles", "AN"},
        {142, "New Caledonia", "NC"},
        {147, "Northern Ireland", "G2"},
        {152, "Palestineian Territory, Occupied", "PS"},
        {173, "Scotland", "G3"},    {208, "United States", "US"},
        {217, "Wales", "G4"},       {221, "Zimbabwe", "ZW"},
    };
    for (const Row &r : rows) {
        EXPECT_STREQ(country_list[r.row].name, r.name);
        EXPECT_STREQ(country_list[r.row].code, r.code);
    }
}

TEST_F(CountriesTest, LookupsAreExactWithUkReadAsEngland)
{
    struct Case {
        const char *code;
        const char *name;  // CountryGetCountryNameFromCode
        int as_uk, as_gb;  // CountryGetCountryNumFromCode without and with uk_as_gb
        const char *logged; // once for an unknown code, at each of the three calls for bad parameters
        int times;
    };
    const Case cases[] = {
        {"GB", "England", 60, 60, nullptr, 0},
        {"UK", "England", COUNTRY_NUM_UK, 60, nullptr, 0},
        {"DE", "Germany", 71, 71, nullptr, 0},
        {"gb", "(Unknown Country)", -1, -1, "Code [gb] not found.", 1},
        {"XX", "(Unknown Country)", -1, -1, "Code [XX] not found.", 1},
        {"", "(Unknown Country)", -1, -1, "Bad parameters.", 3},
        {nullptr, "(Unknown Country)", -1, -1, "Bad parameters.", 3},
    };
    for (const Case &c : cases) {
        const char *shown = c.code ? c.code : "(null)";
        DebugClearLogs();
        EXPECT_STREQ(CountryGetCountryNameFromCode(c.code), c.name) << shown;
        EXPECT_EQ(CountryGetCountryNumFromCode(c.code, 0), c.as_uk) << shown;
        EXPECT_EQ(CountryGetCountryNumFromCode(c.code, 1), c.as_gb) << shown;
        if (c.logged)
            EXPECT_EQ(LogCount(c.logged), c.times) << shown;
        else
            EXPECT_TRUE(StoredLines().empty()) << shown;
    }
    // The screens look a code up every frame: an unknown one is noted once.
    DebugClearLogs();
    for (int frame = 0; frame < 100; frame++) {
        CountryGetCountryNumFromCode("??", 1);
        CountryGetCountryNameFromCode("XX");
    }
    EXPECT_EQ(LogCount("Code [??] not found."), 1);
    EXPECT_EQ(LogCount("Code [XX] not found."), 0);
    // However many codes come, the notes stay few.
    DebugClearLogs();
    for (int frame = 0; frame < 10; frame++)
        for (int i = 0; i < 100; i++)
            CountryGetCountryNumFromCode(("Q" + std::to_string(i)).c_str(), 1);
    EXPECT_LT(StoredLines().size(), 40u);

    struct NameCase {
        const char *name;
        int row;
        const char *logged;
    };
    const NameCase names[] = {
        {"England", 60, nullptr},
        {"United Kingdom", 60, nullptr},
        {"Congo, The Democratic Republic of The", 45, nullptr},
        {"england", -1, "Name [england] not found."},
        {"", -1, "Bad parameters."},
        {nullptr, -1, "Bad parameters."},
    };
    for (const NameCase &c : names) {
        DebugClearLogs();
        EXPECT_EQ(CountryGetCountryNumFromName(c.name), c.row) << (c.name ? c.name : "(null)");
        if (c.logged)
            EXPECT_TRUE(LogHas(c.logged)) << c.logged;
        else
            EXPECT_TRUE(StoredLines().empty());
    }
}

TEST_F(CountriesTest, TheTerritoryIsTheLocalesTwoLetterRegion)
{
    struct Case {
        const char *locale;
        const char *code; // "" for none
    };
    const Case cases[] = {
        {"en_GB.UTF-8", "GB"}, {"de_DE", "DE"},  {"de_DE@euro", "DE"}, {"fr_CA.ISO-8859-1", "CA"},
        {"C", ""},             {"POSIX", ""},    {"", ""},             {"C.UTF-8", ""},
        {"es_419.UTF-8", ""},  {"en_", ""},      {"en_G", ""},         {"en_gb", "GB"},
        {nullptr, ""},
    };
    for (const Case &c : cases) {
        char code[3] = {'x', 'x', 0};
        EXPECT_EQ(CountryGetTerritoryFromLocale(c.locale, code), c.code[0] != 0) << (c.locale ? c.locale : "null");
        EXPECT_STREQ(code, c.code) << (c.locale ? c.locale : "null");
    }
}

// The session's locale variables, set for one case and put back after it.
class LocaleVariables {
public:
    LocaleVariables(const char *lc_all, const char *lc_messages, const char *lang)
    {
        const char *values[] = {lc_all, lc_messages, lang};
        for (int i = 0; i < 3; i++) {
            const char *old = std::getenv(NAMES[i]);
            m_saved[i] = old ? old : "";
            m_had[i] = old != nullptr;
            if (values[i])
                setenv(NAMES[i], values[i], 1);
            else
                unsetenv(NAMES[i]);
        }
    }
    ~LocaleVariables()
    {
        for (int i = 0; i < 3; i++)
            if (m_had[i])
                setenv(NAMES[i], m_saved[i].c_str(), 1);
            else
                unsetenv(NAMES[i]);
    }

private:
    static constexpr const char *NAMES[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string m_saved[3];
    bool m_had[3];
};

TEST_F(CountriesTest, TheUsersCountryComesFromTheFirstLocaleVariableSet)
{
    struct Case {
        const char *lc_all, *lc_messages, *lang;
        int row;
        const char *code;
    };
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", 71, "DE"},
        {"", "", "de_DE.UTF-8", 71, "DE"},
        {"en_GB.UTF-8", "fr_FR", "de_DE", 60, "GB"},
        {nullptr, "fr_FR.UTF-8", "de_DE", 67, "FR"},
        {nullptr, nullptr, "C", -1, "??"},
        {nullptr, nullptr, nullptr, -1, "??"},
        {nullptr, nullptr, "sr_XK.UTF-8", -1, "??"},
    };
    for (const Case &c : cases) {
        LocaleVariables locale(c.lc_all, c.lc_messages, c.lang);
        DebugClearLogs();
        EXPECT_EQ(CountryGetLocalCountryPos(), c.row) << c.code;
        EXPECT_STREQ(CountryGetLocalCountryCode(), c.code);
        EXPECT_EQ(LogCount("Could not get local country pos"), c.row < 0 ? 2 : 0) << c.code;
    }
    // A region without a row is noted the first time it is looked up.
    LocaleVariables kosovo(nullptr, nullptr, "sr_XK.UTF-8");
    CountryResetForTests();
    DebugClearLogs();
    CountryGetLocalCountryPos();
    EXPECT_TRUE(LogHas("Code [XK] not found."));
    DebugClearLogs();
    CountryGetLocalCountryPos();
    EXPECT_FALSE(LogHas("Code [XK] not found."));
}

TEST_F(CountriesTest, FlagCellsLieInTheSixteenBySixteenGrid)
{
    const float cell = 0.0625f;
    struct Case {
        int country;
        bool found;
        int column, row;
    };
    const Case cases[] = {
        {0, true, 0, 0},     {67, true, 3, 4},     {142, true, 3, 4}, // New Caledonia shows France
        {221, true, 13, 13}, {223, true, 15, 13},  {222, false, 0, 0},
        {224, false, 0, 0},  {-1, false, 0, 0},    {100000, false, 0, 0},
    };
    for (const Case &c : cases) {
        float u0 = -1, v0 = -1, u1 = -1, v1 = -1;
        ASSERT_EQ(CountryGetFlagTexCoords(c.country, &u0, &v0, &u1, &v1), c.found) << c.country;
        if (!c.found)
            continue;
        EXPECT_FLOAT_EQ(u0, c.column * cell) << c.country;
        EXPECT_FLOAT_EQ(v0, c.row * cell) << c.country;
        EXPECT_FLOAT_EQ(u1, c.column * cell + cell) << c.country;
        EXPECT_FLOAT_EQ(v1, c.row * cell + cell) << c.country;
    }
}

TEST_F(CountriesTest, TheFlagsFileFollowsTheSetUp)
{
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data\\Common\\CountryFlags512.png");
    EXPECT_TRUE(LogHas(ErrorLine("CountryGetFlagsFilename", "Not setup.")));
    DebugClearLogs();
    // Once chosen for the missing set-up, the small flags stay without a report.
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data\\Common\\CountryFlags512.png");
    CountrySetup(1, 1, nullptr, nullptr, 0, 0);
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data\\Common\\CountryFlags1024.png");
    CountrySetup(0, 0, nullptr, nullptr, 0, 0);
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data\\Common\\CountryFlags512.png");
    EXPECT_TRUE(StoredLines().empty());

    // Without the file (the tests run in an empty folder) nothing loads.
    EXPECT_FALSE(CountryCreateGraphics());
    EXPECT_TRUE(LogHas("Flags texture file does not exist <Data\\Common\\CountryFlags512.png>"));
    EXPECT_EQ(CountryGetFlagsTexture(), nullptr);
}

int continued = 0;
Program *continued_with = nullptr;
void Continued(Program *program)
{
    continued++;
    continued_with = program;
}

TEST_F(CountriesTest, ChoosingKeepsTheCodeAndContinues)
{
    EXPECT_STREQ(CountryGetChosenCountryCode(), "");
    Program *program = reinterpret_cast<Program *>(&continued);
    CountrySetup(0, 1, Continued, program, 0, 0);
    continued = 0;
    EXPECT_TRUE(CountryChooseCountry(0));
    EXPECT_STREQ(CountryGetChosenCountryCode(), "AF");
    EXPECT_EQ(continued, 1);
    EXPECT_EQ(continued_with, program);

    // Without a callback the screen goes back itself.
    CountrySetContinueCallback(nullptr, nullptr);
    EXPECT_FALSE(CountryChooseCountry(217));
    EXPECT_STREQ(CountryGetChosenCountryCode(), "G4");
    EXPECT_TRUE(StoredLines().empty());

    // Numbers without a row change nothing.
    CountrySetContinueCallback(Continued, program);
    for (int bad : {-1, 222, 223}) {
        EXPECT_FALSE(CountryChooseCountry(bad)) << bad;
        EXPECT_STREQ(CountryGetChosenCountryCode(), "G4");
    }
    EXPECT_EQ(continued, 1);
    EXPECT_EQ(LogCount("Bad parameters."), 3);
}

} // namespace
