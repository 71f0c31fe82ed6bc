// The panel: the scrollbar's maths, selection by release, keys with
// type-ahead, multiple selection with Control and Shift, scroll limits,
// and a callback that deletes the panel's own window.
#include "tests/support/GuiTestKit.h"

#include "engine/runtime/EngWindowInput.h"

#include <string>
#include <vector>

namespace {

const int kShift = 0x10, kControl = 0x11;

const char *const kNames[] = {"Alice", "Bob", "Carol", "Anna", "Dave", "Ben"};

const char *Names(int index, MWinButton *, void *)
{
    return kNames[index % 6];
}

const char *Numbers(int index, MWinButton *, void *context)
{
    static std::string text;
    text = std::to_string(index);
    (void)context;
    return text.c_str();
}

struct PanelLog {
    std::vector<int> positions;
    std::vector<int> modes;
    std::function<void()> action;
};

void RecordPanel(MWin *, _MWinButtonCallbackInfo *info, int, int, void *user)
{
    PanelLog *log = static_cast<PanelLog *>(user);
    log->positions.push_back(info->m_panel_pos);
    log->modes.push_back(info->m_panel_mode);
    if (log->action)
        log->action();
}

class MWinPanelTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinButton *panel = nullptr;
    PanelLog log;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 300, 250);
        // Ten rows of 20 units at 110..310 screen.
        panel = window->AddButton("List", MWBT_PANEL, "White", "", 10, 10, 200, 200);
        panel->SetFont("Main");
        ASSERT_TRUE(panel->SetCallback(RecordPanel, 0, 0, &log, 1));
    }

    void TearDown() override
    {
        eng_main_key_states[kShift] = eng_main_key_states[kControl] = 0;
        GuiTest::TearDown();
    }
};

TEST_F(MWinPanelTest, ScrollbarMathsAndPagingThroughTwentyFiveEntries)
{
    panel->PanelSetStringsCallback(25, 10, Numbers, nullptr);
    EXPECT_TRUE(panel->IsInteractive());
    EXPECT_TRUE(panel->PanelIsScrollbarShown());
    const _MWinLayoutSettings *layout = window->GetScreenLayout();
    float track = 200 - 2 * layout->m_vscroll_track_inset;
    EXPECT_FLOAT_EQ(panel->PanelGetTrackLength(), track);
    EXPECT_FLOAT_EQ(panel->PanelGetThumbLength(), std::max(track * 10 / 25, layout->m_panel_min_thumb_h));

    panel->PanelSetPos(20, 0, 0);
    EXPECT_EQ(panel->PanelGetPos(), 20);
    MoveMouse(150, 150); // the panel takes the keys
    Key(34);
    EXPECT_EQ(panel->PanelGetPos(), 24) << "Page Down stops at the last entry";
    EXPECT_FLOAT_EQ(panel->PanelGetScrollPos(), 15) << "and scrolls it into view";
    Key(34);
    EXPECT_EQ(panel->PanelGetPos(), 24);
    Key(33);
    EXPECT_EQ(panel->PanelGetPos(), 14);
    Key(38);
    EXPECT_EQ(panel->PanelGetPos(), 13);

    // The wheel keeps the scroll within 0..count - per page.
    for (int i = 0; i < 10; i++)
        Wheel(1);
    EXPECT_FLOAT_EQ(panel->PanelGetScrollPos(), 0);
    for (int i = 0; i < 10; i++)
        Wheel(-1);
    EXPECT_FLOAT_EQ(panel->PanelGetScrollPos(), 15);
    panel->PanelSetScrollPos(-3);
    EXPECT_FLOAT_EQ(panel->PanelGetScrollPos(), 15) << "a scroll outside the entries is ignored";
}

TEST_F(MWinPanelTest, AClickSelectsOnReleaseAndNoSelectionIsAllowedOnlyWhenAsked)
{
    panel->PanelSetStringsCallback(6, 10, Names, nullptr);
    MoveMouse(150, 155); // row 2
    Press();
    EXPECT_EQ(panel->PanelGetPos(), 0) << "not on the press";
    Release();
    EXPECT_EQ(panel->PanelGetPos(), 2);
    ASSERT_FALSE(log.positions.empty());
    EXPECT_EQ(log.positions.back(), 2);

    panel->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(panel->PanelGetPos(), 0);
    panel->PanelAllowNoSelection(1);
    panel->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(panel->PanelGetPos(), -1);
    panel->PanelSetPos(99, 0, 0);
    EXPECT_EQ(panel->PanelGetPos(), 5);
}

TEST_F(MWinPanelTest, TypeAheadFindsTheNextEntryByLetterAndWraps)
{
    panel->PanelSetStringsCallback(6, 10, Names, nullptr);
    MoveMouse(150, 150);
    struct Row {
        int key;
        int expected;
        bool handled;
    } rows[] = {{'A', 3, true}, {'A', 0, true}, {'B', 1, true}, {'B', 5, true}, {'B', 1, true}, {'Z', 1, false},
                {'D', 4, true}};
    for (const Row &r : rows) {
        size_t calls = log.positions.size();
        Key(r.key);
        EXPECT_EQ(panel->PanelGetPos(), r.expected) << static_cast<char>(r.key);
        EXPECT_EQ(log.positions.size(), calls + (r.handled ? 1 : 0));
    }
}

TEST_F(MWinPanelTest, ControlTogglesShiftSelectsRangesAndShiftArrowsExtend)
{
    panel->PanelSetStringsCallback(6, 10, Names, nullptr);
    ASSERT_TRUE(panel->PanelSetMultiSelect(1, 0));
    panel->PanelSetPos(1, 0, 1);
    eng_main_key_states[kControl] = 2;
    panel->PanelSetPos(3, 0, 1);
    EXPECT_EQ(panel->PanelGetNumMultiPos(), 2);
    panel->PanelSetPos(3, 0, 1);
    EXPECT_EQ(panel->PanelGetNumMultiPos(), 1) << "Control toggles";
    eng_main_key_states[kControl] = 0;
    eng_main_key_states[kShift] = 2;
    panel->PanelSetPos(5, 0, 1);
    EXPECT_EQ(panel->PanelGetNumMultiPos(), 3) << "3..5, the rest cleared";
    EXPECT_EQ(panel->PanelGetNthMultiPos(0), 3);
    EXPECT_EQ(panel->PanelGetNthMultiPos(2), 5);
    EXPECT_EQ(panel->PanelGetNthMultiPos(3), -1);
    eng_main_key_states[kShift] = 0;
    panel->PanelSetPos(0, 0, 1);
    eng_main_key_states[kShift] = 2;
    panel->PanelSetPos(1, 0, 2);
    panel->PanelSetPos(2, 0, 2);
    EXPECT_EQ(panel->PanelGetNumMultiPos(), 3) << "Shift with the arrows adds 0..2";
}

TEST_F(MWinPanelTest, ACallbackThatDeletesThePanelsWindowEndsTheKeyHandling)
{
    panel->PanelSetStringsCallback(6, 10, Names, nullptr);
    MoveMouse(150, 150);
    log.action = [this] {
        delete window;
        window = nullptr;
    };
    // Type-ahead would centre the panel after the callback; the panel is gone.
    Key('C');
    EXPECT_EQ(log.positions.size(), 1u);
    EXPECT_EQ(mwin->GetWindowFromIDs("Main", "Win", 0), nullptr);

    window = AddWindow(mwin->GetCollectionFromID("Main", 0), "Win", 100, 100, 300, 250);
    panel = window->AddButton("List", MWBT_PANEL, "White", "", 10, 10, 200, 200);
    panel->PanelSetStringsCallback(6, 10, Names, nullptr);
    ASSERT_TRUE(panel->SetCallback(RecordPanel, 0, 0, &log, 1));
    MoveMouse(150, 155);
    Press();
    Release(); // through the mouse as well
    EXPECT_EQ(log.positions.size(), 2u);
}

TEST_F(MWinPanelTest, EntryTextsAreCutAtTheTextAreaClearOfTheScrollbar)
{
    // 25 entries, 10 a page: a scrollbar 15 wide, a text area 185 wide with
    // the text inset 3 on both sides, so the texts are cut at 113..292.
    panel->PanelSetStringsCallback(25, 10, Numbers, nullptr);
    ASSERT_TRUE(panel->PanelIsScrollbarShown());
    D3D9RecordingReset();
    mwin->RenderMain();
    const void *skin = DrawnQuads().at(0).texture;
    int glyphs = 0;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws()) {
        if (!draw.state.textures[0] || draw.state.textures[0] == skin)
            continue;
        glyphs++;
        EXPECT_EQ(draw.state.scissor.left, 113);
        EXPECT_EQ(draw.state.scissor.right, 292);
        EXPECT_EQ(draw.state.scissor.top, 110) << "the control's own crop above and below";
    }
    EXPECT_GT(glyphs, 10);
    // The control's own crop is back for what the panel draws after its texts.
    EXPECT_FALSE(eng_device->IsCropOn());
}

TEST_F(MWinPanelTest, RowsDrawTheSelectionAndTheExtraRenderCallbackSeesEachRow)
{
    panel->PanelSetStringsCallback(3, 10, Names, nullptr);
    panel->PanelSetPos(1, 0, 0);
    std::vector<std::pair<int, int>> rows;
    panel->PanelSetExtraRenderCallback(
        [](MWinButton *, _Dimension *, _MWinTextureState state, int entry, void *user) {
            static_cast<std::vector<std::pair<int, int>> *>(user)->push_back({entry, state});
        },
        &rows);
    panel->RenderUnchecked();
    std::vector<std::pair<int, int>> expected = {{0, MWTS_NORMAL}, {1, MWTS_HIGHLIGHTED}, {2, MWTS_NORMAL}};
    EXPECT_EQ(rows, expected) << "rows past the last entry are not drawn";
}

} // namespace
