// The menu bar without a menu, and the other entry points the toolkit's
// core calls every frame or at every graphics creation: no menu takes an
// event or is found, the crops reach the device unchanged, an unused
// scroller idles, the keyboard never takes the desktop's screen, and the
// colour picker's textures and palette are made with the toolkit's graphics.
#include "tests/support/GuiTestKit.h"
#include "gui/EngMenu.h"
#include "gui/EngScroller.h"
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

TEST_F(EngMenuTest, TheScrollerIdlesAndTheKeyboardNeverTakesTheScreen)
{
    EngScroller scroller;
    EXPECT_FALSE(scroller.IsOn());
    EXPECT_FALSE(scroller.Tick());
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(1));
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(0));
    mwin->PopupGetTextSetEntryMode(1, 1, 0);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->PopupCloseIfOn());
}

TEST_F(EngMenuTest, TheColourPickerGraphicsComeAndGoWithTheToolkits)
{
    for (int i = 0; i < MWIN_NUM_COLOUR_TEXTURES; i++) {
        EngTexture *texture = mwin->GetTextures()->GetColourTexture(i);
        ASSERT_NE(texture, nullptr);
        EXPECT_TRUE(texture->IsCreated());
        EXPECT_EQ(texture->GetWidth(), 256);
        EXPECT_EQ(texture->GetHeight(), 32);
    }
    // The hue palette runs red, magenta, blue, cyan, green, yellow, red; the
    // ramp towards yellow stops one step short before the last band.
    struct Entry {
        int i;
        float r, g, b;
    } entries[] = {
        {0, 1, 0, 0}, {42, 1, 0, 1}, {84, 0, 0, 1}, {127, 0, 1, 1}, {170, 0, 1, 0}, {212, 41 / 42.0f, 1, 0}, {213, 1, 1, 0}, {255, 1, 0, 0},
        {21, 1, 0, 0.5f},
    };
    for (const Entry &e : entries) {
        const float *colour = mwin->GetHuePaletteColour(e.i);
        EXPECT_NEAR(colour[0], e.r, 1e-5) << e.i;
        EXPECT_NEAR(colour[1], e.g, 1e-5) << e.i;
        EXPECT_NEAR(colour[2], e.b, 1e-5) << e.i;
    }
    mwin->DestroyGraphicsObjects();
    EXPECT_FALSE(mwin->GetTextures()->GetColourTexture(0)->IsCreated());
    EXPECT_TRUE(mwin->CreateGraphicsObjects());
    EXPECT_TRUE(mwin->GetTextures()->GetColourTexture(2)->IsCreated());
}

} // namespace
