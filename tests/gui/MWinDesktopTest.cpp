// Collections and the desktop: adding and finding by id, activation, the
// window focus rules (modal windows, focus following the mouse), routing of
// presses and keys, handlers that delete their own window or rebuild their
// screen, and the drawing order read back from the recording device.
#include "tests/support/GuiTestKit.h"

#include <string>

namespace {

const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

class MWinDesktopTest : public GuiTest {
protected:
    MWinDesktop *desktop = nullptr;
    TestController controller;

    void SetUp() override
    {
        GuiTest::SetUp();
        desktop = mwin->GetDesktop();
    }

    // A screen "Main" (made when missing) with a window "Win" holding the
    // push button "OK" at 110, 110 (60 x 20), its presses going to the
    // controller.
    MWinButton *BuildScreen()
    {
        MWinCollection *collection = desktop->GetCollectionFromID("Main", 0);
        if (!collection)
            collection = AddCollection("Main");
        MWinWindow *window = AddWindow(collection, "Win", 100, 100, 200, 100);
        window->SetController(&controller);
        return window->AddButton("OK", MWBT_PUSH, "Red", "OK", 10, 10, 60, 20);
    }
};

TEST_F(MWinDesktopTest, CollectionsByIdAndTheirActivation)
{
    MWinCollection *first = AddCollection("First");
    MWinCollection *second = AddCollection("Second");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(first->IsActive());
    EXPECT_TRUE(second->IsActive()) << "the newest is the active one";

    EXPECT_EQ(AddCollection("First"), nullptr);
    EXPECT_TRUE(LogHasLine("Collection already exists <First>"));
    EXPECT_EQ(second->GetNext(), nullptr) << "nothing was added";
    EXPECT_TRUE(second->IsActive());

    EXPECT_EQ(desktop->GetCollectionFromID("first", 0), nullptr) << "ids are compared exactly";
    EXPECT_EQ(mwin->GetCollectionFromID("First", 1), first);
    EXPECT_EQ(mwin->GetCollectionFromID("Third", 1), nullptr);
    EXPECT_TRUE(LogHasLine("ID <Third> not found"));
    EXPECT_FALSE(desktop->DoesCollectionExist(""));
    EXPECT_TRUE(LogHasLine("( MWinDesktop::GetCollectionFromID )    No Collection ID"));

    first->Activate();
    EXPECT_TRUE(first->IsActive());
    EXPECT_FALSE(second->IsActive());
    EXPECT_EQ(desktop->GetActiveCollection(), first);

    EXPECT_FALSE(desktop->RemoveCollection("Third"));
    EXPECT_TRUE(LogHasLine("Could not find collection"));
    EXPECT_TRUE(desktop->RemoveCollection("First"));
    EXPECT_EQ(desktop->GetFirstCollection(), second);
}

TEST_F(MWinDesktopTest, WindowsByIdAndTheOnlyActiveWindow)
{
    MWinCollection *collection = AddCollection("Main");
    MWinWindow *a = AddWindow(collection, "A", 10, 40, 100, 100);
    MWinWindow *b = AddWindow(collection, "B", 200, 40, 100, 100);
    EXPECT_FALSE(a->IsActive());
    EXPECT_TRUE(b->IsActive()) << "the new window is the only active one";

    MWinWindow *twin = AddWindow(collection, "A", 400, 40, 100, 100);
    ASSERT_NE(twin, nullptr) << "a second window of the same id is still added";
    EXPECT_TRUE(LogHasLine("Window with id [A] already exists."));
    EXPECT_EQ(collection->GetWindowFromID("A", 1), a);
    EXPECT_EQ(collection->GetNumWindows(), 3);
    EXPECT_EQ(collection->GetNthWindow(2), twin);
    EXPECT_EQ(collection->GetNthWindow(3), nullptr);
    EXPECT_TRUE(LogHasLine("No 3'th window found."));
    EXPECT_EQ(collection->GetWindowFromID("Z", 1), nullptr);
    EXPECT_TRUE(LogHasLine("Window <Z> not found in collection <Main>"));
    EXPECT_EQ(mwin->GetWindowFromIDs("Main", "", 1), nullptr);
    EXPECT_TRUE(LogHasLine("No Window ID"));
}

TEST_F(MWinDesktopTest, AModalWindowKeepsTheFocus)
{
    MWinCollection *collection = AddCollection("Main");
    MWinWindow *normal = AddWindow(collection, "Normal", 10, 40, 200, 200);
    MWinButton *under = normal->AddButton("Under", MWBT_PUSH, "Red", "", 10, 10, 60, 20);
    normal->SetController(&controller);
    _MWinWindowCreateInfo info = WindowInfo(300, 40, 100, 100);
    info.m_kind = MWWK_MODAL;
    MWinWindow *modal = collection->AddWindow("Modal", &info);
    EXPECT_TRUE(collection->HasModal());
    EXPECT_TRUE(modal->IsActive());

    // The normal window is under the pointer, but the press does not reach it.
    Click(30, 60);
    EXPECT_TRUE(modal->IsActive());
    EXPECT_FALSE(normal->IsActive());
    EXPECT_FALSE(under->IsActive());
    EXPECT_TRUE(controller.presses.empty());

    // Hidden, the modal window lets the focus go back.
    modal->Hide();
    EXPECT_FALSE(collection->HasModal());
    MoveMouse(31, 60);
    EXPECT_TRUE(normal->IsActive());
    Click(31, 60);
    EXPECT_EQ(controller.presses, std::vector<std::string>{"Under"});
}

TEST_F(MWinDesktopTest, WithoutFocusFollowingTheMouseALoneWindowTakesTheFocus)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_window_focus_follows_mouse = 0;
    mwin->SetSettings(&settings);
    MWinCollection *collection = AddCollection("Main");
    MWinWindow *only = AddWindow(collection, "Only", 300, 300, 50, 50);
    MoveMouse(10, 10);
    only->Deactivate();
    collection->UpdateActiveWindow();
    EXPECT_TRUE(only->IsActive());
}

TEST_F(MWinDesktopTest, APushButtonFiresOnTheReleaseOfItsOwnLeftPress)
{
    MWinButton *ok = BuildScreen();
    MoveMouse(120, 120);
    EXPECT_TRUE(ok->IsActive()) << "the control under the pointer is the active one";

    Press(1);
    Release(1);
    EXPECT_TRUE(controller.presses.empty()) << "the right button does not press it";
    Release();
    EXPECT_TRUE(controller.presses.empty()) << "a release without a press does nothing";
    Press();
    EXPECT_TRUE(ok->IsPressed());
    EXPECT_EQ(ok->GetTextureState(), MWTS_PRESSED);
    Release();
    EXPECT_EQ(controller.presses, std::vector<std::string>{"OK"});

    // Moving off lets go of the highlight.
    MoveMouse(20, 20);
    EXPECT_FALSE(ok->IsActive());
    EXPECT_EQ(ok->GetTextureState(), MWTS_NORMAL);
    ok->Disable();
    EXPECT_EQ(ok->GetTextureState(), MWTS_DISABLED);
}

TEST_F(MWinDesktopTest, EscapeAndEnterQueueTheirButtons)
{
    MWinButton *ok = BuildScreen();
    MWinWindow *window = ok->GetWindow();
    MWinButton *cancel = window->AddButton("Cancel", MWBT_PUSH, "Red", "", 100, 10, 60, 20);
    ASSERT_TRUE(cancel->SetEscapeButtonForParentWindow());
    ASSERT_TRUE(ok->SetDefaultButtonForParentWindow());
    MoveMouse(10, 10);

    Key(27);
    EXPECT_TRUE(controller.presses.empty()) << "queued, not run inside the key handler";
    EXPECT_EQ(eng_main_key_states[27], 0);
    mwin->Tick();
    EXPECT_EQ(controller.presses, std::vector<std::string>{"Cancel"});

    Key(13);
    mwin->Tick();
    EXPECT_EQ(controller.presses, (std::vector<std::string>{"Cancel", "OK"}));

    // Deleting the escape button forgets it; Escape then does nothing.
    delete cancel;
    Key(27);
    mwin->Tick();
    EXPECT_EQ(controller.presses.size(), 2u);
}

TEST_F(MWinDesktopTest, AHandlerThatDeletesItsOwnWindowIsNotFollowed)
{
    MWinButton *ok = BuildScreen();
    MWinWindow *window = ok->GetWindow();
    controller.on_press = [window](MWinButton *, _MWinButtonCallbackInfo *) {
        delete window;
        return 1;
    };
    MoveMouse(120, 120);
    ASSERT_TRUE(ok->IsActive());
    // Enter on the focused push button: the key path runs the handler directly.
    Key(13);
    EXPECT_EQ(controller.presses, std::vector<std::string>{"OK"});
    EXPECT_EQ(mwin->GetWindowFromIDs("Main", "Win", 0), nullptr);
    EXPECT_EQ(MWinButton::GetLiveCount(), 0);

    // The press itself answers that its control is gone.
    MWinButton *again = BuildScreen();
    MWinWindow *second = again->GetWindow();
    controller.on_press = [second](MWinButton *, _MWinButtonCallbackInfo *) {
        delete second;
        return 1;
    };
    EXPECT_FALSE(again->CallCallback());
}

TEST_F(MWinDesktopTest, AHandlerThatRebuildsItsScreenWithTheSameIdsIsNotFollowed)
{
    MWinButton *ok = BuildScreen();
    int rebuilt = 0;
    controller.on_press = [this, &rebuilt](MWinButton *, _MWinButtonCallbackInfo *) {
        // A screen change inside the handler: the same ids, new objects.
        desktop->RemoveCollection("Main");
        controller.on_press = nullptr;
        BuildScreen();
        rebuilt++;
        return 1;
    };
    MoveMouse(120, 120);
    Key(13);
    EXPECT_EQ(rebuilt, 1);
    EXPECT_EQ(controller.presses.size(), 1u);
    MWinButton *fresh = mwin->GetButtonFromIDs("Main", "Win", "OK", 0);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh->GetSerial(), 0u);

    // Called directly, the press answers that its control was replaced.
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *) {
        desktop->RemoveCollection("Main");
        controller.on_press = nullptr;
        BuildScreen();
        return 1;
    };
    EXPECT_FALSE(fresh->CallCallback());
    (void)ok;
}

TEST_F(MWinDesktopTest, AKeyHandlerThatRemovesEveryScreenEndsTheRouting)
{
    MWinButton *ok = BuildScreen();
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *) {
        desktop->RemoveAllCollections();
        return 1;
    };
    MoveMouse(120, 120);
    EXPECT_TRUE(ok->IsActive());
    EXPECT_TRUE(mwin->KeyDown(13));
    EXPECT_EQ(desktop->GetFirstCollection(), nullptr);
    EXPECT_FALSE(mwin->KeyDown(13));
}

TEST_F(MWinDesktopTest, DrawingOrderInactiveThenDimmedThenActive)
{
    MWinCollection *back = AddCollection("Back");
    AddWindow(back, "W", 10, 40, 100, 100)->AddButton("R", MWBT_PUSH, "Red", "", 0, 0, 20, 20);
    MWinCollection *front = AddCollection("Front");
    MWinWindow *normal = AddWindow(front, "N", 200, 40, 100, 100);
    normal->AddButton("G", MWBT_PUSH, "Green", "", 0, 0, 20, 20);
    _MWinWindowCreateInfo info = WindowInfo(400, 40, 100, 100);
    info.m_kind = MWWK_MODAL;
    front->AddWindow("M", &info)->AddButton("B", MWBT_PUSH, "Blue", "", 0, 0, 20, 20);
    // The modal window is added last but the normal one is moved to the end
    // of the list: drawing still puts the modal window on top.
    MWinWindow *moved = front->GetFirstWindow();
    ASSERT_EQ(moved, normal);
    desktop->SetDimInactive(1);
    D3D9RecordingReset();
    mwin->RenderMain();

    std::vector<DrawnQuad> drawn = DrawnQuads();
    auto index_of = [&drawn](auto match) {
        for (size_t i = 0; i < drawn.size(); i++)
            if (match(drawn[i]))
                return static_cast<int>(i);
        return -1;
    };
    int red = index_of([](const DrawnQuad &q) { return q.colour == kRed; });
    int dim = index_of([](const DrawnQuad &q) { return (q.colour & 0xFFFFFF) == 0 && q.w >= 639; });
    int green = index_of([](const DrawnQuad &q) { return q.colour == kGreen; });
    int blue = index_of([](const DrawnQuad &q) { return q.colour == kBlue; });
    ASSERT_GE(red, 0);
    ASSERT_GE(dim, 0);
    ASSERT_GE(green, 0);
    ASSERT_GE(blue, 0);
    EXPECT_LT(red, dim);
    EXPECT_LT(dim, green);
    EXPECT_LT(green, blue);

    // Controls are drawn at their window's place.
    std::vector<DrawnQuad> reds = DrawnQuadsOfColour(kRed);
    ASSERT_EQ(reds.size(), 1u);
    EXPECT_NEAR(reds[0].x, 10, 0.01);
    EXPECT_NEAR(reds[0].y, 40, 0.01);
    EXPECT_NEAR(reds[0].w, 20, 0.01);
}

TEST_F(MWinDesktopTest, RenderingLeavesTheDeviceStateAsItFoundIt)
{
    BuildScreen();
    eng_device->TurnOnLighting();
    eng_device->EnableBlending(D3DBLEND_ONE, D3DBLEND_ZERO);
    mwin->RenderMain();
    EXPECT_TRUE(eng_device->IsLightingOn());
    char on = 0;
    int src = 0, dest = 0;
    eng_device->GetBlendingState(&on, &src, &dest);
    EXPECT_TRUE(on);
    EXPECT_EQ(src, D3DBLEND_ONE);
    EXPECT_EQ(dest, D3DBLEND_ZERO);
    EXPECT_FALSE(eng_device->IsPreparedFor2D());

    // The quads themselves are drawn unlit (their colours are their own).
    bool any = false;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws())
        if (ReadVertices(draw).at(0).colour == kRed) {
            EXPECT_EQ(draw.state.render_states[D3DRS_LIGHTING], 0u);
            any = true;
        }
    EXPECT_TRUE(any);
}

} // namespace
