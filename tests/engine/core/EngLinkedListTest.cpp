#include "engine/core/EngLinkedList.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Record {
    int id;
    char name[12];
};

class EngLinkedListTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }

    void AddRecords(int count)
    {
        for (int i = 0; i < count; i++) {
            Record r = {i, ""};
            snprintf(r.name, sizeof(r.name), "rec%d", i);
            ASSERT_EQ(list.AddElement(&r, sizeof(r), 0), i);
        }
    }

    EngLinkedList list;
};

TEST_F(EngLinkedListTest, AppendsCopiesAndReadsThemBackByIndex)
{
    AddRecords(5);
    EXPECT_EQ(list.GetNumElements(), 5);
    for (int i = 0; i < 5; i++) {
        const Record *r = static_cast<const Record *>(list.GetElementData(i, sizeof(Record)));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->id, i);
        Record copy = {};
        EXPECT_TRUE(list.CopyElementData(i, sizeof(copy), &copy));
        EXPECT_EQ(copy.id, i);
    }
    Record changed = {42, "changed"};
    EXPECT_TRUE(list.OverwriteData(3, &changed, sizeof(changed)));
    EXPECT_EQ(static_cast<const Record *>(list.GetElementData(3, sizeof(Record)))->id, 42);
    EXPECT_TRUE(list.IsListOk());
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngLinkedListTest, RefusesMisuseWithReports)
{
    AddRecords(3);
    int small = 1;
    Record r = {};
    struct Case {
        const char *what;
        bool refused;
        const char *report;
    };
    const Case cases[] = {
        {"size 0", list.AddElement(&small, 0, 0) == -1, "( EngLinkedList::DoAdd )    Invalid data size 0"},
        {"null data", list.AddElement(nullptr, 4, 0) == -1, "( EngLinkedList::DoAdd )    Bad parameters."},
        {"index equal to the count", list.GetElementData(3, sizeof(Record)) == nullptr,
         "( EngLinkedList::GetElement )    Bad index 3 [max = 3]"},
        {"wrong expected size", list.GetElementData(1, 4) == nullptr,
         "( EngLinkedList::GetElementData )    Data size of element 16 is not 4"},
        {"copy to null", !list.CopyElementData(0, sizeof(Record), nullptr),
         "( EngLinkedList::CopyElementData )    Bad parameters."},
        {"copy with another size", !list.CopyElementData(0, 8, &r),
         "( EngLinkedList::CopyElementData )    Data size not ok"},
        {"overwrite from null", !list.OverwriteData(0, nullptr, sizeof(Record)),
         "( EngLinkedList::OverwriteData )    No data passed in"},
        {"overwrite with another size", !list.OverwriteData(0, &r, 8),
         "( EngLinkedList::OverwriteData )    Size not ok (can be updated to re-alloc if desired)"},
        {"position past the end", !list.SetCurrentPos(5), "( EngLinkedList::SetCurrentPos )    Bad pos [max = 3]"},
        {"negative position", !list.SetCurrentPos(-1), "Bad pos [max = 3]"},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(c.refused) << c.what;
        EXPECT_TRUE(LogHas(c.report)) << c.what;
    }
    EXPECT_EQ(list.GetNumElements(), 3);
}

TEST_F(EngLinkedListTest, ConstantSizeRefusesOtherSizesAndSurvivesRelease)
{
    list.SetElementConstantSize(16);
    char block16[16] = "sixteen bytes..";
    int four = 4;
    EXPECT_EQ(list.AddElement(&four, sizeof(four), 0), -1);
    EXPECT_TRUE(LogHas("( EngLinkedList::DoAdd )    Data size is not constant data size (4 != 16)"));
    EXPECT_EQ(list.AddElement(block16, sizeof(block16), 0), 0);

    EXPECT_TRUE(list.ReleaseAll());
    EXPECT_EQ(list.GetNumElements(), 0);
    EXPECT_EQ(list.AddElement(&four, sizeof(four), 0), -1);
    EXPECT_EQ(list.AddElement(block16, sizeof(block16), 1), 0);
}

TEST_F(EngLinkedListTest, HandedOverBlockIsFreedByTheList)
{
    // LeakSanitizer fails the run if the list does not free the block.
    void *block = EngMalloc(32, "test", 1);
    ASSERT_NE(block, nullptr);
    std::strcpy(static_cast<char *>(block), "handed over");
    EXPECT_EQ(list.AddElementPointer(&block, 32, 1), 0);
    EXPECT_EQ(list.GetElementData(0, 32), block);
    EXPECT_TRUE(list.ReleaseAll());
    EXPECT_EQ(list.GetNumElements(), 0);

    void *missing = nullptr;
    EXPECT_EQ(list.AddElementPointer(&missing, 32, 0), -1);
    EXPECT_EQ(list.AddElementPointer(nullptr, 32, 0), -1);
}

TEST_F(EngLinkedListTest, FailedPositionChangeLeavesAUsableReleasableList)
{
    AddRecords(3);
    ASSERT_TRUE(list.SetCurrentPos(1));
    EXPECT_FALSE(list.SetCurrentPos(7));
    EXPECT_TRUE(list.IsListOk());
    EXPECT_FALSE(LogHas("List not ok"));
    EXPECT_EQ(list.GetNumElements(), 3);
    Record r = {3, "rec3"};
    EXPECT_EQ(list.AddElement(&r, sizeof(r), 1), 3);
    EXPECT_TRUE(list.SetCurrentPos(0));
    // Every element is freed (LeakSanitizer checks at exit).
    EXPECT_TRUE(list.ReleaseAll());
    EXPECT_EQ(list.GetNumElements(), 0);
}

TEST_F(EngLinkedListTest, FindsTheFirstElementWithEqualBytes)
{
    AddRecords(4);
    Record duplicate = {2, "rec2"};
    ASSERT_EQ(list.AddElement(&duplicate, sizeof(duplicate), 0), 4);

    int index = -1;
    EXPECT_TRUE(list.DoesEntryDataExist(&duplicate, sizeof(duplicate), &index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(list.DoesEntryDataExist(&duplicate, sizeof(duplicate), nullptr));

    Record differs = duplicate;
    differs.name[3] = '9';
    index = -1;
    EXPECT_FALSE(list.DoesEntryDataExist(&differs, sizeof(differs), &index));
    EXPECT_EQ(index, -1);
    // Equal leading bytes of another size are no match.
    EXPECT_FALSE(list.DoesEntryDataExist(&duplicate, sizeof(int), &index));
    EXPECT_FALSE(list.DoesEntryDataExist(nullptr, sizeof(duplicate), &index));
}

TEST_F(EngLinkedListTest, EmptyListIsSoundAndReleasesAtOnce)
{
    EXPECT_TRUE(list.IsListOk());
    EXPECT_EQ(list.GetNumElements(), 0);
    EXPECT_TRUE(list.ReleaseAll());
    EXPECT_FALSE(list.SetCurrentPos(0));
    EXPECT_TRUE(list.IsListOk());
    EXPECT_EQ(DebugGetNumMessages(), 1);
}

} // namespace
