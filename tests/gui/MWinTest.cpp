// The toolkit's root: the message queue and its delivery at the tick, the
// settings and the five layouts with their scaled metrics, the pointer
// below a menu bar, and the life of the toolkit.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinGroup.h"

#include <string>

namespace {

// A control that counts its ticks, to see whether the desktop ticked.
class CountingButton : public MWinButton {
public:
    int ticks = 0;
    CountingButton(MWin *mwin, MWinGroup *group)
        : MWinButton(mwin, "Counter", group, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", 0, 0, 10, 10)
    {
    }
    char Tick(char) override
    {
        ticks++;
        return 0;
    }
};

class MWinTest : public GuiTest {
protected:
    MWinCollection *collection = nullptr;
    MWinWindow *window = nullptr;
    MWinButton *ok = nullptr;
    TestController controller;

    void SetUp() override
    {
        GuiTest::SetUp();
        collection = AddCollection("Main");
        window = AddWindow(collection, "Win", 100, 100, 200, 100);
        window->SetController(&controller);
        ok = window->AddButton("OK", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "OK", 10, 10, 60, 20);
        ASSERT_NE(ok, nullptr);
        DebugClearLogs();
    }
};

TEST_F(MWinTest, ASecondMessageIsRefusedAndTheFirstDeliveredInPlaceOfTheDesktopTick)
{
    auto *counter = new CountingButton(mwin, window->GetFirstGroup());
    window->GetFirstGroup()->CompleteAddButton(counter);

    EXPECT_TRUE(window->SendButtonCallCallbackMessage(ok, 1));
    EXPECT_FALSE(window->SendButtonCallCallbackMessage(ok, 1));
    EXPECT_TRUE(LogHasLine("( MWin::AddMessageToQueue )    Queue not empty"));
    EXPECT_TRUE(controller.presses.empty()) << "nothing runs inside the asking handler";

    // The delivering tick does not tick the desktop.
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(controller.presses, std::vector<std::string>{"OK"});
    EXPECT_EQ(counter->ticks, 0);
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);

    // The next one does.
    EXPECT_FALSE(mwin->Tick());
    EXPECT_EQ(counter->ticks, 1);
    EXPECT_EQ(controller.presses.size(), 1u);
}

TEST_F(MWinTest, BadIdentifiersAreRefusedWithoutOverrunningTheQueue)
{
    const std::string too_long(32, 'x'), longest(31, 'y');
    struct Case {
        const char *collection, *window, *button;
        const char *logged;
    } cases[] = {
        {"Main", "", "OK", "( MWin::AddMessageToQueue )    ID(s) invalid"},
        {nullptr, "Win", "OK", "( MWin::AddMessageToQueue )    ID(s) invalid"},
        {"Main", "Win", too_long.c_str(), "Source string Too Long"},
        {too_long.c_str(), "Win", "OK", "Source string Too Long"},
    };
    for (const Case &c : cases) {
        DebugClearLogs();
        EXPECT_FALSE(mwin->AddMessageToQueue(c.collection, c.window, c.button, MWMN_BUTTON_PRESSED));
        EXPECT_TRUE(LogHasLine(c.logged)) << c.logged;
        EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    }
    // 31 characters fit, and the message names exactly those.
    EXPECT_TRUE(mwin->AddMessageToQueue("Main", "Win", longest.c_str(), MWMN_BUTTON_PRESSED));
    DebugClearLogs();
    EXPECT_FALSE(mwin->Tick());
    EXPECT_TRUE(LogHasLine("mwinp->GetButtonFromIDs() failed [Main, Win, " + longest + "]"));
}

TEST_F(MWinTest, DeletingAControlDropsItsQueuedMessage)
{
    ASSERT_TRUE(window->SendButtonCallCallbackMessage(ok, 1));
    window->RemoveAllButtons();
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    EXPECT_FALSE(mwin->Tick());
    EXPECT_TRUE(controller.presses.empty());
    EXPECT_EQ(DebugGetNumMessages(), 0);

    // So does removing the whole screen.
    MWinButton *again = window->AddButton("OK", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "OK", 10, 10, 60, 20);
    ASSERT_TRUE(window->SendButtonCallCallbackMessage(again, 1));
    ASSERT_TRUE(mwin->GetDesktop()->RemoveCollection("Main"));
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
}

TEST_F(MWinTest, AMessageForAVanishedControlIsLoggedAndTouchesNothing)
{
    // Queued under the ids of a control that is gone (its screen was left
    // while the toolkit was off, so it could not take its message back).
    ASSERT_TRUE(mwin->AddMessageToQueue("Main", "Win", "Gone", MWMN_BUTTON_PRESSED));
    EXPECT_FALSE(mwin->Tick());
    EXPECT_TRUE(LogHasLine("mwinp->GetButtonFromIDs() failed [Main, Win, Gone]"));
    EXPECT_TRUE(LogHasLine("Button <Gone> not found in window <Win> of collection <Main>"));
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    EXPECT_TRUE(controller.presses.empty());
}

TEST_F(MWinTest, TwoControlsSharingAnIdAreListedWhenOneGoes)
{
    MWinButton *twin = window->AddButton("OK", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Twin", 10, 40, 60, 20);
    ASSERT_TRUE(window->SendButtonCallCallbackMessage(twin, 1));
    DebugClearLogs();
    delete twin;
    // The lookup finds the first "OK", not the control going: both are listed.
    EXPECT_TRUE(LogHasLine("(OK) [w:Win] [b:OK]"));
    EXPECT_TRUE(LogHasLine("( MWin::RemoveAnyQueuedMessagesForButton )"));
    mwin->RemoveAnyQueuedMessagesForButton(nullptr, window, collection);
    EXPECT_TRUE(LogHasLine("MWin::RemoveAnyQueuedMessagesForButton"));
}

TEST_F(MWinTest, ThePressReachesTheControllerOrTheCallbackAndTheLogSaysWhyNot)
{
    MWinWindow *other = AddWindow(collection, "Other", 300, 300, 100, 100);
    MWinButton *elsewhere = other->AddButton("Far", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", 0, 0, 20, 20);
    EXPECT_FALSE(window->SendButtonCallCallbackMessage(elsewhere, 1));
    EXPECT_TRUE(LogHasLine("Invalid button"));

    ok->Hide();
    EXPECT_FALSE(window->SendButtonCallCallbackMessage(ok, 1));
    EXPECT_TRUE(LogHasLine("Button [OK] is not shown."));
    ok->m_shown = 1;
    ok->Disable();
    DebugClearLogs();
    EXPECT_FALSE(window->SendButtonCallCallbackMessage(ok, 1));
    EXPECT_EQ(DebugGetNumMessages(), 0) << "a disabled control is refused silently";

    // With a controller, a callback is refused unless asked not to check.
    auto callback = [](MWin *, _MWinButtonCallbackInfo *, int, int) {};
    EXPECT_FALSE(ok->SetCallback(callback, 1, 2, 1));
    EXPECT_TRUE(LogHasLine("Use controller"));
    EXPECT_TRUE(ok->SetCallback(callback, 1, 2, 0));
    ok->Enable();
    ASSERT_TRUE(window->SendButtonCallCallbackMessage(ok, 1));
    mwin->Tick();
    EXPECT_EQ(controller.presses, std::vector<std::string>{"OK"}) << "the controller still takes the press";

    // Without one, the callback gets it.
    static int called = 0;
    called = 0;
    MWinButton *plain = other->AddButton("Plain", MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", 30, 0, 20, 20);
    plain->SetCallback([](MWin *, _MWinButtonCallbackInfo *info, int a, int b) {
        EXPECT_STREQ(info->m_button_id, "Plain");
        EXPECT_STREQ(info->m_window_id, "Other");
        called = a + b;
    }, 3, 4, 1);
    ASSERT_TRUE(other->SendButtonCallCallbackMessage(plain, 1));
    mwin->Tick();
    EXPECT_EQ(called, 7);
}

TEST_F(MWinTest, TheLayoutsCarryTheirDefaultsAndTheScaledFieldsFollowTheScreen)
{
    struct Row {
        int layout;
        float title_h, title_button_w, button_w, button_h, win_vscroll_w, tab_header_h;
    } rows[] = {
        {0, 30, 50, 60, 20, 30, 20}, {1, 50, 140, 100, 45, 20, 22}, {2, 55, 100, 60, 65, 14, 36},
        {3, 35, 90, 60, 25, 4, 25},  {4, 40, 80, 60, 35, 4, 25},
    };
    for (const Row &row : rows) {
        _MWinLayoutSettings *l = mwin->GetLayoutSettings(row.layout);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->m_title_h, row.title_h) << row.layout;
        EXPECT_EQ(l->m_title_button_w, row.title_button_w) << row.layout;
        EXPECT_EQ(l->m_button_w, row.button_w) << row.layout;
        EXPECT_EQ(l->m_button_h, row.button_h) << row.layout;
        EXPECT_EQ(l->m_win_vscroll_w, row.win_vscroll_w) << row.layout;
        EXPECT_EQ(l->m_tab_header_h, row.tab_header_h) << row.layout;
    }

    // A wide screen narrows the horizontal measures only.
    float saved = eng_font_scale_x;
    eng_font_scale_x = 0.75f;
    mwin->UpdateLayoutSettings();
    _MWinLayoutSettings *l = mwin->GetLayoutSettings(0);
    EXPECT_FLOAT_EQ(l->m_title_text_inset, 7 * 0.75f);
    EXPECT_FLOAT_EQ(l->m_win_vscroll_w, 30 * 0.75f);
    EXPECT_FLOAT_EQ(l->m_checkbox_w, 12 * 0.75f);
    EXPECT_EQ(l->m_title_h, 30) << "not a scaled field";
    EXPECT_EQ(l->m_win_hscroll_h, 30) << "not a scaled field";
    EXPECT_EQ(l->m_checkbox_h, 12) << "not a scaled field";
    EXPECT_EQ(l->m_colour_border_w, 1) << "1.5 rounds towards zero";
    EXPECT_EQ(l->m_colour_border_h, 2);

    // Without the scale flag nothing is narrowed.
    mwin->SetScaleOn(0);
    mwin->UpdateLayoutSettings();
    EXPECT_EQ(mwin->GetLayoutSettings(0)->m_title_text_inset, 7);
    mwin->SetScaleOn(1);
    eng_font_scale_x = saved;
    mwin->UpdateLayoutSettings();
}

TEST_F(MWinTest, SwitchingTheLayoutKeepsTheActiveCollectionAndMovesEveryCollection)
{
    MWinCollection *second = AddCollection("Second");
    collection->Activate();
    mwin->SetScreenLayout(3);
    EXPECT_EQ(mwin->GetLayout(), 3);
    EXPECT_EQ(collection->GetScreenLayout(), 3);
    EXPECT_EQ(second->GetScreenLayout(), 3);
    EXPECT_TRUE(collection->IsActive());
    EXPECT_FALSE(second->IsActive());
    EXPECT_EQ(mwin->GetScreenLayout()->m_title_h, 35);
    // Layout 3 has its own window list: the Normal layout's window is not in use.
    EXPECT_EQ(collection->GetWindowFromID("Win", 0), nullptr);

    mwin->SetScreenLayout(9);
    EXPECT_TRUE(LogHasLine("Invalid screen layout 9"));
    EXPECT_EQ(mwin->GetLayout(), 0);
    EXPECT_EQ(collection->GetWindowFromID("Win", 0), window);
}

TEST_F(MWinTest, ThePointerBelowAMenuBar)
{
    struct Case {
        float mouse_y, menu_h, pointer_y;
    } cases[] = {
        {20, 20, 0}, {480, 20, 480}, {250, 20, 240}, {100, 0, 100},
        // A bar of the whole screen or more leaves the mouse's own y.
        {100, 480, 100}, {100, 600, 100},
    };
    for (const Case &c : cases)
        EXPECT_FLOAT_EQ(MWin::PointerYBelowMenu(c.mouse_y, c.menu_h), c.pointer_y) << c.mouse_y << " " << c.menu_h;

    // Without a menu the pointer is the mouse; areas are half-open.
    MoveMouse(110, 120);
    EXPECT_EQ(mwin->GetPointerX(), 110);
    EXPECT_EQ(mwin->GetPointerY(), 120);
    _Dimension area = {100, 100, 10, 20};
    EXPECT_FALSE(mwin->IsPointerInDimension(&area, nullptr));
    area.w = 11;
    EXPECT_FALSE(mwin->IsPointerInDimension(&area, nullptr));
    area.h = 21;
    EXPECT_TRUE(mwin->IsPointerInDimension(&area, nullptr));
    _Vector2d offset = {-1, 0};
    EXPECT_FALSE(mwin->IsPointerInDimension(&area, &offset));
    EXPECT_FALSE(mwin->IsMouseInDimension(nullptr, nullptr));
}

TEST_F(MWinTest, TheLifeOfTheToolkit)
{
    EXPECT_TRUE(mwin->Startup());
    EXPECT_TRUE(LogHasLine("MWin already on"));

    mwin->SetIsOnForTests(2);
    DebugClearLogs();
    EXPECT_FALSE(mwin->IsOn());
    EXPECT_TRUE(LogHasLine("( MWin::IsOn )    m_is_on = 2."));
    mwin->SetIsOnForTests(1);

    ASSERT_TRUE(window->SendButtonCallCallbackMessage(ok, 1));
    EXPECT_TRUE(mwin->Shutdown());
    EXPECT_FALSE(mwin->IsOn());
    EXPECT_EQ(mwin->GetDesktop()->GetFirstCollection(), nullptr);
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    EXPECT_EQ(mwin->GetMouseX(), -1);
    EXPECT_FALSE(mwin->GetTextures()->IsCreated());
    EXPECT_EQ(MWinButton::GetLiveCount(), 0);
    EXPECT_FALSE(mwin->AreScreensOn());
    EXPECT_EQ(mwin->GetCurrentScreen(), 0u);

    mwin->Shutdown();
    EXPECT_TRUE(LogHasLine("MWin not on"));
}

TEST_F(MWinTest, ABackgroundImageThatWillNotLoadFallsBackToClearing)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_bg_mode = 3;
    std::snprintf(settings.m_bg_file, sizeof(settings.m_bg_file), "missing.png");
    mwin->SetSettings(&settings);
    EXPECT_FALSE(mwin->CreateBgClearImage());
    EXPECT_TRUE(LogHasLine("Could not load background image <missing.png>"));
    mwin->GetSettings(&settings);
    EXPECT_EQ(settings.m_bg_mode, 1);

    // A file that loads stretches over the whole screen and is drawn first.
    settings.m_bg_mode = 3;
    std::snprintf(settings.m_bg_file, sizeof(settings.m_bg_file), "skin.png");
    mwin->SetSettings(&settings);
    EXPECT_TRUE(mwin->CreateBgClearImage());
    D3D9RecordingReset();
    mwin->RenderMain();
    std::vector<DrawnQuad> drawn = DrawnQuads();
    ASSERT_FALSE(drawn.empty());
    EXPECT_NEAR(drawn[0].x, 0, 0.01);
    EXPECT_NEAR(drawn[0].w, 640, 0.01);
    EXPECT_NEAR(drawn[0].h, 480, 0.01);
}

} // namespace
