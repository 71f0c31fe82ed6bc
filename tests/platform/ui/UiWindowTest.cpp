#include "platform/ui/UiWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

void Record(UiWindow *, const _UiEvent *event, void *)
{
    static const char *const NAMES[] = {"clicked", "chosen", "escape", "close"};
    events.push_back(std::string(NAMES[event->type]) + " " + std::to_string(event->control_id));
}

void LeaveOpen(UiWindow *) {}

class UiWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        UiSetTestHook(LeaveOpen, true);
        _UiWindowParms parms = {"Test", -1, -1, 300, 200, 0, 0.5f, 0.5f, 0.5f};
        window = UiWindowCreate(&parms, Record, nullptr);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override { UiWindowDestroy(window); }

    // Every queued event, handed over.
    void PumpAll()
    {
        while (UiWindowPump(window, false) == 2) {
        }
    }

    UiWindow *window = nullptr;
};

TEST_F(UiWindowTest, OnlyTheUsersActionsRaiseEvents)
{
    ASSERT_TRUE(UiWindowAddControl(window, UI_DROP_DOWN, 1, 0, 0, 100, 20, ""));
    ASSERT_TRUE(UiWindowAddControl(window, UI_PUSH_BUTTON, 2, 0, 30, 100, 20, "&OK"));
    UiListAddItem(window, 1, "a");
    UiListAddItem(window, 1, "b");
    UiListSetSelection(window, 1, 0);
    UiControlSetText(window, 2, "Go");
    PumpAll();
    EXPECT_TRUE(events.empty());

    EXPECT_TRUE(UiTestChoose(window, 1, 1));
    EXPECT_TRUE(UiTestChoose(window, 1, 1)); // the same item again: nothing new
    EXPECT_TRUE(UiTestClick(window, 2));
    EXPECT_TRUE(UiTestPressEscape(window));
    EXPECT_TRUE(UiTestCloseBox(window));
    PumpAll();
    EXPECT_EQ(events, (std::vector<std::string>{"chosen 1", "clicked 2", "escape 0", "close 0"}));
    EXPECT_EQ(UiListGetSelection(window, 1), 1);

    UiControlEnable(window, 2, false);
    EXPECT_FALSE(UiTestClick(window, 2)); // a disabled button cannot be pressed
    EXPECT_FALSE(UiTestChoose(window, 1, 5));
}

TEST_F(UiWindowTest, RadioButtonsInARunFormOneGroup)
{
    ASSERT_TRUE(UiWindowAddControl(window, UI_RADIO_BUTTON, 1, 0, 0, 50, 20, "A"));
    ASSERT_TRUE(UiWindowAddControl(window, UI_RADIO_BUTTON, 2, 60, 0, 50, 20, "B"));
    ASSERT_TRUE(UiWindowAddControl(window, UI_LABEL, 3, 0, 30, 50, 20, "-"));
    ASSERT_TRUE(UiWindowAddControl(window, UI_RADIO_BUTTON, 4, 0, 60, 50, 20, "C"));
    UiControlSetChecked(window, 1, true);
    UiControlSetChecked(window, 4, true);
    EXPECT_TRUE(UiControlIsChecked(window, 1));

    UiTestClick(window, 2);
    PumpAll();
    EXPECT_EQ(events, (std::vector<std::string>{"clicked 2"}));
    EXPECT_FALSE(UiControlIsChecked(window, 1));
    EXPECT_TRUE(UiControlIsChecked(window, 2));
    EXPECT_TRUE(UiControlIsChecked(window, 4)); // another group
}

TEST_F(UiWindowTest, BadIdsAndKindsAreRefused)
{
    ASSERT_TRUE(UiWindowAddControl(window, UI_LABEL, 7, 0, 0, 50, 20, "x"));
    EXPECT_FALSE(UiWindowAddControl(window, UI_LABEL, 7, 0, 0, 50, 20, "again"));
    EXPECT_FALSE(UiWindowAddControl(window, UI_LABEL, 0, 0, 0, 50, 20, "no id"));
    EXPECT_FALSE(UiWindowAddControl(window, static_cast<_UiControlKind>(42), 8, 0, 0, 50, 20, ""));
    EXPECT_FALSE(UiControlSetText(window, 9, "missing"));
    EXPECT_FALSE(UiListAddItem(window, 7, "a label is no list"));
    EXPECT_EQ(UiListGetCount(window, 7), -1);
    EXPECT_FALSE(UiControlSetAlign(window, 7, static_cast<_UiTextAlign>(3)));
    char text[4];
    EXPECT_TRUE(UiControlGetText(window, 7, text, sizeof(text)));
    EXPECT_STREQ(text, "x");
}

TEST_F(UiWindowTest, AWaitWithNobodyToAnswerClosesTheWindow)
{
    EXPECT_EQ(UiWindowPump(window, false), 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(UiWindowPump(window, true), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"close 0"}));
}

} // namespace
