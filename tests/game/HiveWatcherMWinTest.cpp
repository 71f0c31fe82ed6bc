// The game's skin on the toolkit kit: the texture buttons cut from the
// generated atlas (mirrored where the table swaps a pair, multiplied where
// it gives a colour), the standard slots it replaces and the one it keeps,
// failures that go on, the font's guards and the layout metrics.
#include "game/HiveWatcherMWin.h"

#include "engine/graphics/EngFont.h"
#include "tests/support/GuiTestKit.h"
#include "tests/support/TestLog.h"
#include "tests/support/TestData.h"
#include "tools/datagen/SkinAtlas.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

class SkinTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        LinkGeneratedDataFolder();
    }
    MWinTextures *Textures() { return mwin->GetTextures(); }
    // Draws one texture button in a frame set up for 2D, as a render pass does.
    void Draw(const char *id, float w, float h)
    {
        D3D9RecordingReset();
        ASSERT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        EXPECT_EQ(Textures()->DrawTexBut(Textures()->GetTexButNumFromID(id), MWTS_NORMAL, 100, 100, w, h, nullptr), 1)
            << id;
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
    }
};

TEST_F(SkinTest, EveryTextureButtonIsMadeFromTheAtlas)
{
    const char *kept = Textures()->GetStandardTexButID(MWIN_STD_TEX_STATIC);
    std::string slot4 = kept ? kept : "(empty)";
    ASSERT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(mwin), 1);
    for (const char *id : {"ArrowL", "ArrowR", "Back1", "Back3", "Main", "Panel", "TitleInv"})
        EXPECT_GE(Textures()->GetTexButNumFromID(id), 0) << id;
    // Slot 4 keeps the toolkit's own button; the others are the skin's.
    EXPECT_STREQ(Textures()->GetStandardTexButID(MWIN_STD_TEX_WIN_BACK), "StdWinBack");
    EXPECT_STREQ(Textures()->GetStandardTexButID(MWIN_STD_TEX_WHITE), "StdWhite");
    kept = Textures()->GetStandardTexButID(MWIN_STD_TEX_STATIC);
    EXPECT_EQ(kept ? kept : "(empty)", slot4);
    float w, top, bottom;
    ASSERT_EQ(Textures()->GetTexButDrawExtra(Textures()->GetTexButNumFromID("Back1"), &w, &top, &bottom), 1);
    EXPECT_FLOAT_EQ(w, 8);
    EXPECT_FLOAT_EQ(top, 4);
    EXPECT_FLOAT_EQ(bottom, 4);
}

TEST_F(SkinTest, MirroredAndMultipliedButtonsDrawSo)
{
    ASSERT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(mwin), 1);
    ASSERT_EQ(Textures()->CreateTextures(), 1);
    // One piece each (no slicing): the quad spans the table's area.
    const struct {
        const char *id;
        float u0, v0, u1, v1;
    } cases[] = {
        {"ArrowL", 0.007f, 0.635f, 0.124f, 0.875f},
        {"ArrowR", 0.002f, 0.629f, 0.124f, 0.875f},
        {"Box", 0, 0, 1, 1},
        {"Black2", 0.661f, 0.784f, 0.711f, 0.841f},
    };
    for (const auto &c : cases) {
        Draw(c.id, 40, 40);
        std::vector<DrawnQuad> quads = DrawnQuads();
        ASSERT_EQ(quads.size(), 1u) << c.id;
        EXPECT_NEAR(quads[0].u0, c.u0, 1e-3) << c.id;
        EXPECT_NEAR(quads[0].v0, c.v0, 1e-3) << c.id;
        EXPECT_NEAR(quads[0].u1, c.u1, 1e-3) << c.id;
        EXPECT_NEAR(quads[0].v1, c.v1, 1e-3) << c.id;
    }
    // The mirrored pair: "ArrowR" runs right to left across its area.
    Draw("ArrowR", 40, 40);
    std::vector<ReadVertex> v = ReadVertices(D3D9RecordingGetDraws().at(0));
    ASSERT_FALSE(v.empty());
    const ReadVertex *leftmost = &v[0];
    for (const ReadVertex &x : v)
        if (x.x < leftmost->x)
            leftmost = &x;
    EXPECT_NEAR(leftmost->u, 0.124f, 1e-3);
    // "Back3" is sliced and greyed by its multiplier.
    Draw("Back3", 200, 200);
    std::vector<DrawnQuad> back3 = DrawnQuads();
    ASSERT_FALSE(back3.empty());
    EXPECT_EQ(back3[0].colour, 0xff989898u);
}

// The data generator paints the atlas from its own copy of the skin's areas
// and draw extras (it does not link the game): a change to one table and
// not the other leaves pieces under the wrong areas or margins too narrow.
TEST_F(SkinTest, TheDataGeneratorsCopyOfTheSkinAgreesWithTheGames)
{
    ASSERT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(mwin), 1);
    ASSERT_EQ(Textures()->CreateTextures(), 1);
    // Each state drawn large: its pieces together span the state's area.
    const char *state_names[] = {"normal", "highlighted", "pressed", "disabled"};
    for (const SkinArea &a : SKIN_AREAS) {
        int state = 0;
        while (state < 3 && std::strcmp(state_names[state], a.state) != 0)
            state++;
        ASSERT_STREQ(state_names[state], a.state) << a.button;
        D3D9RecordingReset();
        ASSERT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        EXPECT_EQ(Textures()->DrawTexBut(Textures()->GetTexButNumFromID(a.button),
                                         static_cast<_MWinTextureState>(state), 0, 0, 300, 300, nullptr),
                  1)
            << a.button;
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
        std::vector<DrawnQuad> quads = DrawnQuads();
        ASSERT_FALSE(quads.empty()) << a.button << " " << a.state;
        float u0 = 1, v0 = 1, u1 = 0, v1 = 0;
        for (const DrawnQuad &q : quads) {
            u0 = std::min({u0, q.u0, q.u1});
            v0 = std::min({v0, q.v0, q.v1});
            u1 = std::max({u1, q.u0, q.u1});
            v1 = std::max({v1, q.v0, q.v1});
        }
        EXPECT_NEAR(u0, std::min(a.left, a.right), 1e-3) << a.button << " " << a.state;
        EXPECT_NEAR(v0, std::min(a.top, a.bottom), 1e-3) << a.button << " " << a.state;
        EXPECT_NEAR(u1, std::max(a.left, a.right), 1e-3) << a.button << " " << a.state;
        EXPECT_NEAR(v1, std::max(a.top, a.bottom), 1e-3) << a.button << " " << a.state;
    }
    for (const SkinExtra &e : SKIN_EXTRAS) {
        float w = 0, top = 0, bottom = 0;
        ASSERT_EQ(Textures()->GetTexButDrawExtra(Textures()->GetTexButNumFromID(e.button), &w, &top, &bottom), 1)
            << e.button;
        EXPECT_NEAR(w, e.extra_w, 1e-5) << e.button;
        EXPECT_NEAR(top, e.extra_top, 1e-5) << e.button;
        EXPECT_NEAR(bottom, e.extra_bottom, 1e-5) << e.button;
    }
}

TEST_F(SkinTest, FailuresAreLoggedAndTheRestIsStillMade)
{
    EXPECT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(nullptr), 0);
    EXPECT_TRUE(LogHas("No mwinp"));
    // A second set-up finds every game button there already: each is
    // reported by its id, and the standard ones are replaced all the same.
    ASSERT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(mwin), 1);
    EXPECT_EQ(HiveWatcherMWinSetupTexturesAndTexButs(mwin), 0);
    EXPECT_TRUE(LogHas("Could not load texbut <ArrowL>"));
    EXPECT_TRUE(LogHas("Could not load texbut <TitleInv>"));
    EXPECT_FALSE(LogHas("Could not load standard texbut"));
    EXPECT_STREQ(Textures()->GetStandardTexButID(MWIN_STD_TEX_PANEL), "StdPanel");
}

TEST_F(SkinTest, FontGuardsAndCreation)
{
    EngFont game_font;
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(0, "Data/1000.dat", nullptr), 0);
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(0, nullptr, &game_font), 0);
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(0, "", &game_font), 0);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(1, "Data/1000.dat", &game_font), 0);
    EXPECT_TRUE(LogHas("Bad font number 1"));
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(0, "Data/missing.dat", &game_font), 0);
    EXPECT_TRUE(LogHas("EngFont::Create failed <Main>"));
    EXPECT_EQ(HiveWatcherMWinCreateFontApart(0, "Data/1000.dat", &game_font), 1);
    EXPECT_EQ(game_font.IsCreated(), 1);
}

TEST_F(SkinTest, LayoutMetricsGoToTheirFields)
{
    HiveWatcherMWinSetupLayoutSettings(nullptr);
    _MWinSettings before;
    mwin->GetSettings(&before);
    HiveWatcherMWinSetupLayoutSettings(mwin);
    const _MWinSettings *s = mwin->GetSettingsP();
    EXPECT_EQ(s->m_shrink_to_fit, 1);
    EXPECT_EQ(s->m_choice_style, 0);
    using L = _MWinLayoutSettings;
    const struct {
        int layout;
        float L::*metric;
        float value;
    } cases[] = {
        {0, &L::m_button_w, 60},         {0, &L::m_button_h, 20},          {1, &L::m_button_h, 45},
        {4, &L::m_button_h, 35},         {0, &L::m_text_scale_x, 0},       {1, &L::m_text_scale_x, 2.5f},
        {0, &L::m_text_margin, 4.5f},    {0, &L::m_text_margin_per_w, 0},  {0, &L::m_two_line_spacing, 7.1f},
        {2, &L::m_hthumb_w, 45.1f},      {3, &L::m_checkbox_offset, 9},    {4, &L::m_checkbox_offset, 5.9f},
    };
    for (const auto &c : cases)
        EXPECT_FLOAT_EQ(s->m_layouts[c.layout].*c.metric, c.value) << c.layout;
    // The metrics the art does not name keep the toolkit's defaults: the
    // title bar, window scrolling and the panel text inset among them.
    for (float L::*kept : {&L::m_title_h, &L::m_title_text_inset, &L::m_win_vscroll_w, &L::m_win_hthumb_h,
                           &L::m_panel_text_inset, &L::m_choice_inset})
        for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++)
            EXPECT_FLOAT_EQ(s->m_layouts[layout].*kept, before.m_layouts[layout].*kept) << layout;
}

} // namespace
