// Window input: dragging a window by each drag mode, drags that end when
// the button is let go outside the program's window, the hover that makes a
// control active, keyboard navigation with Tab and Shift+Tab, and walks
// over the controls whose notices remove the screen.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinRangeSlider.h"
#include "gui/MWinScrollbar.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

class MWinWindowInputTest : public GuiTest {
protected:
    MWinCollection *collection = nullptr;
    TestController controller;

    void SetUp() override
    {
        GuiTest::SetUp();
        collection = AddCollection("Main");
    }

    std::string ActiveID(MWinWindow *window)
    {
        MWinButton *active = window->GetActiveButton();
        return active ? active->GetID() : "(none)";
    }
};

TEST_F(MWinWindowInputTest, AWindowIsDraggedOnlyAsItsDragModeAllows)
{
    // A 200 x 100 window at (100, 100) with a push button at (10, 10) of the
    // body; with a title bar, its text lies at y 70..100 between x 155 and 245.
    const struct Case {
        const char *name;
        int mode;
        bool title_bar;
        float grab_x, grab_y, to_x, to_y;
        float x, y; // where the window ends
    } cases[] = {
        {"fixed, by the title", 0, true, 200, 85, 300, 200, 100, 100},
        {"fixed, by the body", 0, false, 200, 150, 300, 200, 100, 100},
        {"title mode, by the title", 1, true, 200, 85, 250, 145, 150, 160},
        {"title mode, by the body", 1, true, 200, 150, 250, 210, 100, 100},
        {"title mode, without a title bar", 1, false, 200, 150, 250, 210, 100, 100},
        {"anywhere, by the body", 2, false, 200, 150, 230, 120, 130, 70},
        {"anywhere, past the bottom right", 2, false, 200, 150, 900, 900, 440, 380},
        {"anywhere, past the left", 2, false, 200, 150, 50, 60, 0, 10},
        {"anywhere, past the top", 2, false, 200, 150, 250, 10, 150, 0},
        {"anywhere, kept below the title bar", 2, true, 200, 150, 200, 0, 100, 30},
        {"anywhere, but not by a control", 2, false, 115, 115, 300, 300, 100, 100},
    };
    for (const Case &c : cases) {
        _MWinWindowCreateInfo info = WindowInfo(100, 100, 200, 100, c.title_bar, "Title");
        info.m_drag_mode = c.mode;
        info.m_has_hide_button = c.title_bar;
        info.m_has_extra_button = c.title_bar;
        MWinWindow *window = collection->AddWindow("Win", &info);
        window->SetController(&controller);
        MWinButton *ok = window->AddButton("OK", MWBT_PUSH, "White", "", 10, 10, 40, 20);

        MoveMouse(c.grab_x, c.grab_y);
        Press();
        MoveMouse(c.to_x, c.to_y);
        EXPECT_FLOAT_EQ(window->GetArea()->x, c.x) << c.name;
        EXPECT_FLOAT_EQ(window->GetArea()->y, c.y) << c.name;
        EXPECT_FLOAT_EQ(ok->GetScreenDimensionP()->x, c.x + 10) << c.name << ": the controls move along";
        Release();
        EXPECT_FALSE(window->IsDragging()) << c.name;
        // After the release the window stays where it was let go.
        MoveMouse(c.to_x + 20, c.to_y + 20);
        EXPECT_FLOAT_EQ(window->GetArea()->x, c.x) << c.name;
        collection->RemoveAllWindows();
    }
}

TEST_F(MWinWindowInputTest, EveryDragEndsWhenTheButtonIsLetGoOutsideTheProgramsWindow)
{
    // Each case builds a window with something to drag and answers where to
    // grab it, a point inside to drag it to, and what the drag moves.
    struct Dragged {
        float grab_x, grab_y, to_x, to_y;
        std::function<std::pair<float, float>()> moved;
    };
    const struct Case {
        const char *name;
        std::function<Dragged(MWinWindow *)> build;
        bool title_bar;
    } cases[] = {
        {"a list's thumb",
         [](MWinWindow *window) {
             MWinButton *list = window->AddButton("List", MWBT_PANEL, "White", "", 10, 10, 200, 200);
             list->PanelSetStringsCallback(25, 10, [](int, MWinButton *, void *) { return "Row"; }, nullptr);
             const _Dimension *area = list->GetScreenDimensionP();
             // At the top of the scrollbar's track at the right edge.
             float x = area->x + area->w - 7, y = area->y + 3 + list->PanelGetThumbLength() / 2;
             return Dragged{x, y, x, y + 40, [list] { return std::make_pair(list->PanelGetScrollPos(), 0.0f); }};
         },
         false},
        {"a window by its title bar",
         [](MWinWindow *window) {
             return Dragged{200, 85, 230, 115, [window] {
                                return std::make_pair(window->GetArea()->x, window->GetArea()->y);
                            }};
         },
         true},
        {"a window's scroll thumb",
         [](MWinWindow *window) {
             window->SetScrollSize(0, 100);
             const _Dimension thumb = window->GetScroll(MWIN_AXIS_VERT)->thumb;
             float x = thumb.x + thumb.w / 2, y = thumb.y + 10;
             return Dragged{x, y, x, y + 20, [window] {
                                return std::make_pair(window->GetScroll(MWIN_AXIS_VERT)->pos, 0.0f);
                            }};
         },
         false},
        {"a slider's thumb",
         [](MWinWindow *window) {
             MWinHorzScrollbar *bar = window->AddHorzScrollbar("Slider", "White", "", 10, 10, 180, 20);
             float x = bar->GetThumbX() + bar->GetThumbLength() / 2, y = bar->GetScreenDimensionP()->y + 10;
             return Dragged{x, y, x + 40, y, [bar] { return std::make_pair(bar->GetPos(), 0.0f); }};
         },
         false},
        {"a range slider's bar",
         [](MWinWindow *window) {
             MWinRangeSlider *slider = window->AddRangeSlider("Range", "White", 10, 40, 180, 20);
             slider->RangeSliderSetRange(0, 1, 0.1f);
             float x = (slider->GetLowThumbX() + slider->GetHighThumbX()) / 2;
             float y = slider->GetScreenDimensionP()->y + 10;
             return Dragged{x, y, x - 20, y, [slider] { return std::make_pair(slider->GetLow(), slider->GetHigh()); }};
         },
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        _MWinWindowCreateInfo info = WindowInfo(100, 100, 300, 250, c.title_bar, "Title");
        info.m_drag_mode = 1;
        MWinWindow *window = collection->AddWindow("Win", &info);
        window->SetController(&controller);
        Dragged dragged = c.build(window);

        MoveMouse(dragged.grab_x, dragged.grab_y);
        Press();
        const std::pair<float, float> start = dragged.moved();
        MoveMouse(dragged.to_x, dragged.to_y);
        ASSERT_NE(dragged.moved(), start) << "the drag follows the pointer";
        // Out of the program's window, and let go there: the window layer
        // hears of the release only through its per-frame poll.
        MoveOutside(-20, 200);
        MoveOutside(-30, 260);
        const std::pair<float, float> let_go = dragged.moved();
        ReleaseOutside();
        MoveOutside(700, 420);
        EXPECT_EQ(dragged.moved(), let_go) << "nothing follows a pointer whose button is up";
        MoveMouse(320, 300);
        MoveMouse(dragged.grab_x, dragged.grab_y);
        EXPECT_EQ(dragged.moved(), let_go) << "nor once it is back in the window";
        collection->RemoveAllWindows();
    }
}

TEST_F(MWinWindowInputTest, TabVisitsTheControlsThatCanTakeTheFocusInOrder)
{
    MWinWindow *window = AddWindow(collection, "Win", 100, 100, 300, 100);
    window->SetController(&controller);
    // A, B and C can take the focus; a label, a disabled and a hidden
    // control between them cannot.
    const struct {
        const char *id;
        _MWinButtonType type;
        float x;
    } controls[] = {
        {"A", MWBT_PUSH, 0}, {"Label", MWBT_STATIC, 40}, {"B", MWBT_PUSH, 80}, {"Off", MWBT_PUSH, 120},
        {"Gone", MWBT_PUSH, 160}, {"C", MWBT_PUSH, 200},
    };
    for (const auto &c : controls)
        window->AddButton(c.id, c.type, "White", "", c.x, 10, 30, 20);
    window->GetButtonFromID("Off", 0)->Disable();
    window->GetButtonFromID("Gone", 0)->Hide();
    MoveMouse(250, 180);
    ASSERT_EQ(ActiveID(window), "(none)");

    // Without a focused control the walk starts at the first one and steps on.
    const struct {
        bool shift;
        const char *expected;
    } steps[] = {{false, "B"}, {false, "C"}, {false, "A"}, {true, "C"}, {true, "B"}, {true, "A"}};
    for (const auto &s : steps) {
        if (s.shift)
            KeyDown(0x10);
        Key(9);
        if (s.shift)
            KeyUp(0x10);
        EXPECT_EQ(ActiveID(window), s.expected) << (s.shift ? "Shift+Tab" : "Tab");
        // The pointer went to the control's centre.
        const _Dimension *area = window->GetButtonFromID(s.expected, 0)->GetScreenDimensionP();
        EXPECT_FLOAT_EQ(mwin->GetPointerX(), area->x + area->w / 2) << s.expected;
        EXPECT_FLOAT_EQ(mwin->GetPointerY(), area->y + area->h / 2) << s.expected;
    }
    EXPECT_TRUE(controller.presses.empty()) << "moving the focus presses nothing";
}

TEST_F(MWinWindowInputTest, TabGivesUpWhenNoControlCanTakeTheFocus)
{
    MWinWindow *window = AddWindow(collection, "Win", 100, 100, 300, 100);
    window->AddButton("Label", MWBT_STATIC, "White", "", 10, 10, 30, 20);
    window->AddButton("NoReceiver", MWBT_PUSH, "White", "", 50, 10, 30, 20);
    MoveMouse(250, 180);
    DebugClearLogs();
    EXPECT_FALSE(window->HandleKeyDown(9));
    EXPECT_TRUE(LogHasLine("Could not get next button"));
    eng_main_key_states[0x10] = 2;
    EXPECT_FALSE(window->HandleKeyDown(9));
    eng_main_key_states[0x10] = 0;
    EXPECT_TRUE(LogHasLine("Coult not get prev button"));

    // An empty window has nothing to walk.
    MWinWindow *empty = AddWindow(collection, "Empty", 400, 300, 100, 100);
    EXPECT_FALSE(empty->HandleKeyDown(9));
}

} // namespace
