// The drop-down list: positions and their reports, type-ahead in the open
// list, the open list's rows and markers near the screen's edges, the
// auto-scroll that speeds up on a marker row, and wheel and key steps on a
// closed list, also when the step's notice removes the screen.
#include "tests/support/GuiTestKit.h"
#include "tests/engine/runtime/RuntimeTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const int kEnter = 13, kEscape = 27, kDown = 40;

const char *const kFruit[] = {"Apple", "7up", "Banana", "Avocado", "Cherry", "8ball"};

struct ListLog {
    std::vector<int> events;
    std::vector<int> positions;
};

void RecordList(MWin *, _MWinButtonCallbackInfo *info, int, int, void *user)
{
    ListLog *log = static_cast<ListLog *>(user);
    log->events.push_back(info->m_list_event);
    log->positions.push_back(info->m_list_pos);
}

class MWinListTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    ListLog log;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 0, 300, 480);
    }

    MWinButton *AddList(float y, int count)
    {
        MWinButton *list = window->AddButton("Pick", MWBT_LIST, "White", "", 10, y, 200, 20);
        std::vector<const char *> names;
        for (int i = 0; i < count; i++)
            names.push_back(kFruit[i % 6]);
        list->ListSetStrings(count, names.data());
        EXPECT_TRUE(list->SetCallback(RecordList, 0, 0, &log, 1));
        return list;
    }
};

TEST_F(MWinListTest, PositionsAreCheckedAndSetTheText)
{
    MWinButton *list = AddList(100, 6);
    EXPECT_TRUE(list->IsInteractive());
    EXPECT_STREQ(list->GetTextP(), "Apple");
    int bound = -1;
    list->RegisterIntVariable(&bound, 1);
    list->ListSetPos(2, 1);
    EXPECT_STREQ(list->GetTextP(), "Banana");
    EXPECT_EQ(bound, 2);
    EXPECT_EQ(log.events, std::vector<int>({0}));
    list->ListSetPos(6, 1);
    EXPECT_TRUE(LogHasLine("invalid pos : 6 (id: Pick, entries = 6)"));
    EXPECT_EQ(list->ListGetStringAtPos(-1), nullptr);
    EXPECT_TRUE(LogHasLine("Bad pos -1 (6)"));
    MWinButton *push = window->AddButton("P", MWBT_PUSH, "White", "", 10, 300, 20, 20);
    EXPECT_EQ(push->ListGetPos(), 0);
    EXPECT_TRUE(LogHasLine("button P not a list"));
}

TEST_F(MWinListTest, TypeAheadInTheOpenListFindsByFirstCharacterAndWraps)
{
    MWinButton *list = AddList(100, 6);
    MoveMouse(150, 110);
    Key(kEnter);
    ASSERT_TRUE(list->ListIsOpen());
    struct Row {
        int key;
        int hovered;
    } rows[] = {{'A', 3}, {'A', 0}, {'7', 1}, {'8', 5}, {'B', 2}, {'Z', 2}, {'C', 4}, {'A', 0}};
    for (const Row &r : rows) {
        Key(r.key);
        EXPECT_EQ(list->ListGetHover(), r.hovered) << static_cast<char>(r.key);
    }
    Key('C');
    Key(kEnter);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(list->ListGetPos(), 4);
    EXPECT_STREQ(list->GetTextP(), "Cherry");
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back(), 1) << "accepted";

    // Escape cancels, reporting event 2 when the hovered row had moved.
    Key(kEnter);
    Key(kDown);
    Key(kEscape);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(list->ListGetPos(), 4);
    EXPECT_EQ(log.events.back(), 2);
}

TEST_F(MWinListTest, MovingThroughTheOpenListReportsTheHoveredEntries)
{
    MWinButton *list = AddList(100, 6);
    MoveMouse(150, 110);
    Key(kEnter);
    ASSERT_TRUE(list->ListIsOpen());
    Key(kDown);
    Key(kDown);
    EXPECT_EQ(log.events, (std::vector<int>{0, 0}));
    EXPECT_EQ(log.positions, (std::vector<int>{1, 2})) << "the entries under the cursor, not the position";
    EXPECT_EQ(list->ListGetPos(), 0);
}

TEST_F(MWinListTest, AListHiddenByItsScreenOrNotActiveIgnoresTheWheel)
{
    MWinButton *list = AddList(100, 6);
    MoveMouse(150, 110);
    ASSERT_TRUE(list->IsActive());
    list->m_shown = 0; // the screen hides it by its flag; it stays the active control
    Wheel(-1);
    EXPECT_EQ(list->ListGetPos(), 0);
    EXPECT_TRUE(log.events.empty());
    list->m_shown = 1;
    MoveMouse(150, 300);
    ASSERT_FALSE(list->IsActive());
    EXPECT_FALSE(list->HandleMouseWheel(-1));
    EXPECT_EQ(list->ListGetPos(), 0);
}

TEST_F(MWinListTest, TheOpenListShowsTheRowsThatFitWithMarkersAndCaps)
{
    struct Row {
        float y;
        int count, pos;
        int first, end;
        bool above, below;
    } rows[] = {
        {100, 5, 0, 0, 5, false, false},  // room for all
        {440, 10, 0, 0, 1, false, true},  // near the bottom: two rows, the second a marker
        {100, 10, 8, 4, 10, true, false}, // five rows above the anchor, the first a marker
        {0, 30, 0, 0, 23, false, true},   // taller than the screen
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.y);
        MWinButton *list = AddList(r.y, r.count);
        list->ListSetPos(r.pos, 0);
        list->ListOpen();
        EXPECT_EQ(list->ListGetFirstVisible(), r.first);
        EXPECT_EQ(list->ListGetEndVisible(), r.end);
        EXPECT_EQ(list->ListHasMoreAbove(), r.above);
        EXPECT_EQ(list->ListHasMoreBelow(), r.below);
        EXPECT_EQ(list->ListGetHover(), r.pos);
        delete list;
    }
}

TEST_F(MWinListTest, RestingOnTheMoreBelowMarkerScrollsEverFaster)
{
    VirtualClock::Install();
    MWinButton *list = AddList(440, 30);
    list->ListOpen();
    ASSERT_TRUE(list->ListHasMoreBelow());
    list->ListSetHover(list->ListGetEndVisible(), 0); // the marker row
    std::vector<int> step_times;
    int last_hover = list->ListGetHover();
    for (int t = 0; t < 2000 && step_times.size() < 8; t += 5) {
        VirtualClock::Advance(5);
        list->Tick(0);
        if (list->ListGetHover() != last_hover) {
            last_hover = list->ListGetHover();
            step_times.push_back(t + 5);
        }
    }
    ASSERT_EQ(step_times.size(), 8u);
    const int gaps[] = {330, 260, 190, 120, 50, 5, 5};
    for (int i = 0; i < 7; i++)
        EXPECT_NEAR(step_times[i + 1] - step_times[i], gaps[i], 5) << "step " << i + 1;
}

TEST_F(MWinListTest, TheWheelOnAClosedListStepsAndAccepts)
{
    MWinButton *list = AddList(100, 6);
    MoveMouse(150, 110);
    Wheel(1);
    EXPECT_EQ(list->ListGetPos(), 0) << "already at the first entry";
    EXPECT_TRUE(log.events.empty());
    Wheel(-1);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(list->ListGetPos(), 3) << "three wheel lines down";
    EXPECT_EQ(log.events.back(), 1);
}

TEST_F(MWinListTest, AStepWhoseNoticeRemovesTheScreenTouchesNothingMore)
{
    // Under a screen controller that leaves the screen on the list's first
    // notice, the wheel and the keys on a closed list stop there; the next
    // screen's list steps as ever.
    TestController controller;
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *) {
        mwin->GetDesktop()->RemoveCollection("Form");
        return char(1);
    };
    const struct {
        const char *name;
        std::function<void()> step;
    } cases[] = {
        {"the wheel", [this] { Wheel(-1); }},
        {"Down", [this] { Key(kDown); }},
        {"Page Down", [this] { Key(34); }},
    };
    mwin->GetDesktop()->RemoveCollection("Main");
    auto build = [this](MWinCollectionController *receiver) {
        MWinWindow *form = AddWindow(AddCollection("Form"), "Win", 100, 0, 300, 480);
        form->SetController(receiver);
        MWinButton *list = form->AddButton("Pick", MWBT_LIST, "White", "", 10, 100, 200, 20);
        std::vector<const char *> names(kFruit, kFruit + 6);
        list->ListSetStrings(6, names.data());
        MoveMouse(150, 110);
        return list;
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        build(&controller);
        controller.presses.clear();
        // Under AddressSanitizer any read of the removed list fails the test.
        c.step();
        EXPECT_EQ(controller.presses, std::vector<std::string>{"Pick"});
        EXPECT_EQ(mwin->GetDesktop()->GetCollectionFromID("Form", 0), nullptr);

        TestController calm;
        MWinButton *list = build(&calm);
        c.step();
        EXPECT_GT(list->ListGetPos(), 0) << "the next list is not left thinking a step is running";
        EXPECT_FALSE(list->ListIsOpen());
        mwin->GetDesktop()->RemoveCollection("Form");
    }
}

} // namespace
