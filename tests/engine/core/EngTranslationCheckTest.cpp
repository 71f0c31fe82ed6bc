#include "engine/core/EngTranslationCheck.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
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

const char *const NOTE = " *  EngLangCheckTranslation > ";

// The English file of the pair. The last line repeats a header token, which
// is never listed as a duplicate.
const std::string ENGLISH = "Language=English\r\n"
                            "FlagCountryCode=GB\r\n"
                            "Title=Hive Watcher\r\n"
                            "Help=Help#Press F1\\nfor help\r\n"
                            "A=x#y#z\r\n"
                            "B=p\r\n"
                            "Same=one#two\r\n"
                            "Dup=1\r\n"
                            "Dup=2\r\n"
                            "Dup=3\r\n"
                            "Gone=Missing#Text\r\n"
                            "FlagCountryCode=GB\r\n";

const std::string GERMAN = "Language=Deutsch\r\n"
                           "FlagCountryCode=DE\r\n"
                           "Title=Bienenw\xC3\xA4" "chter\r\n"
                           "Help=^Help#^Press\r\n"
                           "A=u\r\n"
                           "B=p#q\r\n"
                           "Same=eins#^zwei\r\n"
                           "Extra=Mehr\\nText\r\n"
                           "Empty=#x\r\n"
                           "Dup2=a\r\n"
                           "Dup2=b\r\n";

class EngTranslationCheckTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngLanguagesDestroy();
        fs::remove_all("Lang");
        fs::create_directories("Lang");
        WriteWhole("Lang/English.txt", ENGLISH);
        WriteWhole("Lang/Deutsch.txt", GERMAN);
    }
    void TearDown() override { EngLanguagesDestroy(); }
};

TEST_F(EngTranslationCheckTest, ListsWhatATranslatorMustFix)
{
    // Setting up a translation runs the check once its texts are loaded.
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();

    // The reporter stores no empty lines, so the blank lines around the
    // sections do not show here.
    EXPECT_EQ(StoredLines(), (Lines{
                                 "Checking translation...",
                                 " :  [Empty:0] is empty",
                                 "Missing texts:",
                                 "Help=Help#Press F1\\nfor help",
                                 "[A:1]=y",
                                 "[A:2]=z",
                                 "[Same:1]=two",
                                 "Dup=1",
                                 "Dup=2",
                                 "Dup=3",
                                 "Gone=Missing#Text",
                                 "Texts that don't exist:",
                                 "[B:1]=q",
                                 "Extra=Mehr\\nText",
                                 "Empty=x",
                                 "Dup2=a",
                                 "Dup2=b",
                                 "Duplicate texts in English file:",
                                 "Dup (3 times)",
                                 "Duplicate texts in translated file:",
                                 "Dup2",
                                 "Check complete.",
                             }));

    // The translation is current again, with its own texts.
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 0);
    EXPECT_FALSE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ(EngLanguagesGetStringForToken("Title"), "Bienenw\xE4" "chter");
    EXPECT_STREQ(EngLanguagesGetString("Empty", 1), "x");
}

TEST_F(EngTranslationCheckTest, EnglishIsOnlyCheckedForDuplicates)
{
    ASSERT_TRUE(EngLanguagesInit("Lang", "English", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();
    EXPECT_EQ(StoredLines(), Lines{}) << "English needs no translation check";

    EngLangCheckTranslation();
    EXPECT_EQ(StoredLines(), (Lines{"Checking translation...", std::string(NOTE) + "Current language is English.",
                                    "Duplicate texts in English file:", "Dup (3 times)"}));
}

TEST_F(EngTranslationCheckTest, StopsWithoutAnEnglishToCompareWith)
{
    // An English file whose header names another language.
    WriteWhole("Lang/English.txt", "Language=Englisch\r\nFlagCountryCode=GB\r\nA=x\r\n");
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();
    EXPECT_EQ(StoredLines(), (Lines{"Checking translation...", " :  [Empty:0] is empty",
                                    std::string(NOTE) + "Language 1 is not English."}));
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 0);
    EXPECT_STREQ(EngLanguagesGetStringForToken("A"), "u");

    // No English file at all.
    EngLanguagesDestroy();
    fs::remove("Lang/English.txt");
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();
    EXPECT_EQ(StoredLines(), (Lines{"Checking translation...", " :  [Empty:0] is empty",
                                    std::string(NOTE) + "No English language."}));

    // Nothing set up.
    EngLanguagesDestroy();
    ResetEngineForTest();
    EngLangCheckTranslation();
    EXPECT_EQ(StoredLines(), (Lines{"Checking translation...",
                                    " <ERROR>  ( EngLangCheckTranslation )    Bad cur lang value -1 (0)"}));
}

TEST_F(EngTranslationCheckTest, AWholeLineStopsAtTheFirstTextThatNoLongerFits)
{
    // Three sub-texts of 200 characters: the third does not fit in the
    // 512-byte line, and nothing after it is tried.
    std::string piece(200, 'w');
    WriteWhole("Lang/English.txt", "Language=English\r\nFlagCountryCode=GB\r\nLong=" + piece + "#" + piece + "#" +
                                       piece + "#end\r\n");
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();
    Lines lines = StoredLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "Missing texts:");
    EXPECT_EQ(lines[3], "Long=" + piece + "#" + piece + "#");
}

TEST_F(EngTranslationCheckTest, ThousandsOfEqualTokensAreListedOnce)
{
    // A damaged pair of files: each line of the log once per token, not once
    // per earlier copy (millions of lines).
    std::string english = "Language=English\r\nFlagCountryCode=GB\r\n";
    std::string german = "Language=Deutsch\r\nFlagCountryCode=DE\r\n";
    for (int i = 0; i < 3000; i++) {
        english += "Dup=d\r\n";
        german += "Dup=e\r\n";
    }
    WriteWhole("Lang/English.txt", english);
    WriteWhole("Lang/Deutsch.txt", german);
    ASSERT_TRUE(EngLanguagesInit("Lang", "Deutsch", 0));
    ResetEngineForTest();
    EngLanguagesInitFinished();
    // The log file keeps every line (the store would drop old ones); empty
    // lines are never written.
    EXPECT_EQ(ReadLines("ErrorLog.txt"),
              (Lines{"Checking translation...", "Duplicate texts in English file:", "Dup (3000 times)",
                     "Duplicate texts in translated file:", "Dup (3000 times)", "Check complete."}));
}

} // namespace
