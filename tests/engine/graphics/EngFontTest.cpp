// Font creation: the blur, the packer, glyph cells and texels as tables, the
// refusals of bad arguments, widths measured with DejaVu Sans, and the
// sheets and quads made on the recording device.
#include "tests/engine/graphics/FontTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

const char *const CREATE = "EngFont::CreateFromFontFile";

// --- BinomColor ---

struct BlurCase {
    const char *name;
    int channels, passes_1, passes_0, width, height;
    std::vector<unsigned char> in, out;
};

TEST(BinomColorTest, BlursAsTheTableSays)
{
    const std::vector<BlurCase> cases = {
        {"no passes leave the data alone", 1, 0, 0, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"a flat image stays flat", 1, 0, 2, 3, 3, std::vector<unsigned char>(9, 200),
         std::vector<unsigned char>(9, 200)},
        // The centre gets 4/16 of itself; the outer rows and columns copy their
        // inner neighbours from before the pass, the rows last (corners too).
        {"3 x 3 impulse", 1, 0, 1, 3, 3, {0, 0, 0, 0, 16, 0, 0, 0, 0}, {0, 16, 0, 16, 4, 16, 0, 16, 0}},
        {"5 x 5 impulse, one pass", 1, 0, 1, 5, 5,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 15, 31, 15, 0, 0, 31, 63, 31, 0, 0, 15, 31, 15, 0, 0, 0, 0, 0, 0}},
        // The second pass works on the first one's result:
        // (4 x 63 + 2 x 4 x 31 + 4 x 15) / 16 = 35 in the centre.
        {"5 x 5 impulse, two passes", 1, 0, 2, 5, 5,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {0, 15, 31, 15, 0, 15, 15, 23, 15, 15, 31, 23, 35, 23, 31, 15, 15, 23, 15, 15, 0, 15, 31, 15, 0}},
        // Two channels interleaved: only channel 1 is blurred here.
        {"two channels, channel 1 only", 2, 1, 0, 3, 3,
         {9, 0, 9, 0, 9, 0, 9, 0, 9, 16, 9, 0, 9, 0, 9, 0, 9, 0},
         {9, 0, 9, 16, 9, 0, 9, 16, 9, 4, 9, 16, 9, 0, 9, 16, 9, 0}},
        // One channel ignores the passes for channel 1.
        {"one channel ignores channel 1 passes", 1, 3, 0, 3, 3, {0, 0, 0, 0, 16, 0, 0, 0, 0},
         {0, 0, 0, 0, 16, 0, 0, 0, 0}},
    };
    for (const BlurCase &c : cases) {
        std::vector<unsigned char> data = c.in;
        BinomColor(c.channels, c.passes_1, c.passes_0, c.width, c.height, data.data(),
                   static_cast<unsigned>(data.size()));
        EXPECT_EQ(data, c.out) << c.name;
    }
}

// The blur as its definition reads: each pass gives every inner pixel of a
// channel its full 3 x 3 kernel sum of the image before the pass, then the
// outer columns and rows copy their inner neighbours from before the pass.
std::vector<unsigned char> ReferenceBlur(std::vector<unsigned char> data, int channels, int passes_1, int passes_0,
                                         int width, int height)
{
    const int passes[2] = {passes_0, channels == 2 ? passes_1 : 0};
    for (int channel = 0; channel < channels; channel++)
        for (int pass = 0; pass < passes[channel]; pass++) {
            const std::vector<unsigned char> before = data;
            auto at = [&](int row, int column) { return before[(row * width + column) * channels + channel]; };
            auto put = [&](int row, int column, int value) {
                data[(row * width + column) * channels + channel] = static_cast<unsigned char>(value);
            };
            for (int row = 1; row < height - 1; row++)
                for (int column = 1; column < width - 1; column++) {
                    int sum = 0;
                    for (int dy = -1; dy <= 1; dy++)
                        for (int dx = -1; dx <= 1; dx++)
                            sum += (2 - dx * dx) * (2 - dy * dy) * at(row + dy, column + dx);
                    put(row, column, sum >> 4);
                }
            for (int row = 0; row < height; row++) {
                put(row, 0, at(row, 1));
                put(row, width - 1, at(row, width - 2));
            }
            for (int column = 0; column < width; column++) {
                put(0, column, at(1, column));
                put(height - 1, column, at(height - 2, column));
            }
        }
    return data;
}

// Random images of both channel counts, odd and even sizes down to the
// smallest, and the pass counts the game's font uses and more.
TEST(BinomColorTest, GivesTheFullKernelsResultOnRandomImages)
{
    unsigned seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<unsigned char>(seed >> 16);
    };
    const struct {
        int channels, passes_1, passes_0, width, height;
    } cases[] = {
        {1, 0, 1, 3, 3}, {1, 0, 4, 7, 3}, {1, 0, 2, 3, 9}, {2, 2, 3, 64, 64}, {2, 3, 0, 17, 31}, {2, 0, 5, 40, 5},
        {2, 7, 6, 33, 20},
    };
    for (const auto &c : cases) {
        std::vector<unsigned char> data(static_cast<size_t>(c.width) * c.height * c.channels);
        for (unsigned char &byte : data)
            byte = next();
        const std::vector<unsigned char> expected =
            ReferenceBlur(data, c.channels, c.passes_1, c.passes_0, c.width, c.height);
        BinomColor(c.channels, c.passes_1, c.passes_0, c.width, c.height, data.data(),
                   static_cast<unsigned>(data.size()));
        EXPECT_EQ(data, expected) << c.channels << " channels, " << c.width << " x " << c.height << ", passes "
                                  << c.passes_0 << "/" << c.passes_1;
    }
}

TEST(BinomColorTest, RefusesDataSmallerThanTheImage)
{
    ResetEngineForTest();
    std::vector<unsigned char> data(8, 7);
    BinomColor(1, 0, 1, 3, 3, data.data(), static_cast<unsigned>(data.size()));
    EXPECT_EQ(data, std::vector<unsigned char>(8, 7));
    EXPECT_EQ(StoredLines().back(), FontError("BinomColor", "Bad parameters."));
}

// --- The packer, cells and texels ---

class EngFontPartsTest : public testing::Test {
protected:
    EngFont font;

    void SetUp() override
    {
        ResetEngineForTest();
        EngFontResetForTests();
    }
};

TEST_F(EngFontPartsTest, PackerFillsRowsThenSheets)
{
    // Border 0: a margin of 2 around cells of 100 x 50 on 512 x 512 sheets.
    struct Step {
        int x, y, sheets;
    };
    const std::vector<Step> expected = {
        {2, 2, 1}, {104, 2, 1}, {206, 2, 1}, {308, 2, 1}, {410, 2, 1}, // 410 + 100 = 510 still fits
        {2, 54, 1},                                                     // a new row below the tallest cell
    };
    _EngFontPacking packing = {0, 0, 0};
    for (size_t i = 0; i < expected.size(); i++) {
        int x = -1, y = -1;
        ASSERT_TRUE(EngFontTestAccess::AllocSheetPart(font, &packing, 100, 50, &x, &y, 1));
        EXPECT_EQ(x, expected[i].x) << "cell " << i;
        EXPECT_EQ(y, expected[i].y) << "cell " << i;
        EXPECT_EQ(EngFontTestAccess::SheetCount(font), expected[i].sheets) << "cell " << i;
    }
    // Rows of 52 pixels: the ninth row (y 418) is the last whose cells end
    // inside the sheet; the next cell after it opens sheet 2.
    int x = 0, y = 0;
    int placed = 0;
    while (EngFontTestAccess::SheetCount(font) == 1) {
        ASSERT_TRUE(EngFontTestAccess::AllocSheetPart(font, &packing, 100, 50, &x, &y, 1));
        placed++;
    }
    EXPECT_EQ(6 + placed, 9 * 5 + 1);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
}

TEST_F(EngFontPartsTest, PackerRefusesACellLargerThanASheet)
{
    FontSettings settings(2); // margin 4
    font.SetMatrix(settings.values);
    _EngFontPacking packing = {0, 0, 0};
    int x = 0, y = 0;
    EXPECT_TRUE(EngFontTestAccess::AllocSheetPart(font, &packing, 508, 20, &x, &y, 1));
    EXPECT_FALSE(EngFontTestAccess::AllocSheetPart(font, &packing, 509, 20, &x, &y, 1));
    EXPECT_FALSE(EngFontTestAccess::AllocSheetPart(font, &packing, 20, 600, &x, &y, 1));
    EXPECT_EQ(EngFontTestAccess::SheetCount(font), 1);
    // Only the placing pass reports.
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(EngFontTestAccess::AllocSheetPart(font, &packing, 509, 20, &x, &y, 0));
    EXPECT_EQ(StoredLines().back(), FontError("EngFont::AllocSheetPart", "Cell too large for a sheet (509 x 20)"));
}

TEST_F(EngFontPartsTest, CellSizeGrowsByBorderAndShadow)
{
    FontSettings settings(2, 7, 6);
    font.SetMatrix(settings.values);
    struct Case {
        unsigned width, rows;
        unsigned char mode;
        bool drawn;
        int cell_w, cell_h;
    };
    const std::vector<Case> cases = {
        {10, 20, FT_PIXEL_MODE_GRAY, true, 10 + 4 + 7, 20 + 4 + 6},
        {1, 1, FT_PIXEL_MODE_GRAY, true, 12, 11},
        {5000, 3, FT_PIXEL_MODE_GRAY, true, 5011, 13},
        {0, 20, FT_PIXEL_MODE_GRAY, false, 2, 2},   // a space
        {10, 5001, FT_PIXEL_MODE_GRAY, false, 2, 2}, // larger than any glyph
        {10, 20, FT_PIXEL_MODE_MONO, false, 2, 2},   // not 8-bit grey
    };
    for (const Case &c : cases) {
        FT_Bitmap bitmap = {};
        bitmap.width = c.width;
        bitmap.rows = c.rows;
        bitmap.pixel_mode = c.mode;
        int w = 0, h = 0;
        EXPECT_EQ(EngFontTestAccess::GetGlyphCellSize(font, &bitmap, &w, &h), c.drawn) << c.width << "x" << c.rows;
        EXPECT_EQ(w, c.cell_w) << c.width << "x" << c.rows;
        EXPECT_EQ(h, c.cell_h) << c.width << "x" << c.rows;
    }
    int w = 0, h = 0;
    EXPECT_FALSE(EngFontTestAccess::GetGlyphCellSize(font, nullptr, &w, &h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
}

TEST_F(EngFontPartsTest, CellsHoldTheGlyphAndItsShadow)
{
    // A 2 x 2 grey bitmap; only 200 and 255 are solid enough to cover a shadow.
    const unsigned char bitmap[4] = {200, 100, 50, 255};
    auto cell_of = [&](FontSettings settings, char two_channels) {
        font.SetMatrix(settings.values);
        FT_Bitmap b = {};
        b.width = b.rows = 2;
        b.pixel_mode = FT_PIXEL_MODE_GRAY;
        int w = 0, h = 0;
        EngFontTestAccess::GetGlyphCellSize(font, &b, &w, &h);
        std::vector<unsigned char> cell(w * h * (two_channels ? 2 : 1), 0);
        EngFontTestAccess::FillGlyphCell(font, two_channels, bitmap, 2, 2, 2, cell.data(), w);
        return cell;
    };

    // No shadow, border 1: the bitmap inside a frame of one empty pixel.
    EXPECT_EQ(cell_of(FontSettings(1), 0),
              (std::vector<unsigned char>{0, 0, 0, 0, 0, 200, 100, 0, 0, 50, 255, 0, 0, 0, 0, 0}));

    // One channel, border 1, shadow (1, 1) at half the grey: the shadow first
    // at (r + 2, c + 2), then the solid pixels at (r + 1, c + 1).
    EXPECT_EQ(cell_of(FontSettings(1, 1, 1, 0.5f), 0), (std::vector<unsigned char>{
                                                            0, 0, 0, 0, 0,     //
                                                            0, 200, 0, 0, 0,   //
                                                            0, 0, 255, 50, 0,  //
                                                            0, 0, 25, 127, 0,  //
                                                            0, 0, 0, 0, 0}));  //

    // Two channels, shadow (1, 1) black at half alpha: the glyph sits at the
    // cell's corner, its border after the shadow.
    std::vector<unsigned char> two = cell_of(FontSettings(1, 1, 1, 0.0f, 0.5f), 1);
    ASSERT_EQ(two.size(), 5u * 5u * 2u);
    auto texel = [&](int row, int column) {
        return std::vector<unsigned char>{two[(row * 5 + column) * 2], two[(row * 5 + column) * 2 + 1]};
    };
    EXPECT_EQ(texel(0, 0), (std::vector<unsigned char>{200, 200}));
    EXPECT_EQ(texel(0, 1), (std::vector<unsigned char>{0, 0}));
    EXPECT_EQ(texel(1, 1), (std::vector<unsigned char>{255, 255})); // covers the shadow of 200
    EXPECT_EQ(texel(1, 2), (std::vector<unsigned char>{0, 50}));
    EXPECT_EQ(texel(2, 1), (std::vector<unsigned char>{0, 25}));
    EXPECT_EQ(texel(2, 2), (std::vector<unsigned char>{0, 127}));
    EXPECT_EQ(texel(4, 4), (std::vector<unsigned char>{0, 0}));

    // A shadow factor above 1 saturates rather than wrapping.
    EXPECT_EQ(cell_of(FontSettings(0, 1, 0, 2.0f), 0)[1], 255);
}

TEST_F(EngFontPartsTest, SheetPixelsBecomeTexels)
{
    struct Case {
        D3DFORMAT format;
        char two_channels;
        unsigned char c, a;
        std::vector<unsigned char> texel; // bytes in memory order
    };
    const std::vector<Case> cases = {
        {D3DFMT_A8R8G8B8, 1, 0x80, 0x40, {0x80, 0x80, 0x80, 0x40}},
        {D3DFMT_A8R8G8B8, 0, 0x00, 0x40, {0xFF, 0xFF, 0xFF, 0x40}}, // one channel: white with alpha
        {D3DFMT_A1R5G5B5, 1, 0xFF, 0x80, {0xFF, 0xFF}},
        {D3DFMT_A1R5G5B5, 1, 0x80, 0x00, {0x10, 0x42}}, // 0x4210: red, green and blue 16
        {D3DFMT_A1R5G5B5, 0, 0x00, 0x7F, {0xFF, 0x7F}},
        {D3DFMT_A1R5G5B5, 0, 0x00, 0x80, {0xFF, 0xFF}},
        {D3DFMT_A4R4G4B4, 1, 0xA0, 0x50, {0xAA, 0x5A}},
        {D3DFMT_A4R4G4B4, 0, 0x00, 0x50, {0xFF, 0x5F}},
    };
    for (const Case &c : cases) {
        unsigned char texel[4] = {0, 0, 0, 0};
        ASSERT_TRUE(EngFontTestAccess::ConvertSheetPixel(c.format, c.two_channels, c.c, c.a, texel)) << c.format;
        EXPECT_EQ(std::vector<unsigned char>(texel, texel + c.texel.size()), c.texel)
            << "format " << c.format << " two channels " << int(c.two_channels) << " c " << int(c.c);
    }
    unsigned char texel[4];
    EXPECT_FALSE(EngFontTestAccess::ConvertSheetPixel(D3DFMT_X8R8G8B8, 1, 0, 0, texel));
    EXPECT_FALSE(EngFontTestAccess::ConvertSheetPixel(D3DFMT_R5G6B5, 0, 0, 0, texel));
}

// --- Creation without a device: measuring only ---

class EngFontCreateTest : public testing::Test {
protected:
    EngFont font;

    void SetUp() override
    {
        ResetEngineForTest();
        EngFontResetForTests();
        eng_device_type = EDT_NONE;
    }
    void TearDown() override
    {
        font.Destroy();
        eng_device_type = EDT_DX9;
    }
};

TEST_F(EngFontCreateTest, RefusesBadArguments)
{
    std::ofstream("NotAFont.ttf") << "not a font at all";
    struct Case {
        const char *file;
        int size, min_char, max_char;
        char two_channels;
        FontSettings settings;
        std::string report;
    };
    const std::vector<Case> cases = {
        {nullptr, 32, 32, 254, 0, {}, "No font file name specified"},
        {"", 32, 32, 254, 0, {}, "No font file name specified"},
        {TEST_FONT_FILE, 32, -1, 254, 0, {}, "Bad min_char_needed [-1]"},
        {TEST_FONT_FILE, 32, 100, 99, 0, {}, "Bad min_char_needed [100]"},
        {TEST_FONT_FILE, 32, 32, 256, 0, {}, "Bad max_char_needed [256]"},
        {TEST_FONT_FILE, 32, 0, 31, 0, {}, "Bad max_char_needed [31]"},
        {TEST_FONT_FILE, 7, 32, 254, 0, {}, "Bad max bitmap size [7]"},
        {TEST_FONT_FILE, 513, 32, 254, 0, {}, "Bad max bitmap size [513]"},
        {TEST_FONT_FILE, 32, 32, 254, 2, {}, "Bad has_two_channels [2]"},
        {TEST_FONT_FILE, 32, 32, 254, 0, {2, -1, 6}, "Bad glyph effect settings [border 2, shadow -1, 6]"},
        {TEST_FONT_FILE, 32, 32, 254, 0, {2, 7, -6}, "Bad glyph effect settings [border 2, shadow 7, -6]"},
        {TEST_FONT_FILE, 32, 32, 254, 0, {-1}, "Bad glyph effect settings [border -1, shadow 0, 0]"},
        {"Missing.ttf", 32, 32, 254, 0, {}, "Could not find file <Missing.ttf>"},
        {"NotAFont.ttf", 32, 32, 254, 0, {}, "Problem loading font <NotAFont.ttf>"},
    };
    for (const Case &c : cases) {
        font.SetMatrix(c.settings.values);
        EXPECT_FALSE(font.CreateFromFontFile(c.file, c.two_channels, 0, c.size, c.min_char, c.max_char, nullptr, 0,
                                             1, 1, 0, 0, 0, 0, 0, 0, 1))
            << c.report;
        EXPECT_FALSE(font.IsCreated());
        EXPECT_EQ(StoredLines().back(), FontError(CREATE, c.report));
    }
    // The sizes at the ends of the range are taken.
    font.SetMatrix(nullptr);
    EXPECT_TRUE(CreateTestFont(font, 8, 65, 70));
    font.Destroy();
    EXPECT_TRUE(CreateTestFont(font, 512, '.', '.'));
}

TEST_F(EngFontCreateTest, SecondCreateIsRefusedUntilDestroyed)
{
    ASSERT_TRUE(CreateTestFont(font, 32, 32, 126));
    EXPECT_FALSE(CreateTestFont(font, 32, 32, 126));
    EXPECT_EQ(StoredLines().back(), FontError(CREATE, "FD already setup"));
    EXPECT_TRUE(font.IsCreated());
    font.Destroy();
    EXPECT_FALSE(font.IsCreated());
    EXPECT_TRUE(CreateTestFont(font, 20, 32, 126));
}

TEST_F(EngFontCreateTest, WidthsAreTheAdvancesOf1252Characters)
{
    ASSERT_TRUE(font.CreateFromFontFile(TEST_FONT_FILE, 0, 0, 32, 32, 254, nullptr, 0, 0.5f, 0.25f, 0, 3.0f, 0, 0, 0,
                                        0, 1));
    // Whole pixels times the x factor; the 1252 codes map to Unicode.
    struct Case {
        unsigned char code;
        unsigned unicode;
    };
    const std::vector<Case> cases = {
        {'A', 'A'}, {'W', 'W'}, {' ', ' '}, {'i', 'i'}, {0xE9, 0xE9}, {0xC9, 0xC9}, {0x80, 0x20AC}, {0x93, 0x201C},
    };
    for (const Case &c : cases) {
        int advance = FreeTypeAdvance(c.unicode, 32);
        ASSERT_GT(advance, 0) << c.unicode;
        EXPECT_FLOAT_EQ(font.GetCharWidth(c.code), advance * 0.5f) << "code " << int(c.code);
    }
    // Height: size x y factor + the addition.
    EXPECT_FLOAT_EQ(font.GetHeight(0), 32 * 0.25f + 3.0f);
    // Widths of known strings, accented letters included.
    const char *text = "Hive Watcher \xE9t\xE9";
    float sum = 0.0f;
    for (const char *c = text; *c; c++)
        sum += FreeTypeAdvance(static_cast<unsigned char>(*c), 32) * 0.5f;
    EXPECT_FLOAT_EQ(font.GetStringWidth(text), sum);
    // Codes outside the range, and the codes 1252 leaves undefined, have none.
    EXPECT_EQ(font.GetCharWidth(255), 0.0f);
    EXPECT_EQ(font.GetCharWidth(0x81), 0.0f);
    EXPECT_EQ(font.GetCharWidth(0x9D), 0.0f);
}

TEST_F(EngFontCreateTest, MissingLettersAreReportedWhileTheSwitchIsOn)
{
    ASSERT_TRUE(CreateTestFont(font, 16, 0x7F, 0x82));
    std::vector<std::string> lines = StoredLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), FontInfo("EngFont::ParseLetter - No char at 129")), lines.end());
    font.Destroy();

    ResetEngineForTest();
    EngFontSetReportMissingLetters(0);
    ASSERT_TRUE(CreateTestFont(font, 16, 0x7F, 0x82));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngFontCreateTest, SpacesGetAWidthWithoutAReport)
{
    ASSERT_TRUE(CreateTestFont(font, 32, 32, 160));
    for (const std::string &line : StoredLines())
        EXPECT_EQ(line.find("FT_Glyph_To_Bitmap"), std::string::npos) << line;
    EXPECT_FLOAT_EQ(font.GetCharWidth(' '), static_cast<float>(FreeTypeAdvance(' ', 32)));
    EXPECT_FLOAT_EQ(font.GetCharWidth(160), static_cast<float>(FreeTypeAdvance(0xA0, 32)));
}

TEST_F(EngFontCreateTest, WantedListLeavesCharactersOut)
{
    std::vector<char> wanted(128, 1);
    wanted['A'] = 0;
    ASSERT_TRUE(CreateTestFont(font, 32, 32, 126, 0, wanted.data(), static_cast<int>(wanted.size())));
    EXPECT_EQ(font.GetCharWidth('A'), 0.0f);
    EXPECT_GT(font.GetCharWidth('B'), 0.0f);
}

TEST_F(EngFontCreateTest, AFailureAfterFreeTypeStartsLeavesNothingBehind)
{
    // Nothing wanted: no sheet. Leaks would show in the sanitizer's report.
    std::vector<char> wanted(256, 0);
    EXPECT_FALSE(CreateTestFont(font, 32, 32, 254, 0, wanted.data(), 256));
    EXPECT_EQ(StoredLines().back(), FontError(CREATE, "No sheets"));
    EXPECT_FALSE(font.IsCreated());
    EXPECT_EQ(font.GetCharWidth('A'), 0.0f);
    EXPECT_EQ(EngFontTestAccess::CharCount(font), 0);
    EXPECT_TRUE(CreateTestFont(font));
}

TEST_F(EngFontCreateTest, NeedsADeviceForDirect3D)
{
    eng_device_type = EDT_DX9;
    EXPECT_FALSE(CreateTestFont(font));
    EXPECT_EQ(StoredLines().back(), FontError(CREATE, "No directx9 device"));
}

// --- Creation on the recording device: sheets and quads ---

using EngFontSheetTest = FontDeviceTest;

// Bytes of a sheet texture: blue, green, red, alpha per pixel.
std::vector<unsigned char> SheetTexels(EngTexture *texture)
{
    std::vector<unsigned char> texels;
    EngTextureDX9 *part = texture ? texture->GetTextureDX9() : nullptr;
    D3DLOCKED_RECT locked;
    if (!part || !part->LockDxSurface(&locked))
        return texels;
    for (int row = 0; row < part->GetHeight(); row++) {
        const unsigned char *line = static_cast<const unsigned char *>(locked.pBits) + row * locked.Pitch;
        texels.insert(texels.end(), line, line + part->GetWidth() * 4);
    }
    part->UnlockDxSurface();
    return texels;
}

TEST_F(EngFontSheetTest, QuadsReachHalfTheBorderBeyondTheirCells)
{
    FontSettings settings(2);
    font.SetMatrix(settings.values);
    ASSERT_TRUE(CreateTestFont(font, 32, 65, 66));
    ASSERT_TRUE(EngFontTestAccess::HasQuad(font, 'A'));
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 'A'), 0);
    EngVertexBufferDX9 *quad = EngFontTestAccess::Quad(font, 'A');
    EXPECT_EQ(quad->GetType(), EVBT_POS_COL_TEX);
    // 'A' is the first cell: at (4, 4) with border 2. With factors 1 the quad
    // is the cell's size in pixels.
    const float *position = quad->GetPositionCache();
    const float *uv = quad->GetTextureCoordinateCache();
    EXPECT_FLOAT_EQ(position[0], 0.0f);
    EXPECT_FLOAT_EQ(position[1], 0.0f);
    float cell_w = position[2], cell_h = position[3];
    EXPECT_FLOAT_EQ(uv[0], 3.0f / 512.0f);
    EXPECT_FLOAT_EQ(uv[1], 3.0f / 512.0f);
    EXPECT_FLOAT_EQ(uv[2], (4.0f + cell_w + 1.0f) / 512.0f);
    EXPECT_FLOAT_EQ(uv[3], (4.0f + cell_h + 1.0f) / 512.0f);
    // Placement: advance = width; y offset = top - height.
    const float *placement = EngFontTestAccess::Placement(font, 'A');
    EXPECT_FLOAT_EQ(placement[2], font.GetCharWidth('A'));
    EXPECT_GT(placement[1], 0.0f);
    EXPECT_LT(placement[1], cell_h);
    // 'A' with its border: four pixels wider than its bitmap.
    EXPECT_GT(cell_w, 4.0f);
}

TEST_F(EngFontSheetTest, LeftOutAndMissingCharactersHaveNoQuad)
{
    std::vector<char> wanted(256, 1);
    wanted['A'] = 0;
    ASSERT_TRUE(CreateTestFont(font, 32, 32, 254, 0, wanted.data(), 256));
    EXPECT_EQ(EngFontTestAccess::CharCount(font), 255);
    EXPECT_FALSE(EngFontTestAccess::HasQuad(font, 'A'));
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 'A'), -1);
    EXPECT_FALSE(EngFontTestAccess::HasQuad(font, 0x81));
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 0x81), -1);
    EXPECT_TRUE(EngFontTestAccess::HasQuad(font, 'B'));
    EXPECT_TRUE(EngFontTestAccess::HasQuad(font, 0xE9));
    // A space draws an empty 2 x 2 cell.
    ASSERT_TRUE(EngFontTestAccess::HasQuad(font, ' '));
    EXPECT_FLOAT_EQ(EngFontTestAccess::Quad(font, ' ')->GetPositionCache()[2], 2.0f);
    EXPECT_FLOAT_EQ(EngFontTestAccess::Quad(font, ' ')->GetPositionCache()[3], 2.0f);
}

TEST_F(EngFontSheetTest, EverySheetIsWritten)
{
    // At 100 points (about 208 pixels a line) the letters need several sheets;
    // each is written when the next one opens, the last at the end.
    int reports = DebugGetNumMessages();
    ASSERT_TRUE(CreateTestFont(font, 100, 65, 90));
    int sheets = EngFontTestAccess::SheetCount(font);
    ASSERT_GE(sheets, 2);
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 'A'), 0);
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 'Z'), sheets - 1);
    for (int sheet = 0; sheet < sheets; sheet++) {
        std::vector<unsigned char> texels = SheetTexels(EngFontTestAccess::SheetTexture(font, sheet));
        ASSERT_EQ(texels.size(), 512u * 512u * 4u) << "sheet " << sheet;
        int opaque = 0;
        for (size_t i = 3; i < texels.size(); i += 4)
            opaque += texels[i] == 255;
        EXPECT_GT(opaque, 1000) << "sheet " << sheet;
        // One channel: white everywhere, the glyphs in the alpha.
        EXPECT_EQ(texels[0], 255);
    }
    EXPECT_EQ(DebugGetNumMessages(), reports);
}

TEST_F(EngFontSheetTest, TwoChannelSheetsHoldAShadowInAlphaOnly)
{
    // The game's font: border 2, a black shadow 7, 6 away at alpha 0.7665,
    // blurred 3 and 2 times.
    FontSettings settings(2, 7, 6, 0.0f, 0.766549f, 3, 2);
    font.SetMatrix(settings.values);
    ASSERT_TRUE(font.CreateFromFontFile(TEST_FONT_FILE, 1, 144, 32, 32, 254, nullptr, 0, 0.160404f, 0.204889f,
                                        1.000135f, 6.747f, 0, 0, 0, 0, 1));
    EXPECT_FLOAT_EQ(font.GetHeight(0), 32 * 0.204889f + 6.747f);
    std::vector<unsigned char> texels = SheetTexels(EngFontTestAccess::SheetTexture(font, 0));
    ASSERT_FALSE(texels.empty());
    int shadow = 0, glyph = 0;
    for (size_t i = 0; i < texels.size(); i += 4) {
        EXPECT_EQ(texels[i], texels[i + 1]);
        EXPECT_EQ(texels[i], texels[i + 2]);
        shadow += texels[i] == 0 && texels[i + 3] > 100;
        glyph += texels[i] > 200 && texels[i + 3] > 200;
    }
    EXPECT_GT(shadow, 1000);
    EXPECT_GT(glyph, 1000);
}

TEST_F(EngFontSheetTest, CellsLargerThanASheetAreLeftOut)
{
    // At 300 points a 'W' is wider than a sheet; it is refused, not copied
    // past the sheet's end.
    ASSERT_TRUE(CreateTestFont(font, 300, 'M', 'W'));
    EXPECT_FALSE(EngFontTestAccess::HasQuad(font, 'W'));
    EXPECT_EQ(EngFontTestAccess::SheetOf(font, 'W'), -1);
    EXPECT_TRUE(EngFontTestAccess::HasQuad(font, 'P'));
    std::vector<std::string> lines = StoredLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), FontError(CREATE, "EngFont::ParseLetter Failed <87 - W>")),
              lines.end());
}

TEST_F(EngFontSheetTest, DestroyReleasesEveryTextureAndQuad)
{
    int before = D3D9GetLiveObjectCount();
    ASSERT_TRUE(CreateTestFont(font, 100, 65, 90));
    EXPECT_GT(D3D9GetLiveObjectCount(), before + 26);
    font.Destroy();
    EXPECT_EQ(D3D9GetLiveObjectCount(), before);
    // And it can be made again, as after a device change.
    EXPECT_TRUE(CreateTestFont(font, 32));
}

// The program's graphics hooks destroy the font before a device goes and
// make it again on the new one.
class FontProgram : public RecordingProgram {
public:
    EngFont font;

    char CreateGraphicsObjectsCB() override
    {
        RecordingProgram::CreateGraphicsObjectsCB();
        return CreateTestFont(font, 32, 32, 126);
    }
    void DestroyGraphicsObjectsCB() override
    {
        RecordingProgram::DestroyGraphicsObjectsCB();
        font.Destroy();
    }
};

TEST(EngFontDeviceChangeTest, TheFontIsMadeAgainOnTheNewDevice)
{
    ResetRuntimeForTest();
    EngFontResetForTests();
    EngFontDrawResetForTests();
    FontProgram *program = new FontProgram();
    _EngCreateWindowParms parms = WindowParms(1, 640, 480);
    ASSERT_TRUE(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherFontClass", &parms));
    ASSERT_TRUE(program->font.IsCreated());
    int objects = D3D9GetLiveObjectCount();

    ASSERT_TRUE(eng_main_window->RecreateDevice());
    EXPECT_EQ(DeviceLifeCalls().size(), 3u);
    ASSERT_TRUE(program->font.IsCreated());
    EXPECT_EQ(D3D9GetLiveObjectCount(), objects);

    // It draws with sheets of the new device.
    ASSERT_TRUE(eng_device->BeginRendering());
    D3D9RecordingReset();
    program->font.DrawString(10, 10, 0, 0, "AB", 1);
    eng_device->EndRendering();
    ASSERT_EQ(D3D9RecordingGetDraws().size(), 2u);
    EXPECT_EQ(D3D9RecordingGetDraws()[0].state.textures[0],
              EngFontTestAccess::SheetTexture(program->font, 0)->GetTextureDX9()->GetD3DTexture());

    program->CloseDown(1);
    delete program;
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
    VirtualClock::Remove();
}

} // namespace
