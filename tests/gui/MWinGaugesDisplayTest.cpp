// Under a real display: a script button with two styles of text and a
// progress circle at a quarter, read back from the back buffer.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinProgressCircle.h"
#include "gui/MWinScriptButton.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/support/TestPixels.h"

#include <vector>

namespace {

class MWinGaugesDisplayTest : public GuiTest {
protected:
    void SetUp() override { StartKit(true); }

    std::vector<DWORD> Area(int x, int y, int w, int h)
    {
        RECT rect = {x, y, x + w, y + h};
        std::vector<DWORD> pixels(static_cast<size_t>(w * h));
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, pixels.data()), S_OK);
        return pixels;
    }
    DWORD Pixel(int x, int y) { return Area(x, y, 1, 1)[0]; }
    int CountNear(const std::vector<DWORD> &pixels, DWORD rgb)
    {
        int n = 0;
        for (DWORD p : pixels)
            n += Near(rgb, p, 40) ? 1 : 0;
        return n;
    }
};

TEST_F(MWinGaugesDisplayTest, AScriptButtonWithTwoStylesAndAQuarterCircle)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_bg_mode = 1;
    const float colours[9] = {1, 0, 0, 1, 1, 0, 0, 0, 1}; // sector red, inner yellow, outer blue
    for (int i = 0; i < 9; i++)
        settings.m_progress_colours[i] = colours[i];
    mwin->SetSettings(&settings);
    eng_device->SetClearColour(0, 0, 0);

    MWinWindow *window = AddWindow(AddCollection("Main"), "Win", 0, 0, 640, 480);
    MWinScriptButton *script = window->AddScriptButton("Script", "Grey", 20, 20, 300, 200);
    ASSERT_NE(script, nullptr);
    ASSERT_TRUE(script->SetFont("Main"));
    script->SetStyle(1, 1, 0, 0, 1, 2);
    script->SetStyle(2, 0, 1, 0, 1, 2);
    script->SetText("<1<RED RED\n<2<GREEN");
    MWinProgressCircle *circle = window->AddProgressCircle("Circle", "Grey", 400, 100, 200, 200);
    ASSERT_NE(circle, nullptr);
    circle->SetValue(0.25f, 1);
    mwin->RenderMain();

    // The red line lies above the green one.
    std::vector<DWORD> top = Area(20, 20, 300, 60), below = Area(20, 80, 300, 100);
    EXPECT_GT(CountNear(top, 0xFF0000), 20);
    EXPECT_EQ(CountNear(below, 0xFF0000), 0);
    EXPECT_GT(CountNear(Area(20, 20, 300, 160), 0x00FF00), 20);

    // Centre (500, 200), radius 100, inner radius 90: the sector fills the
    // upper-left quarter, the inner disc the rest, the outer disc the rim.
    EXPECT_TRUE(Near(0xFF0000, Pixel(460, 160), 40)) << "upper left: the sector";
    EXPECT_TRUE(Near(0xFFFF00, Pixel(540, 160), 40)) << "upper right: the inner disc";
    EXPECT_TRUE(Near(0xFFFF00, Pixel(460, 240), 40)) << "lower left";
    EXPECT_TRUE(Near(0xFFFF00, Pixel(540, 240), 40)) << "lower right";
    EXPECT_TRUE(Near(0x0000FF, Pixel(500, 296), 40)) << "the rim below";
}

} // namespace
