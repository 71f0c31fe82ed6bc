// The script button: its mark-up read into paragraphs (styles, alignment,
// shared lines, a tag at the very end), wrapped line counts beyond 255,
// the scrollbar only for a text longer than the page, the text kept after
// the caller's buffer is gone, and the styles' colours in the recorded draws.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinScriptButton.h"
#include "gui/MWinScrollbar.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// A glyph drawn: the font's colour (the material's emissive part, as ARGB),
// the origin the world matrix puts it at (pixels, y up) and its scale.
struct Glyph {
    DWORD colour;
    float x, y, scale;
};

DWORD ColourOf(const D3DCOLORVALUE &c)
{
    auto byte = [](float v) { return static_cast<DWORD>(EngMathRoundFloatToInt(v * 255)) & 0xFF; };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

std::vector<Glyph> DrawnGlyphs()
{
    std::vector<Glyph> glyphs;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws()) {
        const float x = draw.state.world.m[3][0], y = draw.state.world.m[3][1];
        if (draw.state.textures[0] && (x != 0 || y != 0))
            glyphs.push_back({ColourOf(draw.state.material.Emissive), x, y, draw.state.world.m[1][1]});
    }
    return glyphs;
}

// A window over the whole screen holding the script button "Script" at
// (20, 20), 400 x 300.
class MWinScriptButtonTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinScriptButton *script = nullptr;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 0, 0, 640, 480);
        script = window->AddScriptButton("Script", "White", 20, 20, 400, 300);
        ASSERT_NE(script, nullptr);
        ASSERT_TRUE(script->SetFont("Main"));
    }
};

// One paragraph as laid out: style, alignment, span, whether it ends its
// line, and its counted lines.
struct Par {
    int style, align, start, end, ends_line, lines;
};

TEST_F(MWinScriptButtonTest, MarkUpGivesParagraphsStylesAndLines)
{
    const int own = -1;
    const struct {
        const char *text;
        std::vector<Par> pars;
        const char *what;
    } cases[] = {
        {"Title\nSecond", {{-1, own, 0, 5, 1, 1}, {-1, own, 6, 12, 1, 1}}, "plain lines"},
        {"<2>Word", {{2, MWTA_CENTER, 3, 7, 1, 1}}, "a leading tag"},
        {"<0<a\n<1>b\n>2>c\n>3<d\n<4>e\n<5<f",
         {{0, MWTA_LEFT, 3, 4, 1, 1},
          {1, MWTA_CENTER, 8, 9, 1, 1},
          {2, MWTA_RIGHT, 13, 14, 1, 1},
          {3, own, 18, 19, 1, 1},
          {4, MWTA_CENTER, 23, 24, 1, 1},
          {5, MWTA_LEFT, 28, 29, 1, 1}},
         "every tag"},
        {"<a> <6>", {{-1, own, 0, 7, 1, 1}}, "no digit, or a digit above 5, is plain text"},
        {"a<9>b", {{-1, own, 0, 5, 1, 1}}, "an unknown tag"},
        {"word\n\n\n<1>next",
         {{-1, own, 0, 4, 1, 1}, {-1, own, 5, 5, 1, 1}, {-1, own, 6, 6, 1, 1}, {1, MWTA_CENTER, 10, 14, 1, 1}},
         "blank lines before a section"},
        {"one<3>two", {{-1, own, 0, 3, 0, 0}, {3, MWTA_CENTER, 6, 9, 1, 1}}, "a tag shares the line"},
        {"end<3>", {{-1, own, 0, 3, 0, 0}, {3, MWTA_CENTER, 6, 6, 1, 1}}, "a tag at the very end"},
        {"<1>", {{1, MWTA_CENTER, 3, 3, 1, 1}}, "only a tag"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        script->SetText(c.text);
        ASSERT_EQ(script->GetNumParagraphs(), static_cast<int>(c.pars.size()));
        int first_line = 0;
        for (int i = 0; i < script->GetNumParagraphs(); i++) {
            const _MWinScriptParagraph *p = script->GetParagraph(i);
            const Par &want = c.pars[i];
            EXPECT_EQ(p->m_style, want.style) << i;
            EXPECT_EQ(p->m_align, want.align) << i;
            EXPECT_EQ(p->m_start, want.start) << i;
            EXPECT_EQ(p->m_end, want.end) << i;
            EXPECT_EQ(p->m_ends_line, want.ends_line) << i;
            EXPECT_EQ(p->m_line_count, want.lines) << i;
            EXPECT_EQ(p->m_first_line, first_line) << i;
            first_line += want.lines;
        }
        EXPECT_EQ(script->GetTotalLines(), first_line + 1);
        EXPECT_FALSE(script->IsScrollingNeeded());
        EXPECT_FALSE(LogHasLine("Bad start pos"));
    }
}

TEST_F(MWinScriptButtonTest, AParagraphOfMoreThan255LinesScrollsToItsEnd)
{
    std::string text = "Top\n";
    for (int i = 0; i < 300; i++)
        text += "Wrapped words fill the whole width of the button line after line. ";
    text += "<1<Last";
    script->SetText(text.c_str());

    ASSERT_EQ(script->GetNumParagraphs(), 3);
    const _MWinScriptParagraph *long_par = script->GetParagraph(1);
    EXPECT_GT(long_par->m_line_count, 300);
    EXPECT_EQ(script->GetParagraph(2)->m_first_line, 1 + long_par->m_line_count - 0)
        << "the long paragraph shares its last line with the tagged one";
    EXPECT_TRUE(script->IsScrollingNeeded());
    ASSERT_TRUE(script->GetScrollbar()->IsShown());
    EXPECT_EQ(script->GetScrollbar()->GetMax(), script->GetTotalLines() - script->GetLinesPerPage());
    EXPECT_LT(script->GetTextWidthUsed(), 400);

    // Scrolled to the end, the last lines are drawn inside the button.
    script->GetScrollbar()->SetPos(static_cast<float>(script->GetScrollbar()->GetMax()), 0);
    EXPECT_GT(script->GetScrollPos(), 255);
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<Glyph> glyphs = DrawnGlyphs();
    EXPECT_GT(glyphs.size(), 50u);
}

TEST_F(MWinScriptButtonTest, TheTextIsKeptUntilClearText)
{
    char *buffer = new char[32];
    std::strcpy(buffer, "First\n<1>Second");
    script->SetText(buffer);
    std::memset(buffer, 'x', 31);
    delete[] buffer;

    script->ParseText();
    ASSERT_EQ(script->GetNumParagraphs(), 2);
    EXPECT_EQ(script->GetParagraph(1)->m_style, 1);
    mwin->RenderMain();

    script->ClearText();
    EXPECT_EQ(script->GetNumParagraphs(), 0);
    script->ParseText();
    EXPECT_EQ(script->GetNumParagraphs(), 0);
    mwin->RenderMain();
}

TEST_F(MWinScriptButtonTest, StylesAreCheckedAndColourTheirParagraphs)
{
    EXPECT_FALSE(script->SetStyle(0, 1, 0, 0, 1, 0));
    EXPECT_TRUE(LogHasLine("Style 0 is the button style and cannot be changed"));
    EXPECT_FALSE(script->SetStyle(5, 1, 0, 0, 1, 0));
    EXPECT_TRUE(LogHasLine("Invalid style num 5"));

    ASSERT_TRUE(script->SetStyle(1, 1, 0, 0, 1, 0));
    ASSERT_TRUE(script->SetStyle(2, 0, 1, 0, 1, 2));
    script->SetText("<1<Red\n<2<Green");
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<Glyph> red, green;
    for (const Glyph &g : DrawnGlyphs()) {
        if (g.colour == 0xFFFF0000)
            red.push_back(g);
        if (g.colour == 0xFF00FF00)
            green.push_back(g);
    }
    ASSERT_EQ(red.size(), 3u);
    ASSERT_EQ(green.size(), 5u);
    EXPECT_GT(red[0].y, green[0].y) << "the second paragraph is on the next line (y grows upwards)";
    EXPECT_GT(green[0].scale, red[0].scale * 1.5f) << "style 2 draws at twice the scale";
}

TEST_F(MWinScriptButtonTest, TheWheelScrollsAndAStepUpNearTheTopReachesIt)
{
    std::string text;
    for (int i = 0; i < 60; i++)
        text += "Line\n";
    script->SetText(text.c_str());
    MWinVertScrollbar *bar = script->GetScrollbar();
    ASSERT_TRUE(bar->IsShown());
    EXPECT_EQ(bar->GetMin(), -0.1);

    MoveMouse(200, 150);
    Wheel(-1);
    EXPECT_GT(script->GetScrollPos(), 0);
    bar->SetPos(0.5f, 0);
    Wheel(1);
    EXPECT_EQ(script->GetScrollPos(), 0) << "a step that cannot be taken lands on the top line";
}

} // namespace
