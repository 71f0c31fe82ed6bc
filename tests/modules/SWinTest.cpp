#include "modules/SWin.h"
#include "tests/modules/ModulesTestSupport.h"

#include <vector>

namespace {

using namespace modules_test;

// Keeps the window open: the test drives it itself.
void LeaveOpen(UiWindow *) {}

class SWinTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        UiSetTestHook(LeaveOpen, true);
        PlatformHeadlessSetWorkArea(0, 0, 1920, 1040);
    }

    void TearDown() override
    {
        UiSetTestDpi(0.0f);
        ModulesTest::TearDown();
    }

    static _SWinCreateInfo Info(int x, int y, int width, int height)
    {
        _SWinCreateInfo info = {};
        info.x = x;
        info.y = y;
        info.width = width;
        info.height = height;
        info.red = info.green = info.blue = 0.94f;
        return info;
    }
};

TEST(SWinPlaceTest, WindowsAndControlsAreCutCentredMovedInsideAndScaled)
{
    struct Case {
        const char *what;
        bool window;
        int area_width, area_height;
        float scale;
        int x, y, width, height;
        _SWinPlace expected;
    };
    const Case CASES[] = {
        {"centred window", true, 1920, 1040, 1.0f, -1, -1, 400, 90, {760, 475, 400, 90}},
        {"centred window at 144 dpi", true, 1920, 1040, 1.5f, -1, -1, 400, 90, {660, 452.5f, 600, 135}},
        {"window larger than the area", true, 800, 600, 1.0f, 10, 10, 1000, 700, {0, 0, 800, 600}},
        {"window sticking out", true, 1920, 1040, 1.0f, 1800, 1000, 400, 90, {1520, 950, 400, 90}},
        {"wide control", false, 640, 420, 1.0f, 0, 10, 800, 20, {0, 10, 640, 20}},
        {"centred control", false, 400, 90, 1.0f, -1, 22, 200, 20, {100, 22, 200, 20}},
        {"control at 144 dpi", false, 400, 90, 1.5f, 10, 22, 100, 20, {15, 33, 150, 30}},
    };
    for (const Case &c : CASES) {
        _SWinPlace place = c.window ? SWinPlaceWindow(c.area_width, c.area_height, c.scale, c.x, c.y, c.width, c.height)
                                    : SWinPlaceControl(c.area_width, c.area_height, c.scale, c.x, c.y, c.width,
                                                       c.height);
        EXPECT_FLOAT_EQ(place.x, c.expected.x) << c.what;
        EXPECT_FLOAT_EQ(place.y, c.expected.y) << c.what;
        EXPECT_FLOAT_EQ(place.width, c.expected.width) << c.what;
        EXPECT_FLOAT_EQ(place.height, c.expected.height) << c.what;
    }
}

TEST_F(SWinTest, TheWindowOpensWhereItsGeometrySays)
{
    SWin swin;
    UiSetTestDpi(144.0f);
    _SWinCreateInfo info = Info(-1, -1, 400, 90);
    ASSERT_TRUE(swin.CreateMainWindow(&info));
    EXPECT_FLOAT_EQ(swin.GetScale(), 1.5f);
    int x, y, width, height;
    UiWindowGetRect(swin.GetNativeWindow(), &x, &y, &width, &height);
    EXPECT_EQ(std::vector<int>({x, y, width, height}), std::vector<int>({660, 452, 600, 135}));
    EXPECT_FLOAT_EQ(swin.GetArea()[2], 600.0f);

    EXPECT_FALSE(swin.CreateMainWindow(&info));
    EXPECT_EQ(LastStored(), ErrorLine("SWin::CreateMainWindow", "Window already created"));
    EXPECT_FALSE(swin.CreateMainWindow(nullptr));
    EXPECT_EQ(LastStored(), ErrorLine("SWin::CreateMainWindow", "No info specified"));
}

TEST_F(SWinTest, ControlsAreCountedCheckedAndRefusedPastTwentyFour)
{
    SWin swin;
    EXPECT_EQ(swin.AddButtonToWindow(SWBT_STATIC_TEXT, 0, 0, 10, 10, "x"), -1);
    EXPECT_EQ(LastStored(), ErrorLine("SWin::AddButtonToWindow", "No window"));

    _SWinCreateInfo info = Info(-1, -1, 640, 420);
    ASSERT_TRUE(swin.CreateMainWindow(&info));
    EXPECT_EQ(swin.AddButtonToWindow(static_cast<_SWinButtonType>(5), 0, 0, 10, 10, ""), -1);
    EXPECT_EQ(LastStored(), ErrorLine("SWin::AddButtonToWindow", "Unknown button type 5"));

    int text = swin.AddButtonToWindow(SWBT_STATIC_TEXT, 0, 22, 800, 20, "Updating");
    EXPECT_EQ(text, 0);
    int x, y, width, height;
    ASSERT_TRUE(UiControlGetRect(swin.GetNativeWindow(), 1, &x, &y, &width, &height));
    EXPECT_EQ(std::vector<int>({x, y, width, height}), std::vector<int>({0, 22, 640, 20}));
    int slot = swin.AddButtonToWindow(SWBT_RADIO_GROUP, 0, 0, 10, 10, nullptr);
    EXPECT_EQ(slot, 1);
    EXPECT_FALSE(swin.SetButtonText(slot, "no window of its own"));
    EXPECT_EQ(LastStored(), ErrorLine("SWin::SetButtonText", "No window"));
    EXPECT_FALSE(swin.PushButtonSetCallback(text, nullptr));
    EXPECT_EQ(LastStored(), ErrorLine("SWin::PushButtonSetCallback", "Not a push button"));

    EXPECT_TRUE(swin.SetButtonText(text, "Checking for updates ..."));
    EXPECT_TRUE(swin.SetButtonTextAlign(text, SWTA_CENTRE));
    EXPECT_FALSE(swin.SetButtonTextAlign(text, static_cast<_SWinTextAlign>(3)));
    char buffer[8];
    EXPECT_TRUE(swin.GetButtonText(text, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Checkin");

    while (swin.GetNumControls() < SWIN_MAX_CONTROLS)
        ASSERT_GE(swin.AddButtonToWindow(SWBT_GROUP_BOX, 0, 0, 10, 10, ""), 0);
    EXPECT_EQ(swin.AddButtonToWindow(SWBT_GROUP_BOX, 0, 0, 10, 10, ""), -1);
    EXPECT_EQ(LastStored(), ErrorLine("SWin::AddButtonToWindow", "Too many buttons"));
}

int presses = 0;
int chosen = -1;

TEST_F(SWinTest, ButtonsCallBackAndEscapeDestroysTheWindow)
{
    SWin swin;
    _SWinCreateInfo info = Info(-1, -1, 640, 420);
    ASSERT_TRUE(swin.CreateMainWindow(&info));
    presses = 0;
    int close = swin.AddPushButtonToWindow(10, 10, 80, 24, "Close", [](SWin *window) {
        presses++;
        window->QuitWindowLoop();
    });
    int list = swin.AddButtonToWindow(SWBT_DROP_DOWN_LIST, 10, 50, 100, 20, "");
    int list_int = -1;
    char list_char = -1;
    chosen = -1;
    EXPECT_FALSE(swin.ListSetCallback(close, nullptr, &list_int, &list_char));
    EXPECT_EQ(LastStored(), ErrorLine("SWin::ListSetCallback", "Not a drop-down list"));
    EXPECT_TRUE(swin.ListSetCallback(list, [](SWin *, int selection) { chosen = selection; }, &list_int, &list_char));
    UiWindow *window = swin.GetNativeWindow();
    int x, y, width, height;
    ASSERT_TRUE(UiControlGetRect(window, list + 1, &x, &y, &width, &height));
    EXPECT_EQ(height, 420 - 50); // a list reaches to the window's bottom

    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 1);
    UiListAddItem(window, list + 1, "a");
    UiListAddItem(window, list + 1, "b");
    UiTestChoose(window, list + 1, 1);
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 2);
    EXPECT_EQ(swin.GetListSelection(list), 1);
    EXPECT_EQ(list_int, 1);
    EXPECT_EQ(list_char, 1);
    EXPECT_EQ(chosen, 1);

    UiTestClick(window, close + 1);
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 2);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 0); // the loop is over

    EXPECT_TRUE(swin.DestroyMainWindow());

    // A new window starts clear, and Escape destroys it.
    ASSERT_TRUE(swin.CreateMainWindow(&info));
    EXPECT_FALSE(swin.IsQuitting());
    UiTestPressEscape(swin.GetNativeWindow());
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 2);
    EXPECT_FALSE(swin.IsCreated());
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 0);
    EXPECT_EQ(LastStored(), ErrorLine("SWin::ProcessAnyWindowsMessages", "No window"));
    EXPECT_FALSE(swin.DestroyMainWindow());
    EXPECT_FALSE(swin.QuitWindowLoop());
}

} // namespace
