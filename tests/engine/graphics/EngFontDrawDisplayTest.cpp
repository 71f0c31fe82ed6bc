// Text on a real window with GL, read back from the back buffer: drawn in
// its colour at its place, and accented Windows-1252 letters with their
// accents.
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const int WIDTH = 640, HEIGHT = 480;

// The lit area of a region: pixels whose strongest channel passes 64.
struct Box {
    int left = WIDTH, top = HEIGHT, right = -1, bottom = -1, count = 0;
    bool Empty() const { return count == 0; }
};

class EngFontDrawDisplayTest : public DisplayTest<> {
protected:
    EngFont font;
    std::vector<DWORD> screen;

    void SetUp() override
    {
        parms = WindowParms(1, WIDTH, HEIGHT);
        DisplayTest::SetUp();
        if (HasFatalFailure())
            return;
        EngFontResetForTests();
        EngFontDrawResetForTests();
        ASSERT_EQ(Open(), 1);
        // Drawing units are pixels: the window is the 640 x 480 screen.
        ASSERT_TRUE(CreateTestFont(font, 16, 32, 254));
        // The font's reports of the characters it lacks.
        DebugClearLogs();
    }

    void TearDown() override
    {
        font.Destroy();
        DisplayTest::TearDown();
    }

    // Clears to black, lets draw() put text on the 640 x 480 screen, and
    // reads the frame back.
    template <typename Draw>
    void Frame(Draw draw)
    {
        eng_device->SetClearColour(0, 0, 0);
        eng_device->ClearBackBufferAndZBuffer();
        ASSERT_TRUE(eng_device->BeginRendering());
        EngFontPrepareForDrawing(1);
        draw();
        EngFontRestoreAfterDrawing();
        eng_device->EndRendering();
        screen = Screen();
    }

    DWORD Pixel(int x, int y) const { return screen[y * WIDTH + x]; }

    Box Lit(int left, int top, int right, int bottom) const
    {
        Box box;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++) {
                DWORD p = Pixel(x, y);
                int strongest = std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
                if (strongest > 64) {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.top = std::min(box.top, y);
                    box.bottom = std::max(box.bottom, y);
                    box.count++;
                }
            }
        return box;
    }
};

TEST_F(EngFontDrawDisplayTest, TextAppearsInItsColourAtItsPlace)
{
    const char *text = "HHHH";
    float width = font.GetStringWidth(text);
    Frame([&] {
        font.SetColour(1.0f, 0.0f, 0.0f, 1.0f);
        font.DrawString(100, 100, 0, 0, text, 0);
    });

    // The glyphs' tops are the characters' y offsets above the line's top,
    // whose y grows downwards.
    const float *placement = EngFontTestAccess::Placement(font, 'H');
    EngVertexBufferDX9 *quad = EngFontTestAccess::Quad(font, 'H');
    float glyph_top = 100 - placement[1];
    float glyph_bottom = glyph_top + quad->GetPositionCache()[3];

    Box box = Lit(0, 0, WIDTH, HEIGHT);
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.left, 100);
    EXPECT_LE(box.left, 100 + placement[0] + 3);
    EXPECT_LE(box.right, 100 + width);
    EXPECT_GE(box.right, 100 + width - font.GetCharWidth('H'));
    EXPECT_NEAR(box.top, glyph_top, 1.5f);
    EXPECT_NEAR(box.bottom, glyph_bottom - 1, 1.5f);

    // Red, and only red: the stems are solid, the edges blend into black.
    int solid = 0;
    for (int y = box.top; y <= box.bottom; y++)
        for (int x = box.left; x <= box.right; x++) {
            DWORD p = Pixel(x, y);
            EXPECT_LE((p >> 8) & 0xFF, 2u) << x << ", " << y;
            EXPECT_LE(p & 0xFF, 2u) << x << ", " << y;
            solid += ((p >> 16) & 0xFF) >= 250;
        }
    EXPECT_GT(solid, 100);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngFontDrawDisplayTest, AccentedLettersDrawTheirAccents)
{
    // E and E acute side by side, and the euro sign, which 1252 has at 0x80.
    Frame([&] {
        font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
        font.DrawString(100, 200, 0, 0, "E", 0);
        font.DrawString(300, 200, 0, 0, "\xC9", 0);
        font.DrawString(500, 200, 0, 0, "\x80", 0);
    });
    Box plain = Lit(80, 100, 200, 300);
    Box acute = Lit(280, 100, 400, 300);
    Box euro = Lit(480, 100, 600, 300);
    ASSERT_FALSE(plain.Empty());
    ASSERT_FALSE(acute.Empty());
    // The same letter, the same baseline; the accent rises above the capital.
    EXPECT_NEAR(acute.bottom, plain.bottom, 1);
    EXPECT_LT(acute.top, plain.top - 4);
    EXPECT_GT(acute.count, plain.count);
    Box accent = Lit(280, 100, 400, plain.top - 2);
    EXPECT_GT(accent.count, 10);
    EXPECT_FALSE(euro.Empty());
    EXPECT_TRUE(StoredLines().empty());
}

} // namespace
