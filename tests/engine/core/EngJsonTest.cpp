#include "engine/core/EngJson.h"
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

typedef nlohmann::ordered_json Json;

// The library's own exception texts are not ours; only the frame around them is.
void ExpectFramedReport(const std::string &line, const std::string &start, const std::string &end)
{
    EXPECT_EQ(line.compare(0, start.size(), start), 0) << line;
    ASSERT_GE(line.size(), start.size() + end.size()) << line;
    EXPECT_EQ(line.compare(line.size() - end.size(), end.size(), end), 0) << line;
    EXPECT_GT(line.size(), start.size() + end.size()) << "no exception text: " << line;
}

const char DOCUMENT[] = R"({
    "Draw Area": [0, 0, 640, 480],
    "Two": [10, 20],
    "Five": [1, 2, 3, 4, 5],
    "Name": "text",
    "Number": 7,
    "Mixed": [1, "x", 3],
    "Big": 300,
    "Fraction": 2.9,
    "Negative": -1.5,
    "Huge": 4294967596,
    "Flag": true,
    "Chars": [65, 300, -1.5, 2.9, 255],
    "SixChars": [1, 2, 3, 4, 5, 6],
    "Floats": [0.5, 1.5, 2.5, 3.5],
    "FiveFloats": [1, 2, 3, 4, 5],
    "BeyondFloats": [1, 1e39, 3],
    "BeyondFloat": [1e39, 2],
    "FloatLimit": [3.4028234e38, -3.4028234e38]
})";

class EngJsonTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        folder = fs::current_path() / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }

    std::string Path(const std::string &name) const { return (folder / name).string(); }

    Json ReadDocument(const std::string &text)
    {
        WriteWhole(Path("doc.ttx"), text);
        Json object;
        EXPECT_TRUE(EngJsonReadObjectFromFile(&object, Path("doc.ttx").c_str()));
        return object;
    }

    fs::path folder;
};

enum Getter { DIMENSION, VECTOR, CHAR, CHARS, FLOATS };
enum Report { NONE, PARSE, EXCEPTION };

const char *WhereOf(Getter getter)
{
    switch (getter) {
    case DIMENSION: return "EngJsonGetDimensionFromObject";
    case VECTOR: return "EngJsonGetVector2dFromObject";
    case CHAR: return "EngJsonGetCharFromObject";
    default: return "EngJsonReadNumbersFromObject";
    }
}

constexpr int U = -77; // an output left unset

// Runs a getter with every output preset to U and gives back the outputs.
char RunGetter(const Json &object, Getter getter, const char *name, std::vector<double> *outs)
{
    char ok = 0;
    switch (getter) {
    case DIMENSION: {
        _Dimension d = {U, U, U, U};
        ok = EngJsonGetDimensionFromObject(object, name, &d);
        *outs = {d.x, d.y, d.w, d.h};
        break;
    }
    case VECTOR: {
        _Vector2d v = {U, U};
        ok = EngJsonGetVector2dFromObject(object, name, &v);
        *outs = {v.x, v.y};
        break;
    }
    case CHAR: {
        char c = U;
        ok = EngJsonGetCharFromObject(object, name, &c);
        *outs = {double(c)};
        break;
    }
    case CHARS: {
        char c[5] = {U, U, U, U, U};
        ok = EngJsonReadNumbersFromObject(object, name, &c[0], &c[1], &c[2], &c[3], &c[4]);
        *outs = {double(c[0]), double(c[1]), double(c[2]), double(c[3]), double(c[4])};
        break;
    }
    case FLOATS: {
        float f[4] = {U, U, U, U};
        ok = EngJsonReadNumbersFromObject(object, name, &f[0], &f[1], &f[2], &f[3]);
        *outs = {f[0], f[1], f[2], f[3]};
        break;
    }
    }
    return ok;
}

TEST_F(EngJsonTest, TypedGettersReadNumbersAndReportFailures)
{
    Json object = ReadDocument(DOCUMENT);
    struct Case {
        Getter getter;
        const char *name;
        bool ok;
        std::vector<double> outs;
        Report report;
    } cases[] = {
        {DIMENSION, "Draw Area", true, {0, 0, 640, 480}, NONE},
        {DIMENSION, "Two", true, {10, 20, U, U}, NONE},
        {DIMENSION, "Five", false, {1, 2, 3, 4}, PARSE},
        {DIMENSION, "Missing", false, {U, U, U, U}, EXCEPTION},
        {DIMENSION, "Name", false, {U, U, U, U}, EXCEPTION},
        {DIMENSION, "Number", false, {U, U, U, U}, EXCEPTION},
        {DIMENSION, "Mixed", false, {1, U, U, U}, EXCEPTION},
        {VECTOR, "Two", true, {10, 20}, NONE},
        {VECTOR, "Draw Area", false, {0, 0}, PARSE},
        {VECTOR, "Missing", false, {U, U}, EXCEPTION},
        {CHAR, "Big", true, {44}, NONE},
        {CHAR, "Fraction", true, {2}, NONE},
        {CHAR, "Negative", true, {-1}, NONE},
        {CHAR, "Huge", true, {44}, NONE},
        {CHAR, "Flag", false, {U}, EXCEPTION},
        {CHAR, "Name", false, {U}, EXCEPTION},
        {CHAR, "Two", false, {U}, EXCEPTION},
        {CHARS, "Chars", true, {65, 44, -1, 2, -1}, NONE},
        {CHARS, "Two", true, {10, 20, U, U, U}, NONE},
        {CHARS, "SixChars", false, {1, 2, 3, 4, 5}, PARSE},
        {CHARS, "Mixed", false, {1, U, U, U, U}, EXCEPTION},
        {FLOATS, "Floats", true, {0.5, 1.5, 2.5, 3.5}, NONE},
        {FLOATS, "FiveFloats", false, {1, 2, 3, 4}, PARSE},
        {FLOATS, "Name", false, {U, U, U, U}, EXCEPTION},
        // Beyond the float range a number is an error, never infinity.
        {FLOATS, "BeyondFloats", false, {1, U, U, U}, EXCEPTION},
        {DIMENSION, "BeyondFloats", false, {1, U, U, U}, EXCEPTION},
        {VECTOR, "BeyondFloat", false, {U, U}, EXCEPTION},
        {VECTOR, "FloatLimit", true, {3.4028234e38f, -3.4028234e38f}, NONE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(WhereOf(c.getter)) + " " + c.name);
        ResetEngineForTest();
        std::vector<double> outs;
        EXPECT_EQ(RunGetter(object, c.getter, c.name, &outs), c.ok ? 1 : 0);
        EXPECT_EQ(outs, c.outs);
        std::vector<std::string> lines = StoredLines();
        switch (c.report) {
        case NONE: EXPECT_TRUE(lines.empty()); break;
        case PARSE: EXPECT_EQ(lines, std::vector<std::string>{ErrorLine(WhereOf(c.getter), "Error during parse.")}); break;
        case EXCEPTION:
            ASSERT_EQ(lines.size(), 1u);
            ExpectFramedReport(lines[0], ErrorLine(WhereOf(c.getter), "json::Exception <"), ">");
            break;
        }
    }
}

TEST_F(EngJsonTest, OutputsThatAreNotGivenAreSkipped)
{
    Json object = ReadDocument(DOCUMENT);
    char third = 0;
    EXPECT_TRUE(EngJsonReadNumbersFromObject(object, "Chars", nullptr, nullptr, &third, nullptr, nullptr));
    EXPECT_EQ(third, -1);
    float last = 0;
    EXPECT_TRUE(EngJsonReadNumbersFromObject(object, "Floats", nullptr, nullptr, nullptr, &last));
    EXPECT_EQ(last, 3.5f);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngJsonTest, MissingNamesAndOutputsAreBadParameters)
{
    Json object = ReadDocument(DOCUMENT);
    _Dimension d;
    _Vector2d v;
    char c;
    float f;
    EXPECT_FALSE(EngJsonGetDimensionFromObject(object, "", &d));
    EXPECT_FALSE(EngJsonGetDimensionFromObject(object, "Draw Area", nullptr));
    EXPECT_FALSE(EngJsonGetVector2dFromObject(object, nullptr, &v));
    EXPECT_FALSE(EngJsonGetCharFromObject(object, "Big", nullptr));
    EXPECT_FALSE(EngJsonReadNumbersFromObject(object, nullptr, &c, &c, &c, &c, &c));
    EXPECT_FALSE(EngJsonReadNumbersFromObject(object, "", &f, &f, &f, &f));
    EXPECT_FALSE(EngJsonDoesElementExistInObject(object, "", 1));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngJsonGetDimensionFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonGetDimensionFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonGetVector2dFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonGetCharFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonReadNumbersFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonReadNumbersFromObject", "Bad parameters."),
                                 ErrorLine("EngJsonDoesElementExistInObject", "Bad parameters."),
                             }));
}

TEST_F(EngJsonTest, ElementExistsReportsOnlyWhenAsked)
{
    Json object = ReadDocument(DOCUMENT);
    EXPECT_TRUE(EngJsonDoesElementExistInObject(object, "Flag", 1));
    EXPECT_FALSE(EngJsonDoesElementExistInObject(object, "Missing", 0));
    EXPECT_TRUE(StoredLines().empty());
    EXPECT_FALSE(EngJsonDoesElementExistInObject(object, "Missing", 1));
    ASSERT_EQ(StoredLines().size(), 1u);
    ExpectFramedReport(StoredLines()[0], ErrorLine("EngJsonDoesElementExistInObject", "Exception <"),
                       "> for element <Missing>");
}

TEST_F(EngJsonTest, FilesThatDoNotHoldAnObjectLeaveItUntouched)
{
    WriteWhole(Path("broken.ttx"), "{ \"Textures\": [1, 2, ");
    WriteWhole(Path("array.ttx"), "[1, 2]");
    WriteWhole(Path("empty.ttx"), "");
    struct Case {
        const char *label;
        std::string path;
        std::string start;
        std::string end;
    } cases[] = {
        {"missing file", Path("none.ttx"), ErrorLine("EngJsonReadObjectFromFile", "File does not exist <" + Path("none.ttx") + ">"), ""},
        {"parse error", Path("broken.ttx"), ErrorLine("EngJsonReadObjectFromFile", "json::Exception <"), "> in <" + Path("broken.ttx") + ">"},
        {"top level array", Path("array.ttx"), ErrorLine("EngJsonReadObjectFromFile", "json::Exception <"), "> in <" + Path("array.ttx") + ">"},
        {"empty file", Path("empty.ttx"), ErrorLine("EngJsonReadObjectFromFile", "json::Exception <"), "> in <" + Path("empty.ttx") + ">"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ResetEngineForTest();
        Json object = {{"Kept", 1}};
        EXPECT_FALSE(EngJsonReadObjectFromFile(&object, c.path.c_str()));
        EXPECT_EQ(object, Json({{"Kept", 1}}));
        ASSERT_EQ(StoredLines().size(), 1u);
        if (c.end.empty())
            EXPECT_EQ(StoredLines()[0], c.start);
        else
            ExpectFramedReport(StoredLines()[0], c.start, c.end);
    }

    ResetEngineForTest();
    Json object;
    EXPECT_FALSE(EngJsonReadObjectFromFile(nullptr, Path("array.ttx").c_str()));
    EXPECT_FALSE(EngJsonReadObjectFromFile(&object, ""));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorLine("EngJsonReadObjectFromFile", "Bad parameters."),
                                                       ErrorLine("EngJsonReadObjectFromFile", "Bad parameters.")}));
}

// Files are UTF-8; the program's text is 1252, in names and in values.
TEST_F(EngJsonTest, ReadingConvertsTextToTheProgramsCodePage)
{
    fs::create_directories(folder / "Pictures");
    WriteWhole(folder / "Pictures" / "menu.ttx",
               "\xEF\xBB\xBF{\"Caf\xC3\xA9\": \"\xE2\x82\xAC 5\", \"Snow\": [\"\xE2\x98\x83\"], \"z\": 1, \"a\": 2}");
    Json object;
    std::string path = Path("Pictures") + "\\menu.ttx";
    ASSERT_TRUE(EngJsonReadObjectFromFile(&object, path.c_str()));
    EXPECT_TRUE(EngJsonDoesElementExistInObject(object, "Caf\xE9", 0));
    EXPECT_EQ(object["Caf\xE9"], "\x80 5");
    // A character the code page lacks becomes a question mark.
    EXPECT_EQ(object["Snow"][0], "?");
    // Members keep the order of the file.
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"Caf\xE9", "Snow", "z", "a"}));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngJsonTest, WritingGivesUtf8WithWholeNumbersAsIntegers)
{
    Json object;
    object["Player"] = "Ren\xE9";
    object["Caf\xE9"] = Json::array({1.0, 2, -3.0, 0.5});
    object["Score"] = 123456.0;
    object["Flags"] = {{"on", true}, {"none", nullptr}};
    char *text = EngJsonWriteObjectToString(object);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "{\"Player\":\"Ren\xC3\xA9\",\"Caf\xC3\xA9\":[1,2,-3,0.5],\"Score\":123456,"
                       "\"Flags\":{\"on\":true,\"none\":null}}");

    // What is written reads back as the same document.
    WriteWhole(Path("back.json"), text);
    EngFree(text, 1, "test");
    Json back;
    ASSERT_TRUE(EngJsonReadObjectFromFile(&back, Path("back.json").c_str()));
    // (Numbers compare by value, whatever their JSON form.)
    EXPECT_TRUE(back == object);
    EXPECT_TRUE(back["Score"].is_number_integer());
    EXPECT_TRUE(StoredLines().empty());
}

} // namespace
