#include "engine/core/EngLanguages.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

const std::string ENGLISH_HEADER = "Language=English\r\nFlagCountryCode=GB\r\n";
const std::string GERMAN_HEADER = "Language=Deutsch\r\nFlagCountryCode=DE\r\n";

// The sub-texts of the current table's first token equal to token, or an
// empty list when there is none.
Lines SubTexts(const std::string &token)
{
    int count = 0;
    int number = -1;
    const EngLangTextTable *table = EngLanguagesGetCurrentTexts();
    for (int i = 0; i < table->Count() && number < 0; i++)
        if (token == table->Get(i)->GetToken())
            number = i;
    Lines subs;
    if (number < 0)
        return subs;
    count = table->Get(number)->GetNumSubTexts();
    for (int k = 0; k < count; k++)
        subs.push_back(EngLanguagesGetString(number, k));
    return subs;
}

class EngLanguagesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngLanguagesDestroy();
        fs::remove_all("Lang");
        fs::create_directories("Lang");
    }
    void TearDown() override { EngLanguagesDestroy(); }

    static void Write(const std::string &name, const std::string &content) { WriteWhole("Lang/" + name, content); }

    // Sets up the folder with the language given, its texts loaded, and
    // forgets the log of the set-up.
    static void Load(const char *language)
    {
        ASSERT_TRUE(EngLanguagesInit("Lang", language, 0));
        EngLanguagesInitFinished();
        ResetEngineForTest();
    }
};

TEST_F(EngLanguagesTest, LineRules)
{
    const std::string t63(63, 't');
    const std::string t64(64, 'u');
    const std::string long_ok(4093, 'x');
    const std::string too_long(4094, 'y');
    struct Case {
        const char *label;
        std::string line;
        std::string token;
        Lines subs; // empty: the line is ignored
    };
    const Case cases[] = {
        {"sub-texts and a doubled hash", "Quit=Exit#Leave##Now#Stay", "Quit", {"Exit", "Leave#Now", "Stay"}},
        {"backslash-n", "A=x\\ny", "A", {"x\ny"}},
        {"three hashes", "H3=a###b", "H3", {"a##b"}},
        {"only the first doubled hash", "H2=a##b##c", "H2", {"a#b##c"}},
        {"line break before a doubled hash", "E=a\\n##b", "E", {"a\n#b"}},
        {"trailing separator", "Trail=a#", "Trail", {"a", ""}},
        {"leading separator", "Lead=#a", "Lead", {"", "a"}},
        {"empty value", "Empty=", "Empty", {""}},
        {"nothing trimmed", "Key = value", "Key ", {" value"}},
        {"later equals signs are text", "Eq=a=b", "Eq", {"a=b"}},
        {"63-character token", t63 + "=ok", t63, {"ok"}},
        {"4095-character line", "L=" + long_ok, "L", {long_ok}},
        {"first of two equal tokens", "Quit=Other", "Quit", {"Exit", "Leave#Now", "Stay"}},
        {"64-character token", t64 + "=no", t64, {}},
        {"comment", ";x=1", ";x", {}},
        {"heading", "[x]=1", "[x]", {}},
        {"equals first", "=first", "", {}},
        {"no equals", "NoEquals", "NoEquals", {}},
        {"4096-character line", "M=" + too_long, "M", {}},
    };
    std::string file = ENGLISH_HEADER;
    int stored = 2;
    for (const Case &c : cases) {
        file += c.line + "\r\n";
        stored += c.subs.empty() ? 0 : 1;
    }
    file += "\r\n";
    Write("English.txt", file);
    Load(nullptr);

    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SubTexts(c.token), c.subs);
    }
    EXPECT_EQ(EngLanguagesGetCurrentTexts()->Count(), stored);
    EXPECT_EQ(SubTexts("Language"), Lines{"English"});
    EXPECT_EQ(SubTexts("FlagCountryCode"), Lines{"GB"});
    EXPECT_EQ(StoredLines(), Lines{});
}

TEST_F(EngLanguagesTest, HeadersAndTheChoiceOfLanguage)
{
    Write("English.txt", "; texts\r\nLanguage=English \t\r\nFlagCountryCode=GBR \r\nA=a\r\n");
    Write("Deutsch.txt", GERMAN_HEADER + "A=b\r\n");
    // The native name is decoded from UTF-8 and cut to 63 characters.
    Write("Francais.txt", "Language=Fran\xC3\xA7" "ais" + std::string(70, 's') + "\nFlagCountryCode=FR\n");
    Write("NoCode.txt", "Language=Nix\n");
    Write("NoName.txt", "FlagCountryCode=NN\n");
    Write("notes.dat", "Language=Notes\n");
    Write("a.tx", "x");
    Write(".txt", "x");

    ASSERT_TRUE(EngLanguagesInit("Lang", "ENGLISH", 0));
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 5);
    // Names come sorted, case-blind.
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 1);
    EXPECT_EQ(EngLanguagesGetEnglishLanguageNumber(), 1);
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ(EngLanguagesGetCurrentLanguageNameInEnglish(), "English");
    EXPECT_STREQ(EngLanguagesGetCurrentFlagCountryCode(), "GB");
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(0), "Deutsch");
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(2), ("Fran\xE7" "ais" + std::string(55, 's')).c_str());
    EXPECT_STREQ(EngLanguagesGetFlagCountryCode(2), "FR");
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(9), "");
    EXPECT_STREQ(EngLanguagesGetFlagCountryCode(-1), "");
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("EngLangParseLanguageFile", "No FlagCountryCode entry."),
                     ErrorLine("EngLanguagesInit", "Could not read the header of language <NoCode>"),
                     ErrorLine("EngLangParseLanguageFile", "Could not get language name."),
                     ErrorLine("EngLanguagesInit", "Could not read the header of language <NoName>")}));

    // With the English-only flag only "English.txt" counts.
    ResetEngineForTest();
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 1));
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 1);
    EXPECT_STREQ(EngLanguagesGetCurrentLanguageNameInEnglish(), "English");
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("EngLanguagesInit", "Already setup."),
                     ErrorLine("EngLanguagesInit",
                               "Could not find default language <Deutsch> - using language 0 <English>")}));

    // Without a default English is wanted; a later match wins over nothing.
    ResetEngineForTest();
    EngLanguagesDestroy();
    fs::remove("Lang/English.txt");
    ASSERT_TRUE(EngLanguagesInit("Lang", nullptr, 0));
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 0);
    EXPECT_FALSE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_EQ(StoredLines()[0],
              ErrorLine("EngLanguagesInit", "Could not find default language - using language 0 <Deutsch>"));
}

TEST_F(EngLanguagesTest, SetUpFailures)
{
    EngLanguagesInitFinished();
    EXPECT_FALSE(EngLanguagesInit("Nope", nullptr, 0));
    EXPECT_FALSE(EngLanguagesInit("Lang", nullptr, 0));
    EXPECT_FALSE(EngLanguagesHaveLanguages());
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 0);
    EXPECT_FALSE(EngLangParseLanguage(0, 1));
    EXPECT_STREQ(EngLanguagesGetString("A", 0), "");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", "dflt"), "dflt");
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("EngLanguagesInitFinished", "Not setup."),
                     ErrorLine("EngLanguagesInit", "Languages directory does not exists <Nope>"),
                     ErrorLine("EngLanguagesInit", "No language files found in directory <Lang>"),
                     ErrorLine("EngLanguagesGetCurrentLanguageNumber", "Not setup."),
                     ErrorLine("EngLangParseLanguage", "Not setup."),
                     ErrorLine("EngLanguagesGetTokenNumForToken", "Token not found [A]."),
                     ErrorLine("EngLanguagesGetString", "Token <A:0> not found")}));

    // Texts are loaded only after the set-up has finished.
    ResetEngineForTest();
    Write("English.txt", ENGLISH_HEADER);
    ASSERT_TRUE(EngLanguagesInit("Lang", nullptr, 0));
    EXPECT_FALSE(EngLangParseLanguage(0, 0));
    EXPECT_FALSE(EngLanguagesAddTextsPath("Lang"));
    EXPECT_FALSE(EngLanguagesSetCurrentLanguage(3));
    EXPECT_EQ(StoredLines(), (Lines{ErrorLine("EngLangParseLanguage", "Not setup."),
                                    ErrorLine("EngLanguagesAddTextsPath", "Path already present <Lang>"),
                                    ErrorLine("EngLanguagesSetCurrentLanguage", "Bad lang num 3.")}));
}

TEST_F(EngLanguagesTest, SharedTextsFolderAndASecondTextsFolder)
{
    fs::create_directories("Data/Common/CommonTexts");
    WriteWhole("Data/Common/CommonTexts/English.txt", ENGLISH_HEADER + "Common_Error=Error\r\n");
    WriteWhole("Data/Common/CommonTexts/Deutsch.txt", GERMAN_HEADER);
    fs::create_directories("More");
    WriteWhole("More/English.txt", "Extra=More\r\n");

    char name[64] = "";
    ASSERT_TRUE(EngLanguagesSetLangNameStringToEnglish(name, 0, 1));
    ASSERT_TRUE(EngLanguagesInitWithCommonTexts(name, 1));
    ASSERT_TRUE(EngLanguagesAddTextsPath("More"));
    EngLanguagesInitFinished();
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 1);
    EXPECT_STREQ(EngLanguagesGetStringForToken("Common_Error"), "Error");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Extra"), "More");
    EXPECT_EQ(StoredLines(), Lines{" *  EngLanguagesSetLangNameStringToEnglish > String empty."});
}

TEST_F(EngLanguagesTest, SetLangNameStringToEnglish)
{
    struct Case {
        const char *name;
        char only_if_empty;
        char note_if_empty;
        bool written;
        bool noted;
    };
    const Case cases[] = {
        {"Deutsch", 0, 0, true, false},  {"Deutsch", 1, 1, false, false}, {"", 1, 1, true, true},
        {"", 0, 0, true, false},         {"English", 0, 0, false, false}, {"english", 0, 0, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineForTest();
        char name[64];
        EngSafeStrcpy(name, c.name, sizeof(name));
        EXPECT_EQ(EngLanguagesSetLangNameStringToEnglish(name, c.only_if_empty, c.note_if_empty), c.written);
        EXPECT_STREQ(name, c.written ? "English" : c.name);
        EXPECT_EQ(DebugGetNumMessages(), c.noted ? 1 : 0);
    }
    EXPECT_FALSE(EngLanguagesSetLangNameStringToEnglish(nullptr, 0, 0));
}

TEST_F(EngLanguagesTest, Utf8IsDecodedOnlyForTranslations)
{
    const std::string lines = "Acute=caf\xC3\xA9\r\n"
                              "Both=\xE2\x82\xAC" "5 caf\xC3\xA9\r\n"
                              "Euro=\xE2\x82\xAC" "5\r\n";
    Write("English.txt", ENGLISH_HEADER + lines);
    Write("Deutsch.txt", GERMAN_HEADER + lines);

    Load("English");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Acute"), "caf\xC3\xA9");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Both"), "\xE2\x82\xAC" "5 caf\xC3\xA9");

    Load("Deutsch");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Acute"), "caf\xE9");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Both"), "5 caf\xE9");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Euro"), "\xE2\x82\xAC" "5");

    // A file with a UTF-8 mark arrives as 1252 whatever the language.
    Write("English.txt", "\xEF\xBB\xBF" + ENGLISH_HEADER + "Acute=caf\xC3\xA9\r\nEuro=\xE2\x82\xAC\r\n");
    Load("English");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Acute"), "caf\xE9");
    EXPECT_STREQ(EngLanguagesGetStringForToken("Euro"), "\x80");
}

TEST_F(EngLanguagesTest, ConvertUtf8ToExtendedAscii)
{
    struct Case {
        const char *text;
        const char *expected;
        bool changed;
    };
    const Case cases[] = {
        {"plain", "plain", false},
        {"caf\xC3\xA9", "caf\xE9", true},
        {"\xC2\xA1\xC3\xBF", "\xA1\xFF", true},
        // No-break space, soft hyphen and C1 controls never decode; with a
        // decoded pair in the text they vanish.
        {"\xC2\xA0x\xC2\xAD\xC2\x85\xC3\xA9", "x\xE9", true},
        {"\xC2\xA0", "\xC2\xA0", false},
        {"\xE2\x82\xAC and \xC3\xA9", " and \xE9", true},
        {"\xE2\x82\xAC", "\xE2\x82\xAC", false},
        {"\xE9 1252", "\xE9 1252", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::string input = c.text;
        char changed = 2;
        char *out = ConvertUtf8ToExtendedAscii(&input[0], &changed);
        EXPECT_STREQ(out, c.expected);
        EXPECT_EQ(changed, c.changed ? 1 : 0);
        EXPECT_EQ(out == input.data(), !c.changed);
        if (changed)
            EngFree(out, 1, "test");
    }
}

TEST_F(EngLanguagesTest, LookupsByTokenAndNumber)
{
    Write("English.txt", ENGLISH_HEADER + "Two=first#second\r\nOne=only\r\nEmpty=\r\nScore=Player %1 scored %2\r\n");
    Load(nullptr);

    int count = -1;
    int two = EngLanguagesGetTokenNumAndNumSubTextsForToken("Two", &count);
    EXPECT_EQ(two, 2);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(EngLanguagesGetTokenNum("One", 1), 3);
    EXPECT_EQ(EngLanguagesGetTokenNumForToken("Two", 1, 0), 2);
    EXPECT_STREQ(EngLanguagesGetTokenText(two), "Two");
    EXPECT_STREQ(EngLanguagesGetString("Two", 1), "second");
    EXPECT_STREQ(EngLanguagesGetStringForToken("One"), "only");
    EXPECT_STREQ(EngLanguagesGetString(two, 0), "first");
    EXPECT_STREQ(EngLanguagesGetStringForTokenNum(3), "only");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("One", "dflt"), "only");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("two", "dflt"), "dflt") << "tokens are case-sensitive";
    EXPECT_TRUE(EngLanguagesDoesTokenExist("Empty"));
    EXPECT_TRUE(EngLanguagesDoesTokenHaveSubText("Two", 1));
    EXPECT_FALSE(EngLanguagesDoesTokenHaveSubText("Two", 2));
    EXPECT_FALSE(EngLanguagesDoesTokenExist(nullptr));
    EXPECT_EQ(EngLanguagesGetTokenNumForToken("Missing", 0, 0), -1);
    EXPECT_EQ(StoredLines(), Lines{}) << "the lookups above are silent";

    struct Failure {
        const char *label;
        const char *result;
        Lines log;
    };
    const char *where = "EngLanguagesGetTokenNumForToken";
    const Failure failures[] = {
        {"unknown token", EngLanguagesGetString("Missing", 0),
         {ErrorLine(where, "Token not found [Missing]."),
          ErrorLine("EngLanguagesGetString", "Token <Missing:0> not found")}},
        {"sub-text out of range", EngLanguagesGetString("Two", 3),
         {ErrorLine(where, "Invalid sub text num 3 for token <Two>"),
          ErrorLine("EngLanguagesGetString", "Token <Two:3> not found")}},
        {"null token", EngLanguagesGetString(nullptr, 0),
         {ErrorLine(where, "Invalid token name"), ErrorLine("EngLanguagesGetString", "Token <(none):0> not found")}},
        {"number out of range", EngLanguagesGetString(99, 0),
         {ErrorLine("EngLanguagesGetString", "Token <99> does not exist")}},
        {"sub-text number out of range", EngLanguagesGetString(3, 1),
         {ErrorLine("EngLanguagesGetString", "Sub text num <1> does not exist in token <One>")}},
        {"token text out of range", EngLanguagesGetTokenText(-1), {}},
    };
    // The results above were taken in order; their log lines follow each other.
    Lines expected;
    for (const Failure &f : failures) {
        SCOPED_TRACE(f.label);
        EXPECT_STREQ(f.result, "");
        expected.insert(expected.end(), f.log.begin(), f.log.end());
    }
    EXPECT_EQ(StoredLines(), expected);

    ResetEngineForTest();
    EXPECT_EQ(EngLanguagesGetTokenNumAndNumSubTextsForToken("Nope", &count), -1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(EngLanguagesGetTokenNumAndNumSubTextsForToken("", nullptr), -1);
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("EngLanguagesGetTokenNumAndNumSubTextsForToken", "Could not find token [Nope]"),
                     ErrorLine("EngLanguagesGetTokenNumAndNumSubTextsForToken", "Invalid token")}));
}

TEST_F(EngLanguagesTest, TextsWithValues)
{
    Write("English.txt", ENGLISH_HEADER + "Score=Player %1 scored %2\r\nName=Hello %1, %1\r\nEmpty=\r\n");
    Load(nullptr);

    char out[64];
    // 19 + 3 + 2 = 24 characters do not fit in 24 bytes.
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Score", "Ann", "10", out, 24));
    ASSERT_TRUE(EngLanguagesSetStringFromTokenWith2Args("Score", "Ann", "10", out, 25));
    EXPECT_STREQ(out, "Player Ann scored 10");
    ASSERT_TRUE(EngLanguagesSetStringFromTokenWith2Args("Score", "%2", "x", out, sizeof(out)));
    EXPECT_STREQ(out, "Player %2 scored x") << "a value is never replaced itself";
    ASSERT_TRUE(EngLanguagesSetStringFromTokenWith1Arg("Name", "Bo", out, sizeof(out)));
    EXPECT_STREQ(out, "Hello Bo, %1");
    ASSERT_TRUE(EngLanguagesSetStringFromTokenWith1Arg("Score", "Cy", out, sizeof(out)));
    EXPECT_STREQ(out, "Player Cy scored %2");
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith1Arg("Empty", "x", out, sizeof(out)));
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Score", nullptr, "x", out, sizeof(out)));
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("EngLanguagesSetStringFromTokenWith2Args", "Lengths not ok (19 > 24 - 3 - 2)"),
                     ErrorLine("EngLanguagesSetStringFromTokenWith2Args", "Bad parameters.")}));

    char *text = EngLangChangeNewLinesToSlashNsInString("a\r\nb \"c\"", 1);
    EXPECT_STREQ(text, "a\\nb 'c'");
    EngFree(text, 1, "test");
    text = EngLangChangeNewLinesToSlashNsInString("\n\"", 0);
    EXPECT_STREQ(text, "\\n\"");
    EngFree(text, 1, "test");
}

TEST_F(EngLanguagesTest, MissingTranslationsFallBackToEnglish)
{
    // "Deutsch" sorts before "English": English is language 1, not 0.
    Write("English.txt", ENGLISH_HEADER + "Same=Same\r\nOnly=English only#second\r\n");
    Write("Deutsch.txt", GERMAN_HEADER + "Same=Gleich\r\n");
    Load("Deutsch");
    ASSERT_EQ(EngLanguagesGetEnglishLanguageNumber(), 1);

    const char *same = EngLanguagesGetStringForToken("Same");
    EXPECT_STREQ(same, "Gleich");
    const char *where = "EngLanguagesGetTokenNumForToken";
    EXPECT_STREQ(EngLanguagesGetString("Only", 1), "second");
    EXPECT_EQ(StoredLines(), (Lines{std::string(" *  ") + where + " > Token <Only:1> not translated",
                                    std::string(" :  ") + where + " > Loading english texts"}));
    EXPECT_STREQ(same, "Gleich") << "earlier texts stay valid when the table grows";

    ResetEngineForTest();
    EXPECT_STREQ(EngLanguagesGetStringForToken("Only"), "English only");
    EXPECT_EQ(StoredLines(), Lines{}) << "the copy is found at once";
    EXPECT_FALSE(EngLanguagesDoesTokenExist("Nowhere"));

    EXPECT_STREQ(EngLanguagesGetStringForToken("Nowhere"), "");
    EXPECT_EQ(StoredLines(), (Lines{std::string(" *  ") + where + " > Token <Nowhere:0> not translated",
                                    ErrorLine(where, "Token not found [Nowhere]."),
                                    ErrorLine(where, "Token not found [Nowhere]."),
                                    ErrorLine("EngLanguagesGetString", "Token <Nowhere:0> not found")}));

    // Changing the language replaces the texts; English stays English.
    ASSERT_TRUE(EngLanguagesSetCurrentLanguage(1));
    EXPECT_STREQ(EngLanguagesGetStringForToken("Same"), "Same");
    ASSERT_TRUE(EngLanguagesSetCurrentLanguage(0));
    EXPECT_STREQ(EngLanguagesGetStringForToken("Same"), "Gleich");
}

TEST_F(EngLanguagesTest, TextsStayWhereTheyAreWhileDozensOfFallbacksAreAppended)
{
    // Enough English-only tokens that a table growing in one block would
    // have to move it several times.
    std::string english = ENGLISH_HEADER + "Same=Same\r\n";
    for (int i = 0; i < 80; i++)
        english += "Only" + std::to_string(i) + "=English " + std::to_string(i) + "\r\n";
    Write("English.txt", english);
    Write("Deutsch.txt", GERMAN_HEADER + "Same=Gleich\r\n");
    Load("Deutsch");

    const char *same = EngLanguagesGetStringForToken("Same");
    const char *first = EngLanguagesGetStringForToken("Only0");
    std::vector<const char *> fallbacks;
    for (int i = 0; i < 80; i++)
        fallbacks.push_back(EngLanguagesGetStringForToken(("Only" + std::to_string(i)).c_str()));
    // Read under AddressSanitizer: a moved text would be freed memory.
    EXPECT_STREQ(same, "Gleich");
    EXPECT_STREQ(first, "English 0");
    for (int i = 0; i < 80; i++)
        EXPECT_STREQ(fallbacks[i], ("English " + std::to_string(i)).c_str());
}

} // namespace
