// The texture and font registries as far as the windows and controls use
// them: registering, the standard slots, drawing a state (falling back to
// the normal state) with the colour rule, and fonts by identifier.
#include "tests/support/GuiTestKit.h"

#include <string>

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

    // A control on the default font draws its background and no text.
    MWinWindow *window = AddWindow(AddCollection("Main"), "Win", 10, 40, 100, 100);
    MWinButton *button = window->AddButton("B", MWBT_PUSH, "Red", "Text", 0, 0, 50, 20);
    EXPECT_FALSE(button->SetFont("Other"));
    EXPECT_TRUE(LogHasLine("User font <Other> not found"));
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuadsOfColour(0xFFFF0000).size(), 1u);
}

} // namespace
