// A font rasterised once into texture sheets. At creation every wanted
// character code (Windows-1252) is rendered by FreeType into an 8-bit grey
// bitmap, given an optional drop shadow, packed into square sheets of
// 512 x 512 pixels, softened with a binomial blur and written into the sheet
// textures. Each character then has its own textured quad and three
// placement numbers; the text drawing (EngFontDraw.h, EngFontDraw.cpp) draws
// a string quad by quad. The quads, the placement list and the sheet
// textures exist only for the Direct3D 9 device kind; with another kind a
// font is measured (widths, height) but cannot draw.
#pragma once

#include "engine/core/EngMath.h"
#include "platform/d3d9/D3D9.h"

class EngTexture;
class EngVertexBufferDX9;
struct EngFontTestAccess;
struct FT_FaceRec_;
struct FT_Bitmap_;

// One glyph effect setting: an int or a float, by its index.
union _EngFontSetting {
    int i;
    float f;
};

// The glyph effect settings that SetMatrix copies (16 four-byte values).
enum {
    ENG_FONT_SETTING_COUNT = 16,
    // int: empty pixels around each glyph in its cell
    ENG_FONT_BORDER = 0,
    // int: shadow offsets in pixels
    ENG_FONT_SHADOW_X = 1,
    ENG_FONT_SHADOW_Y = 2,
    // float: the shadow's grey = glyph grey x factor
    ENG_FONT_SHADOW_COLOUR = 3,
    // float: the shadow's alpha = glyph grey x factor (two-channel fonts)
    ENG_FONT_SHADOW_ALPHA = 4,
    // int: blur passes over channel 0 (the only channel of a one-channel font)
    ENG_FONT_BLUR_CHANNEL_0 = 5,
    // int: blur passes over channel 1 (two-channel fonts)
    ENG_FONT_BLUR_CHANNEL_1 = 6,
};

// Where the packer puts the next cell of the open sheet.
struct _EngFontPacking {
    int x, y;
    int row_height;
};

class EngFont {
public:
    EngFont();
    ~EngFont();
    EngFont(const EngFont &) = delete;
    EngFont &operator=(const EngFont &) = delete;

    // Renders the characters min_char..max_char of a FreeType font file at
    // size points and 150 dots per inch. wanted, when given, holds one entry
    // per code below wanted_count; a 0 entry leaves that code out. The
    // factors turn pixels into drawing units: x_factor for widths and x
    // offsets, y_factor for heights; the line height is size x y_factor +
    // height_addition, and y_offset moves every glyph. quad_order must be set
    // (the other order was never finished). The four floats and the int after
    // two_channels are not used.
    bool CreateFromFontFile(const char *file, char two_channels, int unused, int size, int min_char, int max_char,
                            const char *wanted, int wanted_count, float x_factor, float y_factor, float y_offset,
                            float height_addition, float unused_1, float unused_2, float unused_3, float unused_4,
                            char quad_order);
    // Copies the 16 glyph effect settings (_EngFontSetting values) used by the
    // next creation; null zeroes them.
    void SetMatrix(const void *settings);
    // Frees everything a creation made; the font may be created again.
    void Destroy();
    char IsCreated() const { return m_created; }

    // Measuring and drawing (EngFontDraw.cpp). Unless said otherwise these do
    // nothing, or return 0 or their argument, when the font is not created.
    // Scaling is on when x or y differs from 1, and off when either is 0.
    void SetScale(float x, float y);
    // SetScale with x times the window's aspect factor eng_font_scale_x.
    void SetScaleWithAspectCorrection(float x, float y);
    // Null: scale (1, 1) with scaling off, even when not created.
    void SetScaleFromVector2d(const _Vector2d *scale);
    void GetScale(float *x, float *y);
    _Vector2d *GetScaleAsVector2d(_Vector2d *out);
    // A negative component keeps the stored one.
    void SetColour(float r, float g, float b, float a);
    void SetColourRGBA(const _ColourRGBA *colour);
    // The colour when one is set, else white.
    _ColourRGBA *GetColour(_ColourRGBA *out);
    float GetStringWidth(const char *text);
    float GetHeight(char scaled);
    float GetCharWidth(unsigned char code);
    // Vertical alignment 1 gives y - height / 2, 2 gives y - height.
    float GetAlignedY(float y, char vertical_alignment);
    // Sets the character index whose pen position the next draw records (-1
    // off) and returns the position recorded by the previous draw.
    float TrackCharPosition(int index);
    // Leading characters whose pen position lies below the offset move the
    // pen but are not drawn.
    void SetSkipCharsBeforeOffset(char on, float offset);
    bool IsSpaceOrTab(char c);

    // Draws at most max_chars characters (all for 0) up to the pen position
    // max_width (no limit for 0); returns the x where the text ends.
    float DrawStringPart(float x, float y, const char *text, int max_chars, float max_width);
    // Horizontal alignment: 0 x is the start, 1 the middle, 2 the end.
    // Vertical alignment: 0 y is the top, 1 the middle, 2 the bottom. With
    // prepare set the drawing state is prepared (640 x 480 units) and
    // restored around the draw when it was not prepared yet.
    void DrawStringPartHAligned(float x, float y, char horizontal_alignment, const char *text, int max_chars,
                                float max_width, char prepare);
    void DrawStringPartAligned(float x, float y, char horizontal_alignment, char vertical_alignment,
                               const char *text, int max_chars, float max_width, char prepare);
    void DrawString(float x, float y, char horizontal_alignment, char vertical_alignment, const char *text,
                    char prepare);
    // Word-wraps text into the box at x, y of width w and height h, drawing
    // it when draw is set, from line first_line on. Every output may be null.
    void DrawMultilineText(float x, float y, float w, float h, char horizontal_alignment, char vertical_alignment,
                           const char *text, char draw, int first_line, float *widest_line, float *height_used,
                           int *line_count, char *all_placed);

private:
    friend struct EngFontTestAccess;

    void Reset();
    // Frees the lists, quads, sheet textures and sheet data of a creation.
    void FreeCreationParts();
    // -1 failure, 0 not in the font, 1 done.
    int ParseLetter(FT_FaceRec_ *face, int code, float x_factor, float y_factor, float y_offset, char quad_order,
                    _EngFontPacking *packing);
    bool CreateTextureFromData_DX9(int code, int cell_width, int cell_height, const unsigned char *cell,
                                   _EngFontPacking *packing, int left, int top, float advance, float x_factor,
                                   float y_factor, float y_offset, char quad_order);
    bool AllocSheetPart(int *sheet_count, _EngFontPacking *packing, int w, int h, int *out_x, int *out_y,
                        char measure_only);
    bool CopySheetDataToTexture(int sheet);
    // The cell of a glyph bitmap (null for none): true when the glyph is drawn
    // into it, false for an empty 2 x 2 cell.
    bool GetGlyphCellSize(const FT_Bitmap_ *bitmap, int *width, int *height) const;
    // Draws a grey bitmap and its shadow into a zeroed cell of GetGlyphCellSize.
    void FillGlyphCell(const unsigned char *pixels, int bitmap_width, int bitmap_rows, int pitch,
                       unsigned char *cell, int cell_width) const;
    // One sheet pixel (channel 0 c, channel 1 or the single byte a) as a
    // texel of the format; false for a format fonts cannot use.
    static bool ConvertSheetPixel(D3DFORMAT format, char two_channels, unsigned char c, unsigned char a,
                                  unsigned char *texel);

    char m_created;
    float m_height;
    _EngFontSetting m_settings[ENG_FONT_SETTING_COUNT];
    int *m_sheet_nums;
    int m_num_chars;
    int m_sheet_size;
    int m_num_sheets;
    // Entries of m_sheet_texs_dx9.
    int m_num_sheet_texs;
    float m_scale_x, m_scale_y;
    char m_scaling;
    _ColourRGBA m_colour;
    char m_colour_set;
    float m_widths[256];
    int m_track_index;
    float m_track_x;
    char m_skip;
    float m_skip_offset;
    EngTexture **m_sheet_texs_dx9;
    EngVertexBufferDX9 *m_quads;
    // x offset, y offset and advance per character code.
    float *m_trans;
    char m_two_channels;
    unsigned char *m_sheet_data;
};

// Whether a character the font lacks is logged at creation (on at start).
void EngFontSetReportMissingLetters(char on);

// Blurs an image of width x height pixels of one byte (channels 1) or two
// interleaved bytes (channels 2) in place: each pass gives every inner pixel
// (corners + 2 x edges + 4 x centre) / 16 of its 3 x 3 neighbourhood, and the
// outer rows and columns the values of their inner neighbours. Channel 0 gets
// passes_0 passes, then channel 1 (two channels only) passes_1. size is the
// data's size in bytes.
void BinomColor(int channels, int passes_1, int passes_0, int width, int height, unsigned char *data,
                unsigned int size);

// The module state back as at start.
void EngFontResetForTests();
