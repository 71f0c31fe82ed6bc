// Textures, the nine-part frame and the dimming on a real window with GL,
// read back from the back buffer; and a hundred changes of size that leave
// no graphics object behind.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngDimDraw.h"
#include "engine/graphics/EngTriangleList.h"
#include "tests/support/DisplayTest.h"

#include <cstdlib>

namespace {

// A program whose graphics objects are made and released with every device,
// as the game's are.
class GraphicsProgram : public RecordingProgram {
public:
    EngTexture picture, sheet;
    EngTriangleList triangles;
    EngVertexBufferDX9 quad;

    char CreateGraphicsObjectsCB() override
    {
        int size = 32;
        bool made = picture.LoadFromFile("picture.png", 1, 2) && sheet.CreateEmpty2DTexture(&size, &size, 1) &&
                    triangles.Create(ETLT_POS_COL_TEX, &picture, 8) && quad.Create(EVBT_POS_COL_TEX_2D, &sheet);
        return made ? RecordingProgram::CreateGraphicsObjectsCB() : 0;
    }

    void DestroyGraphicsObjectsCB() override
    {
        picture.Destroy();
        sheet.Destroy();
        triangles.Destroy();
        quad.Destroy();
        RecordingProgram::DestroyGraphicsObjectsCB();
    }
};

class EngTextureDisplayTest : public DisplayTest<GraphicsProgram> {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 640, 480);
        DisplayTest::SetUp();
        if (HasFatalFailure())
            return;
        EngTextureResetForTests();
        // Left half opaque red, right half green at half alpha.
        ASSERT_TRUE(WritePng("picture.png", 64, 64, [](int x, int) { return x < 32 ? 0xFFFF0000u : 0x8000FF00u; }));
        ASSERT_EQ(Open(), 1);
        ASSERT_NE(eng_d3d_device, nullptr);
    }

    void TearDown() override
    {
        DisplayTest::TearDown();
        EXPECT_EQ(D3D9GetLiveObjectCount(), 0);
    }

    // A frame cleared to the colour, drawn in 2D without lighting and with
    // the texture's alpha times the vertex alpha, as the game draws.
    void Frame(float r, float g, float b, const std::function<void()> &draw)
    {
        eng_device->SetClearColour(r, g, b);
        eng_device->ClearBackBufferAndZBuffer();
        ASSERT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        eng_device->ModulateTextureAlphaWithColourAlpha();
        eng_device->EnableBlendingType(0);
        draw();
        eng_device->DisableBlending();
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
    }
};

TEST_F(EngTextureDisplayTest, APictureWithAlphaIsBlendedOverTheClearColour)
{
    EngTexture &picture = program->picture;
    ASSERT_EQ(picture.GetWidth(), 64);
    Frame(0, 0, 1, [&] {
        picture.PositionRatioed(100, 100, 64, 64);
        picture.Draw();
        // Again, below, at half alpha in the coloured layout.
        picture.PositionRatioed(100, 300, 64, 64);
        picture.DrawWithColour(1, 1, 1, 0.5f);
    });
    for (int y : {104, 132, 160}) {
        EXPECT_TRUE(Near(0xFF0000, Pixel(104, y))) << y;
        EXPECT_TRUE(Near(0xFF0000, Pixel(120, y))) << y;
        EXPECT_TRUE(Near(0x00807F, Pixel(140, y))) << y;
        EXPECT_TRUE(Near(0x00807F, Pixel(160, y))) << y;
    }
    EXPECT_TRUE(Near(0x0000FF, Pixel(98, 130)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(166, 130)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(130, 98)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(130, 166)));
    // Half alpha: red over blue, a quarter of green over blue.
    EXPECT_TRUE(Near(0x7F0080, Pixel(116, 330), 3));
    EXPECT_TRUE(Near(0x0040BF, Pixel(148, 330), 3));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureDisplayTest, ANinePartFrameKeepsItsCornersAndStretchesTheRest)
{
    // 12 x 12 in three bands each way: red corners, green edges, a blue centre.
    EngTexture frame;
    int size = 12;
    ASSERT_TRUE(frame.CreateEmptyTexture(&size, &size, 1));
    ASSERT_TRUE(FillPixels(&frame, [](int x, int y) {
        const int cx = x / 4, cy = y / 4;
        if (cx == 1 && cy == 1)
            return 0xFF0000FFu;
        return (cx == 1 || cy == 1) ? 0xFF00FF00u : 0xFFFF0000u;
    }));
    Frame(0, 0, 0, [&] {
        frame.PositionRatioed(100, 100, 200, 120);
        frame.DrawStretchedWithCorners(20, 20, 0.25f, 0.25f, 1);
    });
    struct Sample {
        int x, y;
        DWORD colour;
    };
    const Sample samples[] = {
        {110, 110, 0xFF0000}, {290, 110, 0xFF0000}, {110, 210, 0xFF0000}, {290, 210, 0xFF0000},
        {200, 110, 0x00FF00}, {200, 210, 0x00FF00}, {110, 160, 0x00FF00}, {290, 160, 0x00FF00},
        {200, 160, 0x0000FF}, {170, 150, 0x0000FF}, {230, 170, 0x0000FF},
        {98, 110, 0x000000},  {200, 98, 0x000000},  {302, 160, 0x000000}, {200, 222, 0x000000},
    };
    for (const Sample &s : samples)
        EXPECT_TRUE(Near(s.colour, Pixel(s.x, s.y), 8)) << s.x << "," << s.y;
    frame.Destroy();
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureDisplayTest, DimmingDarkensTheWholeScreen)
{
    Frame(1, 1, 1, [] { EngDimDraw(0.5f); });
    for (int x : {0, 320, 639})
        for (int y : {0, 240, 479})
            EXPECT_TRUE(Near(0x808080, Pixel(x, y))) << x << "," << y;
    Frame(1, 1, 1, [] { EngDimDraw(2.0f); });
    EXPECT_TRUE(Near(0x000000, Pixel(0, 0)));
    EXPECT_TRUE(Near(0x000000, Pixel(639, 479)));
    Frame(1, 1, 1, [] { EngDimDraw(-1.0f); });
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(320, 240)));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureDisplayTest, AHundredChangesOfSizeLeaveNoGraphicsObjectBehind)
{
    ASSERT_TRUE(WritePng("cursor.png", 16, 16, [](int, int) { return 0xFF000000u; }));
    EngWindow *window = program->GetWindow();
    ASSERT_TRUE(window->SetupTextureCursor_PC("cursor.png", 2, 2, 20, 20, 1, 0, 0));
    ASSERT_TRUE(window->RecreateDevice());
    PostMessageA(window->GetWindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    PumpAll(window);
    auto frame = [&] {
        Frame(0.2f, 0.2f, 0.2f, [&] {
            program->picture.PositionRatioed(0, 0, 64, 64);
            program->picture.Draw();
            program->sheet.PositionRatioed(100, 0, 32, 32);
            program->sheet.Draw();
            program->triangles.Draw();
            program->quad.SetPosition(200, 0, 32, 32);
            program->quad.Draw();
            EngDimDraw(0.1f);
        });
        EXPECT_EQ(window->DrawTextureCursor_PC(), 1);
        eng_device->SwapBuffers();
    };
    frame();
    const int live = D3D9GetLiveObjectCount();
    // The picture, the sheet and their quads, the triangles, the quad, the
    // dimming quad, and the cursor with its quad.
    EXPECT_EQ(live, 9);

    for (int i = 0; i < 100; i++) {
        window->SetClientSize(i % 2 ? 640 : 800, i % 2 ? 480 : 600);
        ASSERT_NE(eng_device, nullptr) << "change " << i;
        frame();
        ASSERT_EQ(D3D9GetLiveDeviceCount(), 1) << "change " << i;
        ASSERT_EQ(D3D9GetLiveObjectCount(), live) << "change " << i;
    }
    EXPECT_EQ(eng_screen_width, 640);
    EXPECT_TRUE(program->picture.IsCreated());
    EXPECT_TRUE(window->GetTextureCursor_PC()->texture.IsCreated());
    for (const std::string &line : StoredLines())
        EXPECT_EQ(line.find("Graphics objects not released"), std::string::npos) << line;
}

} // namespace
