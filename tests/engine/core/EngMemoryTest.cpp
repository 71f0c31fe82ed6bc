#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class EngMemoryTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }
};

TEST_F(EngMemoryTest, AllocationFailuresReportUnderTheCallerOrTheFunction)
{
    struct Case {
        const char *name;
        void *(*call)(const char *where);
        const char *with_where;
        const char *without_where;
    };
    static char keep[8];
    const Case cases[] = {
        {"malloc zero", [](const char *w) { return EngMalloc(0, w, 0); }, " <ERROR>  ( Caller )    EngMalloc: Zero size",
         " <ERROR>  ( EngMalloc )    Zero size"},
        {"malloc too much", [](const char *w) { return EngMalloc(0xF0000000u, w, 1); },
         " <ERROR>  ( Caller )    EngMalloc: No memory", " <ERROR>  ( EngMalloc )    Out of memory."},
        {"realloc zero", [](const char *w) { return EngRealloc(keep, 0, w); },
         " <ERROR>  ( Caller )    EngRealloc: Zero size", " <ERROR>  ( EngRealloc )    Zero size"},
        {"realloc of nothing", [](const char *w) { return EngRealloc(nullptr, 8, w); },
         " <ERROR>  ( Caller )    EngRealloc: No old memory pointer", " <ERROR>  ( EngRealloc )    No old memory pointer"},
        {"free of nothing", [](const char *w) { EngFree(nullptr, 1, w); return static_cast<void *>(nullptr); },
         " <ERROR>  ( Caller )    EngFree: Zero size", " <ERROR>  ( EngFree )    Zero size"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call("Caller"), nullptr);
        EXPECT_EQ(LastStored(), c.with_where);
        EXPECT_EQ(c.call(nullptr), nullptr);
        EXPECT_EQ(LastStored(), c.without_where);
    }
}

TEST_F(EngMemoryTest, BlocksAreZeroedResizedAndFreed)
{
    unsigned char *block = static_cast<unsigned char *>(EngMalloc(64, "Test", 1));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; i++)
        ASSERT_EQ(block[i], 0);
    std::memset(block, 7, 64);

    // A failed resize leaves the old block as it was.
    EXPECT_EQ(EngRealloc(block, 0xF0000000u, "Test"), nullptr);
    EXPECT_EQ(block[63], 7);

    block = static_cast<unsigned char *>(EngRealloc(block, 128, "Test"));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[63], 7);
    EngFree(block, 1, "Test");

    EngFree(nullptr, 0, "Test");
    EngZeroMemory(nullptr, 4);
    EXPECT_EQ(LastStored(), " <ERROR>  ( EngZeroMemory )    Bad parameters.");
    EXPECT_EQ(DebugGetNumMessages(), 2);
}

TEST_F(EngMemoryTest, StringCopies)
{
    char *copy = EngMallocStringFromString("bee", 1, "Test");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "bee");
    EngFree(copy, 1, "Test");

    copy = EngMallocStringFromString("", 0, "Test");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "");
    EngFree(copy, 1, "Test");
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_EQ(EngMallocStringFromString(nullptr, 0, "Test"), nullptr);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(EngMallocStringFromString(nullptr, 1, "Test"), nullptr);
    EXPECT_EQ(LastStored(), " <ERROR>  ( EngMallocStringFromString )    Does not exist.");
    EXPECT_EQ(EngMallocStringFromString("", 1, "Test"), nullptr);
    EXPECT_EQ(LastStored(), " <ERROR>  ( EngMallocStringFromString )    Not valid.");
}

TEST_F(EngMemoryTest, SafeCopyAlwaysTerminatesWithinTheSize)
{
    struct Case {
        const char *src;
        unsigned size;
        const char *expected;
    } cases[] = {
        {"hive", 1, ""}, {"hive", 3, "hi"}, {"hive", 5, "hive"}, {"hive", 6, "hive"}, {"", 6, ""}, {nullptr, 6, ""},
    };
    for (const Case &c : cases) {
        char buffer[8];
        std::memset(buffer, 'X', sizeof(buffer));
        EXPECT_EQ(EngSafeStrcpy(buffer, c.src, c.size), buffer);
        EXPECT_STREQ(buffer, c.expected) << c.size;
        EXPECT_EQ(buffer[c.size], 'X') << "wrote past the size " << c.size;
    }

    char untouched[2] = {'X', 'X'};
    EngSafeStrcpy(untouched, "abc", 0);
    EXPECT_EQ(untouched[0], 'X');

    EXPECT_EQ(EngSafeStrcpy(nullptr, "abc", 4), nullptr);
    EXPECT_EQ(LastStored(), " <ERROR>  ( EngSafeStrcpy )    No string");
}

TEST_F(EngMemoryTest, FindingTexts)
{
    struct Case {
        const char *text;
        const char *find;
        bool whole_word;
        bool ignore_case;
        int at; // -1: not found
    } cases[] = {
        {"abc abx", "ab", true, false, -1},
        {"xab", "ab", true, false, 1},
        {"abc ab\tz", "ab", true, false, 4},
        {"line ab\r\n", "ab", true, false, 5},
        {"abc abx", "ab", false, false, 0},
        {"ABC", "abc", false, false, -1},
        {"xxABC", "abc", false, true, 2},
        {"the CONFIGURATION word", "configuration", true, true, 4},
        {"", "ab", false, false, -1},
        {"a", "ab", false, false, -1},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        char *found = c.ignore_case ? EngStrIStr(&text[0], c.find, c.whole_word) : EngStrStr(&text[0], c.find, c.whole_word);
        int at = found ? static_cast<int>(found - &text[0]) : -1;
        EXPECT_EQ(at, c.at) << "'" << c.find << "' in '" << c.text << "'";
    }
    EXPECT_EQ(DebugGetNumMessages(), 0);

    char text[] = "abc";
    EXPECT_EQ(EngStrStr(nullptr, "a", 0), nullptr);
    EXPECT_EQ(EngStrStr(text, nullptr, 0), nullptr);
    EXPECT_EQ(EngStrIStr(text, "", 0), nullptr);
    EXPECT_EQ(DebugGetNumMessages(), 3);
    EXPECT_EQ(LastStored(), " <ERROR>  ( EngStrIStr )    Invalid parameters");
}

TEST_F(EngMemoryTest, SmallTextHelpers)
{
    EXPECT_STREQ(EngCodeToString('MAIN'), "MAIN");
    EXPECT_STREQ(EngCodeToString('OMEM'), "OMEM");
    EXPECT_STREQ(EngStrOrNone(nullptr), "(none)");
    EXPECT_STREQ(EngStrOrNone("x"), "x");
    for (char c : {'\0', '\t', '\n', '\r', ' '})
        EXPECT_TRUE(EngStrIsWordEnd(c));
    for (char c : {'a', '.', '-', '_'})
        EXPECT_FALSE(EngStrIsWordEnd(c));
}

} // namespace
