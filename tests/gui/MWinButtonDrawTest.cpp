// Button geometry, texts and drawing: screen and crop rectangles against
// the window, text slots and language tokens, drawing and measuring with
// and without a font, the colour multiplier rules, the render sequence
// with its extra callback and crop, custom texture buttons and attached
// textures and pictures, read back from the recording device.
#include "tests/support/GuiTestKit.h"

#include "engine/graphics/EngPicture.h"
#include "gui/MWinProgressCircle.h"
#include "gui/MWinRangeSlider.h"
#include "tests/support/TestLog.h"

#include <string>
#include <vector>

namespace {

const DWORD kRed = 0xFFFF0000;

class MWinButtonDrawTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;

    // A window at 100, 100 of 200 x 100 with the skin's background, so its
    // controls are cropped 3 units inside its edges.
    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 200, 100);
    }
    MWinButton *AddRed(const char *text = "OK")
    {
        return window->AddButton("B", MWBT_PUSH, "Red", text, 10, 10, 60, 20);
    }

    // English texts with a one-line and a two-line token.
    void LoadLanguage() { LoadEnglish("One=Only\nTwo=Upper#Lower"); }

    // The glyphs drawn: every quad not drawn with the skin's texture.
    static std::vector<DrawnQuad> Glyphs(const void *skin)
    {
        std::vector<DrawnQuad> glyphs;
        for (const DrawnQuad &quad : DrawnQuads())
            if (quad.texture && quad.texture != skin)
                glyphs.push_back(quad);
        return glyphs;
    }
};

TEST_F(MWinButtonDrawTest, ScreenAndCropRectangles)
{
    ASSERT_TRUE(mwin->GetTextures()->AddTextureButton("Wide", "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0,
                                                      "", 0, 0, 0, 0));
    ASSERT_TRUE(mwin->GetTextures()->SetTexButDrawExtra("Wide", 4, 2, 3));
    struct Case {
        const char *label;
        const char *texbut;
        _Dimension place, screen, crop;
        bool on_screen;
    } cases[] = {
        {"inside", "Red", {10, 10, 60, 20}, {110, 110, 60, 20}, {110, 110, 60, 20}, true},
        {"over the top-left border", "Red", {-20, -10, 60, 30}, {80, 90, 60, 30}, {103, 103, 37, 17}, true},
        {"over the bottom-right border", "Red", {180, 90, 40, 40}, {280, 190, 40, 40}, {280, 190, 17, 7}, true},
        {"beside the window: nothing to draw", "Red", {300, 10, 20, 20}, {400, 110, 20, 20}, {400, 110, 0, 0},
         true},
        {"off the screen", "Red", {600, 10, 20, 20}, {700, 110, 20, 20}, {700, 110, 0, 0}, false},
        {"extras widen the crop by their whole width", "Wide", {50, 40, 40, 20}, {150, 140, 40, 20},
         {146, 138, 48, 25}, true},
        {"too small", "Red", {10, 10, 1, -1}, {110, 110, 2, 20}, {110, 110, 2, 20}, true},
    };
    MWinButton *button = AddRed();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        button->SetBackTexButToTexBut(c.texbut);
        button->SetPosAndSize(c.place.x, c.place.y, c.place.w, c.place.h);
        _Dimension screen;
        ASSERT_TRUE(button->GetScreenDimension(&screen));
        const _Dimension *crop = button->GetCropDimension();
        const float got[] = {screen.x, screen.y, screen.w, screen.h, crop->x, crop->y, crop->w, crop->h};
        const float want[] = {c.screen.x, c.screen.y, c.screen.w, c.screen.h,
                              c.crop.x,   c.crop.y,   c.crop.w,   c.crop.h};
        for (int i = 0; i < 8; i++)
            EXPECT_NEAR(got[i], want[i], 1e-3) << i;
        EXPECT_EQ(button->IsOnScreen(), c.on_screen);
    }

    // The text range evens out its margins; a checkbox keeps room for its box.
    button->SetPosAndSize(10, 10, 60, 20);
    float left = 0, right = 0;
    button->GetTextHorzRange(&left, &right, -1);
    EXPECT_EQ(left, 110 + button->GetTextMargin());
    EXPECT_EQ(right, 170 - button->GetTextMargin());
    MWinButton *check = window->AddButton("Check", MWBT_CHECKBOX, "Red", "", 10, 40, 100, 20);
    const _MWinLayoutSettings *l = window->GetScreenLayout();
    check->GetTextHorzRange(&left, &right, 5);
    float box = 2 * (l->m_checkbox_w + l->m_checkbox_gap) + 5;
    EXPECT_NEAR(left, 110 + box, 1e-3);
    EXPECT_NEAR(right, 210 - box, 1e-3);
}

TEST_F(MWinButtonDrawTest, TextSlotsAreStoredWholeAndFormattedBounded)
{
    MWinButton *button = AddRed();
    button->SetTextPrintf("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(std::string(button->GetTextP()), std::string(510, 'x'));
    button->SetTextPrintf("%d-%s", 7, "up");
    EXPECT_STREQ(button->GetTextP(), "7-up");

    DebugClearLogs();
    button->SetText(std::string(600, 'y').c_str());
    EXPECT_EQ(std::string(button->GetTextP()).size(), 600u);
    EXPECT_TRUE(LogHasLine("String too long"));

    EXPECT_EQ(button->GetTextP2(), nullptr);
    EXPECT_TRUE(LogHasLine("No text present. Ensure call HasText2() first."));
    button->SetText2("Second");
    EXPECT_STREQ(button->GetTextP(1), "Second");
    EXPECT_FALSE(button->HasText(2));
    EXPECT_TRUE(LogHasLine("Invalid text number 2"));
    EXPECT_FALSE(button->AllocAndSetText(2, "x"));
    EXPECT_TRUE(LogHasLine("Invalid text num"));
    button->SetText("");
    EXPECT_FALSE(button->HasText(0));
    EXPECT_EQ(button->GetTextP(), nullptr);
}

TEST_F(MWinButtonDrawTest, LanguageTokensAndTwoLines)
{
    LoadLanguage();
    MWinButton *button = AddRed("Own");
    ASSERT_TRUE(button->SetFont("Main"));
    EXPECT_FALSE(button->SetLangToken("Missing"));
    EXPECT_FALSE(button->UsesLangToken());
    EXPECT_STREQ(button->GetTextP(), "Own") << "the control keeps its own text";
    EXPECT_FALSE(button->SetLangToken(std::string(64, 't').c_str()));

    // Where each line lands: the glyph quads are placed by the world matrix.
    auto line_origins = [] {
        std::vector<float> ys;
        for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws())
            if (ReadVertices(draw).at(0).colour != kRed && draw.state.textures[0])
                ys.push_back(draw.state.world.m[3][1]);
        return ys;
    };
    ASSERT_TRUE(button->SetLangToken("One"));
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<float> one = line_origins();
    ASSERT_EQ(one.size(), 5u) << "the window's background and Only";

    ASSERT_TRUE(button->SetLangToken("Two"));
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<float> two = line_origins();
    ASSERT_EQ(two.size(), 11u) << "the window's background, Upper and Lower";
    // Two lines, the two-line spacing (10) above and below the single line.
    float shift = two[1] - one[1];
    EXPECT_NEAR(std::abs(shift), 10, 0.5);
    EXPECT_NEAR(two[6] - one[1], -shift, 0.5);

    // A language change re-resolves the token; a text set since stays.
    mwin->LanguageChanged();
    EXPECT_TRUE(button->UsesLangToken());
    button->SetText("Mine");
    mwin->LanguageChanged();
    EXPECT_FALSE(button->UsesLangToken());
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(line_origins().size(), 5u) << "the window's background and Mine";
}

TEST_F(MWinButtonDrawTest, ACheckboxFollowingATokenDrawsAndMeasuresTheTokensText)
{
    LoadLanguage();
    MWinButton *box = window->AddButton("Box", MWBT_CHECKBOX, "MWIN_TEXBUT_NONE", "", 10, 10, 150, 20);
    ASSERT_TRUE(box->SetFont("Main"));
    ASSERT_TRUE(box->SetLangToken("One"));
    D3D9RecordingReset();
    mwin->RenderMain();
    const void *skin = DrawnQuads().at(0).texture; // the window's background
    EXPECT_EQ(Glyphs(skin).size(), 4u) << "Only";
    EXPECT_FALSE(LogHasLine("No text present"));
    // The centred box is placed after the text it measures: the token's.
    EXPECT_GT(box->GetTextWidth(), 0);
}

TEST_F(MWinButtonDrawTest, ShrinkToFitWithNoRoomLeftDrawsNoText)
{
    MWinButton *button = AddRed("Wide text");
    ASSERT_TRUE(button->SetFont("Main"));
    D3D9RecordingReset();
    mwin->RenderMain();
    const void *skin = DrawnQuadsOfColour(kRed).at(0).texture;
    // The push button's text margin is 3 on each side.
    const struct {
        float w;
        bool drawn;
    } cases[] = {{60, true}, {8, true}, {6, false}, {2, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.w);
        button->SetPosAndSize(10, 10, c.w, 20);
        D3D9RecordingReset();
        mwin->RenderMain();
        EXPECT_EQ(!Glyphs(skin).empty(), c.drawn);
    }
}

TEST_F(MWinButtonDrawTest, AControlDrawnInsideACropStaysWithinIt)
{
    AddRed(""); // 110..170 x 110..130 on screen
    auto red_scissor = [] {
        for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws())
            if (ReadVertices(draw).at(0).colour == kRed)
                return draw.state.scissor;
        ADD_FAILURE() << "the control was not drawn";
        return RECT{};
    };
    // A screen's drawing that crops, then draws its controls: the overlap.
    eng_device->TurnOnCrop(0, 120, 140, 360);
    D3D9RecordingReset();
    mwin->RenderMain();
    RECT scissor = red_scissor();
    EXPECT_EQ(scissor.left, 110);
    EXPECT_EQ(scissor.top, 120);
    EXPECT_EQ(scissor.right, 140);
    EXPECT_EQ(scissor.bottom, 130);
    EXPECT_FALSE(eng_device->IsCropOn());

    // No overlap leaves an empty crop.
    eng_device->TurnOnCrop(300, 0, 20, 480);
    D3D9RecordingReset();
    mwin->RenderMain();
    scissor = red_scissor();
    EXPECT_EQ(scissor.right - scissor.left, 0);

    // Without an outer crop the control's own crop holds, as before.
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(red_scissor().right, 170);
}

TEST_F(MWinButtonDrawTest, ProgressCirclesAndRangeSlidersAddedByKindWorkAndDrawTheirPictureLast)
{
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile("skin.png", 1, 2));
    ASSERT_TRUE(mwin->GetTextures()->SetStandardTextureToTexBut(MWIN_STD_TEX_SCROLL_BUTTON, "Green"));
    const struct {
        _MWinButtonType kind;
        const char *what;
    } kinds[] = {{MWBT_PROGRESS_CIRCLE, "progress circle"}, {MWBT_RANGE_SLIDER, "range slider"}};
    for (const auto &k : kinds) {
        SCOPED_TRACE(k.what);
        window->RemoveAllButtons();
        MWinButton *control = window->AddButton("Gauge", k.kind, "Red", "", 10, 10, 80, 40);
        ASSERT_NE(control, nullptr);
        if (k.kind == MWBT_PROGRESS_CIRCLE)
            EXPECT_NE(dynamic_cast<MWinProgressCircle *>(control), nullptr);
        else
            EXPECT_NE(dynamic_cast<MWinRangeSlider *>(control), nullptr);
        ASSERT_TRUE(control->PictureAttachTextureToButton(&texture, 0));
        D3D9RecordingReset();
        mwin->RenderMain();
        std::vector<DrawnQuad> quads = DrawnQuads();
        ASSERT_GE(quads.size(), 4u) << "window, background, the kind's parts, picture";
        const DrawnQuad &picture = quads.back();
        EXPECT_NE(picture.texture, quads[0].texture) << "the attached texture, not the skin";
        EXPECT_NEAR(picture.x, 110, 0.01);
        EXPECT_NEAR(picture.w, 80, 0.01);
        EXPECT_EQ(quads[1].colour, kRed) << "the background first";
        // Between them the discs or the rail.
        EXPECT_GE(quads.size() - 3, k.kind == MWBT_PROGRESS_CIRCLE ? 3u : 1u);
    }
}

TEST_F(MWinButtonDrawTest, WithoutAFontNothingIsDrawnOrMeasured)
{
    MWinButton *plain = AddRed("Text");
    MWinButton *lines = window->AddButton("Lines", MWBT_STATIC, "Red", "", 10, 40, 100, 50);
    lines->SetMultilineText("one two three four five six seven");
    ASSERT_EQ(plain->GetFontNum(), MWIN_FONT_DEFAULT);
    EXPECT_EQ(plain->GetFont(), nullptr);
    EXPECT_EQ(plain->GetTextWidth(), 0);
    float w = 1, h = 1;
    EXPECT_FALSE(lines->GetMultilineTextSize(&w, &h));
    EXPECT_EQ(w + h, 0);
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuadsOfColour(kRed).size(), 2u);
    EXPECT_TRUE(Glyphs(DrawnQuadsOfColour(kRed)[0].texture).empty());

    // With the skin's font both measure and draw.
    ASSERT_TRUE(plain->SetFont("Main"));
    ASSERT_TRUE(lines->SetFont("Main"));
    EXPECT_GT(plain->GetTextWidth(), 0);
    EXPECT_TRUE(lines->GetMultilineTextSize(&w, &h));
    EXPECT_GT(w, 0);
    EXPECT_LE(w, 100);
    EXPECT_GT(h, 0);
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_FALSE(Glyphs(DrawnQuadsOfColour(kRed)[0].texture).empty());
    EXPECT_TRUE(plain->SetFont("MWIN_FONT_NONE"));
    EXPECT_EQ(plain->GetTextWidth(), 0);
}

// What the extra render callback was given.
struct RenderLog {
    int calls = 0;
    _Dimension area = {};
    _MWinTextureState state = MWTS_NORMAL;
};

void RecordRender(MWinButton *, _Dimension *area, _MWinTextureState state, int value, void *user)
{
    RenderLog *log = static_cast<RenderLog *>(user);
    log->calls += value;
    log->area = *area;
    log->state = state;
}

TEST_F(MWinButtonDrawTest, TheRenderSequenceCropsAndTheMultiplierRules)
{
    MWinButton *button = AddRed("");
    RenderLog log;
    button->SetExtraRenderCallback(RecordRender, 1, &log);
    D3D9RecordingReset();
    mwin->RenderMain();
    ASSERT_EQ(log.calls, 1);
    EXPECT_EQ(log.area.x, 110);
    EXPECT_EQ(log.area.w, 60);
    // The background is drawn inside the control's crop, which goes afterwards.
    bool found = false;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws()) {
        if (ReadVertices(draw).at(0).colour != kRed)
            continue;
        found = true;
        EXPECT_EQ(draw.state.render_states[D3DRS_SCISSORTESTENABLE], 1u);
        EXPECT_EQ(draw.state.scissor.left, 110);
        EXPECT_EQ(draw.state.scissor.bottom, 130);
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(eng_device->IsCropOn());

    // The multiplier applies to the background (times the state's own).
    button->SetColourMultiplier(1, 1, 1, 0.5f);
    button->SetTextColour(1, -1, -1, -1);
    EXPECT_EQ(button->GetColourMultiplierMode(), 2) << "the text keeps its own colour";
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuadsOfColour(0x7FFF0000).size(), 1u);

    // Alpha 0 hides the control, its callback included.
    button->SetColourMultiplierAlpha(0);
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_TRUE(DrawnQuadsOfColour(0x00FF0000).empty());
    EXPECT_EQ(log.calls, 2);

    // Alpha 1 on a control that never had a multiplier changes nothing.
    MWinButton *other = window->AddButton("Other", MWBT_PUSH, "Red", "", 10, 40, 60, 20);
    other->SetColourMultiplierAlpha(1);
    EXPECT_EQ(other->GetColourMultiplierMode(), 0);

    // A crop clipped to nothing suppresses everything.
    button->SetColourMultiplierAlpha(1);
    button->SetPos(300, 10);
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(DrawnQuadsOfColour(kRed).size(), 1u) << "only the other control";
}

TEST_F(MWinButtonDrawTest, CustomTextureButtonsAndAttachedPictures)
{
    EngTexture texture;
    MWinButton *button = AddRed("");

    // A texture not loaded yet is attached with a warning; its coordinates wait.
    EXPECT_TRUE(button->PictureAttachTextureToButton(&texture, 0));
    EXPECT_TRUE(LogHasLine("Warning: texture is not loaded"));
    button->PictureSetTextureCoordinates(0, 0, 1, 1);
    EXPECT_TRUE(LogHasLine("Texture Not Ok"));

    ASSERT_TRUE(texture.LoadFromFile("skin.png", 1, 2));
    button->PictureSetTextureCoordinates(0.25f, 0.25f, 0.75f, 0.5f);
    button->PictureSetAllMarginsPercentage(10);
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> quads = DrawnQuads();
    ASSERT_GE(quads.size(), 2u);
    const DrawnQuad &picture = quads.back();
    EXPECT_NEAR(picture.x, 110 + 6, 0.01);
    EXPECT_NEAR(picture.y, 110 + 2, 0.01);
    EXPECT_NEAR(picture.w, 48, 0.01);
    EXPECT_NEAR(picture.h, 16, 0.01);
    EXPECT_NEAR(picture.u0, 0.25, 1e-4);
    EXPECT_NEAR(picture.v1, 0.5, 1e-4);
    EXPECT_EQ(quads[quads.size() - 2].colour, kRed) << "after the background";

    // A null picture detaches everything.
    EXPECT_FALSE(button->PictureAttachPictureToButton(nullptr, 1));
    EXPECT_TRUE(LogHasLine("No picture"));
    EXPECT_EQ(button->GetAttachedTexture(), nullptr);
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuads().size(), 2u) << "window and control backgrounds";

    // An animated picture makes the control's tick report a change.
    EngPicture animated;
    EXPECT_FALSE(button->Tick(0));
    ASSERT_TRUE(button->PictureAttachPictureToButton(&animated, 1));
    EXPECT_TRUE(button->Tick(0));
    button->PictureRemoveFromButton();
    EXPECT_FALSE(button->Tick(0));

    // A custom texture button draws the texture whole, times the multiplier.
    ASSERT_TRUE(button->SetCustomTexButTexture(&texture));
    EXPECT_FALSE(button->HasTexBut());
    button->SetColourMultiplier(0, 1, 0, 1);
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> green = DrawnQuadsOfColour(0xFF00FF00);
    ASSERT_EQ(green.size(), 1u);
    EXPECT_NEAR(green[0].u1, 1, 1e-4);
    button->SetBackTexButToTexBut("Red");
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_EQ(DrawnQuadsOfColour(0xFF00FF00).size(), 0u) << "a registered texture button replaces it";
    texture.Destroy();
}

} // namespace
