// The updater's native window as the desktop shows it, used through GTK.
#include "modules/SWin.h"
#include "tests/modules/ModulesTestSupport.h"

namespace {

using namespace modules_test;

int presses = 0;

class SWinDisplayTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        UiSetTestHook(nullptr, false);
        presses = 0;
    }

    void TearDown() override
    {
        TestHooks::Install();
        ModulesTest::TearDown();
    }

    // Pumps until one event was handled (a bounded number of passes).
    static int PumpUntilHandled(SWin *swin)
    {
        int result = 1;
        for (int pass = 0; pass < 1000 && result == 1; pass++)
            result = swin->ProcessAnyWindowsMessages();
        return result;
    }
};

TEST_F(SWinDisplayTest, AButtonCallsBackAndEscapeDestroysTheWindow)
{
    SWin swin;
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = 640;
    info.height = 420;
    info.red = info.green = info.blue = 0.94f;
    ASSERT_TRUE(swin.CreateMainWindow(&info));
    int text = swin.AddButtonToWindow(SWBT_STATIC_TEXT, 0, 22, 640, 20, "Checking for updates ...");
    ASSERT_GE(text, 0);
    ASSERT_TRUE(swin.SetButtonTextAlign(text, SWTA_CENTRE));
    int button = swin.AddPushButtonToWindow(270, 360, 100, 30, "Close", [](SWin *window) {
        presses++;
        window->QuitWindowLoop();
    });
    ASSERT_GE(button, 0);
    ASSERT_TRUE(UiTestWaitUntilShown(swin.GetNativeWindow()));

    ASSERT_TRUE(UiTestClick(swin.GetNativeWindow(), button + 1));
    EXPECT_EQ(PumpUntilHandled(&swin), 2);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 0);
    ASSERT_TRUE(swin.DestroyMainWindow());

    ASSERT_TRUE(swin.CreateMainWindow(&info));
    ASSERT_TRUE(UiTestWaitUntilShown(swin.GetNativeWindow()));
    ASSERT_TRUE(UiTestPressEscape(swin.GetNativeWindow()));
    EXPECT_EQ(PumpUntilHandled(&swin), 2);
    EXPECT_FALSE(swin.IsCreated());
    EXPECT_EQ(swin.ProcessAnyWindowsMessages(), 0);
    EXPECT_EQ(LastStored(), ErrorLine("SWin::ProcessAnyWindowsMessages", "No window"));
}

} // namespace
