#include "engine/core/EngIndexedList.h"
#include "engine/core/EngDebug.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class EngIndexedListTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }
};

TEST_F(EngIndexedListTest, GrowsPastTheFirstArrayAndKeepsEveryEntryAtItsIndex)
{
    EngIndexedList list(0);
    for (int i = 0; i < 130; i++)
        ASSERT_EQ(list.AddEntry(&i, sizeof(i)), i);
    EXPECT_EQ(list.GetNumEntries(), 130);
    for (int i = 0; i < 130; i++) {
        int size = -1;
        const int *data = static_cast<const int *>(list.GetEntryData(i, &size));
        ASSERT_NE(data, nullptr) << i;
        EXPECT_EQ(*data, i);
        EXPECT_EQ(size, static_cast<int>(sizeof(int)));
    }
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngIndexedListTest, SmallGrowthStepGrowsOneStepAtATime)
{
    EngIndexedList list(2);
    const char *words[] = {"one", "two", "three", "four", "five"};
    for (int i = 0; i < 5; i++)
        ASSERT_EQ(list.AddEntry(words[i], static_cast<int>(std::strlen(words[i]) + 1)), i);
    for (int i = 0; i < 5; i++)
        EXPECT_STREQ(static_cast<const char *>(list.GetEntryData(i, nullptr)), words[i]);
}

TEST_F(EngIndexedListTest, EntriesAreOwnedCopies)
{
    EngIndexedList list;
    char text[] = "garden";
    ASSERT_EQ(list.AddEntry(text, sizeof(text)), 0);
    text[0] = 'G';
    char *stored = static_cast<char *>(list.GetEntryData(0, nullptr));
    ASSERT_NE(stored, text);
    EXPECT_STREQ(stored, "garden");

    EXPECT_TRUE(list.RemoveAllEntries());
    EXPECT_EQ(list.GetNumEntries(), 0);
    // The list is usable again from index 0; the destructor frees the rest.
    EXPECT_EQ(list.AddEntry(text, sizeof(text)), 0);
    EXPECT_STREQ(static_cast<const char *>(list.GetEntryData(0, nullptr)), "Garden");
}

TEST_F(EngIndexedListTest, RefusesBadArgumentsWithReports)
{
    EngIndexedList list;
    int size = 99;
    EXPECT_EQ(list.GetEntryData(0, &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(LogHas("( EngIndexedList::GetEntryData )    Entry does not exist (0, 0)"));

    int value = 7;
    EXPECT_EQ(list.AddEntry(&value, 0), -1);
    EXPECT_TRUE(LogHas("( EngIndexedList::DoAdd )    Data size not ok"));
    EXPECT_EQ(list.AddEntry(&value, -4), -1);
    EXPECT_EQ(list.AddEntry(nullptr, 4), -1);
    EXPECT_TRUE(LogHas("( EngIndexedList::DoAdd )    Bad parameters."));
    EXPECT_EQ(list.GetNumEntries(), 0);

    ASSERT_EQ(list.AddEntry(&value, sizeof(value)), 0);
    struct Case {
        const char *what;
        int index;
        const char *report;
    };
    const Case cases[] = {
        {"index equal to the count", 1, "Entry does not exist (1, 1)"},
        {"negative index", -1, "Entry does not exist (-1, 1)"},
    };
    for (const Case &c : cases) {
        size = 99;
        EXPECT_EQ(list.GetEntryData(c.index, &size), nullptr) << c.what;
        EXPECT_EQ(size, 0) << c.what;
        EXPECT_TRUE(LogHas(c.report)) << c.what;
    }
}

} // namespace
