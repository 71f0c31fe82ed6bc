// The toolkit on a real window drawn with GL: a window with a title bar and
// two coloured controls drawn by RenderMain, read back from the back buffer
// where they should be.
#include "tests/support/GuiTestKit.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/support/TestPixels.h"

namespace {

class MWinDisplayTest : public GuiTest {
protected:
    void SetUp() override { StartKit(true); }

    DWORD Pixel(int x, int y)
    {
        RECT rect = {x, y, x + 1, y + 1};
        DWORD argb = 0;
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, &argb), S_OK);
        return argb;
    }
};

TEST_F(MWinDisplayTest, AWindowWithATitleBarAndTwoColouredControls)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_bg_mode = 1;
    mwin->SetSettings(&settings);
    eng_device->SetClearColour(0.2f, 0.4f, 0.6f);

    MWinCollection *collection = AddCollection("Main");
    MWinWindow *window = AddWindow(collection, "Win", 100, 100, 300, 150, true, "Title");
    window->AddButton("Red", MWBT_PUSH, "Red", "", 10, 10, 60, 40);
    window->AddButton("Blue", MWBT_PUSH, "Blue", "", 200, 80, 60, 40);
    mwin->RenderMain();

    EXPECT_TRUE(Near(0x336699, Pixel(20, 20))) << "the cleared screen";
    EXPECT_TRUE(Near(0x7F7F7F, Pixel(380, 85))) << "the title bar, 70 to 100";
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(250, 200))) << "the window's body";
    EXPECT_TRUE(Near(0xFF0000, Pixel(112, 112))) << "the red control at 110, 110";
    EXPECT_TRUE(Near(0xFF0000, Pixel(168, 148)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(172, 152))) << "just past the red control";
    EXPECT_TRUE(Near(0x0000FF, Pixel(302, 182))) << "the blue control at 300, 180";
    EXPECT_TRUE(Near(0x0000FF, Pixel(358, 218)));
    EXPECT_TRUE(Near(0x336699, Pixel(402, 200))) << "beside the window";
    EXPECT_TRUE(Near(0x336699, Pixel(250, 252))) << "below the window";
}

} // namespace
