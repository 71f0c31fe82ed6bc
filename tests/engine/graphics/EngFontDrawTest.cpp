// Text drawing on the recording device: the drawing state, scale and colour,
// where each character's quad lands, limits, alignment and word wrapping.
// Most tests give every character a width of 10 and the font a height of 20
// so the expected places are plain arithmetic.
#include "tests/engine/graphics/FontTestSupport.h"
#include "platform/d3d9/D3DX9.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Glyph {
    float x, y;
};

bool operator==(const Glyph &a, const Glyph &b)
{
    return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f;
}

std::ostream &operator<<(std::ostream &out, const Glyph &g)
{
    return out << "(" << g.x << ", " << g.y << ")";
}

// The character quads drawn since the last reset: layout x, y, z, colour, u, v.
std::vector<const D3D9RecordedDraw *> GlyphDraws()
{
    std::vector<const D3D9RecordedDraw *> draws;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws())
        if (draw.state.fvf == (D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1))
            draws.push_back(&draw);
    return draws;
}

// Where each quad's origin landed: the world matrix's translation.
std::vector<Glyph> GlyphOrigins()
{
    std::vector<Glyph> origins;
    for (const D3D9RecordedDraw *draw : GlyphDraws())
        origins.push_back({draw->state.world.m[3][0], draw->state.world.m[3][1]});
    return origins;
}

DWORD RenderState(D3DRENDERSTATETYPE state)
{
    DWORD value = 0xDEADBEEF;
    eng_d3d_device->GetRenderState(state, &value);
    return value;
}

D3DMATRIX Projection()
{
    D3DMATRIX matrix = {};
    eng_d3d_device->GetTransform(D3DTS_PROJECTION, &matrix);
    return matrix;
}

bool SameMatrix(const D3DMATRIX &a, const D3DMATRIX &b)
{
    return std::memcmp(&a, &b, sizeof(D3DMATRIX)) == 0;
}

bool Reported(const std::string &line)
{
    std::vector<std::string> lines = StoredLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class EngFontDrawTest : public FontDeviceTest {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 800, 600);
        FontDeviceTest::SetUp();
        ASSERT_TRUE(CreateTestFont(font, 32, 32, 254));
        ASSERT_TRUE(eng_device->BeginRendering());
        D3D9RecordingReset();
        // The font's reports of the characters it lacks.
        DebugClearLogs();
    }

    void TearDown() override
    {
        EngFontRestoreAfterDrawingIfNeeded();
        eng_device->EndRendering();
        FontDeviceTest::TearDown();
    }

    // Widths of 10, height 20, no offsets except each character's y offset
    // (top - height), which the tests remove with YOffset.
    void FixedFont()
    {
        EngFontTestAccess::SetFixedWidths(font, 10.0f);
        EngFontTestAccess::SetHeight(font, 20.0f);
    }
    float YOffset(unsigned char code) { return EngFontTestAccess::Placement(font, code)[1]; }
};

TEST_F(EngFontDrawTest, PrepareSetsTheTextStateAndRestoreUndoesIt)
{
    // The projection the device's matrix stack gives back (the device's
    // perspective is sent without being remembered).
    eng_device->PrepareFor2D(0);
    eng_device->RestoreAfter2D();
    D3DMATRIX projection_before = Projection();
    eng_device->TurnOffLighting();
    EngFontPrepareForDrawing(1);
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EXPECT_TRUE(eng_device->IsPreparedFor2D());
    EXPECT_EQ(RenderState(D3DRS_DIFFUSEMATERIALSOURCE), static_cast<DWORD>(D3DMCS_MATERIAL));
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
    DWORD alpha_op = 0;
    eng_d3d_device->GetTextureStageState(0, D3DTSS_ALPHAOP, &alpha_op);
    EXPECT_EQ(alpha_op, static_cast<DWORD>(D3DTOP_MODULATE));
    // The 640 x 480 screen, y up, onto -1..1.
    D3DMATRIX projection = Projection();
    EXPECT_FLOAT_EQ(projection.m[0][0], 2.0f / 640.0f);
    EXPECT_FLOAT_EQ(projection.m[1][1], 2.0f / 480.0f);
    EXPECT_FLOAT_EQ(projection.m[2][2], 0.5f);
    EXPECT_FLOAT_EQ(projection.m[3][0], -1.0f);
    EXPECT_FLOAT_EQ(projection.m[3][1], -1.0f);
    EXPECT_FLOAT_EQ(projection.m[3][2], 0.5f);

    EngFontRestoreAfterDrawing();
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EXPECT_EQ(RenderState(D3DRS_DIFFUSEMATERIALSOURCE), static_cast<DWORD>(D3DMCS_COLOR1));
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    eng_d3d_device->GetTextureStageState(0, D3DTSS_ALPHAOP, &alpha_op);
    EXPECT_EQ(alpha_op, static_cast<DWORD>(D3DTOP_BLENDTEXTUREALPHA));
    EXPECT_TRUE(SameMatrix(projection_before, Projection()));

    // Window pixels: the window's own size.
    EngFontPrepareForDrawingDefaultOrientation(0);
    EXPECT_FLOAT_EQ(Projection().m[0][0], 2.0f / eng_screen_width);
    EXPECT_FLOAT_EQ(Projection().m[1][1], 2.0f / eng_screen_height);
    EngFontRestoreAfterDrawing();

    // The caller's matrices: nothing pushed, no projection.
    EngFontPrepareForDrawingPure2();
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EXPECT_TRUE(SameMatrix(projection_before, Projection()));
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EngFontRestoreAfterDrawing();
    EXPECT_EQ(StoredLines().back(), FontError("EngFontRestoreAfterDrawing", "Not setup."));
    EXPECT_FALSE(EngFontRestoreAfterDrawingIfNeeded());
}

TEST_F(EngFontDrawTest, PreparingInTheOtherKindOfModeRestoresFirst)
{
    char here = -1;
    EXPECT_FALSE(EngFontPrepareForDrawingWithOrientationIfNeeded(1, &here));
    EXPECT_EQ(here, 1);
    EXPECT_TRUE(EngFontPrepareForDrawingWithOrientationIfNeeded(1, &here));
    EXPECT_EQ(here, 0);
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_FALSE(EngFontPrepareForDrawingWithOrientationIfNeeded(0, &here));
    EXPECT_EQ(here, 1);
    EXPECT_EQ(StoredLines().back(), FontError("EngFontPrepareForDrawingWithOrientationIfNeeded", "Ratio mix problem"));
    EXPECT_FLOAT_EQ(Projection().m[0][0], 2.0f / eng_screen_width);
    EngFontRestoreAfterDrawing();

    EngFontPrepareForDrawing(2);
    EXPECT_EQ(StoredLines().back(),
              FontError("EngFontPrepareForDrawingWithOrientation", "Call EngFontPrepareForDrawingPure2() instead"));
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    // Mode 2 matches mode 1: both are non-zero.
    EXPECT_TRUE(EngFontPrepareForDrawingWithOrientationIfNeeded(1, &here));
}

TEST_F(EngFontDrawTest, SaveUnpreparesAndRestorePreparesAgain)
{
    const char *where = "EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState";
    EngFontPrepareForDrawing(1);
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    EXPECT_EQ(StoredLines().back(), FontError(where, "Already saved"));
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EXPECT_FLOAT_EQ(Projection().m[0][0], 2.0f / 640.0f);
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    EXPECT_EQ(StoredLines().back(), FontError(where, "Not saved"));
    // Saved while not prepared: restoring leaves it unprepared.
    EngFontRestoreAfterDrawing();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
}

TEST_F(EngFontDrawTest, DrawingOutsideTheStateIsRefused)
{
    const char *where = "EngFont::DrawStringPart";
    eng_device->EndRendering();
    EXPECT_EQ(font.DrawStringPart(10, 10, "A", 0, 0), 0.0f);
    EXPECT_EQ(StoredLines().back(), FontError(where, "Scene not on"));
    ASSERT_TRUE(eng_device->BeginRendering());
    EXPECT_EQ(font.DrawStringPart(10, 10, "A", 0, 0), 0.0f);
    EXPECT_EQ(StoredLines().back(), FontError(where, "2D Not setup"));
    eng_device->PrepareFor2D(0);
    EXPECT_EQ(font.DrawStringPart(10, 10, "A", 0, 0), 0.0f);
    EXPECT_EQ(StoredLines().back(), FontError(where, "Not ready for drawings"));
    eng_device->RestoreAfter2D();
    EXPECT_TRUE(GlyphDraws().empty());
    // Nothing at all for a font that is not created or a null text.
    EngFont empty;
    int reports = DebugGetNumMessages();
    EXPECT_EQ(empty.DrawStringPart(10, 10, "A", 0, 0), 0.0f);
    EXPECT_EQ(font.DrawStringPart(10, 10, nullptr, 0, 0), 0.0f);
    EXPECT_EQ(DebugGetNumMessages(), reports);
}

TEST_F(EngFontDrawTest, DrawWithPrepareSetsTheStateUpOnlyWhenNeeded)
{
    font.DrawString(100, 50, 0, 0, "AB", 1);
    EXPECT_EQ(GlyphDraws().size(), 2u);
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EngFontPrepareForDrawing(1);
    font.DrawString(100, 50, 0, 0, "AB", 1);
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngFontDrawTest, TheColourIsTheMaterialsEmissiveColour)
{
    _ColourRGBA colour = {0, 0, 0, 0};
    EXPECT_EQ(font.GetColour(&colour), &colour);
    EXPECT_EQ(colour.r + colour.g + colour.b + colour.a, 4.0f);
    font.SetColour(1.0f, 0.0f, 0.0f, 1.0f);
    font.SetColour(-1.0f, -1.0f, -1.0f, 0.5f);
    font.GetColour(&colour);
    EXPECT_EQ(colour.r, 1.0f);
    EXPECT_EQ(colour.g, 0.0f);
    EXPECT_EQ(colour.b, 0.0f);
    EXPECT_EQ(colour.a, 0.5f);

    EngFontPrepareForDrawing(1);
    font.DrawString(100, 50, 0, 0, "AB", 0);
    std::vector<const D3D9RecordedDraw *> draws = GlyphDraws();
    ASSERT_EQ(draws.size(), 2u);
    for (const D3D9RecordedDraw *draw : draws) {
        const D3DMATERIAL9 &m = draw->state.material;
        EXPECT_EQ(m.Emissive.r, 1.0f);
        EXPECT_EQ(m.Emissive.g, 0.0f);
        EXPECT_EQ(m.Emissive.b, 0.0f);
        EXPECT_EQ(m.Emissive.a, 0.5f);
        EXPECT_EQ(m.Diffuse.r + m.Diffuse.g + m.Diffuse.b, 0.0f);
        EXPECT_EQ(m.Diffuse.a, 0.5f);
        EXPECT_EQ(m.Ambient.r + m.Ambient.g + m.Ambient.b, 0.0f);
        EXPECT_EQ(draw->state.render_states[D3DRS_LIGHTING], static_cast<DWORD>(TRUE));
        EXPECT_EQ(draw->state.render_states[D3DRS_DIFFUSEMATERIALSOURCE], static_cast<DWORD>(D3DMCS_MATERIAL));
        EXPECT_NE(draw->state.textures[0], nullptr);
    }
    // Back to the default material after the string.
    D3DMATERIAL9 after = {};
    eng_d3d_device->GetMaterial(&after);
    EXPECT_EQ(after.Emissive.r, 0.0f);

    _ColourRGBA green = {0, 1, 0, 1};
    font.SetColourRGBA(&green);
    font.SetColourRGBA(nullptr);
    font.GetColour(&colour);
    EXPECT_EQ(colour.g, 1.0f);
    EXPECT_EQ(colour.r, 0.0f);
}

TEST_F(EngFontDrawTest, CharactersLandAtThePenInScreenUnits)
{
    FixedFont();
    EngFontPrepareForDrawing(1);
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "AB", 0, 0), 120.0f);
    // y down from the top of the 640 x 480 screen becomes 480 - y.
    EXPECT_EQ(GlyphOrigins(), (std::vector<Glyph>{{100, 430 + YOffset('A')}, {110, 430 + YOffset('B')}}));

    // Scaled: the offsets and the pen scale, the place does not.
    D3D9RecordingReset();
    font.SetScale(2.0f, 3.0f);
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "AB", 0, 0), 140.0f);
    std::vector<const D3D9RecordedDraw *> draws = GlyphDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[1]->state.world.m[0][0], 2.0f);
    EXPECT_FLOAT_EQ(draws[1]->state.world.m[1][1], 3.0f);
    EXPECT_EQ(GlyphOrigins(), (std::vector<Glyph>{{100, 430 + 3 * YOffset('A')}, {120, 430 + 3 * YOffset('B')}}));

    // Characters without a quad neither draw nor move the pen.
    D3D9RecordingReset();
    font.SetScale(1.0f, 1.0f);
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "A\x81" "B", 0, 0), 120.0f);
    EXPECT_EQ(GlyphDraws().size(), 2u);

    // Window pixels measure y from the window's height.
    EngFontRestoreAfterDrawing();
    EngFontPrepareForDrawing(0);
    D3D9RecordingReset();
    font.DrawStringPart(100, 50, "A", 0, 0);
    EXPECT_EQ(GlyphOrigins(), (std::vector<Glyph>{{100, eng_screen_height - 50 + YOffset('A')}}));
}

TEST_F(EngFontDrawTest, MaxCharsMaxWidthTrackingAndSkipping)
{
    FixedFont();
    EngFontPrepareForDrawing(1);
    struct Case {
        const char *name;
        float scale;
        int max_chars;
        float max_width;
        float skip_offset; // 0: no skipping
        int track;
        float end_x;
        std::vector<float> xs; // origins drawn
        float tracked_x;
    };
    const std::vector<Case> cases = {
        {"max chars 3", 1, 3, 0, 0, -1, 130, {100, 110, 120}, 0},
        {"max chars 3 scaled", 2, 3, 0, 0, -1, 160, {100, 120, 140}, 0},
        {"max chars above the length", 1, 9, 0, 0, -1, 150, {100, 110, 120, 130, 140}, 0},
        // The character whose scaled pen position reaches 50 and all after it.
        {"max width 50", 1, 0, 50, 0, -1, 150, {100, 110, 120, 130, 140}, 0},
        {"max width 25", 1, 0, 25, 0, -1, 130, {100, 110, 120}, 0},
        {"max width 25 scaled", 2, 0, 25, 0, -1, 140, {100, 120}, 0},
        {"skip below 25", 1, 0, 0, 25, -1, 150, {130, 140}, 0},
        {"track index 2", 1, 0, 0, 0, 2, 150, {100, 110, 120, 130, 140}, 120},
        {"track the end", 1, 0, 0, 0, 5, 150, {100, 110, 120, 130, 140}, 150},
        {"track scaled", 2, 0, 0, 0, 1, 200, {100, 120, 140, 160, 180}, 120},
    };
    for (const Case &c : cases) {
        D3D9RecordingReset();
        font.SetScale(c.scale, c.scale);
        font.SetSkipCharsBeforeOffset(c.skip_offset > 0, c.skip_offset);
        font.TrackCharPosition(c.track);
        EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "Hello", c.max_chars, c.max_width), c.end_x) << c.name;
        std::vector<float> xs;
        for (const Glyph &g : GlyphOrigins())
            xs.push_back(g.x);
        EXPECT_EQ(xs, c.xs) << c.name;
        if (c.track >= 0) {
            EXPECT_FLOAT_EQ(font.TrackCharPosition(-1), c.tracked_x) << c.name;
        }
    }
}

TEST_F(EngFontDrawTest, AZeroScaleComponentDrawsAndMeasuresUnscaled)
{
    FixedFont();
    font.SetScale(0.0f, 2.0f);
    float x = 0, y = 0;
    font.GetScale(&x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 2.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("abc"), 30.0f);
    EXPECT_FLOAT_EQ(font.GetHeight(1), 20.0f);
    EngFontPrepareForDrawing(1);
    // The end follows the characters drawn, and the width limit still cuts.
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "abc", 0, 0), 130.0f);
    D3D9RecordingReset();
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "abc", 0, 15), 120.0f);
    EXPECT_EQ(GlyphDraws().size(), 2u);
    // And multi-line text still wraps.
    int lines = 0;
    float used = 0;
    font.DrawMultilineText(0, 0, 55, 480, 0, 0, "one two three", 0, 0, nullptr, &used, &lines, nullptr);
    EXPECT_EQ(lines, 3);
    EXPECT_FLOAT_EQ(used, 60.0f);
}

TEST_F(EngFontDrawTest, ScaleFlags)
{
    struct Case {
        float x, y;
        bool scaled;
    };
    for (const Case &c : std::vector<Case>{{1, 1, false}, {2, 1, true}, {1, 0.5f, true}, {0, 2, false}, {2, 0, false}}) {
        font.SetScale(c.x, c.y);
        EXPECT_EQ(font.GetHeight(1) != font.GetHeight(0), c.scaled && c.y != 1) << c.x << ", " << c.y;
        EXPECT_EQ(font.GetStringWidth("A") != font.GetCharWidth('A'), c.scaled && c.x != 1) << c.x << ", " << c.y;
    }
    _Vector2d scale = {0.5f, 0.25f};
    font.SetScaleFromVector2d(&scale);
    _Vector2d out = {};
    EXPECT_EQ(font.GetScaleAsVector2d(&out), &out);
    EXPECT_EQ(out.x, 0.5f);
    EXPECT_EQ(out.y, 0.25f);
    font.SetScaleFromVector2d(nullptr);
    font.GetScaleAsVector2d(&out);
    EXPECT_EQ(out.x, 1.0f);
    EXPECT_EQ(font.GetHeight(1), font.GetHeight(0));
    // The aspect correction multiplies x by the window's factor.
    float saved = eng_font_scale_x;
    eng_font_scale_x = 0.75f;
    font.SetScaleWithAspectCorrection(2.0f, 3.0f);
    font.GetScaleAsVector2d(&out);
    EXPECT_FLOAT_EQ(out.x, 1.5f);
    EXPECT_FLOAT_EQ(out.y, 3.0f);
    eng_font_scale_x = saved;
}

TEST_F(EngFontDrawTest, AccentedTextIsMeasuredAndDrawn)
{
    // 0xE9 is e acute: a negative index would read another character's width.
    float e_acute = font.GetCharWidth(0xE9);
    ASSERT_GT(e_acute, 0.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("\xE9t\xE9"), 2 * e_acute + font.GetCharWidth('t'));
    EngFontPrepareForDrawing(1);
    EXPECT_FLOAT_EQ(font.DrawStringPart(100, 50, "\xE9t\xE9", 0, 0), 100 + 2 * e_acute + font.GetCharWidth('t'));
    EXPECT_EQ(GlyphDraws().size(), 3u);
}

TEST_F(EngFontDrawTest, AlignmentMovesTheString)
{
    FixedFont();
    EngFontPrepareForDrawing(1);
    struct Case {
        char h, v;
        Glyph first;
    };
    // "ABCD" is 40 wide and 20 high; drawn at (320, 100).
    const std::vector<Case> cases = {
        {0, 0, {320, 380}}, {1, 0, {300, 380}}, {2, 0, {280, 380}},
        {0, 1, {320, 390}}, {1, 1, {300, 390}}, {2, 2, {280, 400}},
    };
    for (const Case &c : cases) {
        D3D9RecordingReset();
        font.DrawString(320, 100, c.h, c.v, "ABCD", 0);
        std::vector<Glyph> origins = GlyphOrigins();
        ASSERT_EQ(origins.size(), 4u);
        EXPECT_EQ(origins[0], (Glyph{c.first.x, c.first.y + YOffset('A')})) << int(c.h) << int(c.v);
    }
    EXPECT_FLOAT_EQ(font.GetAlignedY(100, 1), 90.0f);
    EXPECT_FLOAT_EQ(font.GetAlignedY(100, 2), 80.0f);
    EXPECT_FLOAT_EQ(font.GetAlignedY(100, 7), 100.0f);
    // Alignment measures the whole text, whatever the limits.
    D3D9RecordingReset();
    font.DrawStringPartAligned(320, 100, 1, 0, "ABCD", 2, 0, 0);
    EXPECT_EQ(GlyphOrigins().size(), 2u);
    EXPECT_FLOAT_EQ(GlyphOrigins()[0].x, 300.0f);
}

// --- Word wrapping ---

struct Layout {
    float widest, used;
    int lines;
    char all;
    // Origins drawn, the y offsets removed: (x, screen y of the line).
    std::vector<Glyph> drawn;
};

class EngFontMultilineTest : public EngFontDrawTest {
protected:
    void SetUp() override
    {
        EngFontDrawTest::SetUp();
        FixedFont();
        EngFontPrepareForDrawing(1);
    }

    Layout Wrap(const char *text, float w, float h, char align = 0, int first_line = 0, char draw = 1)
    {
        D3D9RecordingReset();
        Layout layout = {-1, -1, -1, -1, {}};
        font.DrawMultilineText(10, 100, w, h, align, 0, text, draw, first_line, &layout.widest, &layout.used,
                               &layout.lines, &layout.all);
        std::vector<const D3D9RecordedDraw *> draws = GlyphDraws();
        for (size_t i = 0; i < draws.size(); i++) {
            // Each quad's vertices do not say which character it is: take the
            // y offsets from the draws' own translations line by line.
            float x = draws[i]->state.world.m[3][0], world_y = draws[i]->state.world.m[3][1];
            layout.drawn.push_back({x, world_y});
        }
        return layout;
    }

    // Where a character of the text lands when its line starts at screen y.
    Glyph At(float x, float line_y, unsigned char code) { return {x, 480 - line_y + YOffset(code)}; }
};

TEST_F(EngFontMultilineTest, LongLinesBreakAtTheLastSpace)
{
    // "one two" would be 70 wide: the box of 55 breaks after "one"; the second
    // line starts with the space, which left alignment does not draw.
    Layout layout = Wrap("one two three", 55, 480);
    EXPECT_EQ(layout.lines, 3);
    EXPECT_FLOAT_EQ(layout.widest, 50.0f);
    EXPECT_FLOAT_EQ(layout.used, 60.0f);
    EXPECT_EQ(layout.all, 1);
    EXPECT_EQ(layout.drawn, (std::vector<Glyph>{At(10, 100, 'o'), At(20, 100, 'n'), At(30, 100, 'e'),
                                                At(10, 120, 't'), At(20, 120, 'w'), At(30, 120, 'o'),
                                                At(10, 140, 't'), At(20, 140, 'h'), At(30, 140, 'r'),
                                                At(40, 140, 'e'), At(50, 140, 'e')}));
    // Centred, the second line keeps its space: " two" is 40 wide around 10.
    layout = Wrap("one two three", 55, 480, 1);
    ASSERT_EQ(layout.drawn.size(), 3u + 4u + 6u);
    EXPECT_EQ(layout.drawn[3], At(-10, 120, ' '));
    EXPECT_EQ(layout.drawn[4], At(0, 120, 't'));
}

TEST_F(EngFontMultilineTest, LineFeedsStartLines)
{
    Layout layout = Wrap("ab\ncd", 500, 480);
    EXPECT_EQ(layout.lines, 2);
    EXPECT_EQ(layout.drawn, (std::vector<Glyph>{At(10, 100, 'a'), At(20, 100, 'b'), At(10, 120, 'c'),
                                                At(20, 120, 'd')}));
    // Two in a row: an empty line that still moves down.
    layout = Wrap("a\n\nb", 500, 480);
    EXPECT_EQ(layout.lines, 3);
    EXPECT_FLOAT_EQ(layout.used, 60.0f);
    EXPECT_EQ(layout.drawn, (std::vector<Glyph>{At(10, 100, 'a'), At(10, 140, 'b')}));
}

TEST_F(EngFontMultilineTest, FirstLineAndHeightLimitTheLinesDrawn)
{
    // Lines before the first are laid out but neither drawn nor counted.
    Layout layout = Wrap("one two three", 55, 480, 0, 2);
    EXPECT_EQ(layout.lines, 1);
    EXPECT_FLOAT_EQ(layout.used, 20.0f);
    EXPECT_EQ(layout.all, 1);
    ASSERT_EQ(layout.drawn.size(), 5u);
    EXPECT_EQ(layout.drawn[0], At(10, 100, 't'));

    // A box two lines high stops after the second line.
    layout = Wrap("one two three", 55, 40);
    EXPECT_EQ(layout.lines, 2);
    EXPECT_FLOAT_EQ(layout.used, 40.0f);
    EXPECT_EQ(layout.all, 0);
    EXPECT_EQ(layout.drawn.size(), 6u);

    // Measuring only.
    layout = Wrap("one two three", 55, 480, 0, 0, 0);
    EXPECT_EQ(layout.lines, 3);
    EXPECT_TRUE(layout.drawn.empty());
}

TEST_F(EngFontMultilineTest, EmptyTextsAndScaledText)
{
    struct Case {
        const char *text;
        int lines;
        float used, widest;
    };
    for (const Case &c : std::vector<Case>{{"", 1, 20, 0}, {" ", 1, 20, 0}, {"\t", 1, 20, 0}, {"ab", 1, 20, 20}}) {
        Layout layout = Wrap(c.text, 55, 480);
        EXPECT_EQ(layout.lines, c.lines) << "[" << c.text << "]";
        EXPECT_FLOAT_EQ(layout.used, c.used) << "[" << c.text << "]";
        EXPECT_FLOAT_EQ(layout.widest, c.widest) << "[" << c.text << "]";
        EXPECT_EQ(layout.all, 1);
    }
    // Twice the size: the same breaks in a box twice as wide, lines of 40.
    font.SetScale(2, 2);
    Layout layout = Wrap("one two three", 110, 480);
    EXPECT_EQ(layout.lines, 3);
    EXPECT_FLOAT_EQ(layout.widest, 100.0f);
    EXPECT_FLOAT_EQ(layout.used, 120.0f);
    // Not created or no text: nothing placed.
    EngFont empty;
    float widest = -1, used = -1;
    int lines = -1;
    char all = -1;
    empty.DrawMultilineText(0, 0, 100, 100, 0, 0, "text", 1, 0, &widest, &used, &lines, &all);
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(used, 0.0f);
    EXPECT_EQ(all, 1);
    font.DrawMultilineText(0, 0, 100, 100, 0, 0, nullptr, 1, 0, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(EngFontMultilineTest, ALinePartLongerThanItsBufferIsCutAndStillDrawn)
{
    std::string word(300, 'x');
    Layout layout = Wrap(word.c_str(), 10000, 480);
    EXPECT_EQ(layout.lines, 1);
    EXPECT_EQ(layout.drawn.size(), 255u);
    EXPECT_TRUE(Reported(FontError("EngFont::DrawMultilineText", "Line part too long")));
}

} // namespace
