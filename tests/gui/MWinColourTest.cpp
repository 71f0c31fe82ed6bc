// The colour picker: a colour picked with clicks on its scrollbars, the
// strips' pixels with their border, the hue limit, the linked output, the
// strips uploaded into the root's textures, and those textures and the hue
// palette made and released with the toolkit's graphics.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinColour.h"
#include "gui/MWinGroup.h"
#include "gui/MWinScrollbar.h"

namespace {

// "Pick" at (100, 100), 256 x 90: three bands of 30, each a 15-high strip
// over a 15-high scrollbar (hue at y 115, saturation 145, brightness 175).
class MWinColourTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinColour *colour = nullptr;
    float output[3] = {-1, -1, -1};

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 0, 0, 640, 480);
        MWinGroup *group = window->GetFirstGroup();
        colour = static_cast<MWinColour *>(
            group->CompleteAddButton(new MWinColour(mwin, "Pick", group, "White", 100, 100, 256, 90)));
        ASSERT_NE(colour, nullptr);
        colour->RecalculateArea();
        colour->LinkOutput(output, 255, 0);
    }

    const unsigned char *Pixel(int strip, int x, int y) { return colour->GetPixels(strip) + (y * 256 + x) * 3; }
};

TEST_F(MWinColourTest, ClicksOnTheScrollbarsPickTheColour)
{
    // Full red to start with.
    EXPECT_FLOAT_EQ(colour->GetColour()[0], 1);
    EXPECT_FLOAT_EQ(colour->GetColour()[1], 0);
    EXPECT_FLOAT_EQ(output[0], 255);

    Click(340, 122); // hue: a page of 51 up, twice
    Click(340, 122);
    Click(200, 152); // saturation: a page of 0.25 down
    Click(200, 182); // brightness: the same
    EXPECT_FLOAT_EQ(colour->GetHue(), 102);
    EXPECT_FLOAT_EQ(colour->GetSaturation(), 0.75f);
    EXPECT_FLOAT_EQ(colour->GetBrightness(), 0.75f);
    // Hue 102 is (0, 17/42, 1): brightness x (0.25 + 0.75 x hue).
    const float want[3] = {0.1875f, 0.75f * (0.25f + 0.75f * 17 / 42.0f), 0.75f};
    for (int c = 0; c < 3; c++) {
        EXPECT_NEAR(colour->GetColour()[c], want[c], 1e-5) << c;
        EXPECT_NEAR(output[c], want[c] * 255, 1e-3) << c;
    }
}

TEST_F(MWinColourTest, UnderAControllerThePickerFollowsAndMayBeDeleted)
{
    TestController controller;
    window->SetController(&controller);
    Click(340, 122);
    EXPECT_FLOAT_EQ(colour->GetHue(), 51);
    EXPECT_EQ(controller.presses, std::vector<std::string>{"Pick.H"});

    // A controller that takes the window's controls away on the next change.
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *) {
        window->RemoveAllButtons();
        return char(1);
    };
    Click(340, 122);
    EXPECT_EQ(window->GetFirstButton(), nullptr);
    Click(340, 122);
}

TEST_F(MWinColourTest, TheStripsShowTheGradientsInsideABorder)
{
    MWinHorzScrollbar *hue = colour->GetScrollbar(0);
    ASSERT_NE(hue, nullptr);
    // A hue beyond 255 read from the scrollbar is taken as 255 (red).
    hue->SetRange(0, 300, 10, 1);
    hue->SetPos(300, 1);
    EXPECT_FLOAT_EQ(colour->GetHue(), 255);
    colour->GetScrollbar(1)->SetPos(0.5f, 1);
    colour->GetScrollbar(2)->SetPos(0.4f, 1);

    // Red at saturation 0.5 is (1, 0.5, 0.5); brightness 0.4. Bytes are
    // truncated, so a value that lands on a whole number may come out one
    // lower.
    struct Case {
        int strip, x, y;
        unsigned char r, g, b;
    } cases[] = {
        {0, 0, 16, 0, 0, 0},             // the border, left
        {1, 100, 1, 0, 0, 0},            // the border, top
        {2, 255, 31, 0, 0, 0},           // the border, bottom right
        {0, 128, 16, 0, 255, 255},       // every hue
        {0, 42, 2, 255, 0, 255},
        {1, 253, 16, 253, 0, 0},         // hue over brightness, near the end
        {1, 2, 16, 103, 101, 101},       // near the start: the brightness
        {2, 253, 16, 253, 126, 126},     // the saturated hue from black
        {2, 51, 29, 51, 25, 25},
    };
    for (const Case &c : cases) {
        const unsigned char *p = Pixel(c.strip, c.x, c.y);
        const unsigned char want[3] = {c.r, c.g, c.b};
        for (int k = 0; k < 3; k++)
            EXPECT_NEAR(p[k], want[k], 1) << c.strip << " " << c.x << "," << c.y << " channel " << k;
    }
    EXPECT_NEAR(colour->GetColour()[1], 0.2f, 1e-6);
}

TEST_F(MWinColourTest, TheStripsReachTheRootsTexturesAndAreDrawn)
{
    colour->GetScrollbar(0)->SetPos(128, 1);
    colour->UpdateTextures(1);
    for (int strip = 0; strip < MWinColour::NUM_STRIPS; strip++) {
        EngTextureDX9 *dx9 = mwin->GetTextures()->GetColourTexture(strip)->GetTextureDX9();
        D3DLOCKED_RECT locked;
        ASSERT_TRUE(dx9->LockDxSurface(&locked));
        const unsigned char *texel = static_cast<unsigned char *>(locked.pBits) + 16 * locked.Pitch + 4 * 200;
        const unsigned char *pixel = Pixel(strip, 200, 16);
        EXPECT_EQ(texel[2], pixel[0]) << strip;
        EXPECT_EQ(texel[1], pixel[1]) << strip;
        EXPECT_EQ(texel[0], pixel[2]) << strip;
        dx9->UnlockDxSurface();
    }

    D3D9RecordingReset();
    mwin->RenderMain();
    int strips = 0;
    for (const DrawnQuad &q : DrawnQuads())
        for (int i = 0; i < MWinColour::NUM_STRIPS; i++)
            if (q.texture == mwin->GetTextures()->GetColourTexture(i)->GetTextureDX9()->GetD3DTexture()) {
                EXPECT_NEAR(q.y, 100 + 30 * i, 0.5) << i;
                EXPECT_NEAR(q.w, 256, 0.5) << i;
                strips++;
            }
    EXPECT_EQ(strips, 3);
}

TEST_F(MWinColourTest, TheColourPickerGraphicsComeAndGoWithTheToolkits)
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
