// The texture and font registries as far as the windows and controls use
// them: registering, the standard slots, drawing a state (falling back to
// the normal state) with the colour rule, and fonts by identifier.
#include "tests/support/GuiTestKit.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class MWinTexturesTest : public GuiTest {
protected:
    MWinTextures *textures = nullptr;
    void SetUp() override
    {
        GuiTest::SetUp();
        textures = mwin->GetTextures();
    }

    // Draws in a frame set up for 2D, as the toolkit's render pass does.
    void InFrame(const std::function<void()> &draw)
    {
        ASSERT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        draw();
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
    }
};

TEST_F(MWinTexturesTest, RegistrationsAreCheckedAndLimited)
{
    EXPECT_FALSE(textures->AddTexture("None", "", 1, 2));
    EXPECT_TRUE(LogHasLine("No filename passed in"));
    EXPECT_FALSE(textures->AddTexture("Gone", "gone.png", 1, 2));
    EXPECT_TRUE(LogHasLine("File does not exist <gone.png>"));
    EXPECT_FALSE(textures->AddTexture("Long", std::string(300, 'a').c_str(), 1, 2));
    EXPECT_TRUE(LogHasLine("Filename too long"));
    // The kit registered one; 63 more fit.
    for (int i = 1; i < MWIN_MAX_TEXTURES; i++)
        ASSERT_TRUE(textures->AddTexture(("T" + std::to_string(i)).c_str(), "skin.png", 1, 2)) << i;
    EXPECT_FALSE(textures->AddTexture("T64", "skin.png", 1, 2));
    EXPECT_TRUE(LogHasLine("Too many textures"));

    EXPECT_EQ(textures->AddTextureButton("White", "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              nullptr);
    EXPECT_TRUE(LogHasLine("Texture button alread exits <White>"));
    EXPECT_EQ(textures->AddTextureButton("", "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              nullptr);
    EXPECT_TRUE(LogHasLine("Invalid ID passed in"));
    // A state naming an unknown texture is reported but the button is made.
    EXPECT_NE(textures->AddTextureButton("Odd", "Nope", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              nullptr);
    EXPECT_TRUE(LogHasLine("Texture <Nope> does not exist"));

    EXPECT_FALSE(textures->SetStandardTextureToTexBut(33, "White"));
    EXPECT_TRUE(LogHasLine("Invalid std tex num 33"));
    EXPECT_FALSE(textures->SetStandardTextureToTexBut(5, "Missing"));
    EXPECT_TRUE(LogHasLine("Texture Button <Missing> does not exist"));
    EXPECT_EQ(textures->GetStandardTexButNum(MWIN_STD_TEX_STATIC), -1) << "left empty";
    EXPECT_EQ(textures->GetStandardTexButNum(-1), -1);
    EXPECT_TRUE(LogHasLine("Invalid standard texbut num: -1"));
}

TEST_F(MWinTexturesTest, AStateWithoutPictureDrawsTheNormalOneWithItsMultiplier)
{
    int red = textures->GetTexButNumFromID("Red");
    ASSERT_GE(red, 0);
    const _ColourRGBA half = {1, 1, 1, 0.5f};
    struct Case {
        _MWinTextureState state;
        const _ColourRGBA *colour;
        DWORD drawn;
    } cases[] = {
        {MWTS_NORMAL, nullptr, 0xFFFF0000},
        {MWTS_PRESSED, nullptr, 0xFFFF0000},
        {MWTS_DISABLED, &half, 0x7FFF0000},
    };
    for (const Case &c : cases) {
        D3D9RecordingReset();
        InFrame([&] { EXPECT_TRUE(textures->DrawTexBut(red, c.state, 10, 20, 30, 40, c.colour)); });
        std::vector<DrawnQuad> drawn = DrawnQuads();
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].colour, c.drawn) << c.state;
        EXPECT_NEAR(drawn[0].x, 10, 0.01);
        EXPECT_NEAR(drawn[0].h, 40, 0.01);
    }
    // Alpha 0 turns the multiplier off (and is still a success).
    EXPECT_TRUE(textures->SetTextureButtonStateColourMultiplierRGBA("Red", MWTS_NORMAL, 1, 0, 0, 0));
    D3D9RecordingReset();
    InFrame([&] { textures->DrawTexBut(red, MWTS_NORMAL, 0, 0, 10, 10, nullptr); });
    EXPECT_EQ(DrawnQuads().at(0).colour, 0xFFFFFFFFu);
    EXPECT_FALSE(textures->SetTextureButtonStateColourMultiplierRGBA("", MWTS_NORMAL, 1, 0, 0, 1));
    EXPECT_TRUE(LogHasLine("Empty texbut ID"));

    // Bad numbers and unloaded textures draw nothing and say nothing.
    DebugClearLogs();
    EXPECT_FALSE(textures->DrawTexBut(999, MWTS_NORMAL, 0, 0, 10, 10, nullptr));
    EXPECT_FALSE(textures->DrawTexBut(-1, MWTS_NORMAL, 0, 0, 10, 10, nullptr));
    mwin->DestroyGraphicsObjects();
    EXPECT_FALSE(textures->DrawTexBut(red, MWTS_NORMAL, 0, 0, 10, 10, nullptr));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(MWinTexturesTest, FontsByIdentifierAndNumber)
{
    MWinFonts *fonts = mwin->GetFonts();
    EXPECT_EQ(fonts->GetFontNumFromID("Main"), 0);
    EXPECT_EQ(fonts->GetFont(0), &font);
    EXPECT_EQ(fonts->GetFontNumFromID("MWIN_FONT_DEFAULT"), MWIN_FONT_DEFAULT);
    EXPECT_EQ(fonts->GetFont(MWIN_FONT_DEFAULT), nullptr) << "nothing fills the standard font";
    EXPECT_EQ(fonts->GetFontNumFromID("MWIN_FONT_NONE"), MWIN_FONT_NONE);
    DebugClearLogs();
    EXPECT_EQ(fonts->GetFontNumFromID(""), MWIN_FONT_NONE);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(fonts->GetFontNumFromID("Other"), MWIN_FONT_NONE);
    EXPECT_TRUE(LogHasLine("Font <Other> does not exist"));
    EXPECT_EQ(fonts->AddUserFontPointer("Main", &font), MWIN_FONT_NONE);
    EXPECT_TRUE(LogHasLine("Font <Main> already created"));
    EXPECT_EQ(fonts->GetFont(5), nullptr);
    EXPECT_EQ(fonts->GetFont(MWIN_FONT_NONE), nullptr);
    EXPECT_EQ(fonts->AddUserFontPointer("", &font), MWIN_FONT_NONE);
    EXPECT_TRUE(LogHasLine("No id specified"));
    EXPECT_EQ(fonts->AddUserFontPointer("Null", nullptr), MWIN_FONT_NONE);
    EXPECT_TRUE(LogHasLine("No font passed in"));

    EXPECT_EQ(fonts->GetUserFont("Main", 1), &font);
    DebugClearLogs();
    EXPECT_EQ(fonts->GetUserFont("Other", 0), nullptr);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(fonts->GetUserFont("Other", 1), nullptr);
    EXPECT_TRUE(LogHasLine("Font <Other> does not exist"));
    // Releasing the graphics leaves the caller's font usable, and its number.
    mwin->DestroyGraphicsObjects();
    EXPECT_FALSE(fonts->IsCreated());
    EXPECT_EQ(fonts->GetFont(0), &font);
    EXPECT_TRUE(fonts->CreateFonts());
    mwin->CreateGraphicsObjects();

    // A control on the default font draws its background and no text.
    MWinWindow *window = AddWindow(AddCollection("Main"), "Win", 10, 40, 100, 100);
    MWinButton *button = window->AddButton("B", MWBT_PUSH, "Red", "Text", 0, 0, 50, 20);
    EXPECT_FALSE(button->SetFont("Other"));
    EXPECT_TRUE(LogHasLine("User font <Other> not found"));
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuadsOfColour(0xFFFF0000).size(), 1u);
}

// How a texture button is stretched over a rectangle: whole, in three or
// nine parts, with its extras, and with a state that has no picture. The
// state area is the right half of the top half, so a fraction s of it is
// texture u = 0.5 + 0.5 s, v = 0.5 t.
TEST_F(MWinTexturesTest, SlicingExtrasAndStateFallbackAsQuads)
{
    struct Style {
        int h_style;
        float h_border;
        int v_style;
        float v_border;
        float extra_w, extra_top, extra_bottom;
    };
    struct Case {
        const char *label;
        Style style;
        _MWinTextureState state;
        int layout;
        _Dimension area;
        std::vector<_Dimension> quads;
    } cases[] = {
        {"whole", {1, 16, 1, 16, 0, 0, 0}, MWTS_NORMAL, 0, {10, 20, 100, 50}, {{10, 20, 100, 50}}},
        {"three parts", {2, 16, 1, 16, 0, 0, 0}, MWTS_NORMAL, 0, {10, 20, 100, 50},
         {{10, 20, 16, 50}, {26, 20, 68, 50}, {94, 20, 16, 50}}},
        {"borders too wide: 32 is not less than 20", {2, 16, 1, 16, 0, 0, 0}, MWTS_NORMAL, 0, {10, 20, 20, 50},
         {{10, 20, 20, 50}}},
        {"nine parts, the 12-unit vertical border drawn 16 high", {2, 16, 2, 12, 0, 0, 0}, MWTS_NORMAL, 0,
         {10, 20, 100, 50},
         {{10, 20, 16, 16},
          {26, 20, 68, 16},
          {94, 20, 16, 16},
          {10, 36, 16, 18},
          {26, 36, 68, 18},
          {94, 36, 16, 18},
          {10, 54, 16, 16},
          {26, 54, 68, 16},
          {94, 54, 16, 16}}},
        {"vertical border too tall once enlarged (2 x 16 >= 30)", {2, 16, 2, 12, 0, 0, 0}, MWTS_NORMAL, 0,
         {10, 20, 100, 30}, {{10, 20, 16, 30}, {26, 20, 68, 30}, {94, 20, 16, 30}}},
        {"extras widen both sides by half and grow top and bottom", {1, 16, 1, 16, 10, 4, 6}, MWTS_NORMAL, 0,
         {10, 20, 100, 50}, {{5, 16, 110, 60}}},
        {"a pressed state without picture draws the normal one", {1, 16, 1, 16, 0, 0, 0}, MWTS_PRESSED, 0,
         {10, 20, 100, 50}, {{10, 20, 100, 50}}},
        {"portrait layouts widen the border 2.4 times", {2, 16, 1, 16, 0, 0, 0}, MWTS_NORMAL, 3, {10, 20, 100, 50},
         {{10, 20, 38.4f, 50}, {48.4f, 20, 23.2f, 50}, {71.6f, 20, 38.4f, 50}}},
    };
    ASSERT_NE(textures->AddTextureButton("Frame", "Skin", 0.5f, 0, 1, 0.5f, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0,
                                         0, 0),
              nullptr);
    int frame = textures->GetTexButNumFromID("Frame");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const Style &st = c.style;
        ASSERT_TRUE(textures->SetTexButDrawStyle("Frame", st.h_style, 0.25f, st.h_border, st.v_style, 0.25f,
                                                 st.v_border));
        ASSERT_TRUE(textures->SetTexButDrawExtra("Frame", st.extra_w, st.extra_top, st.extra_bottom));
        mwin->SetScreenLayout(c.layout);
        D3D9RecordingReset();
        InFrame([&] { EXPECT_TRUE(textures->DrawTexButInArea(frame, c.state, &c.area, nullptr)); });
        mwin->SetScreenLayout(0);
        std::vector<DrawnQuad> drawn = DrawnQuads();
        ASSERT_EQ(drawn.size(), c.quads.size());
        float u_left = 2, u_right = -1, v_top = 2, v_bottom = -1;
        for (size_t i = 0; i < drawn.size(); i++) {
            EXPECT_NEAR(drawn[i].x, c.quads[i].x, 0.01) << i;
            EXPECT_NEAR(drawn[i].y, c.quads[i].y, 0.01) << i;
            EXPECT_NEAR(drawn[i].w, c.quads[i].w, 0.01) << i;
            EXPECT_NEAR(drawn[i].h, c.quads[i].h, 0.01) << i;
            u_left = std::min(u_left, drawn[i].u0);
            u_right = std::max(u_right, drawn[i].u1);
            v_top = std::min(v_top, drawn[i].v0);
            v_bottom = std::max(v_bottom, drawn[i].v1);
        }
        // Together the pieces show exactly the state's area.
        EXPECT_NEAR(u_left, 0.5, 1e-4);
        EXPECT_NEAR(u_right, 1, 1e-4);
        EXPECT_NEAR(v_top, 0, 1e-4);
        EXPECT_NEAR(v_bottom, 0.5, 1e-4);
        if (drawn.size() == 3) {
            EXPECT_NEAR(drawn[0].u1, 0.5 + 0.5 * 0.25, 1e-4) << "the left border shows its fraction";
            EXPECT_NEAR(drawn[2].u0, 0.5 + 0.5 * 0.75, 1e-4);
        }
    }

    // A part: one quad with fractions of the area, whatever the style.
    D3D9RecordingReset();
    const _ColourRGBA red = {1, 0, 0, 1};
    InFrame([&] {
        EXPECT_TRUE(textures->DrawTexButPart(frame, MWTS_HIGHLIGHTED, 1, 2, 30, 40, 0.25f, 0, 0.75f, 1, &red));
    });
    std::vector<DrawnQuad> part = DrawnQuads();
    ASSERT_EQ(part.size(), 1u);
    EXPECT_NEAR(part[0].x, 1, 0.01);
    EXPECT_NEAR(part[0].w, 30, 0.01);
    EXPECT_NEAR(part[0].u0, 0.625, 1e-4);
    EXPECT_NEAR(part[0].u1, 0.875, 1e-4);
    EXPECT_EQ(part[0].colour, 0xFFFF0000u);
    EXPECT_FALSE(textures->DrawTexButPart(999, MWTS_NORMAL, 0, 0, 1, 1, 0, 0, 1, 1, nullptr));

    // An offset moves the area.
    D3D9RecordingReset();
    const _Dimension area = {10, 20, 20, 50};
    const float offset[2] = {5, -5};
    InFrame([&] { textures->DrawTexButInAreaWithOffset(frame, MWTS_NORMAL, &area, offset, nullptr); });
    ASSERT_FALSE(DrawnQuads().empty());
    EXPECT_NEAR(DrawnQuads()[0].x, 15, 0.01);
    EXPECT_NEAR(DrawnQuads()[0].y, 15, 0.01);
}

TEST_F(MWinTexturesTest, StylesExtrasAndStandardSlotsByIdentifier)
{
    EXPECT_FALSE(textures->SetTexButDrawStyle("Nope", 2, 0.25f, 16, 2, 0.25f, 16));
    EXPECT_TRUE(LogHasLine("Texture Button <Nope> does not exist"));
    EXPECT_FALSE(textures->SetTexButDrawExtra("Nope", 1, 1, 1));
    float w = 9, top = 9, bottom = 9;
    EXPECT_FALSE(textures->GetTexButDrawExtra(999, &w, &top, &bottom));
    EXPECT_EQ(w + top + bottom, 0);
    ASSERT_TRUE(textures->SetTexButDrawExtra("Red", 1, 2, 3));
    EXPECT_TRUE(textures->GetTexButDrawExtra(textures->GetTexButNumFromID("Red"), &w, nullptr, &bottom));
    EXPECT_EQ(w, 1);
    EXPECT_EQ(bottom, 3);

    // The skin's way of filling a slot: remove what is there, add anew.
    EXPECT_STREQ(textures->GetStandardTexButID(MWIN_STD_TEX_PUSH_BUTTON), "White");
    int white = textures->GetTexButNumFromID("White");
    EXPECT_EQ(textures->RemoveStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON), 1);
    EXPECT_EQ(textures->GetTexButNumFromID("White"), -1) << "a removed texture button is found no more";
    EXPECT_EQ(textures->RemoveStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON), 0);
    EXPECT_EQ(textures->RemoveStandardTextureButton(40), -1);
    EXPECT_TRUE(LogHasLine("Invalid standard texbut num: 40"));
    EXPECT_EQ(textures->GetStandardTexButID(MWIN_STD_TEX_PUSH_BUTTON), nullptr);
    ASSERT_TRUE(textures->AddStandardTextureButton(MWIN_STD_TEX_PUSH_BUTTON, "White", "Skin", 0, 0, 1, 1, "", 0, 0, 0,
                                                   0, "", 0, 0, 0, 0, "", 0, 0, 0, 0));
    EXPECT_GT(textures->GetStandardTexButNum(MWIN_STD_TEX_PUSH_BUTTON), white) << "the old place stays taken";
    ASSERT_TRUE(textures->SetStandardTextureButtonStateColourMultiplier(MWIN_STD_TEX_PUSH_BUTTON, MWTS_NORMAL, 0, 0,
                                                                        1, 1));
    D3D9RecordingReset();
    InFrame([&] {
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_PUSH_BUTTON), MWTS_NORMAL, 0, 0, 5, 5,
                             nullptr);
    });
    EXPECT_EQ(DrawnQuads().at(0).colour, 0xFF0000FFu);
    EXPECT_FALSE(textures->SetStandardTextureButtonStateColourMultiplier(MWIN_STD_TEX_STATIC, MWTS_NORMAL, 1, 1, 1,
                                                                         1));
    EXPECT_TRUE(LogHasLine("Empty texbut ID"));

    // 256 texture buttons at most, removed ones included.
    int made = 0;
    while (textures->AddTextureButton(("B" + std::to_string(made)).c_str(), "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "",
                                      0, 0, 0, 0, "", 0, 0, 0, 0))
        made++;
    EXPECT_EQ(made, MWIN_MAX_TEXTURE_BUTTONS - 6) << "the kit made five, and White came again";
    EXPECT_TRUE(LogHasLine("Too many texture buttons"));
}

TEST_F(MWinTexturesTest, LoadedTexturesGoWithTheRegistry)
{
    auto device_references = [] {
        ULONG count = eng_d3d_device->AddRef();
        eng_d3d_device->Release();
        return count;
    };
    ULONG before = device_references();
    MWinTextures *registry = new MWinTextures(mwin);
    ASSERT_TRUE(registry->AddTexture("A", "skin.png", 1, 2));
    ASSERT_TRUE(registry->AddTexture("B", "skin.png", 1, 2));
    ASSERT_TRUE(registry->CreateTextures());
    EXPECT_GT(device_references(), before);
    delete registry;
    EXPECT_TRUE(LogHasLine("Textures still loaded"));
    EXPECT_EQ(device_references(), before);
}

} // namespace
