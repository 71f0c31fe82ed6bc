// The game's skin on the toolkit kit: the texture buttons cut from the
// generated atlas (mirrored where the table swaps a pair, multiplied where
// it gives a colour), the standard slots it replaces and the one it keeps,
// failures that go on, the font's guards and the layout metrics.
#include "game/HiveWatcherMWin.h"

#include "engine/graphics/EngFont.h"
#include "tests/support/GuiTestKit.h"
#include "tests/support/TestLog.h"
#include "tests/support/TestData.h"

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
    auto field = [](const _MWinLayoutSettings &layout, int n) {
        float value;
        std::memcpy(&value, reinterpret_cast<const unsigned char *>(&layout) + (n - 1) * 4, 4);
        return value;
    };
    const struct {
        int layout, field;
        float value;
    } cases[] = {{0, 1, 60}, {0, 2, 20}, {1, 2, 45}, {4, 2, 35}, {0, 13, 7.1f}, {2, 19, 45.1f}, {3, 32, 9}, {4, 32, 5.9f}};
    for (const auto &c : cases)
        EXPECT_FLOAT_EQ(field(s->m_layouts[c.layout], c.field), c.value) << c.layout << " " << c.field;
    // Fields the skin does not name keep the toolkit's defaults.
    for (int n : {5, 6, 7, 8, 14})
        EXPECT_EQ(std::memcmp(reinterpret_cast<const unsigned char *>(&s->m_layouts[0]) + (n - 1) * 4,
                              reinterpret_cast<const unsigned char *>(&before.m_layouts[0]) + (n - 1) * 4, 4),
                  0)
            << n;
}

} // namespace
