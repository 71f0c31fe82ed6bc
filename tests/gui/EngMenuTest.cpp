// The menu bar without a menu, as the toolkit's core calls it every frame:
// no menu takes an event or is found, and the crops reach the device
// unchanged.
#include "tests/support/GuiTestKit.h"
#include "gui/EngMenu.h"
#include "tests/support/TestLog.h"

namespace {

class EngMenuTest : public GuiTest {};

TEST_F(EngMenuTest, WithoutAMenuNothingIsTakenAndCropsPassThrough)
{
    EXPECT_FALSE(EngMenuExists());
    EXPECT_FALSE(EngMenuIsEnabled());
    EXPECT_FALSE(EngMenuEnable());
    EXPECT_FALSE(EngMenuDisable());
    EXPECT_EQ(EngMenuGetHeight(), 0);
    EXPECT_FALSE(EngMenuMouseMove(10, 10));
    EXPECT_FALSE(EngMenuMousePress(0, 1));

    _Dimension area = {10, 20, 30, 40};
    EXPECT_NE(EngMenuTurnOnCropToDimension(&area), nullptr);
    EXPECT_TRUE(eng_device->IsCropOn());
    eng_device->TurnOffCrop();
    EXPECT_EQ(EngMenuTurnOnCropToDimension(nullptr), nullptr);
    EXPECT_NE(EngMenuTurnOnCrop(1, 2, 3, 4), nullptr);
    EXPECT_TRUE(eng_device->IsCropOn());
    eng_device->TurnOffCrop();
}

TEST_F(EngMenuTest, WithoutAMenuThePositionGettersFindNothingAndSaySo)
{
    _EngMenuCol *col = nullptr;
    _EngMenuRow *row = nullptr, *sub = nullptr;
    EXPECT_EQ(EngMenuGetColPointer(0), nullptr);
    EXPECT_FALSE(EngMenuGetColAndRowPointers(0, 0, &col, &row));
    EXPECT_FALSE(EngMenuGetColAndRowAndSubPointers(0, 0, 0, &col, &row, &sub));
    EXPECT_EQ(LogCount("Error 1"), 3);
    EXPECT_EQ(col, nullptr);
    EXPECT_EQ(EngMenuGetNumRowsInCol(2), -1);
    EXPECT_TRUE(LogHasLine("Invalid col id 2"));
    EXPECT_EQ(EngMenuGetNumSubsInRow(1, 3), -1);
    EXPECT_TRUE(LogHasLine("Invalid ids 1 3"));
}

} // namespace
