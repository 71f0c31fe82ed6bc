// The screen stack driven headless: recording controllers and a recording
// screen set show the order of every change, the back chain, the fades'
// frames, and presses whose handlers switch screens.
#include "tests/support/GuiTestKit.h"

#include "engine/core/EngMemory.h"
#include "engine/runtime/EngProgram.h"
#include "gui/MWinScreens.h"
#include "platform/win32/Win32Input.h"

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Calls;

std::string Code(unsigned id)
{
    return EngCodeToString(static_cast<int>(id));
}

// A screen that records its calls into a shared list and builds one
// collection "SCREEN" with a window "WIN" and a push button "GO": every
// screen uses the same ids, so a stale lookup by id would find the next
// screen's control.
class RecordingController : public MWinCollectionController {
public:
    RecordingController(const char *name, Calls *calls) : m_name(name), m_calls(calls) {}

    std::function<void()> on_go;
    MWinButton *go = nullptr;

    char CreateCollection(MWin *mwin) override
    {
        Note("CreateCollection");
        MWinCollection *collection = mwin->GetDesktop()->AddCollection("SCREEN");
        _MWinWindowCreateInfo info = WindowInfo(100, 100, 200, 100);
        MWinWindow *window = collection->AddWindow("WIN", &info);
        window->SetController(this);
        go = window->AddButton("GO", MWBT_PUSH, "White", m_name.c_str(), 10, 10, 100, 40);
        go->SetEscapeButtonForParentWindow();
        return 1;
    }
    void ClearPointers() override
    {
        Note("ClearPointers");
        go = nullptr;
    }
    void StartingCB(void *data) override
    {
        Note("StartingCB(" + std::string(data ? static_cast<const char *>(data) : "null") + ")");
    }
    void TickCB() override { Note("TickCB"); }
    void RenderCB(int pass) override { Note("RenderCB(" + std::to_string(pass) + ")"); }
    char ButtonPressedCB(MWinButton *, _MWinButtonCallbackInfo *info) override
    {
        Note(std::string("Pressed ") + info->m_button_id);
        if (on_go)
            on_go();
        return 1;
    }

private:
    void Note(const std::string &what) { m_calls->push_back(m_name + "." + what); }
    std::string m_name;
    Calls *m_calls;
};

class RecordingScreens : public MWinScreens {
public:
    RecordingScreens(MWin *mwin, char fade, Calls *calls) : MWinScreens(mwin, fade), m_calls(calls) {}
    std::vector<std::pair<unsigned, MWinCollectionController *>> to_register;

    char SetupScreensCB() override
    {
        m_calls->push_back("SetupScreensCB");
        for (auto &screen : to_register)
            if (!AddScreen(screen.first, screen.second))
                return 0;
        return 1;
    }
    void StartScreenCB() override { m_calls->push_back("StartScreenCB"); }
    void PreChangingScreenCB() override
    {
        // The old screen's collections still exist here.
        bool old_there = GetMWin()->GetDesktop()->GetCollectionFromID("SCREEN", 0) != nullptr;
        m_calls->push_back(std::string("PreChanging") + (old_there ? "(old screen there)" : ""));
    }
    void PostChangingScreenCB(unsigned id) override { m_calls->push_back("PostChanging(" + Code(id) + ")"); }
    void EndCB() override { m_calls->push_back("EndCB"); }

private:
    Calls *m_calls;
};

class MWinScreensTest : public GuiTest {
protected:
    Calls calls;
    RecordingController first{"MAIN", &calls}, second{"OPTS", &calls}, third{"HELP", &calls};
    RecordingScreens *screens = nullptr;

    // The toolkit takes one screen set for its life: the fixture picks the
    // fade before it is made.
    char fade = 0;

    void MakeScreens()
    {
        screens = new RecordingScreens(mwin, fade, &calls);
        screens->to_register = {{'MAIN', &first}, {'OPTS', &second}, {'HELP', &third}};
        for (RecordingController *controller : {&first, &second, &third})
            controller->SetScreens(screens);
        ASSERT_TRUE(screens->SetupAllScreens());
        calls.clear();
    }

    void SetUp() override
    {
        GuiTest::SetUp();
        MakeScreens();
    }

    void TearDown() override
    {
        delete screens;
        GuiTest::TearDown();
    }

    Calls TakeCalls()
    {
        Calls taken;
        taken.swap(calls);
        return taken;
    }
};

TEST_F(MWinScreensTest, ChangesRunInOrderAndReplaceTheCollections)
{
    static char options_data[] = "from main";
    screens->StartScreen('MAIN', 0);
    EXPECT_EQ(TakeCalls(), (Calls{"StartScreenCB", "PreChanging", "MAIN.CreateCollection", "MAIN.StartingCB(null)",
                                  "PostChanging(MAIN)"}));
    EXPECT_TRUE(screens->IsOn());
    EXPECT_EQ(mwin->GetCurrentScreen(), static_cast<unsigned>('MAIN'));

    screens->GotoScreen('OPTS', options_data);
    EXPECT_EQ(TakeCalls(), (Calls{"MAIN.ClearPointers", "PreChanging(old screen there)", "OPTS.CreateCollection",
                                  "OPTS.StartingCB(from main)", "PostChanging(OPTS)"}));
    // Only the new screen's collection is on the desktop.
    MWinCollection *only = mwin->GetDesktop()->GetFirstCollection();
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(only->GetNext(), nullptr);
    EXPECT_EQ(mwin->GetButtonFromIDs("SCREEN", "WIN", "GO", 0), second.go);

    screens->GoBack();
    EXPECT_EQ(TakeCalls(), (Calls{"OPTS.ClearPointers", "PreChanging(old screen there)", "MAIN.CreateCollection",
                                  "MAIN.StartingCB(null)", "PostChanging(MAIN)"}));

    screens->ReloadCurrentScreen();
    EXPECT_EQ(TakeCalls(), (Calls{"MAIN.ClearPointers", "PreChanging(old screen there)", "MAIN.CreateCollection",
                                  "MAIN.StartingCB(null)", "PostChanging(MAIN)"}));

    screens->End(0);
    EXPECT_EQ(TakeCalls(), (Calls{"MAIN.ClearPointers", "EndCB"}));
    EXPECT_FALSE(screens->IsOn());
    EXPECT_EQ(mwin->GetDesktop()->GetFirstCollection(), nullptr);
    EXPECT_TRUE(mwin->IsOn());
}

TEST_F(MWinScreensTest, TickAndRenderReachOnlyTheCurrentScreenWhileOn)
{
    EXPECT_FALSE(screens->Tick());
    screens->StartScreen('MAIN', 0);
    calls.clear();
    EXPECT_TRUE(screens->Tick());
    screens->Render(2);
    EXPECT_EQ(TakeCalls(), (Calls{"MAIN.TickCB", "MAIN.RenderCB(2)"}));

    // A program that is ending gets the screen's tick but no toolkit tick.
    program->SetExitFlag();
    EXPECT_FALSE(screens->Tick());
    program->ClearExitFlag();

    screens->End(0);
    calls.clear();
    EXPECT_FALSE(screens->Tick());
    screens->Render(0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(MWinScreensTest, GoBackWalksTheChainOfEntries)
{
    screens->StartScreen('MAIN', 0);
    screens->GotoScreen('OPTS', nullptr);
    screens->GotoScreen('HELP', nullptr);

    screens->GoBack();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('OPTS'));
    screens->GoBack();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));

    // The first screen was entered from nowhere: it stays, and its
    // collection is not rebuilt.
    calls.clear();
    DebugClearLogs();
    screens->GoBack();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(LogHasLine("not found."));

    // Entering again records the new way in.
    screens->GotoScreen('OPTS', nullptr);
    screens->GotoScreen('HELP', nullptr);
    screens->GoBack();
    screens->GoBack();
    screens->GotoScreen('OPTS', nullptr);
    screens->GoBack();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));
}

TEST_F(MWinScreensTest, UnknownAndDuplicateIdsChangeNothing)
{
    screens->StartScreen('MAIN', 0);
    MWinButton *before = first.go;
    calls.clear();

    screens->GotoScreen('NONE', nullptr);
    EXPECT_TRUE(LogHasLine("Screen [NONE] not found."));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));
    EXPECT_EQ(mwin->GetButtonFromIDs("SCREEN", "WIN", "GO", 0), before);

    EXPECT_FALSE(screens->AddScreen('OPTS', &third));
    EXPECT_TRUE(LogHasLine("Screen [OPTS] already exists."));
    EXPECT_FALSE(screens->SetCurrentScreen('NONE'));
    EXPECT_EQ(screens->GetCurrentScreen(), 0u);
}

TEST_F(MWinScreensTest, TopBitStartsAndStopsTheToolkitOnlyWhenTheStackStartedIt)
{
    // The toolkit is already on: a start with the top bit leaves it to its
    // owner, so an end with the top bit does not stop it.
    screens->StartScreen('MAIN', static_cast<char>(0x80));
    screens->End(static_cast<char>(0x80));
    EXPECT_TRUE(mwin->IsOn());

    mwin->Shutdown();
    screens->StartScreen('MAIN', -1);
    EXPECT_TRUE(mwin->IsOn());
    EXPECT_TRUE(screens->IsOn());
    screens->End(-1);
    EXPECT_FALSE(mwin->IsOn());

    // A plain stop forgets nothing; stop 2 also forgets the screen.
    screens->StartScreen('OPTS', 1);
    screens->End(1);
    EXPECT_FALSE(mwin->IsOn());
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('OPTS'));
    screens->StartScreen('OPTS', 1);
    screens->End(2);
    EXPECT_EQ(screens->GetCurrentScreen(), 0u);
}

class MWinScreensFadeTest : public MWinScreensTest {
protected:
    void SetUp() override
    {
        fade = 1;
        MWinScreensTest::SetUp();
    }
};

TEST_F(MWinScreensFadeTest, FadesDrawABoundedNumberOfFramesAroundSwitches)
{
    // Each frame takes 10 ms: each way is the first frame and 0.15 / 0.01
    // steps, truncated (14 or 15 as the division rounds).
    program->render_ms = 10;
    screens->StartScreen('MAIN', 0);
    program->renders = 0;

    screens->GotoScreen('OPTS', nullptr);
    EXPECT_NEAR(program->renders, 31, 1);

    program->renders = 0;
    screens->ReloadCurrentScreen();
    EXPECT_EQ(program->renders, 0);

    // An unknown id still fades out and in.
    program->renders = 0;
    screens->GotoScreen('NONE', nullptr);
    EXPECT_NEAR(program->renders, 31, 1);

    // A frame that takes no time, or a program too slow to animate, skips
    // the fade after its first frame, or entirely.
    program->render_ms = 0;
    program->renders = 0;
    screens->GoBack();
    EXPECT_EQ(program->renders, 2);
    eng_main_frames_per_second = 1;
    program->renders = 0;
    screens->GotoScreen('HELP', nullptr);
    EXPECT_EQ(program->renders, 0);
    eng_main_frames_per_second = 60;
}

TEST_F(MWinScreensTest, HandlersThatSwitchScreensNeverTouchTheOldControls)
{
    first.on_go = [this] { screens->GotoScreen('OPTS', nullptr); };
    second.on_go = [this] { screens->GoBack(); };
    screens->StartScreen('MAIN', 0);
    calls.clear();

    Click(160, 130);
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('OPTS'));
    Click(160, 130);
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));
    // Escape presses the screen's escape button, delivered by the next tick.
    Key(VK_ESCAPE);
    mwin->Tick();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('OPTS'));
    Key(VK_ESCAPE);
    mwin->Tick();
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('MAIN'));
    // Each press reached exactly one screen: the rebuilt control under the
    // same ids was not pressed by the press that built it.
    Calls presses;
    for (const std::string &call : calls)
        if (call.find("Pressed") != std::string::npos)
            presses.push_back(call);
    EXPECT_EQ(presses, (Calls{"MAIN.Pressed GO", "OPTS.Pressed GO", "MAIN.Pressed GO", "OPTS.Pressed GO"}));
}

void CountAnswer(MWin *, char, void *user)
{
    ++*static_cast<int *>(user);
}

TEST_F(MWinScreensTest, AScreenChangeClosesAnOpenPopupWithoutItsAnswer)
{
    screens->StartScreen('MAIN', 0);
    int answers = 0;
    ASSERT_TRUE(mwin->PopupOkCancel(nullptr, "Leave?", CountAnswer, &answers));
    screens->GotoScreen('OPTS', nullptr);
    EXPECT_TRUE(LogHasLine("Called when a popup was on. Turning popup off..."));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_EQ(answers, 0);
    EXPECT_EQ(screens->GetCurrentScreen(), static_cast<unsigned>('OPTS'));
    // The new screen takes input: no popup state was left behind.
    ASSERT_NE(second.go, nullptr);
    EXPECT_TRUE(mwin->GetCollectionFromID("SCREEN", 0)->IsActive());
    EXPECT_FALSE(mwin->GetDesktop()->GetDimInactive());
}

TEST_F(MWinScreensTest, RemovingScreensClearsTheirPointers)
{
    screens->StartScreen('MAIN', 0);
    calls.clear();
    screens->RemoveAllScreens();
    EXPECT_EQ(TakeCalls(), (Calls{"MAIN.ClearPointers", "OPTS.ClearPointers", "HELP.ClearPointers"}));

    // An unbound controller is reported, not called.
    RecordingController unbound("LOST", &calls);
    EXPECT_TRUE(screens->AddScreen('LOST', &unbound));
    DebugClearLogs();
    screens->RemoveAllScreens();
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(LogHasLine("Bad controller_p"));
}

} // namespace
