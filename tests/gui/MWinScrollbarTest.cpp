// Scrollbars: range rules, the bound variable, and the thumb, track, wheel
// and keys driven through the window layer, with the notifications a
// controller receives.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinGroup.h"
#include "gui/MWinScriptButton.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTabPanel.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// One notification: the position and whether the user moved it.
struct Notice {
    double pos;
    char from_user;
    bool operator==(const Notice &o) const { return pos == o.pos && from_user == o.from_user; }
};

void PrintTo(const Notice &n, std::ostream *out)
{
    *out << "{" << n.pos << ", " << int(n.from_user) << "}";
}

// A window at (100, 100), 300 x 100, holding the horizontal scrollbar "Bar"
// at (50, 40), 200 x 20: on screen 150..350 x 140..160. With the layout's
// inset 3 and thumb 24 long, the track starts at 153 and the thumb travels
// 170 units.
class MWinScrollbarTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinHorzScrollbar *bar = nullptr;
    TestController controller;
    std::vector<Notice> notices;

    static constexpr float kTrackStart = 153, kTravel = 170, kMidY = 150;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 300, 100);
        window->SetController(&controller);
        controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *info) {
            notices.push_back({info->m_scroll_pos, info->m_scroll_from_user});
            return char(1);
        };
        bar = window->AddHorzScrollbar("Bar", "MWIN_TEXBUT_DEFAULT", "", 50, 40, 200, 20);
        ASSERT_NE(bar, nullptr);
    }

    // The screen x of the thumb's centre at a position.
    float ThumbCentre(double pos)
    {
        double range = bar->GetMax() - bar->GetMin();
        return kTrackStart + 12 + static_cast<float>(range > 0 ? kTravel * (pos - bar->GetMin()) / range : 0);
    }
};

TEST_F(MWinScrollbarTest, RangesAndTheBoundVariable)
{
    EXPECT_EQ(bar->GetType(), MWBT_HORZ_SCROLLBAR);
    EXPECT_EQ(bar->GetMax(), 100);
    EXPECT_EQ(bar->GetPage(), 10);
    EXPECT_EQ(bar->GetStep(), 1);

    bar->SetPos(30, 0);
    bar->SetRange(0, 50, 0, 0);
    EXPECT_EQ(bar->GetPage(), 5);
    EXPECT_EQ(bar->GetStep(), 0.5);
    EXPECT_EQ(bar->GetPos(), 0) << "a new range starts at its minimum";
    bar->SetRange(10, 5, 1, 1);
    EXPECT_EQ(bar->GetMax(), 50) << "min above max is ignored";

    // A signed byte is rounded and held within -127..127.
    char byte = 0;
    bar->SetRange(-255, 255, 0, 0);
    bar->RegisterCharVariable(&byte);
    const struct {
        float pos;
        int stored;
    } bytes[] = {{200, 127}, {-200, -127}, {12.5f, 12}, {12.6f, 13}};
    for (const auto &c : bytes) {
        bar->SetPos(c.pos, 0);
        EXPECT_EQ(byte, c.stored) << c.pos;
    }

    // A float is bound through its multiplier both ways, and the range holds.
    float volume = 0.5f;
    bar->SetRange(0, 100, 0, 0);
    bar->RegisterFloatVariable(&volume, 100, 0);
    EXPECT_EQ(bar->GetPos(), 50);
    bar->SetPos(80, 0);
    EXPECT_FLOAT_EQ(volume, 0.8f);
    volume = 3;
    bar->RegisterFloatVariable(&volume, 100, 0);
    EXPECT_EQ(bar->GetPos(), 100);
    EXPECT_FLOAT_EQ(volume, 1);
    EXPECT_TRUE(notices.empty()) << "nothing asked for a notification";

    // Notify on an unchanged value still tells the receiver.
    bar->SetPos(100, 1);
    EXPECT_EQ(notices, (std::vector<Notice>{{100, 0}}));
}

// The mouse, wheel and keys on the scrollbar, each from a starting
// position, through the window layer.
TEST_F(MWinScrollbarTest, ThumbTrackWheelAndKeys)
{
    enum Action { CLICK, DRAG, WHEEL, KEY };
    const struct Case {
        const char *name;
        float min, max, page, step;
        double start;
        Action action;
        float a, b; // click x; drag from, to; wheel notches; key
        double expected;
    } cases[] = {
        // An empty range: the thumb sits at the track's start and nothing moves.
        {"range 0, click", 50, 50, 0, 0, 50, CLICK, 300, 0, 50},
        {"range 0, wheel", 50, 50, 0, 0, 50, WHEEL, -1, 0, 50},
        {"page forward", 0, 100, 10, 1, 0, CLICK, 300, 0, 10},
        {"page back", 0, 100, 10, 1, 95, CLICK, 200, 0, 85},
        {"page stops at max", 0, 100, 10, 1, 92, CLICK, 335, 0, 100},
        {"beyond the thumb's reach", 0, 100, 10, 1, 95, CLICK, 345, 0, 95},
        {"outside the track", 0, 100, 10, 1, 0, CLICK, 151, 0, 0},
        {"drag past the end", 0, 100, 10, 1, 0, DRAG, ThumbCentre(0), 600, 100},
        {"drag past the start", 0, 100, 10, 1, 100, DRAG, 0, -50, 0},
        {"drag to the middle", 0, 100, 10, 1, 0, DRAG, ThumbCentre(0), ThumbCentre(0) + 85, 50},
        {"wheel down steps forward", 0, 100, 10, 1, 0, WHEEL, -1, 0, 3},
        {"wheel up at 0.5 stays", 0, 100, 10, 1, 0.5, WHEEL, 1, 0, 0.5},
        {"right arrow steps", 0, 100, 10, 1, 0, KEY, 0x27, 0, 1},
        {"left arrow at min", 0, 100, 10, 1, 0, KEY, 0x25, 0, 0},
        {"a step past max is not taken", 0, 100, 10, 10, 95, KEY, 0x27, 0, 95},
        {"down pages forward", 0, 100, 10, 1, 0, KEY, 0x28, 0, 10},
        {"page up pages back", 0, 100, 10, 1, 5, KEY, 0x21, 0, 0},
    };
    for (const Case &c : cases) {
        bar->SetRange(c.min, c.max, c.page, c.step);
        bar->SetPosDouble(c.start, 0, 0, 0);
        // The thumb's own place: at the minimum the track's start, at the
        // maximum the end of its travel.
        if (c.min == c.max || c.start == c.min) {
            EXPECT_EQ(bar->GetThumbX(), kTrackStart) << c.name;
        } else if (c.start == c.max) {
            EXPECT_EQ(bar->GetThumbX(), kTrackStart + kTravel) << c.name;
        }
        float from = c.action == DRAG && c.a == 0 ? ThumbCentre(c.start) : c.a;
        MoveMouse(c.action == CLICK || c.action == DRAG ? from : 250, kMidY);
        ASSERT_TRUE(bar->IsActive()) << c.name;
        switch (c.action) {
        case CLICK:
            Press();
            Release();
            break;
        case DRAG:
            Press();
            EXPECT_TRUE(bar->IsDraggingThumb()) << c.name;
            MoveMouse(c.b, kMidY + 30);
            EXPECT_TRUE(bar->IsActive()) << c.name << ": the drag keeps the control";
            Release();
            EXPECT_FALSE(bar->IsDraggingThumb()) << c.name;
            break;
        case WHEEL:
            Wheel(static_cast<int>(c.a));
            break;
        case KEY:
            Key(static_cast<int>(c.a));
            break;
        }
        EXPECT_DOUBLE_EQ(bar->GetPosDouble(), c.expected) << c.name;
        MoveMouse(5, 5);
    }
}

TEST_F(MWinScrollbarTest, ADragNotifiesEachMoveAndOnceMoreAtItsEnd)
{
    MoveMouse(ThumbCentre(0), kMidY);
    Press();
    Release();
    EXPECT_TRUE(notices.empty()) << "grabbing and letting go sends nothing";

    Press();
    MoveMouse(ThumbCentre(0) + 17, kMidY);
    MoveMouse(ThumbCentre(0) + 34, kMidY);
    Release();
    EXPECT_EQ(notices, (std::vector<Notice>{{10, 1}, {20, 1}, {20, 0}}));
}

TEST_F(MWinScrollbarTest, AReceiverThatDeletesTheScreenEndsTheDragSafely)
{
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *info) {
        notices.push_back({info->m_scroll_pos, info->m_scroll_from_user});
        mwin->GetDesktop()->RemoveCollection("Main");
        return char(1);
    };
    const float grab = ThumbCentre(0);
    MoveMouse(grab, kMidY);
    Press();
    MoveMouse(grab + 17, kMidY);
    MoveMouse(grab + 34, kMidY);
    Release();
    EXPECT_EQ(notices, (std::vector<Notice>{{10, 1}}));
    EXPECT_EQ(MWinButton::GetLiveCount(), 0);
}

TEST_F(MWinScrollbarTest, AnOwnedScrollbarStepsThreeLinesPerWheelNotchUnderAController)
{
    // The help text and the score table scroll by scrollbars of their own,
    // kept out of the window's lists: their moves are their owner's, and
    // each of a notch's three clicks is a step.
    struct Owner {
        std::function<float()> lines_scrolled;
    };
    const struct Case {
        const char *name;
        std::function<Owner(MWinWindow *)> build;
    } cases[] = {
        {"a script button",
         [](MWinWindow *w) {
             MWinScriptButton *script = w->AddScriptButton("Script", "White", 20, 120, 300, 200);
             script->SetFont("Main");
             static std::string text;
             text.clear();
             for (int i = 0; i < 60; i++)
                 text += "Line " + std::to_string(i) + "\n";
             script->SetText(text.c_str());
             return Owner{[script] { return script->GetScrollPos(); }};
         }},
        {"a tab panel",
         [](MWinWindow *w) {
             MWinTabPanel *table = w->AddTabPanel("Table", "White", 20, 120, 300, 200);
             table->SetFont("Main");
             table->SetEntryCallback(40, 2, 8, [](int, int, MWinTabPanel *) { return "Cell"; });
             return Owner{[table] { return table->GetScrollPos(); }};
         }},
    };
    mwin->GetDesktop()->RemoveCollection("Main");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MWinWindow *w = AddWindow(AddCollection("Owners"), "Win", 0, 0, 640, 480);
        w->SetController(&controller);
        Owner owner = c.build(w);
        controller.presses.clear();
        MoveMouse(100, 200);
        Wheel(-1);
        EXPECT_EQ(owner.lines_scrolled(), 3);
        Wheel(-2);
        EXPECT_EQ(owner.lines_scrolled(), 9);
        Wheel(1);
        EXPECT_EQ(owner.lines_scrolled(), 6);
        EXPECT_TRUE(controller.presses.empty()) << "the screen hears nothing of the owner's own scrollbar";
        mwin->GetDesktop()->RemoveCollection("Owners");
    }
}

TEST_F(MWinScrollbarTest, TheVerticalTwinRunsAlongYWithItsOwnKeys)
{
    MWinGroup *group = window->GetFirstGroup();
    auto *vbar = static_cast<MWinVertScrollbar *>(group->CompleteAddButton(
        new MWinVertScrollbar(mwin, "VBar", group, "MWIN_TEXBUT_DEFAULT", "", 270, 0, 20, 100)));
    vbar->SetRangeInt(0, 10, 5, 1);
    EXPECT_EQ(vbar->GetThumbY(), 103);

    const struct {
        int key;
        double expected;
    } keys[] = {{0x28, 1}, {0x27, 6}, {0x26, 5}, {0x25, 0}, {0x22, 5}, {0x21, 0}};
    MoveMouse(380, 180);
    ASSERT_TRUE(vbar->IsActive());
    for (const auto &k : keys) {
        Key(k.key);
        EXPECT_EQ(vbar->GetPosDouble(), k.expected) << k.key;
    }

    // Dragged along y: the thumb (24 long) travels 100 - 6 - 24 = 70 units.
    MoveMouse(380, 103 + 12);
    Press();
    MoveMouse(380, 103 + 12 + 35);
    EXPECT_EQ(vbar->GetPosDouble(), 5);
    Release();

    int rows = 3;
    vbar->RegisterIntVariable(&rows, 2);
    vbar->UpdateFromBoundVariable(0);
    EXPECT_EQ(vbar->GetPosDouble(), 6);
    vbar->SetPosUInt(40);
    EXPECT_EQ(vbar->GetPosDouble(), 10);
    EXPECT_EQ(rows, 10) << "an int gets the rounded position";
}

TEST_F(MWinScrollbarTest, TheTrackAndTheThumbAreDrawn)
{
    MWinTextures *textures = mwin->GetTextures();
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_SCROLL_BACK, "Grey"));
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_SCROLL_BUTTON, "Red"));
    bar->SetBackTexButToDefault();
    bar->SetPos(100, 0);
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> track = DrawnQuadsOfColour(0xFF7F7F7F);
    std::vector<DrawnQuad> thumb = DrawnQuadsOfColour(0xFFFF0000);
    ASSERT_EQ(track.size(), 1u);
    ASSERT_EQ(thumb.size(), 1u);
    EXPECT_NEAR(track[0].x, 150, 0.01);
    EXPECT_NEAR(track[0].w, 200, 0.01);
    // At the maximum, at the end of its travel, centred across the control.
    EXPECT_NEAR(thumb[0].x, kTrackStart + kTravel, 0.01);
    EXPECT_NEAR(thumb[0].w, 24, 0.01);
    EXPECT_NEAR(thumb[0].y, 144, 0.01);
    EXPECT_NEAR(thumb[0].h, 12, 0.01);
}

} // namespace
