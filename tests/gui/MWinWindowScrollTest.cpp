// A window's content scrolling: the scroll bar's geometry, the wheel,
// track presses that page on release, thumb drags on either axis, and the
// return to the start on every move.
#include "tests/support/GuiTestKit.h"

#include <string>
#include <vector>

namespace {

// A window at (100, 100), 200 x 100, with the push button "P" at (10, 10):
// on screen at (110, 110). The layout's window scroll bars are 30 wide
// with thumbs 28 across.
class MWinWindowScrollTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinButton *button = nullptr;
    TestController controller;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 200, 100);
        window->SetController(&controller);
        button = window->AddButton("P", MWBT_PUSH, "White", "", 10, 10, 40, 20);
    }

    float Pos(int axis) { return window->GetScroll(axis)->pos; }
    float ButtonY() { return button->GetScreenDimensionP()->y; }
    float ButtonX() { return button->GetScreenDimensionP()->x; }
};

void ExpectArea(const _Dimension &got, float x, float y, float w, float h, const char *what)
{
    EXPECT_FLOAT_EQ(got.x, x) << what;
    EXPECT_FLOAT_EQ(got.y, y) << what;
    EXPECT_FLOAT_EQ(got.w, w) << what;
    EXPECT_FLOAT_EQ(got.h, h) << what;
}

TEST_F(MWinWindowScrollTest, TheScrollBarsFollowTheScrollSizes)
{
    window->SetScrollSize(0, 100);
    ASSERT_TRUE(window->IsScrollingOn());
    const _MWinWindowScroll *v = window->GetScroll(MWIN_AXIS_VERT);
    // Half the content shows: the thumb is half the track and travels the other half.
    EXPECT_FLOAT_EQ(v->fraction, 0.5f);
    EXPECT_FLOAT_EQ(v->travel, 50);
    ExpectArea(v->track, 270, 100, 30, 100, "vertical track");
    ExpectArea(v->thumb, 271, 100, 28, 50, "vertical thumb");
    EXPECT_FLOAT_EQ(window->GetScroll(MWIN_AXIS_HORZ)->fraction, 1);

    window->SetScrollSize(300, 0);
    const _MWinWindowScroll *h = window->GetScroll(MWIN_AXIS_HORZ);
    EXPECT_FLOAT_EQ(h->fraction, 0.4f);
    ExpectArea(h->track, 100, 170, 200, 30, "horizontal track");
    ExpectArea(h->thumb, 100, 171, 80, 28, "horizontal thumb");

    // Both drawn with the standard scroll texture buttons.
    MWinTextures *textures = mwin->GetTextures();
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_SCROLL_BACK, "Grey"));
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_SCROLL_BUTTON, "Red"));
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> track = DrawnQuadsOfColour(0xFF7F7F7F), thumb = DrawnQuadsOfColour(0xFFFF0000);
    ASSERT_EQ(track.size(), 1u);
    ASSERT_EQ(thumb.size(), 1u);
    EXPECT_NEAR(track[0].y, 170, 0.01);
    EXPECT_NEAR(thumb[0].w, 80, 0.01);

    // Negative sizes and 0, 0 turn scrolling off.
    window->SetScrollSize(-1, 50);
    EXPECT_FALSE(window->IsScrollingOn());
    window->SetScrollSize(0, 0);
    EXPECT_FALSE(window->IsScrollingOn());
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_TRUE(DrawnQuadsOfColour(0xFF7F7F7F).empty());
}

TEST_F(MWinWindowScrollTest, TheWheelAndTrackPressesMoveTheContent)
{
    window->SetScrollSize(0, 500);
    EXPECT_TRUE(window->ScrollByWheel(-1));
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 10);
    EXPECT_FLOAT_EQ(ButtonY(), 100);

    // Through the window layer, away from any control: one notch is 3 clicks.
    window->SetScrollSize(0, 100);
    MoveMouse(200, 180);
    Wheel(-1);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 6);
    EXPECT_FLOAT_EQ(ButtonY(), 104);
    Wheel(2);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 0) << "held at the start";

    // A press on the track below the thumb pages on its release.
    MoveMouse(285, 180);
    Press();
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 0);
    Release();
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 100) << "one window height, held at the end";
    EXPECT_FLOAT_EQ(window->GetScroll(MWIN_AXIS_VERT)->thumb.y, 150);
    EXPECT_FLOAT_EQ(ButtonY(), 10);
    MoveMouse(285, 110);
    Press();
    Release();
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 0);

    // Releases away from the bar still reach the controls.
    Click(120, 115);
    EXPECT_EQ(controller.presses, std::vector<std::string>{"P"});

    // Moving the window returns the content to its start.
    window->ScrollByWheel(-5);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 10);
    window->SetPosition(120, 100);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 0);
    EXPECT_FLOAT_EQ(ButtonY(), 110);
    // So does turning scrolling off.
    window->ScrollByWheel(-5);
    window->SetScrollSize(0, 0);
    EXPECT_FLOAT_EQ(ButtonY(), 110);
}

TEST_F(MWinWindowScrollTest, AThumbDragMovesItsOwnAxisWhenBothAxesScroll)
{
    window->SetScrollSize(200, 100);
    // Vertical thumb (271..299 x 100..150) pulled down by half its travel.
    MoveMouse(285, 120);
    Press();
    MoveMouse(285, 145);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 50);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_HORZ), 0);
    EXPECT_FLOAT_EQ(ButtonY(), 60);
    EXPECT_FLOAT_EQ(ButtonX(), 110);
    // Past the end, and let go outside the window: the thumb is free again.
    MoveMouse(285, 400);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 100);
    Release();
    EXPECT_FALSE(window->GetScroll(MWIN_AXIS_VERT)->dragging);
    MoveMouse(285, 120);
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_VERT), 100) << "a move without the button held scrolls nothing";

    // The horizontal thumb (100..200 x 171..199, travel 100 for a scroll
    // size of 200) follows x, and the window scrolls along one axis at a time.
    MoveMouse(150, 185);
    Press();
    MoveMouse(175, 185);
    Release();
    EXPECT_FLOAT_EQ(Pos(MWIN_AXIS_HORZ), 50);
    EXPECT_FLOAT_EQ(ButtonX(), 60);
    EXPECT_FLOAT_EQ(ButtonY(), 110);
}

} // namespace
