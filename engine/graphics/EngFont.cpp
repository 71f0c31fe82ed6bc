// Font creation: FreeType rasterising, the glyph cells with their shadows,
// the shelf packer, the blur and the sheet textures.
#include "engine/graphics/EngFont.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTexture.h"
#include "engine/graphics/EngVertexBufferDX9.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace {

char report_missing_letters = 1;

const int SHEET_SIZE = 512;
// 150 dots per inch both ways; sizes are in 26.6 fixed point.
const int FONT_DPI = 150;
// Side of the cell of a glyph that draws nothing.
const int EMPTY_CELL_SIDE = 2;
// Largest bitmap side drawn into a cell.
const int MAX_BITMAP_SIDE = 5000;

// The glyph of a Windows-1252 code, or 0 when the font has none.
FT_UInt GlyphIndex(FT_Face face, int code)
{
    unsigned unicode = PlatformCp1252ToUnicode(static_cast<unsigned char>(code));
    // The five codes 1252 leaves undefined come back as C1 control
    // characters, which no font draws.
    if (unicode >= 0x80 && unicode <= 0x9F)
        return 0;
    return FT_Get_Char_Index(face, unicode);
}

// Loads a glyph and makes it a bitmap. False (reported) when FreeType cannot
// load it; glyph must then still be freed when not null. A glyph that could
// not be made a bitmap gives a null bitmap glyph, drawn as an empty cell.
bool LoadGlyph(FT_Face face, FT_UInt index, int code, const char *where, FT_Glyph *glyph,
               FT_BitmapGlyph *bitmap_glyph)
{
    *glyph = nullptr;
    *bitmap_glyph = nullptr;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT)) {
        DebugError(where, "FT_Load_Glyph failed");
        return false;
    }
    if (FT_Get_Glyph(face->glyph, glyph)) {
        *glyph = nullptr;
        DebugError(where, "FT_Get_Glyph failed");
        return false;
    }
    if ((*glyph)->format != FT_GLYPH_FORMAT_BITMAP && FT_Glyph_To_Bitmap(glyph, FT_RENDER_MODE_NORMAL, nullptr, 1)) {
        // Spaces have nothing to render.
        if (code != 32 && code != 160)
            DebugError(where, "FT_Glyph_To_Bitmap failed");
        return true;
    }
    *bitmap_glyph = reinterpret_cast<FT_BitmapGlyph>(*glyph);
    return true;
}

// A grey level times a factor, kept within a byte.
unsigned char ScaledGrey(unsigned char v, float factor)
{
    float scaled = v * factor;
    if (scaled <= 0.0f)
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<unsigned char>(scaled);
}

// One blur pass over a plane of bytes: the binomial 3 x 3 kernel (1 2 1 by
// 1 2 1, over 16, rounded down) inside, while the outer columns, then the
// outer rows (corners included) copy their inner neighbours from before the
// pass. The kernel is applied as a row sum, then a column sum of three row
// sums, which adds the same nine terms the full kernel does (at most
// 16 x 255, so 16 bits hold every sum). `sums` holds three rows of `width`.
void BlurPlane(const unsigned char *before, unsigned char *after, int width, int height, uint16_t *sums)
{
    auto row_sums = [&](int row, uint16_t *out) {
        const unsigned char *p = before + static_cast<size_t>(row) * width;
        for (int column = 1; column < width - 1; column++)
            out[column] = p[column - 1] + 2 * p[column] + p[column + 1];
    };
    uint16_t *above = sums, *middle = sums + width, *below = sums + 2 * width;
    row_sums(0, above);
    row_sums(1, middle);
    for (int row = 1; row < height - 1; row++) {
        row_sums(row + 1, below);
        unsigned char *out = after + static_cast<size_t>(row) * width;
        for (int column = 1; column < width - 1; column++)
            out[column] = static_cast<unsigned char>((above[column] + 2 * middle[column] + below[column]) >> 4);
        uint16_t *spare = above;
        above = middle;
        middle = below;
        below = spare;
    }
    for (int row = 0; row < height; row++) {
        const size_t start = static_cast<size_t>(row) * width;
        after[start] = before[start + 1];
        after[start + width - 1] = before[start + width - 2];
    }
    const size_t last = static_cast<size_t>(height - 1) * width;
    std::memcpy(after, before + width, width);
    std::memcpy(after + last, before + last - width, width);
}

} // namespace

void EngFontSetReportMissingLetters(char on)
{
    report_missing_letters = on;
}

void EngFontResetForTests()
{
    report_missing_letters = 1;
}

void BinomColor(int channels, int passes_1, int passes_0, int width, int height, unsigned char *data,
                unsigned int size)
{
    const char *where = "BinomColor";
    if ((channels != 2 || passes_1 <= 0) && passes_0 <= 0)
        return;
    if (!data || (channels != 1 && channels != 2) || width < 3 || height < 3 ||
        size < static_cast<unsigned>(width) * static_cast<unsigned>(height) * static_cast<unsigned>(channels)) {
        DebugErrorCode(where, 'BAPA');
        return;
    }
    // Each channel is blurred on its own as a plane, passing between two
    // planes; the other channel is left as it is.
    const unsigned pixels = static_cast<unsigned>(width) * static_cast<unsigned>(height);
    unsigned char *first = static_cast<unsigned char *>(EngMalloc(pixels, where, 0));
    if (!first) {
        DebugError(where, "No memory (1)");
        return;
    }
    // The second plane after three rows of sums, which keeps the sums aligned.
    const unsigned sums_size = 3 * static_cast<unsigned>(width) * sizeof(uint16_t);
    unsigned char *second = static_cast<unsigned char *>(EngMalloc(sums_size + pixels, where, 0));
    if (!second) {
        DebugError(where, "No memory (2)");
        EngFree(first, 1, where);
        return;
    }
    uint16_t *sums = reinterpret_cast<uint16_t *>(second);
    const int passes[2] = {passes_0, channels == 2 ? passes_1 : 0};
    for (int channel = 0; channel < channels; channel++) {
        if (passes[channel] <= 0)
            continue;
        unsigned char *before = first, *after = second + sums_size;
        for (unsigned i = 0; i < pixels; i++)
            before[i] = data[i * channels + channel];
        for (int pass = 0; pass < passes[channel]; pass++) {
            BlurPlane(before, after, width, height, sums);
            std::swap(before, after);
        }
        for (unsigned i = 0; i < pixels; i++)
            data[i * channels + channel] = before[i];
    }
    EngFree(first, 1, where);
    EngFree(second, 1, where);
}

EngFont::EngFont() : m_sheet_nums(nullptr), m_sheet_texs_dx9(nullptr), m_quads(nullptr), m_trans(nullptr),
                     m_sheet_data(nullptr)
{
    Reset();
}

EngFont::~EngFont()
{
    // A font deleted while created would leave its sheet textures behind.
    Destroy();
}

void EngFont::Reset()
{
    m_created = 0;
    m_height = 0.0f;
    std::memset(m_settings, 0, sizeof(m_settings));
    m_sheet_nums = nullptr;
    m_num_chars = 0;
    m_sheet_size = SHEET_SIZE;
    m_num_sheets = 0;
    m_num_sheet_texs = 0;
    m_scale_x = m_scale_y = 1.0f;
    m_scaling = 0;
    m_colour = {1.0f, 1.0f, 1.0f, 1.0f};
    m_colour_set = 0;
    std::memset(m_widths, 0, sizeof(m_widths));
    m_track_index = -1;
    m_track_x = 0.0f;
    m_skip = 0;
    m_skip_offset = 0.0f;
    m_sheet_texs_dx9 = nullptr;
    m_quads = nullptr;
    m_trans = nullptr;
    m_two_channels = 0;
    m_sheet_data = nullptr;
}

void EngFont::SetMatrix(const void *settings)
{
    if (settings)
        std::memcpy(m_settings, settings, sizeof(m_settings));
    else
        std::memset(m_settings, 0, sizeof(m_settings));
}

void EngFont::FreeCreationParts()
{
    const char *where = "EngFont::Destroy";
    if (m_sheet_nums)
        EngFree(m_sheet_nums, 1, where);
    m_sheet_nums = nullptr;
    if (m_trans)
        EngFree(m_trans, 1, where);
    m_trans = nullptr;
    if (m_quads) {
        for (int code = 0; code < m_num_chars; code++)
            m_quads[code].Destroy();
        delete[] m_quads;
    }
    m_quads = nullptr;
    if (m_sheet_texs_dx9) {
        for (int sheet = 0; sheet < m_num_sheet_texs; sheet++)
            if (m_sheet_texs_dx9[sheet]) {
                m_sheet_texs_dx9[sheet]->Destroy();
                delete m_sheet_texs_dx9[sheet];
            }
        EngFree(m_sheet_texs_dx9, 1, where);
    }
    m_sheet_texs_dx9 = nullptr;
    m_num_sheet_texs = 0;
    if (m_sheet_data)
        EngFree(m_sheet_data, 1, where);
    m_sheet_data = nullptr;
    m_num_chars = 0;
    m_num_sheets = 0;
    m_height = 0.0f;
    m_two_channels = 0;
    std::memset(m_widths, 0, sizeof(m_widths));
}

void EngFont::Destroy()
{
    if (!m_created)
        return;
    FreeCreationParts();
    Reset();
}

bool EngFont::CreateFromFontFile(const char *file, char two_channels, int, int size, int min_char, int max_char,
                                 const char *wanted, int wanted_count, float x_factor, float y_factor,
                                 float y_offset, float height_addition, float, float, float, float, char quad_order)
{
    const char *where = "EngFont::CreateFromFontFile";
    if (!file || !file[0]) {
        DebugError(where, "No font file name specified");
        return false;
    }
    if (m_created) {
        DebugError(where, "FD already setup");
        return false;
    }
    if (min_char < 0 || min_char > max_char) {
        DebugError(where, "Bad min_char_needed [%d]", min_char);
        return false;
    }
    if (max_char < 32 || max_char > 255) {
        DebugError(where, "Bad max_char_needed [%d]", max_char);
        return false;
    }
    if (size < 8 || size > m_sheet_size) {
        DebugError(where, "Bad max bitmap size [%d]", size);
        return false;
    }
    if (two_channels < 0 || two_channels > 1) {
        DebugError(where, "Bad has_two_channels [%d]", two_channels);
        return false;
    }
    // Cells grow by the border and the shadow offsets; negative ones would
    // draw outside the cell.
    int border = m_settings[ENG_FONT_BORDER].i;
    int shadow_x = m_settings[ENG_FONT_SHADOW_X].i, shadow_y = m_settings[ENG_FONT_SHADOW_Y].i;
    if (border < 0 || border > m_sheet_size || shadow_x < 0 || shadow_x > m_sheet_size || shadow_y < 0 ||
        shadow_y > m_sheet_size) {
        DebugError(where, "Bad glyph effect settings [border %d, shadow %d, %d]", border, shadow_x, shadow_y);
        return false;
    }
    if (eng_device_type == EDT_DX9 && !eng_d3d_device) {
        DebugError(where, "No directx9 device");
        return false;
    }
    char path[MAX_PATH * 4];
    if (!PlatformPathFromAnsi(file, path, sizeof(path)) || !EngFileExists(file, 0)) {
        DebugError(where, "Could not find file <%s>", file);
        return false;
    }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    // Every failure from here on leaves nothing behind.
    auto fail = [&]() {
        FreeCreationParts();
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
        return false;
    };
    if (FT_Init_FreeType(&library)) {
        library = nullptr;
        DebugError(where, "FT_Init_FreeType Failed");
        return fail();
    }
    if (FT_New_Face(library, path, 0, &face)) {
        face = nullptr;
        DebugError(where, "Problem loading font <%s>", file);
        return fail();
    }

    m_num_chars = max_char + 1;
    m_two_channels = two_channels;
    m_height = size * y_factor + height_addition;
    if (FT_Set_Char_Size(face, size * 64, size * 64, FONT_DPI, FONT_DPI)) {
        DebugError(where, "Problem loading font <%s>", file);
        return fail();
    }

    m_sheet_nums = static_cast<int *>(EngMalloc(m_num_chars * sizeof(int), where, 0));
    if (!m_sheet_nums) {
        DebugError(where, "No memory for sheet number list");
        return fail();
    }
    for (int code = 0; code < m_num_chars; code++)
        m_sheet_nums[code] = -1;

    auto is_wanted = [&](int code) { return !(wanted && code < wanted_count && wanted[code] == 0); };

    // Measuring pass: how many sheets the cells take.
    _EngFontPacking packing = {0, 0, 0};
    m_num_sheets = 0;
    for (int code = min_char; code <= max_char; code++) {
        if (!is_wanted(code))
            continue;
        FT_UInt index = GlyphIndex(face, code);
        if (!index)
            continue;
        FT_Glyph glyph;
        FT_BitmapGlyph bitmap_glyph;
        if (!LoadGlyph(face, index, code, where, &glyph, &bitmap_glyph)) {
            if (glyph)
                FT_Done_Glyph(glyph);
            return fail();
        }
        int cell_width, cell_height, x, y;
        GetGlyphCellSize(bitmap_glyph ? &bitmap_glyph->bitmap : nullptr, &cell_width, &cell_height);
        AllocSheetPart(&m_num_sheets, &packing, cell_width, cell_height, &x, &y, 1);
        FT_Done_Glyph(glyph);
    }
    if (m_num_sheets == 0) {
        DebugError(where, "No sheets");
        return fail();
    }

    if (eng_device_type == EDT_DX9) {
        m_sheet_texs_dx9 =
            static_cast<EngTexture **>(EngMalloc(m_num_sheets * sizeof(EngTexture *), where, 1));
        if (!m_sheet_texs_dx9) {
            DebugError(where, "No memory for texture list");
            return fail();
        }
        m_num_sheet_texs = m_num_sheets;
        m_quads = new (std::nothrow) EngVertexBufferDX9[m_num_chars];
        if (!m_quads) {
            DebugErrorCode(where, 'OMEM');
            return fail();
        }
        m_trans = static_cast<float *>(EngMalloc(m_num_chars * 3 * sizeof(float), where, 1));
        if (!m_trans) {
            DebugError(where, "No memory for trans list");
            return fail();
        }
    }
    unsigned sheet_bytes = m_sheet_size * m_sheet_size * (m_two_channels ? 2 : 1);
    m_sheet_data = static_cast<unsigned char *>(EngMalloc(sheet_bytes, where, 1));
    if (!m_sheet_data) {
        DebugError(where, "Could not create sheet data");
        return fail();
    }

    // Rendering pass, packing again from the start.
    packing = {0, 0, 0};
    m_num_sheets = 0;
    for (int code = min_char; code <= max_char; code++) {
        int result = 0;
        if (is_wanted(code)) {
            result = ParseLetter(face, code, x_factor, y_factor, y_offset, quad_order, &packing);
            if (result == -1) {
                DebugError(where, "EngFont::ParseLetter Failed <%d - %c>", code, code);
                m_sheet_nums[code] = -1;
            }
        }
        if (result != 1 && m_quads)
            m_quads[code].Destroy();
    }
    CopySheetDataToTexture(m_num_sheets - 1);
    EngFree(m_sheet_data, 1, where);
    m_sheet_data = nullptr;

    m_scale_x = m_scale_y = 1.0f;
    m_scaling = 0;
    m_colour = {1.0f, 1.0f, 1.0f, 1.0f};
    m_colour_set = 0;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    m_created = 1;
    return true;
}

bool EngFont::GetGlyphCellSize(const FT_Bitmap_ *bitmap, int *width, int *height) const
{
    if (bitmap && bitmap->pixel_mode == FT_PIXEL_MODE_GRAY && bitmap->width >= 1 &&
        bitmap->width <= MAX_BITMAP_SIDE && bitmap->rows >= 1 && bitmap->rows <= MAX_BITMAP_SIDE) {
        int border = m_settings[ENG_FONT_BORDER].i;
        *width = static_cast<int>(bitmap->width) + 2 * border + m_settings[ENG_FONT_SHADOW_X].i;
        *height = static_cast<int>(bitmap->rows) + 2 * border + m_settings[ENG_FONT_SHADOW_Y].i;
        return true;
    }
    *width = *height = EMPTY_CELL_SIDE;
    return false;
}

void EngFont::FillGlyphCell(const unsigned char *pixels, int bitmap_width, int bitmap_rows, int pitch,
                            unsigned char *cell, int cell_width) const
{
    const int bytes = m_two_channels ? 2 : 1;
    const int border = m_settings[ENG_FONT_BORDER].i;
    const int shadow_x = m_settings[ENG_FONT_SHADOW_X].i, shadow_y = m_settings[ENG_FONT_SHADOW_Y].i;
    const float colour_factor = m_settings[ENG_FONT_SHADOW_COLOUR].f;
    const float alpha_factor = m_settings[ENG_FONT_SHADOW_ALPHA].f;
    // A negative pitch stores the bottom row first.
    auto grey = [&](int r, int c) {
        const unsigned char *row = pitch >= 0 ? pixels + r * pitch : pixels + (bitmap_rows - 1 - r) * -pitch;
        return row[c];
    };
    auto put = [&](int row, int column, unsigned char channel_0, unsigned char channel_1) {
        unsigned char *texel = cell + (row * cell_width + column) * bytes;
        texel[0] = channel_0;
        if (bytes == 2)
            texel[1] = channel_1;
    };

    if (shadow_x == 0 && shadow_y == 0) {
        for (int r = 0; r < bitmap_rows; r++)
            for (int c = 0; c < bitmap_width; c++)
                put(r + border, c + border, grey(r, c), grey(r, c));
        return;
    }
    // The shadow first; the glyph's solid part then covers it. A two-channel
    // glyph sits at the cell's corner, its border lying after the shadow.
    const int origin = m_two_channels ? 0 : border;
    for (int r = 0; r < bitmap_rows; r++)
        for (int c = 0; c < bitmap_width; c++) {
            unsigned char v = grey(r, c);
            put(r + origin + shadow_y, c + origin + shadow_x, ScaledGrey(v, colour_factor),
                ScaledGrey(v, alpha_factor));
        }
    for (int r = 0; r < bitmap_rows; r++)
        for (int c = 0; c < bitmap_width; c++) {
            unsigned char v = grey(r, c);
            if (v >= 128)
                put(r + origin, c + origin, v, v);
        }
}

int EngFont::ParseLetter(FT_FaceRec_ *face, int code, float x_factor, float y_factor, float y_offset,
                         char quad_order, _EngFontPacking *packing)
{
    const char *where = "EngFont::ParseLetter";
    FT_UInt index = GlyphIndex(face, code);
    if (!index) {
        if (report_missing_letters)
            DebugInfo("EngFont::ParseLetter - No char at %d", code);
        return 0;
    }
    FT_Glyph glyph;
    FT_BitmapGlyph bitmap_glyph;
    if (!LoadGlyph(face, index, code, where, &glyph, &bitmap_glyph)) {
        if (glyph)
            FT_Done_Glyph(glyph);
        return -1;
    }
    const FT_Bitmap *bitmap = bitmap_glyph ? &bitmap_glyph->bitmap : nullptr;
    int cell_width, cell_height;
    bool drawn = GetGlyphCellSize(bitmap, &cell_width, &cell_height);
    unsigned char *cell = static_cast<unsigned char *>(
        EngMalloc(cell_width * cell_height * (m_two_channels ? 2 : 1), where, 1));
    if (!cell) {
        DebugErrorCode(where, 'OMEM');
        FT_Done_Glyph(glyph);
        return -1;
    }
    if (drawn)
        FillGlyphCell(bitmap->buffer, static_cast<int>(bitmap->width), static_cast<int>(bitmap->rows),
                      bitmap->pitch, cell, cell_width);

    float advance = static_cast<float>(face->glyph->advance.x / 64) * x_factor;
    m_widths[code] = advance;
    int result = 1;
    if (eng_device_type == EDT_DX9 &&
        !CreateTextureFromData_DX9(code, cell_width, cell_height, cell, packing, bitmap_glyph ? bitmap_glyph->left : 0,
                                   bitmap_glyph ? bitmap_glyph->top : 0, advance, x_factor, y_factor, y_offset,
                                   quad_order))
        result = -1;
    EngFree(cell, 1, where);
    FT_Done_Glyph(glyph);
    return result;
}

bool EngFont::AllocSheetPart(int *sheet_count, _EngFontPacking *packing, int w, int h, int *out_x, int *out_y,
                             char measure_only)
{
    const int size = m_sheet_size;
    const int margin = m_settings[ENG_FONT_BORDER].i + 2;
    // A cell that cannot fit even an empty sheet is left out.
    if (w + margin > size || h + margin > size) {
        if (!measure_only)
            DebugError("EngFont::AllocSheetPart", "Cell too large for a sheet (%d x %d)", w, h);
        return false;
    }
    if (*sheet_count > 0) {
        if (w + packing->x > size) {
            packing->x = margin;
            packing->y += packing->row_height + margin;
            packing->row_height = h;
            if (h + packing->y <= size) {
                *out_x = margin;
                *out_y = packing->y;
                packing->x = w + 2 * margin;
                return true;
            }
        } else if (h + packing->y <= size) {
            *out_x = packing->x;
            *out_y = packing->y;
            packing->x += margin + w;
            if (h > packing->row_height)
                packing->row_height = h;
            return true;
        }
    }
    // A new sheet; the full one is written first.
    packing->x = w + 2 * margin;
    packing->y = margin;
    packing->row_height = h;
    if (!measure_only) {
        if (!m_sheet_data) {
            DebugError("EngFont::AllocSheetPart", "Sheet data not created (%d)", *sheet_count);
            return false;
        }
        if (*sheet_count > 0)
            CopySheetDataToTexture(*sheet_count - 1);
        std::memset(m_sheet_data, 0, m_sheet_size * m_sheet_size * (m_two_channels ? 2 : 1));
    }
    (*sheet_count)++;
    *out_x = margin;
    *out_y = margin;
    return true;
}

bool EngFont::CreateTextureFromData_DX9(int code, int cell_width, int cell_height, const unsigned char *cell,
                                        _EngFontPacking *packing, int left, int top, float advance, float x_factor,
                                        float y_factor, float y_offset, char quad_order)
{
    const char *where = "EngFont::CreateTextureFromData_DX9";
    if (eng_device_type != EDT_DX9)
        return false;
    int px, py;
    if (!AllocSheetPart(&m_num_sheets, packing, cell_width, cell_height, &px, &py, 0))
        return false;
    int sheet = m_num_sheets - 1;
    if (!m_sheet_data) {
        DebugError(where, "Sheet data not created");
        return false;
    }
    const int bytes = m_two_channels ? 2 : 1;
    for (int row = 0; row < cell_height; row++)
        std::memcpy(m_sheet_data + ((py + row) * m_sheet_size + px) * bytes, cell + row * cell_width * bytes,
                    cell_width * bytes);

    // The coordinates reach half the border beyond the cell on each side.
    const float size = static_cast<float>(m_sheet_size);
    const float half = m_settings[ENG_FONT_BORDER].i * 0.5f / size;
    float u0 = px / size - half, v0 = py / size - half;
    float u1 = (px + cell_width) / size + half, v1 = (py + cell_height) / size + half;

    if (!m_sheet_nums || !m_sheet_texs_dx9 || sheet >= m_num_sheet_texs) {
        DebugError(where, "Internal Error (1)");
        return false;
    }
    m_sheet_nums[code] = sheet;
    EngTexture *texture = m_sheet_texs_dx9[sheet];
    if (!texture) {
        texture = m_sheet_texs_dx9[sheet] = new (std::nothrow) EngTexture();
        if (!texture) {
            DebugErrorCode(where, 'OMEM');
            return false;
        }
    }
    if (!texture->IsCreated()) {
        int width = m_sheet_size, height = m_sheet_size;
        if (!texture->CreateEmpty2DTexture(&width, &height, 1)) {
            delete texture;
            m_sheet_texs_dx9[sheet] = nullptr;
            return false;
        }
    }
    if (!m_trans) {
        DebugError(where, "Internal Error (2)");
        return false;
    }
    EngVertexBufferDX9 *quad = &m_quads[code];
    if (!quad->Create(EVBT_POS_COL_TEX, texture))
        return false;
    m_trans[code * 3] = left * x_factor;
    m_trans[code * 3 + 1] = top * y_factor + y_offset - m_height;
    m_trans[code * 3 + 2] = advance;
    if (quad_order) {
        quad->SetPosition(0.0f, 0.0f, cell_width * x_factor, cell_height * y_factor);
        quad->SetTextureCoordinates(u0, v0, u1, v1);
    } else {
        DebugError(where, "normal polygon order not finished");
    }
    return true;
}

bool EngFont::ConvertSheetPixel(D3DFORMAT format, char two_channels, unsigned char c, unsigned char a,
                                unsigned char *texel)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
        // Bytes blue, green, red, alpha; one channel is white.
        if (!two_channels)
            c = 255;
        texel[0] = texel[1] = texel[2] = c;
        texel[3] = a;
        return true;
    case D3DFMT_A1R5G5B5:
        // Low byte first: ggg bbbbb, then a rrrrr gg.
        if (two_channels) {
            texel[1] = static_cast<unsigned char>((a & 0x80) | ((c >> 1) & 0x7C) | (c >> 6));
            texel[0] = static_cast<unsigned char>((c >> 3) * 33);
        } else {
            texel[1] = static_cast<unsigned char>((a & 0x80) | 0x7F);
            texel[0] = 0xFF;
        }
        return true;
    case D3DFMT_A4R4G4B4: {
        // Low byte first: gggg bbbb, then aaaa rrrr.
        unsigned char f = two_channels ? static_cast<unsigned char>(c >> 4) : 15;
        texel[1] = static_cast<unsigned char>((a & 0xF0) + f);
        texel[0] = static_cast<unsigned char>(f * 17);
        return true;
    }
    default:
        return false;
    }
}

bool EngFont::CopySheetDataToTexture(int sheet)
{
    const char *where = "EngFont::CopySheetDataToTexture";
    if (!m_sheet_data || sheet < 0)
        return false;
    if (sheet >= m_num_sheets) {
        DebugError(where, "Invalid sheet num %d (%d)", sheet, m_num_sheets);
        return false;
    }
    const int bytes = m_two_channels ? 2 : 1;
    BinomColor(bytes, m_two_channels ? m_settings[ENG_FONT_BLUR_CHANNEL_1].i : 0,
               m_settings[ENG_FONT_BLUR_CHANNEL_0].i, m_sheet_size, m_sheet_size, m_sheet_data,
               m_sheet_size * m_sheet_size * bytes);
    if (eng_device_type != EDT_DX9)
        return true;
    if (!m_sheet_texs_dx9) {
        DebugError(where, "m_sheet_texs_dx9 = NULL");
        return false;
    }
    EngTexture *texture = sheet < m_num_sheet_texs ? m_sheet_texs_dx9[sheet] : nullptr;
    if (!texture) {
        DebugError(where, "Sheet tex [%d] not created", sheet);
        return false;
    }
    EngTextureDX9 *part = texture->GetTextureDX9();
    if (!part) {
        DebugError(where, "No DX9 tex.");
        return false;
    }
    D3DLOCKED_RECT locked;
    if (!part->LockDxSurface(&locked))
        return false;
    D3DFORMAT format = static_cast<D3DFORMAT>(part->GetFormat());
    unsigned char probe[4];
    if (!ConvertSheetPixel(format, m_two_channels, 0, 0, probe)) {
        part->UnlockDxSurface();
        DebugError(where, "Unsupported format %lu", static_cast<unsigned long>(format));
        return false;
    }
    const int texel_bytes = format == D3DFMT_A8R8G8B8 ? 4 : 2;
    for (int row = 0; row < m_sheet_size; row++) {
        unsigned char *texel = static_cast<unsigned char *>(locked.pBits) + row * locked.Pitch;
        const unsigned char *from = m_sheet_data + row * m_sheet_size * bytes;
        for (int column = 0; column < m_sheet_size; column++, from += bytes, texel += texel_bytes)
            ConvertSheetPixel(format, m_two_channels, from[0], from[bytes - 1], texel);
    }
    part->UnlockDxSurface();
    return true;
}
