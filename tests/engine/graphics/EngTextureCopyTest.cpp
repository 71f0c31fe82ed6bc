// Copying parts of textures into others on the processor: nearest-pixel
// scaling, clipping, blending by the source's alpha, colour, the checks that
// refuse a copy, and the 16-bit pixel packing.
#include "tests/engine/graphics/GraphicsTestSupport.h"

namespace {

const char COPY[] = "EngTextureDX9::CopyPartFromAnotherTextureWithColour";

class EngTextureCopyTest : public RecordingDeviceTest {
protected:
    EngTexture source, target;

    void TearDown() override
    {
        source.Destroy();
        target.Destroy();
        RecordingDeviceTest::TearDown();
    }

    // A texture of the size, alpha or not, filled from the function.
    void Make(EngTexture *texture, int width, int height, char alpha, const PixelFunction &colour)
    {
        texture->Destroy();
        ASSERT_TRUE(texture->CreateEmptyTexture(&width, &height, alpha));
        ASSERT_TRUE(FillPixels(texture, colour));
    }

    DWORD At(EngTexture *texture, int x, int y)
    {
        return ReadPixels(texture).at(static_cast<size_t>(y) * texture->GetWidth() + x);
    }
};

// Every source pixel its own colour: x in red, y in green.
DWORD Coordinates(int x, int y)
{
    return 0xFF000000u | (static_cast<DWORD>(x) << 16) | (static_cast<DWORD>(y) << 8);
}

TEST_F(EngTextureCopyTest, APartScaledUpRepeatsEachPixel)
{
    Make(&source, 40, 40, 1, Coordinates);
    Make(&target, 70, 70, 1, [](int, int) { return 0xFF0000FFu; });
    // The 32 x 32 part at (4, 4) onto 64 x 64 at (3, 2).
    ASSERT_TRUE(target.CopyPartFromAnotherTextureUsingInts(&source, 4, 4, 32, 32, 3, 2, 64, 64, 0, nullptr));
    std::vector<DWORD> pixels = ReadPixels(&target);
    for (int y = 2; y < 66; y++)
        for (int x = 3; x < 67; x++)
            ASSERT_EQ(pixels[y * 70 + x], Coordinates(4 + (x - 3) / 2, 4 + (y - 2) / 2)) << x << "," << y;
    EXPECT_EQ(At(&target, 2, 2), 0xFF0000FFu);
    EXPECT_EQ(At(&target, 67, 2), 0xFF0000FFu);
    EXPECT_EQ(At(&target, 3, 66), 0xFF0000FFu);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCopyTest, NegativeSizesMeanTheWholeTexture)
{
    Make(&source, 4, 4, 1, Coordinates);
    Make(&target, 8, 12, 1, [](int, int) { return 0u; });
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr));
    std::vector<DWORD> pixels = ReadPixels(&target);
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 8; x++)
            EXPECT_EQ(pixels[y * 8 + x], Coordinates(x / 2, y / 3)) << x << "," << y;

    // Shrinking takes every other pixel.
    Make(&target, 2, 2, 1, [](int, int) { return 0u; });
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr));
    EXPECT_EQ(ReadPixels(&target), (std::vector<DWORD>{Coordinates(0, 0), Coordinates(2, 0), Coordinates(0, 2),
                                                       Coordinates(2, 2)}));
}

TEST_F(EngTextureCopyTest, OnlyPixelsInsideTheDestinationAreWritten)
{
    Make(&source, 8, 8, 1, Coordinates);
    Make(&target, 8, 8, 1, [](int, int) { return 0x11111111u; });
    // Reaching over the left and bottom edges: the source is placed as if
    // the whole rectangle were there.
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 0, 0, 8, 8, -3, 4, 8, 8, 0, nullptr));
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            DWORD expected = (x < 5 && y >= 4) ? Coordinates(x + 3, y - 4) : 0x11111111u;
            EXPECT_EQ(At(&target, x, y), expected) << x << "," << y;
        }
    // A source rectangle reaching beyond the source gives nothing from there.
    Make(&target, 8, 8, 1, [](int, int) { return 0x11111111u; });
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 6, 0, 4, 1, 0, 0, 4, 1, 0, nullptr));
    EXPECT_EQ(At(&target, 1, 0), Coordinates(7, 0));
    EXPECT_EQ(At(&target, 2, 0), 0x11111111u);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCopyTest, BlendingLaysTheSourceOverByItsAlpha)
{
    struct Case {
        DWORD source, target, expected;
    };
    const Case cases[] = {
        // 255 x 128 / 255 + 0: red 128; the destination's alpha rises to 128.
        {0x80FF0000u, 0x00000000u, 0x80800000u},
        // A destination alpha of 200 stays under a source alpha of 100.
        {0x6400FF00u, 0xC8000000u, 0xC8006400u},
        {0x64FFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        // Opaque copies, clear leaves the destination alone.
        {0xFF123456u, 0x80ABCDEFu, 0xFF123456u},
        {0x00123456u, 0x80ABCDEFu, 0x80ABCDEFu},
    };
    for (const Case &c : cases) {
        Make(&source, 1, 1, 1, [&](int, int) { return c.source; });
        Make(&target, 1, 1, 1, [&](int, int) { return c.target; });
        ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 1, nullptr));
        EXPECT_EQ(At(&target, 0, 0), c.expected) << std::hex << c.source << " over " << c.target;
    }
    // Without blending the source replaces the destination, alpha and all.
    Make(&target, 1, 1, 1, [](int, int) { return 0xFFFFFFFFu; });
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr));
    EXPECT_EQ(At(&target, 0, 0), 0x00123456u);
}

TEST_F(EngTextureCopyTest, AColourMultipliesAndSaturates)
{
    Make(&source, 1, 1, 1, [](int, int) { return 0xFFC86432u; });
    Make(&target, 1, 1, 1, [](int, int) { return 0u; });
    EngTextureDX9 *part = target.GetTextureDX9();
    ASSERT_TRUE(part->CopyPartFromAnotherTextureWithColour(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, 0.5f, 1, 0));
    EXPECT_EQ(At(&target, 0, 0), 0xFF646400u);
    // 200 x 1.5 is 255, not 44.
    ASSERT_TRUE(part->CopyPartFromAnotherTextureWithColour(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, 1.5f, 1.5f, 1.5f));
    EXPECT_EQ(At(&target, 0, 0), 0xFFFF964Bu);
    // Blended, the colour applies before the mix.
    Make(&source, 1, 1, 1, [](int, int) { return 0x80C80000u; });
    Make(&target, 1, 1, 1, [](int, int) { return 0xFF000000u; });
    ASSERT_TRUE(part->CopyPartFromAnotherTextureWithColour(&source, 0, 0, -1, -1, 0, 0, -1, -1, 1, 0.5f, 1, 1));
    EXPECT_EQ(At(&target, 0, 0), 0xFF320000u);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCopyTest, CopiesThatCannotBeDoneAreRefusedAndChangeNothing)
{
    Make(&source, 4, 4, 1, Coordinates);
    Make(&target, 4, 4, 1, [](int, int) { return 0x22222222u; });
    EngTexture empty, light, light_too, opaque;
    int size = 4;
    ASSERT_TRUE(light.GetTextureDX9()->DoCreateEmptyTexture(&size, &size, 0, 0, 0, 1));
    ASSERT_TRUE(light_too.GetTextureDX9()->DoCreateEmptyTexture(&size, &size, 0, 0, 0, 1));
    ASSERT_TRUE(opaque.CreateEmptyTexture(&size, &size, 0));
    const _EngTextureCopyPartSettings *settings = reinterpret_cast<const _EngTextureCopyPartSettings *>(&size);
    struct Case {
        std::function<bool()> copy;
        std::string line;
    };
    const Case cases[] = {
        {[&] { return target.CopyPartFromAnotherTexture(nullptr, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr); },
         "From texture not ok"},
        {[&] { return target.CopyPartFromAnotherTexture(&empty, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr); },
         "From texture not ok (2)"},
        {[&] { return empty.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr); },
         "To texture not ok"},
        {[&] { return target.CopyPartFromAnotherTexture(&light, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr); },
         "Formats are not the same [50,21]"},
        {[&] { return light_too.CopyPartFromAnotherTexture(&light, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr); },
         "Unsupported format 0x32"},
        {[&] { return target.CopyPartFromAnotherTexture(&source, 0, 0, 0, 4, 0, 0, -1, -1, 0, nullptr); },
         "Invalid from sizes"},
        {[&] { return target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, 4, 0, 0, nullptr); },
         "Invalid to sizes"},
        {[&] { return target.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 0, settings); },
         "Cps not implemeted yet"},
    };
    for (const Case &c : cases) {
        DebugClearLogs();
        EXPECT_FALSE(c.copy());
        EXPECT_EQ(StoredLines().back(), ErrorText(COPY, c.line));
    }
    EXPECT_EQ(ReadPixels(&target), std::vector<DWORD>(16, 0x22222222u));

    // A texture copied onto itself cannot be locked twice; the first lock is undone.
    DebugClearLogs();
    EXPECT_FALSE(target.CopyPartFromAnotherTexture(&target, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr));
    EXPECT_EQ(StoredLines().back(),
              ErrorText("EngTextureDX9::CopyPartOfAnotherTexture", "LockRect (to): The method call is invalid."));
    EXPECT_EQ(ReadPixels(&target).size(), 16u) << "unlocked again";

    // With and without alpha: 32-bit pixels are copied either way.
    ASSERT_TRUE(opaque.CopyPartFromAnotherTexture(&source, 0, 0, -1, -1, 0, 0, -1, -1, 1, nullptr));
    EXPECT_EQ(At(&opaque, 3, 1), Coordinates(3, 1));
    ASSERT_TRUE(target.CopyPartFromAnotherTexture(&opaque, 0, 0, -1, -1, 0, 0, -1, -1, 0, nullptr));
    EXPECT_EQ(At(&target, 3, 1), Coordinates(3, 1));
}

TEST(EngTextureBit16, PixelsPackAndUnpackByFormat)
{
    ResetEngineForTest();
    struct Case {
        D3DFORMAT format;
        unsigned char hi, lo;
        unsigned char r, g, b, a;
    };
    const Case unpacked[] = {
        {D3DFMT_A4R4G4B4, 0xF0, 0x0F, 0, 0, 255, 255},
        {D3DFMT_X4R4G4B4, 0x5A, 0x3C, 0xAF, 0x3F, 0xCF, 0x5F},
        {D3DFMT_R5G6B5, 0xF8, 0x1F, 0xF8, 0, 0xF8, 255},
        {D3DFMT_R5G6B5, 0x07, 0xE0, 0, 0xFC, 0, 255},
        {D3DFMT_A1R5G5B5, 0xFC, 0x00, 0xF8, 0, 0, 255},
        {D3DFMT_X1R5G5B5, 0x03, 0xE0, 0, 0xF8, 0, 0},
    };
    for (const Case &c : unpacked) {
        const _EngTextureBit16 pixel = {c.lo, c.hi};
        unsigned char r, g, b, a;
        ASSERT_TRUE(EngTextureDX9_GetColPartsFromBit16(&pixel, c.format, &r, &g, &b, &a));
        EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{c.r, c.g, c.b, c.a}))
            << "format " << c.format << " pixel " << std::hex << int(c.hi) << int(c.lo);
    }
    // Packing what was unpacked gives the pixel back.
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4}) {
        for (unsigned value : {0x0000u, 0xFFFFu, 0x1234u, 0xBEEFu, 0x8001u}) {
            const _EngTextureBit16 pixel = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
            unsigned char r, g, b, a;
            _EngTextureBit16 again = {0, 0};
            ASSERT_TRUE(EngTextureDX9_GetColPartsFromBit16(&pixel, format, &r, &g, &b, &a));
            ASSERT_TRUE(EngTextureDX9_SetBit16FromColParts(r, g, b, a, format, &again));
            EXPECT_EQ(again.hi << 8 | again.lo, static_cast<int>(value)) << "format " << format;
        }
    }
    const _EngTextureBit16 pixel = {0, 0};
    unsigned char r, g, b, a;
    _EngTextureBit16 out;
    EXPECT_FALSE(EngTextureDX9_GetColPartsFromBit16(&pixel, D3DFMT_A8R8G8B8, &r, &g, &b, &a));
    EXPECT_FALSE(EngTextureDX9_SetBit16FromColParts(1, 2, 3, 4, D3DFMT_L8, &out));
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{ErrorText("EngTextureDX9_GetColPartsFromBit16", "Format not supported: 21"),
                                        ErrorText("EngTextureDX9_SetBit16FromColParts", "Format not supported: 50")}));
}

} // namespace
