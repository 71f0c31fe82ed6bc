// The toolkit on a real window drawn with GL: a window with a title bar and
// two coloured controls drawn by RenderMain, and a nine-sliced texture
// button with a centred caption, read back from the back buffer where they
// should be.
#include "tests/support/GuiTestKit.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/support/TestPixels.h"

#include <algorithm>
#include <vector>

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

// A 32 x 32 frame: 8-texel corners red, green, blue and yellow, grey
// edges between them, a white middle.
DWORD FrameTexel(int x, int y)
{
    bool left = x < 8, right = x >= 24, top = y < 8, bottom = y >= 24;
    if (top && left)
        return 0xFFFF0000;
    if (top && right)
        return 0xFF00FF00;
    if (bottom && left)
        return 0xFF0000FF;
    if (bottom && right)
        return 0xFFFFFF00;
    return left || right || top || bottom ? 0xFF808080 : 0xFFFFFFFF;
}

TEST_F(MWinDisplayTest, ANineSlicedButtonKeepsItsCornersAndCentresItsCaption)
{
    ASSERT_TRUE(WritePng("frame.png", 32, 32, [](int x, int y) { return FrameTexel(x, y); }));
    MWinTextures *textures = mwin->GetTextures();
    ASSERT_TRUE(textures->AddTexture("FrameTex", "frame.png", 1, 2));
    ASSERT_TRUE(textures->AddTextureButton("Frame", "FrameTex", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0,
                                           0, 0));
    // Borders of a quarter of the texture, 16 units wide and 12 (drawn 16) high.
    ASSERT_TRUE(textures->SetTexButDrawStyle("Frame", 2, 0.25f, 16, 2, 0.25f, 12));
    mwin->DestroyGraphicsObjects();
    ASSERT_TRUE(mwin->CreateGraphicsObjects());

    MWinWindow *window = AddWindow(AddCollection("Main"), "Win", 100, 100, 400, 200);
    MWinButton *button = window->AddButton("OK", MWBT_PUSH, "Frame", "HH", 40, 40, 240, 100);
    ASSERT_TRUE(button->SetFont("Main"));
    button->SetTextScale(2, 2);
    mwin->RenderMain();

    // The control lies at 140, 140, 240 x 100; each corner stays 16 pixels square.
    const int x = 140, y = 140, w = 240, h = 100;
    struct Probe {
        int px, py;
        DWORD colour;
        const char *what;
    } probes[] = {
        {x + 2, y + 2, 0xFF0000, "top-left corner"},
        {x + 13, y + 13, 0xFF0000, "top-left corner, inner end"},
        {x + 40, y + 2, 0x808080, "top edge past the corner"},
        {x + w / 2, y + 2, 0x808080, "top edge in the middle"},
        {x + 2, y + 40, 0x808080, "left edge below the corner"},
        {x + w - 3, y + 2, 0x00FF00, "top-right corner"},
        {x + w - 14, y + 13, 0x00FF00, "top-right corner, inner end"},
        {x + 2, y + h - 3, 0x0000FF, "bottom-left corner"},
        {x + w - 14, y + h - 14, 0xFFFF00, "bottom-right corner, inner end"},
        {x + w - 40, y + h - 3, 0x808080, "bottom edge before the corner"},
        {x + 30, y + h / 2, 0xFFFFFF, "the middle"},
    };
    for (const Probe &p : probes)
        EXPECT_TRUE(Near(p.colour, Pixel(p.px, p.py), 8)) << p.what;

    // The caption: the dark pixels inside the middle, centred on the control.
    std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
    RECT rect = {x, y, x + w, y + h};
    ASSERT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, pixels.data()), S_OK);
    int left = w, right = -1, top = h, bottom = -1;
    for (int py = 16; py < h - 16; py++)
        for (int px = 16; px < w - 16; px++) {
            DWORD c = pixels[static_cast<size_t>(py) * w + px];
            if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60) {
                left = std::min(left, px);
                right = std::max(right, px);
                top = std::min(top, py);
                bottom = std::max(bottom, py);
            }
        }
    ASSERT_GE(right, left) << "a caption was drawn";
    EXPECT_GT(right - left, 20) << "two letters at twice the size";
    EXPECT_NEAR((left + right + 1) / 2.0, w / 2.0, 2.0);
    // Vertically the font centres its line height, which keeps room for
    // descenders below the capitals: they sit a few pixels above the middle.
    double middle = (top + bottom + 1) / 2.0;
    EXPECT_LE(middle, h / 2.0 + 1);
    EXPECT_GE(middle, h / 2.0 - 6);
}

} // namespace
