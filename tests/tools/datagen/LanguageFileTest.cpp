// The generated English texts "Data/Common/CommonTexts/English.txt": the
// game's language loader takes them in without a complaint, no key is given
// twice, the texts read as the game shows them, and every language key the
// code uses is there. The generator refuses a file the game would misread.
#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"
#include "tests/tools/datagen/DataGenTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string TEXTS_FOLDER = std::string(HW_DATA_DIR) + "/Common/CommonTexts";

// The tokens of the file's text lines, in order, repeats included.
std::vector<std::string> FileTokens(const std::string &text)
{
    std::vector<std::string> tokens;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        size_t equals = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos || equals == 0)
            continue;
        tokens.push_back(line.substr(0, equals));
    }
    return tokens;
}

std::string Messages()
{
    std::string all;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        if (DebugGetMessageText(i))
            all += std::string(DebugGetMessageText(i)) + "\n";
    return all;
}

// The product's sources with comments removed and string literals kept.
std::string WithoutComments(const std::string &code)
{
    std::string out;
    for (size_t i = 0; i < code.size(); i++) {
        if (code.compare(i, 2, "//") == 0) {
            while (i < code.size() && code[i] != '\n')
                i++;
            out += '\n';
        } else if (code.compare(i, 2, "/*") == 0) {
            size_t end = code.find("*/", i + 2);
            i = end == std::string::npos ? code.size() : end + 1;
            out += ' ';
        } else if (code[i] == '"' || code[i] == '\'') {
            char quote = code[i];
            out += code[i++];
            while (i < code.size() && code[i] != quote && code[i] != '\n') {
                if (code[i] == '\\' && i + 1 < code.size())
                    out += code[i++];
                out += code[i++];
            }
            if (i < code.size())
                out += code[i];
        } else {
            out += code[i];
        }
    }
    return out;
}

// The language keys a source uses: the first argument of every call that
// takes a key, and every text that looks like a key of one of `families`
// (the part of a key before its first '_'), alone or after the ';' that
// separates a control's text from its key in the screen layouts.
std::set<std::string> KeysUsed(const std::string &code, const std::set<std::string> &families)
{
    std::set<std::string> keys;
    std::string text = WithoutComments(code);
    static const std::regex call(
        R"re((EngLanguagesGetString|EngLanguagesGetStringForToken|EngLanguagesGetStringOrDefault|)re"
        R"re(EngLanguagesDoesTokenExist|EngLanguagesDoesTokenHaveSubText|EngLanguagesGetTokenNum|)re"
        R"re(EngLanguagesGetTokenNumForToken|EngLanguagesGetTokenNumAndNumSubTextsForToken|)re"
        R"re(EngLanguagesSetStringFromTokenWith1Arg|EngLanguagesSetStringFromTokenWith2Args|SetLangToken))re"
        R"re(\s*\(\s*"([^"\\]+)")re");
    for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m)
        keys.insert((*m)[2]);
    static const std::regex literal(R"re("([^"\\\n]*)")re");
    static const std::regex key_shape(R"(([A-Z][A-Za-z0-9]*)_[A-Za-z0-9_]+)");
    for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) {
        std::string value = (*m)[1];
        size_t semicolon = value.rfind(';');
        if (semicolon != std::string::npos)
            value = value.substr(semicolon + 1);
        std::smatch shape;
        if (std::regex_match(value, shape, key_shape) && families.count(shape[1]))
            keys.insert(value);
    }
    return keys;
}

std::set<std::string> Families(const std::vector<std::string> &tokens)
{
    std::set<std::string> families;
    for (const std::string &t : tokens)
        if (t.find('_') != std::string::npos)
            families.insert(t.substr(0, t.find('_')));
    return families;
}

class LanguageFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngLanguagesDestroy();
    }
    void TearDown() override { EngLanguagesDestroy(); }
};

}  // namespace

TEST_F(LanguageFileTest, LoadsThroughTheLanguageLoaderWithoutAComplaint)
{
    ASSERT_TRUE(EngLanguagesInit(TEXTS_FOLDER.c_str(), "English", 1));
    EngLanguagesInitFinished();
    EXPECT_EQ(1, EngLanguagesGetNumLanguages());
    EXPECT_STREQ("English", EngLanguagesGetLanguageNameNative(0));
    EXPECT_STREQ("GB", EngLanguagesGetFlagCountryCode(0));
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_EQ(0, DebugGetNumMessages()) << Messages();

    // Every line became a token of its own, and each finds its own line: a
    // repeated key would find the first one's.
    std::vector<std::string> tokens = FileTokens(ReadWhole(TEXTS_FOLDER + "/English.txt"));
    ASSERT_GT(tokens.size(), 60u);
    EXPECT_EQ(tokens.size(), std::set<std::string>(tokens.begin(), tokens.end()).size()) << "a key is given twice";
    for (size_t i = 0; i < tokens.size(); i++)
        EXPECT_EQ((int)i, EngLanguagesGetTokenNum(tokens[i].c_str(), 0)) << tokens[i];
}

TEST_F(LanguageFileTest, TextsReadAsTheGameShowsThem)
{
    ASSERT_TRUE(EngLanguagesInit(TEXTS_FOLDER.c_str(), "English", 1));
    EngLanguagesInitFinished();
    struct Case {
        const char *key;
        int sub;
        const char *text;
    };
    const Case cases[] = {
        {"Main_ExitOrWindowedButtons", 0, "Exit"},
        {"Main_ExitOrWindowedButtons", 1, "Windowed"},
        {"Main_ExitMsg", 0, "Exit the game?"},
        {"Popup_OK", 0, "OK"},
        {"Common_Error", 0, "Error"},
        {"Scores_OldVersionNormal", 0, "This game is out of date - you need to download the latest version."},
        {"Scores_TurnOnAutoScores_Mobile", 0,
         "Do you want automatically update the online scores?\n\nYou might not want to do this if you have to pay "
         "for internet access."},
        {"Users_New", 0, "New Player"},
        {"Country_Title", 0, "SELECT YOUR COUNTRY"},
        {"Logs_CopySel", 0, "Copy selected line(s)"},
        {"GameAds_AlsoText", 0, "Also by Lichenware"},
    };
    for (const Case &c : cases)
        EXPECT_STREQ(c.text, EngLanguagesGetString(c.key, c.sub)) << c.key << ":" << c.sub;
    int subs = 0;
    EngLanguagesGetTokenNumAndNumSubTextsForToken("Main_ExitOrWindowedButtons", &subs);
    EXPECT_EQ(2, subs);
    char loading[64];
    ASSERT_TRUE(EngLanguagesSetStringFromTokenWith1Arg("Users_LoadingPlayer", "Bob", loading, sizeof(loading)));
    EXPECT_STREQ("Loading player Bob...", loading);
    EXPECT_EQ(0, DebugGetNumMessages()) << Messages();
}

TEST_F(LanguageFileTest, HoldsEveryKeyTheCodeUses)
{
    std::vector<std::string> tokens = FileTokens(ReadWhole(TEXTS_FOLDER + "/English.txt"));
    std::set<std::string> present(tokens.begin(), tokens.end()), families = Families(tokens);

    // The scan finds keys both ways: by the call and by their look.
    std::set<std::string> sample =
        KeysUsed("a = EngLanguagesGetStringForToken(\"Nowhere_Key\"); // \"Common_InComment\"\n"
                 "row = {\"Back\", \"Back;Common_ButtonGoBack\"}; b = \"Main_ExitMsg\"; c = \"Script_VS\";\n",
                 families);
    EXPECT_EQ((std::set<std::string>{"Common_ButtonGoBack", "Main_ExitMsg", "Nowhere_Key"}), sample);

    std::filesystem::path root = std::filesystem::path(HW_DATA_SOURCE_DIR).parent_path();
    std::set<std::string> missing;
    int scanned = 0;
    for (const char *folder : {"engine", "gui", "game", "screens", "modules", "platform"}) {
        if (!std::filesystem::exists(root / folder))
            continue;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            scanned++;
            for (const std::string &key : KeysUsed(ReadWhole(entry.path().string()), families))
                if (!present.count(key))
                    missing.insert(key + " (" + entry.path().lexically_relative(root).string() + ")");
        }
    }
    EXPECT_GT(scanned, 0);
    std::string list;
    for (const std::string &m : missing)
        list += "  " + m + "\n";
    EXPECT_TRUE(missing.empty()) << "keys used in the code but missing from data/texts/English.txt:\n" << list;
}

namespace {

}  // namespace

TEST(LanguageFileGeneratorTest, RefusesWhatTheGameWouldMisread)
{
    const std::string good = ReadWhole(std::string(HW_DATA_SOURCE_DIR) + "/texts/English.txt");
    ASSERT_FALSE(good.empty());
    struct Case {
        const char *name;
        std::string from, to;
        const char *refusal;
    };
    const Case cases[] = {
        {"byte-order mark", "Language=English", "\xEF\xBB\xBFLanguage=English", "line 1: the file must start with"},
        {"header out of place", "FlagCountryCode=GB\n", "", "line 2: the file must start with"},
        {"key given twice", "Popup_No=No\n", "Popup_No=No\nPopup_Yes=Yes\n", "the token Popup_Yes is given twice"},
        {"blank before the equals sign", "Popup_No=No", "Popup_No = No", "holds a blank"},
        {"line without a key", "Popup_No=No", "Popup_No", "not \"Token=Text\""},
        {"key too long", "Popup_No=No", std::string(64, 'K') + "=No", "not \"Token=Text\""},
        {"UTF-8 letter", "Sorry", "Sorr\xC3\xBD", "a byte outside printable ASCII"},
        {"line too long", "Popup_No=No", "Popup_No=" + std::string(4100, 'o'), "too long"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const Case &c = cases[i];
        std::string folder = "texts" + std::to_string(i), out = folder + "-out";
        std::filesystem::create_directories(folder + "/texts");
        std::string text = good;
        size_t at = text.find(c.from);
        ASSERT_NE(std::string::npos, at) << c.name;
        text.replace(at, c.from.size(), c.to);
        std::ofstream(folder + "/texts/English.txt", std::ios::binary) << text;
        std::string printed;
        EXPECT_NE(0, RunGenerator(folder, out, &printed, "texts")) << c.name;
        size_t line = printed.find("texts/English.txt: ");
        ASSERT_NE(std::string::npos, line) << c.name << ": " << printed;
        std::string reason = printed.substr(line, printed.find('\n', line) - line);
        EXPECT_NE(std::string::npos, reason.find(c.refusal)) << c.name << ": " << reason;
        EXPECT_FALSE(std::filesystem::exists(out + "/Common/CommonTexts/English.txt")) << c.name;
    }
}
