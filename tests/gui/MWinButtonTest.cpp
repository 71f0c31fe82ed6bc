// The button base class: construction defaults, the validity mark, the
// callbacks (also those that delete their own control or rebuild their
// window with the same ids), highlight on enabling and disabling, and bound
// variables.
#include "tests/support/GuiTestKit.h"

#include "engine/graphics/EngPicture.h"

#include <string>

namespace {

class MWinButtonTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 200, 100);
    }

    MWinButton *AddPush(MWinWindow *in, const char *id = "OK")
    {
        return in->AddButton(id, MWBT_PUSH, "Red", "OK", 10, 10, 60, 20);
    }
};

// What a callback saw and did.
struct CallbackLog {
    int calls = 0;
    std::string button_id;
    std::function<void()> action;
};

void RecordingCallback(MWin *, _MWinButtonCallbackInfo *info, int a, int b, void *user)
{
    CallbackLog *log = static_cast<CallbackLog *>(user);
    log->calls += a + b;
    log->button_id = info->m_button_id;
    if (log->action)
        log->action();
}

TEST_F(MWinButtonTest, ConstructionDefaultsAndTheValidityMark)
{
    MWinButton *centred = window->AddButton("C", MWBT_PUSH, "Red", "", -1, -1, -1, 1);
    const _MWinLayoutSettings *layout = window->GetScreenLayout();
    _Dimension d;
    ASSERT_TRUE(centred->GetDimension(&d));
    EXPECT_EQ(d.w, layout->m_button_w) << "a negative width takes the layout's";
    EXPECT_EQ(d.h, 2) << "sizes below 2 become 2";
    EXPECT_EQ(d.x, 200 / 2 - layout->m_button_w / 2) << "a negative x centres in the window";
    EXPECT_EQ(d.y, 100 / 2 - 0.5f) << "centred with the height as given";
    EXPECT_FALSE(centred->GetDimension(nullptr));

    EXPECT_TRUE(centred->IsValid());
    EXPECT_EQ(centred->GetFontNum(), MWIN_FONT_DEFAULT);
    EXPECT_FALSE(centred->UsesLangToken());
    EXPECT_FALSE(centred->HasText(0)) << "an empty text allocates nothing";
    EXPECT_EQ(centred->GetColourMultiplierMode(), 0);

    // Each kind's default background slot; a label has none in this skin.
    EXPECT_EQ(centred->GetTexButNum(), mwin->GetTextures()->GetTexButNumFromID("Red"));
    centred->SetBackTexButToDefault();
    EXPECT_EQ(centred->GetTexButNum(), mwin->GetTextures()->GetStandardTexButNum(MWIN_STD_TEX_PUSH_BUTTON));
    MWinButton *label = window->AddButton("L", MWBT_STATIC, "MWIN_TEXBUT_DEFAULT", "", 0, 0, 10, 10);
    EXPECT_FALSE(label->HasTexBut());
    EXPECT_FALSE(label->SetBackTexButToTexBut(""));
    EXPECT_TRUE(LogHasLine("No id"));

    int live = MWinButton::GetLiveCount();
    delete label;
    EXPECT_EQ(MWinButton::GetLiveCount(), live - 1);
}

TEST_F(MWinButtonTest, ACallbackThatDeletesItsOwnControlIsNotFollowed)
{
    MWinButton *ok = AddPush(window);
    CallbackLog log;
    log.action = [ok] { delete ok; };
    ASSERT_TRUE(ok->SetCallback(RecordingCallback, 1, 0, &log, 1));
    // Under AddressSanitizer any read of the deleted control fails the test.
    EXPECT_FALSE(ok->CallCallback());
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.button_id, "OK");
    EXPECT_EQ(window->GetButtonFromID("OK", 0), nullptr);

    // And through the mouse: the press handling ends with the control gone.
    MWinButton *again = AddPush(window);
    log.action = [again] { delete again; };
    ASSERT_TRUE(again->SetCallback(RecordingCallback, 1, 0, &log, 1));
    Click(120, 120);
    EXPECT_EQ(log.calls, 2);
}

TEST_F(MWinButtonTest, ACallbackThatRebuildsItsWindowWithTheSameIdsIsNotFollowed)
{
    MWinButton *ok = AddPush(window);
    CallbackLog log;
    MWinButton *rebuilt = nullptr;
    log.action = [&] {
        // The window goes and comes back with the same ids and new objects.
        MWinCollection *collection = window->GetCollection();
        delete window;
        window = AddWindow(collection, "Win", 100, 100, 200, 100);
        rebuilt = AddPush(window);
    };
    ASSERT_TRUE(ok->SetCallback(RecordingCallback, 0, 1, &log, 1));
    EXPECT_FALSE(ok->CallCallback());
    EXPECT_EQ(log.calls, 1);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(mwin->GetButtonFromIDs("Main", "Win", "OK", 0), rebuilt);

    // A callback that leaves its control alone is followed.
    log.action = nullptr;
    ASSERT_TRUE(rebuilt->SetCallback(RecordingCallback, 1, 0, &log, 1));
    EXPECT_TRUE(rebuilt->CallCallback());
    EXPECT_EQ(log.calls, 2);
}

TEST_F(MWinButtonTest, CallbacksAndControllers)
{
    MWinButton *ok = AddPush(window);
    EXPECT_FALSE(ok->HasCallback());
    EXPECT_FALSE(ok->CanBeActive()) << "a push button with nothing to call";
    EXPECT_FALSE(ok->CallCallback());
    int plain_calls = 0;
    ASSERT_TRUE(ok->SetPlainCallback([](void *user) { ++*static_cast<int *>(user); }, &plain_calls));
    EXPECT_TRUE(ok->CanBeActive());
    MoveMouse(120, 120);
    Key(32);
    EXPECT_EQ(plain_calls, 1) << "Space presses a focused push button";

    TestController controller;
    window->SetController(&controller);
    EXPECT_FALSE(ok->SetCallback(RecordingCallback, 0, 0, nullptr, 1));
    EXPECT_TRUE(LogHasLine("Use controller"));
    EXPECT_FALSE(ok->SetPlainCallback([](void *) {}, nullptr));
    CallbackLog log;
    ASSERT_TRUE(ok->SetCallback(RecordingCallback, 1, 0, &log, 0));
    EXPECT_TRUE(ok->CallCallback());
    EXPECT_EQ(controller.presses, std::vector<std::string>{"OK"}) << "the controller takes the press";
    EXPECT_EQ(log.calls, 0);
    window->ClearController();
}

TEST_F(MWinButtonTest, DisablingDropsTheHighlightAndEnablingUnderThePointerRestoresIt)
{
    TestController controller;
    window->SetController(&controller);
    MWinButton *ok = AddPush(window);
    MoveMouse(120, 120);
    ASSERT_TRUE(ok->IsActive());
    ok->Disable();
    EXPECT_FALSE(ok->IsActive());
    EXPECT_EQ(ok->GetTextureState(), MWTS_DISABLED);
    Press();
    Release();
    EXPECT_TRUE(controller.presses.empty()) << "a disabled control ignores presses";
    ok->SetEnabled(1);
    EXPECT_TRUE(ok->IsActive()) << "the highlight follows the pointer at once";
    ok->Hide();
    EXPECT_FALSE(ok->IsActive());
    EXPECT_FALSE(ok->IsShown());
    ok->m_shown = 1;
    window->ClearController();
}

TEST_F(MWinButtonTest, TicksRunOnlyForShownEnabledInteractiveControlsThatHaveSomethingToDo)
{
    EngPicture animated;
    MWinButton *ok = AddPush(window);
    MWinButton *panel = window->AddButton("Rows", MWBT_PANEL, "Red", "", 10, 40, 100, 40);
    panel->PanelSetStringsCallback(3, 2, [](int, MWinButton *, void *) { return "row"; }, nullptr);
    MWinButton *edit = window->AddButton("Edit", MWBT_TEXT_EDIT, "Red", "", 120, 10, 60, 20);
    edit->TextEditSetLength(10);
    for (MWinButton *b : {ok, panel})
        ASSERT_TRUE(b->PictureAttachPictureToButton(&animated, 1));
    ASSERT_TRUE(edit->TextEditTurnOnEditing(1));

    EXPECT_TRUE(ok->Tick(0)) << "an animated picture";
    EXPECT_TRUE(edit->Tick(0)) << "the caret";
    EXPECT_FALSE(panel->Tick(0)) << "a panel has nothing to tick";
    // A control the screen hid by its flag, or a disabled one, stands still.
    ok->m_shown = 0;
    edit->m_shown = 0;
    EXPECT_FALSE(ok->Tick(0));
    EXPECT_FALSE(edit->Tick(0));
    ok->m_shown = 1;
    ok->Disable();
    EXPECT_FALSE(ok->Tick(0));
}

TEST_F(MWinButtonTest, AReleaseTogglesAnActiveCheckboxOnly)
{
    TestController controller;
    window->SetController(&controller);
    MWinButton *box = window->AddButton("Box", MWBT_CHECKBOX, "Red", "", 10, 10, 60, 20);
    const struct {
        bool active;
        char button;
        bool toggled;
    } cases[] = {{false, 0, false}, {true, 1, false}, {true, 0, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.active << " " << int(c.button));
        MoveMouse(c.active ? 120 : 250, 120);
        ASSERT_EQ(box->IsActive(), c.active);
        char before = box->CheckboxGet();
        controller.presses.clear();
        EXPECT_EQ(box->HandleMouseButtonReleased(c.button), c.toggled);
        EXPECT_EQ(box->CheckboxGet() != before, c.toggled);
        EXPECT_EQ(controller.presses.size(), c.toggled ? 1u : 0u) << "notified when toggled";
    }
    window->ClearController();
}

TEST_F(MWinButtonTest, BoundVariablesAndTheContext)
{
    MWinButton *ok = AddPush(window);
    int value = 0;
    EXPECT_FALSE(ok->RegisterIntVariable(&value, 0));
    EXPECT_TRUE(LogHasLine("ID: OK - 0 val passed as mult"));
    EXPECT_TRUE(ok->RegisterIntVariable(&value, 2));
    EXPECT_TRUE(ok->RegisterIntVariable(nullptr, 1));
    char flag = 0;
    float level = 0;
    EXPECT_TRUE(ok->RegisterCharVariable(&flag));
    EXPECT_TRUE(ok->RegisterFloatVariable(&level, 0.5f));

    DebugClearLogs();
    EXPECT_EQ(ok->GetContext(0), nullptr);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(ok->GetContext(1), nullptr);
    EXPECT_TRUE(LogHasLine("No context (ID: OK)"));
}

} // namespace
