// The generated game font "Data/1000.dat": FreeType opens it as DejaVu Sans
// Bold, and at the game's size (32 points at 150 dpi) it has and renders
// every character the game asks for (32..254) that has a letter in
// Windows-1252 and Latin-1 alike.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <gtest/gtest.h>

#include <string>

namespace {

class FontFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, FT_Init_FreeType(&m_library));
        std::string path = std::string(HW_DATA_DIR) + "/1000.dat";
        ASSERT_EQ(0, FT_New_Face(m_library, path.c_str(), 0, &m_face)) << path;
    }
    void TearDown() override
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }

    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

}  // namespace

TEST_F(FontFileTest, IsDejaVuSansBold)
{
    EXPECT_STREQ("DejaVu Sans", m_face->family_name);
    EXPECT_STREQ("Bold", m_face->style_name);
    EXPECT_TRUE(FT_IS_SCALABLE(m_face));
}

TEST_F(FontFileTest, RendersEveryCharacterTheGameAsksForAtItsSize)
{
    ASSERT_EQ(0, FT_Set_Char_Size(m_face, 32 * 64, 32 * 64, 150, 150));
    // Codes 128..159 are other letters in Windows-1252 than in the font's
    // Unicode map, and the game renders them by their code, so they are
    // left out here.
    for (int code = 32; code <= 254; code++) {
        if (code >= 127 && code <= 160)
            continue;
        FT_UInt index = FT_Get_Char_Index(m_face, (FT_ULong)code);
        ASSERT_NE(0u, index) << "no glyph for " << code;
        ASSERT_EQ(0, FT_Load_Glyph(m_face, index, 0)) << code;
        FT_Glyph glyph;
        ASSERT_EQ(0, FT_Get_Glyph(m_face->glyph, &glyph)) << code;
        ASSERT_EQ(0, FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1)) << code;
        FT_Bitmap &bitmap = ((FT_BitmapGlyph)glyph)->bitmap;
        EXPECT_EQ(FT_PIXEL_MODE_GRAY, bitmap.pixel_mode) << code;
        // The blank draws nothing; every other character draws something of
        // a sensible size for 32 points.
        if (code != 32) {
            EXPECT_GT(bitmap.width, 0u) << code;
            EXPECT_GT(bitmap.rows, 0u) << code;
            EXPECT_LT(bitmap.rows, 200u) << code;
        }
        EXPECT_GT(m_face->glyph->advance.x, 0) << code;
        FT_Done_Glyph(glyph);
    }
}
