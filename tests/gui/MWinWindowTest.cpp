// Windows, groups and identifiers: the identifier rules, the descriptor's
// corrections, position and size, the title bar with its buttons, adding
// and finding controls, centring a group of controls, and dragging.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinIDs.h"

#include <cstring>

#include <string>

namespace {

TEST(MWinIDsTest, CopyingIsBoundedAndComparingIsExact)
{
    char dest[MWIN_ID_SIZE];
    const std::string longest(31, 'a'), too_long(32, 'b');
    DebugClearLogs();
    EXPECT_TRUE(MWinCopyID(dest, longest.c_str()));
    EXPECT_EQ(std::string(dest), longest);

    std::memcpy(dest, "keep", 5);
    EXPECT_FALSE(MWinCopyID(dest, too_long.c_str()));
    EXPECT_STREQ(dest, "keep") << "nothing copied";
    EXPECT_EQ(std::string(DebugGetMessageText(DebugGetNumMessages() - 1)),
              " <ERROR>  ( MWinCopyID )    Source string Too Long <" + too_long + ">");
    EXPECT_FALSE(MWinCopyID(nullptr, "a"));
    EXPECT_FALSE(MWinCopyID(dest, nullptr));

    struct Case {
        const char *a, *b;
        char same;
    } cases[] = {
        {"OK", "OK", 1}, {"OK", "Ok", 0}, {"", "", 0}, {nullptr, "OK", 0}, {"OK", nullptr, 0}, {"OK", "OK ", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MWinAreIDsTheSame(c.a, c.b), c.same) << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null");
    EXPECT_TRUE(MWinIsIDInvalid(""));
    EXPECT_TRUE(MWinIsIDInvalid(nullptr));

    _Dimension area;
    EXPECT_EQ(MWinSetArea(&area, 1, 2, 3, 4), &area);
    EXPECT_EQ(area.h, 4);
    EXPECT_EQ(MWinCopyArea(nullptr, &area), nullptr);
    EXPECT_EQ(MWinSetArea(nullptr, 0, 0, 0, 0), nullptr);
}

class MWinWindowTest : public GuiTest {
protected:
    MWinCollection *collection = nullptr;
    TestController controller;

    void SetUp() override
    {
        GuiTest::SetUp();
        collection = AddCollection("Main");
        DebugClearLogs();
    }
};

TEST_F(MWinWindowTest, TheDescriptorIsCorrectedAndTheCorrectionsLogged)
{
    struct Case {
        const char *id;
        float x, y, w, h;
        char title_bar, hide, extra;
        const char *logged;
        float area_x, area_y, area_w, area_h;
        char has_hide, has_extra;
    } cases[] = {
        {"Centred", -9999, -9999, 200, 100, 0, 0, 0, nullptr, 220, 190, 200, 100, 0, 0},
        {"Negative", 10, 50, -5, -1, 0, 0, 0, nullptr, 10, 50, 100, 100, 0, 0},
        {"Tiny", 10, 50, 0.5f, 0.2f, 0, 0, 0, nullptr, 10, 50, 1, 1, 0, 0},
        {"HideNoTitle", 10, 50, 100, 100, 0, 1, 0, "Hide button but no title bar", 10, 50, 100, 100, 0, 0},
        {"ExtraTwo", 10, 50, 100, 100, 1, 0, 2, "has_extra_button is 2 - setting to 0.", 10, 50, 100, 100, 0, 0},
        {"ExtraNoTitle", 10, 50, 100, 100, 0, 0, 1, "Extra button but no title bar", 10, 50, 100, 100, 0, 0},
        // Under a title bar of 30, the body may not start above y 30.
        {"HighTitle", 10, 5, 100, 100, 1, 1, 1, nullptr, 10, 30, 100, 100, 1, 1},
    };
    for (const Case &c : cases) {
        DebugClearLogs();
        _MWinWindowCreateInfo info = WindowInfo(c.x, c.y, c.w, c.h, c.title_bar, "T");
        info.m_has_hide_button = c.hide;
        info.m_has_extra_button = c.extra;
        std::snprintf(info.m_extra_text, sizeof(info.m_extra_text), "More");
        MWinWindow *window = collection->AddWindow(c.id, &info);
        ASSERT_NE(window, nullptr) << c.id;
        const _Dimension *area = window->GetArea();
        EXPECT_EQ(area->x, c.area_x) << c.id;
        EXPECT_EQ(area->y, c.area_y) << c.id;
        EXPECT_EQ(area->w, c.area_w) << c.id;
        EXPECT_EQ(area->h, c.area_h) << c.id;
        EXPECT_EQ(window->GetHideButton() != nullptr, c.has_hide != 0) << c.id;
        EXPECT_EQ(window->GetExtraButton() != nullptr, c.has_extra != 0) << c.id;
        if (c.logged) {
            EXPECT_TRUE(LogHasLine(c.logged)) << c.id;
        }
    }
    EXPECT_STREQ(collection->GetWindowFromID("ExtraTwo", 0)->GetInfo()->m_extra_text, "");

    MWinWindow *plain = collection->AddWindow("Plain", nullptr);
    EXPECT_TRUE(LogHasLine("No info passed in"));
    EXPECT_EQ(plain->GetArea()->x, 10);
    EXPECT_EQ(plain->GetArea()->w, 50);
}

TEST_F(MWinWindowTest, TheTitleBarAndItsButtons)
{
    _MWinWindowCreateInfo info = WindowInfo(100, 100, 300, 150, true, "Title");
    info.m_has_hide_button = 1;
    info.m_has_extra_button = 1;
    std::snprintf(info.m_hide_text, sizeof(info.m_hide_text), "Hide");
    MWinWindow *window = collection->AddWindow("Win", &info);
    window->SetController(&controller);

    const _Dimension *title = window->GetTitleBarArea();
    EXPECT_EQ(title->y, -30);
    EXPECT_EQ(title->h, 30);
    EXPECT_EQ(title->w, 300);
    // The title text lies between the two buttons: 5 + 50 in from each side.
    EXPECT_EQ(window->GetTitleTextArea()->x, 55);
    EXPECT_EQ(window->GetTitleTextArea()->w, 190);

    MWinButton *hide = window->GetHideButton();
    MWinButton *extra = window->GetExtraButton();
    ASSERT_NE(hide, nullptr);
    ASSERT_NE(extra, nullptr);
    EXPECT_STREQ(hide->GetID(), "STD_HIDE");
    EXPECT_STREQ(hide->GetTextP(), "Hide");
    EXPECT_FALSE(extra->HasText(0)) << "an empty text draws none";
    // Hide on the left, extra on the right, centred in the title bar.
    EXPECT_EQ(hide->GetScreenDimensionP()->x, 105);
    EXPECT_EQ(extra->GetScreenDimensionP()->x, 100 + 300 - 5 - 50);
    EXPECT_EQ(hide->GetScreenDimensionP()->y, 100 - 15 - 11);
    EXPECT_EQ(window->GetButtonFromID("STD_HIDE", 0), hide);
    EXPECT_EQ(window->GetFirstButton(), nullptr) << "the title-bar buttons are in no group's list";

    // The hide button's press reaches the controller on its release.
    MoveMouse(110, 80);
    Press();
    Release();
    EXPECT_EQ(controller.presses, std::vector<std::string>{"STD_HIDE"});

    // Escape without an escape button fires the hide button, through the queue.
    Key(27);
    mwin->Tick();
    EXPECT_EQ(controller.presses, (std::vector<std::string>{"STD_HIDE", "STD_HIDE"}));
}

// On a display wider than 4:3 (800 x 480) the toolkit narrows its windows.
class MWinWideWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 800, 480);
        GuiTest::SetUp();
    }
};

TEST_F(MWinWideWindowTest, TheTitleBarButtonsKeepEqualMarginsInANarrowedWindow)
{
    ASSERT_LT(eng_font_scale_x, 1);
    _MWinWindowCreateInfo info = WindowInfo(100, 100, 300, 150, true, "Title");
    info.m_has_hide_button = 1;
    info.m_has_extra_button = 1;
    MWinWindow *window = AddCollection("Main")->AddWindow("Win", &info);
    ASSERT_NE(window, nullptr);
    const _Dimension *area = window->GetArea();
    const _Dimension *hide = window->GetHideButton()->GetScreenDimensionP();
    const _Dimension *extra = window->GetExtraButton()->GetScreenDimensionP();
    EXPECT_NEAR(area->x + area->w - (extra->x + extra->w), hide->x - area->x, 0.01)
        << "the extra button as far from the right side as the hide button from the left";
    EXPECT_NEAR(extra->w, hide->w, 0.01);
}

TEST_F(MWinWindowTest, ControlsAreAddedFoundAndRemoved)
{
    MWinWindow *window = AddWindow(collection, "Win", 100, 100, 200, 100);
    MWinButton *ok = window->AddButton("OK", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "OK", 10, 10, -1, -1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetDimensionP()->w, 60) << "the layout's default width";
    EXPECT_EQ(ok->GetDimensionP()->h, 20);
    EXPECT_EQ(ok->GetScreenDimensionP()->x, 110);

    MWinButton *centred = window->AddButton("Mid", MWBT_STATIC, "MWIN_TEXBUT_NONE", "", -1, -1, 40, 20);
    EXPECT_EQ(centred->GetDimensionP()->x, 80);
    EXPECT_EQ(centred->GetDimensionP()->y, 40);

    MWinButton *bar = window->AddButton("Bar", MWBT_HORZ_SCROLLBAR, "MWIN_TEXBUT_DEFAULT", "", 0, 0, 50, 10);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetType(), MWBT_HORZ_SCROLLBAR);
    EXPECT_TRUE(LogHasLine("Use individual class buttons instead"));

    EXPECT_EQ(window->GetButtonFromID("Mid", 1), centred);
    EXPECT_EQ(window->GetButtonFromIDOrReport("None"), nullptr);
    EXPECT_TRUE(LogHasLine("Button <None> not found in window <Win> of collection <Main>"));
    EXPECT_EQ(mwin->GetButtonFromIDs("Main", "Win", "", 1), nullptr);
    EXPECT_TRUE(LogHasLine("No Button ID"));

    // Deleting a control on its own takes it out of its group.
    delete centred;
    EXPECT_EQ(window->GetButtonFromID("Mid", 0), nullptr);
    EXPECT_EQ(ok->GetNext(), bar);
    window->RemoveAllButtons();
    EXPECT_EQ(window->GetFirstButton(), nullptr);
    EXPECT_EQ(MWinButton::GetLiveCount(), 0);
}

TEST_F(MWinWindowTest, KeepingOnScreenAndCentringAGroupOfControls)
{
    MWinWindow *window = AddWindow(collection, "Win", 600, 100, 100, 100);
    EXPECT_TRUE(window->KeepOnScreen());
    EXPECT_EQ(window->GetArea()->x, 540);
    EXPECT_FALSE(window->KeepOnScreen());

    window->SetPositionAndSize(100, 100, 200, 100);
    MWinButton *a = window->AddButton("A", MWBT_PUSH, "White", "", 0, 0, 40, 20);
    MWinButton *b = window->AddButton("B", MWBT_PUSH, "White", "", 60, 30, 40, 20);
    MWinButton *hidden = window->AddButton("C", MWBT_PUSH, "White", "", 150, 70, 40, 20);
    hidden->Hide();
    MWinButton *list[] = {a, b, hidden, nullptr};
    window->CenterGroupOfButtons(list, 1, 1);
    // The shown controls' box (0..100 x 0..50) is centred in 200 x 100.
    EXPECT_EQ(a->GetDimensionP()->x, 50);
    EXPECT_EQ(a->GetDimensionP()->y, 25);
    EXPECT_EQ(b->GetDimensionP()->x, 110);
    EXPECT_EQ(hidden->GetDimensionP()->x, 150) << "hidden controls stay";
    window->CenterGroupOfButtons(nullptr, 1, 1);
    EXPECT_TRUE(LogHasLine("No buttons"));
}

TEST_F(MWinWindowTest, ADraggedWindowStaysOnScreenBelowItsTitleBar)
{
    _MWinWindowCreateInfo info = WindowInfo(100, 100, 200, 100, true, "Drag me");
    info.m_drag_mode = 1;
    MWinWindow *window = collection->AddWindow("Win", &info);
    MWinButton *ok = window->AddButton("OK", MWBT_PUSH, "White", "", 10, 10, 40, 20);

    // Grabbed by the title text, pulled up and left past the screen's edge.
    MoveMouse(150, 85);
    Press();
    EXPECT_TRUE(window->IsDragging());
    MoveMouse(20, 10);
    EXPECT_EQ(window->GetArea()->x, 0);
    EXPECT_EQ(window->GetArea()->y, 30);
    EXPECT_EQ(ok->GetScreenDimensionP()->x, 10) << "its controls move with it";
    // A release anywhere ends the drag.
    MoveMouse(600, 400);
    Release();
    EXPECT_FALSE(window->IsDragging());
    EXPECT_EQ(window->GetArea()->x, 440);

    // A press on the body of a window dragged by its title does nothing.
    MoveMouse(600, 470);
    Press();
    EXPECT_FALSE(window->IsDragging());
    Release();
}

TEST_F(MWinWindowTest, TheTitleAndTheBodyAreDrawnWithTheirTextureButtons)
{
    MWinWindow *window = AddWindow(collection, "Win", 100, 100, 200, 100, true, "Title");
    window->AddButton("R", MWBT_PUSH, "Red", "", 10, 10, 40, 20);
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> drawn = DrawnQuads();
    ASSERT_GE(drawn.size(), 3u);
    // Title bar (grey) first, then the body (white), then the control.
    EXPECT_EQ(drawn.front().colour & 0xFFFFFF, 0x7F7F7Fu);
    EXPECT_NEAR(drawn.front().y, 70, 0.01);
    EXPECT_NEAR(drawn.front().h, 30, 0.01);
    // The title's letters are white quads too (text takes its colour from
    // the material); the body is the large one.
    std::vector<DrawnQuad> body;
    for (const DrawnQuad &quad : DrawnQuadsOfColour(0xFFFFFFFF))
        if (quad.w > 50)
            body.push_back(quad);
    ASSERT_EQ(body.size(), 1u);
    EXPECT_NEAR(body[0].x, 100, 0.01);
    EXPECT_NEAR(body[0].h, 100, 0.01);
    EXPECT_EQ(drawn.back().colour, 0xFFFF0000u);

    // Hidden, nothing is drawn.
    window->Hide();
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_TRUE(D3D9RecordingGetDraws().empty());
}

} // namespace
