// Shared by the font tests: the test font, a device on the recording (or GL)
// backend, and a look inside EngFont at its packing, cells and sheets.
#pragma once

#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/graphics/EngVertexBufferDX9.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <string>

#define TEST_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

inline std::string FontError(const char *where, const std::string &message)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + message;
}

inline std::string FontInfo(const std::string &message)
{
    return " :  " + message;
}

struct EngFontTestAccess {
    static bool AllocSheetPart(EngFont &font, _EngFontPacking *packing, int w, int h, int *x, int *y,
                               char measure_only)
    {
        return font.AllocSheetPart(&font.m_num_sheets, packing, w, h, x, y, measure_only);
    }
    static int SheetCount(const EngFont &font) { return font.m_num_sheets; }
    static int CharCount(const EngFont &font) { return font.m_num_chars; }
    static int SheetOf(const EngFont &font, int code) { return font.m_sheet_nums ? font.m_sheet_nums[code] : -1; }
    static bool HasQuad(const EngFont &font, int code)
    {
        return font.m_quads && code < font.m_num_chars && font.m_quads[code].IsCreated();
    }
    static EngVertexBufferDX9 *Quad(EngFont &font, int code) { return &font.m_quads[code]; }
    static EngTexture *SheetTexture(const EngFont &font, int sheet)
    {
        return font.m_sheet_texs_dx9 && sheet < font.m_num_sheet_texs ? font.m_sheet_texs_dx9[sheet] : nullptr;
    }
    // x offset, y offset, advance.
    static const float *Placement(const EngFont &font, int code) { return font.m_trans + code * 3; }
    static bool GetGlyphCellSize(const EngFont &font, const FT_Bitmap *bitmap, int *w, int *h)
    {
        return font.GetGlyphCellSize(bitmap, w, h);
    }
    static void FillGlyphCell(EngFont &font, char two_channels, const unsigned char *pixels, int width, int rows,
                              int pitch, unsigned char *cell, int cell_width)
    {
        font.m_two_channels = two_channels;
        font.FillGlyphCell(pixels, width, rows, pitch, cell, cell_width);
    }
    static bool ConvertSheetPixel(D3DFORMAT format, char two_channels, unsigned char c, unsigned char a,
                                  unsigned char *texel)
    {
        return EngFont::ConvertSheetPixel(format, two_channels, c, a, texel);
    }
    // Every character drawn the same width, with no x offset: layouts become
    // plain arithmetic.
    static void SetFixedWidths(EngFont &font, float width)
    {
        for (int code = 0; code < font.m_num_chars; code++) {
            font.m_widths[code] = width;
            if (font.m_trans) {
                font.m_trans[code * 3] = 0.0f;
                font.m_trans[code * 3 + 2] = width;
            }
        }
    }
    static void SetHeight(EngFont &font, float height) { font.m_height = height; }
};

// The 16 glyph effect settings in the order SetMatrix takes them.
struct FontSettings {
    _EngFontSetting values[ENG_FONT_SETTING_COUNT];

    FontSettings(int border = 0, int shadow_x = 0, int shadow_y = 0, float shadow_colour = 0.0f,
                 float shadow_alpha = 0.0f, int blur_0 = 0, int blur_1 = 0)
    {
        for (_EngFontSetting &value : values)
            value.i = 0;
        values[ENG_FONT_BORDER].i = border;
        values[ENG_FONT_SHADOW_X].i = shadow_x;
        values[ENG_FONT_SHADOW_Y].i = shadow_y;
        values[ENG_FONT_SHADOW_COLOUR].f = shadow_colour;
        values[ENG_FONT_SHADOW_ALPHA].f = shadow_alpha;
        values[ENG_FONT_BLUR_CHANNEL_0].i = blur_0;
        values[ENG_FONT_BLUR_CHANNEL_1].i = blur_1;
    }
};

// Creates the test font: characters min..max at size points, drawing units
// equal to pixels (factors 1, no offsets), quads in order.
inline bool CreateTestFont(EngFont &font, int size = 32, int min_char = 32, int max_char = 254,
                           char two_channels = 0, const char *wanted = nullptr, int wanted_count = 0,
                           const char *file = TEST_FONT_FILE)
{
    return font.CreateFromFontFile(file, two_channels, 0, size, min_char, max_char, wanted, wanted_count, 1.0f, 1.0f,
                                   0.0f, 0.0f, 0, 0, 0, 0, 1);
}

// The advance of a Unicode character in whole pixels at size points and
// 150 dots per inch, as FreeType gives it.
inline int FreeTypeAdvance(unsigned code, int size)
{
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library))
        return -1;
    int advance = -1;
    if (!FT_New_Face(library, TEST_FONT_FILE, 0, &face)) {
        if (!FT_Set_Char_Size(face, size * 64, size * 64, 150, 150) && !FT_Load_Char(face, code, FT_LOAD_DEFAULT))
            advance = static_cast<int>(face->glyph->advance.x / 64);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return advance;
}

// A window of 640 x 480 with its device on the recording backend.
class FontDeviceTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    EngFont font;
    _EngCreateWindowParms parms = WindowParms(1, 640, 480);

    void SetUp() override
    {
        ResetRuntimeForTest();
        EngFontResetForTests();
        EngFontDrawResetForTests();
        program = new RecordingProgram();
        ASSERT_TRUE(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherFontClass", &parms));
    }

    void TearDown() override
    {
        // The sheet textures go while the device is there.
        font.Destroy();
        program->CloseDown(1);
        delete program;
        VirtualClock::Remove();
    }
};
