#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class EngProgramTest : public RecordingProgramTest {
protected:

    void OpenWindow()
    {
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        program->TakeHooks();
        // The mouse rests at the client area's corner, where the window's
        // polling of a mouse outside it first looks: no move to report.
        POINT corner = {0, 0};
        ClientToScreen(program->GetWindow()->GetWindowHandle(), &corner);
        PlatformHeadlessSetMouse(corner.x, corner.y, 0);
    }
};

TEST_F(EngProgramTest, APassLastsASixtiethOfASecondUnlessTheWorkTakesLonger)
{
    OpenWindow();
    struct Case {
        int tick_ms;
        float frame_time;
    };
    // The wait sleeps whole milliseconds, so a short pass ends at 17 ms.
    for (const Case &c : {Case{5, 0.017f}, Case{0, 0.017f}, Case{40, 0.040f}}) {
        program->tick_ms = c.tick_ms;
        ASSERT_EQ(program->DoConstantFrameRateTick(), 1);
        EXPECT_NEAR(eng_main_frame_time, c.frame_time, 0.0005f) << c.tick_ms << " ms tick";
        EXPECT_NEAR(eng_main_frames_per_second, 1.0f / c.frame_time, 1.0f);
    }
    EXPECT_EQ(program->ticks, 3);
    EXPECT_EQ(program->renders, 3);
}

// A screen started during start-up plans its steps on the program time: a
// reading left over from before the clock started (the machine's uptime)
// would put them hours away.
TEST(EngProgramClockTest, StartUpSeesTheProgramsOwnTime)
{
    ResetRuntimeForTest();
    class TimedProgram : public RecordingProgram {
    public:
        double time_at_init = -1;
        char InitCB(const char *) override
        {
            time_at_init = eng_main_program_time;
            return 1;
        }
    };
    TimedProgram timed;
    eng_main_program_time = 22487.8;
    ASSERT_EQ(timed.Init(nullptr, ""), 1);
    EXPECT_GE(timed.time_at_init, 0.0);
    EXPECT_LT(timed.time_at_init, 1.0);
    timed.CloseDown(1);
    VirtualClock::Remove();
}

TEST_F(EngProgramTest, InputEndsTheWaitAtOnce)
{
    OpenWindow();
    program->tick_ms = 2;
    int64_t start_ms = VirtualClock::now_ns / 1000000;
    VirtualClock::after_sleep = [&](int64_t now_ms) {
        if (now_ms == start_ms + 6)
            PostMessageA(nullptr, WM_KEYDOWN, 'A', 0);
    };
    program->DoConstantFrameRateTick();
    EXPECT_NEAR(eng_main_frame_time, 0.006f, 0.0005f);
    EXPECT_EQ(program->TakeInputs(), (std::vector<RecordedInput>{{5, 'A', 0}}));

    // The wake is spent: the next pass waits its full time again.
    VirtualClock::after_sleep = nullptr;
    program->DoConstantFrameRateTick();
    EXPECT_NEAR(eng_main_frame_time, 0.017f, 0.0005f);
}

TEST_F(EngProgramTest, InputHandledByThePassItselfSkipsTheWait)
{
    OpenWindow();
    PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
    program->DoConstantFrameRateTick();
    EXPECT_FLOAT_EQ(eng_main_frame_time, 0.0f);
    EXPECT_EQ(program->TakeInputs(), (std::vector<RecordedInput>{{2, 0, 1}}));
}

TEST_F(EngProgramTest, OneMessageIsHandledAtEachStep)
{
    OpenWindow();
    // Three queued key releases: the pump at the start of a pass takes one,
    // and its input ends that pass's wait.
    for (int i = 0; i < 3; i++)
        PostMessageA(nullptr, WM_KEYUP, 'B', 0);
    program->tick_ms = 0;
    program->DoConstantFrameRateTick();
    EXPECT_EQ(program->TakeInputs().size(), 1u);
    program->DoConstantFrameRateTick();
    EXPECT_EQ(program->TakeInputs().size(), 1u);
}

TEST_F(EngProgramTest, NothingTicksOrRendersWhileMinimised)
{
    OpenWindow();
    EngWindow *window = program->GetWindow();
    ShowWindow(window->GetWindowHandle(), SW_MINIMIZE);
    program->DoConstantFrameRateTick();
    EXPECT_TRUE(window->IsMinimised());
    EXPECT_EQ(program->TakeHooks(), (std::vector<std::string>{"ActivatedCB(0)", "WindowMinimisedCB(1)"}));

    int ticks = program->ticks, renders = program->renders;
    for (int i = 0; i < 3; i++) {
        program->DoConstantFrameRateTick();
        EXPECT_NEAR(eng_main_frame_time, 0.1f, 0.0005f);
    }
    EXPECT_EQ(program->ticks, ticks);
    EXPECT_EQ(program->renders, renders);

    ShowWindow(window->GetWindowHandle(), SW_RESTORE);
    program->DoConstantFrameRateTick();
    EXPECT_FALSE(window->IsMinimised());
    EXPECT_EQ(program->ticks, ticks + 1);
    EXPECT_EQ(program->TakeHooks(), (std::vector<std::string>{"ActivatedCB(1)", "WindowMinimisedCB(0)"}));
}

TEST_F(EngProgramTest, TheDefaultRenderClearsAndTheFrameIsPresented)
{
    OpenWindow();
    D3D9RecordingReset();
    program->DoConstantFrameRateTick();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"Clear 0 3 ff33664c 1 0", "Present"}));
}

TEST_F(EngProgramTest, CreationAndReleaseRunTheHooksInOrder)
{
    ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"PreCreateWindowCB", "PreDeviceInitCB", "PreCreateGraphicsObjectsCB",
                                        "CreateGraphicsObjectsCB", "PostCreateGraphicsObjectsCB",
                                        "GraphicsObjectsCreatedCB", "PostDeviceInitCB"}));
    EXPECT_STREQ(parms.class_name, "HiveWatcherClass");
    EXPECT_EQ(eng_misc_main_window_created, 1);
    EXPECT_NE(eng_main_window, nullptr);
    EXPECT_NE(eng_device, nullptr);

    program->CloseDown(1);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"PreDestroyDeviceCB", "PreDestroyGraphicsObjectsCB",
                                        "DestroyGraphicsObjectsCB", "PostDestroyGraphicsObjectsCB",
                                        "PostDestroyDeviceCB", "ExitCB"}));
    EXPECT_EQ(eng_main_program, nullptr);
    EXPECT_EQ(eng_main_window, nullptr);
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
    EXPECT_EQ(program->GetWindow(), nullptr);
}

TEST_F(EngProgramTest, FailedCreationsAreReportedByTheirCallers)
{
    struct Case {
        char window_answer, device_answer, objects_answer;
        char result;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {0, 1, 1, 0,
         {" <ERROR>  ( EngWindow::Create )    PreCreateWindowCB() failed",
          " <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    Could not create main window."}},
        // A negative answer has been dealt with by the program: no report.
        {-3, 1, 1, -3, {}},
        {1, 0, 1, 0,
         {" <ERROR>  ( EngWindow::CreateGraphicsDevice )    PreDeviceInitCB() failed",
          " <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    Could not create graphics device."}},
        {1, 1, 0, 0,
         {" <ERROR>  ( EngWindow::DoCreateGraphicsDevice )    CreateGraphicsObjectsCB() failed",
          " <ERROR>  ( EngWindow::CreateGraphicsDevice )    DoCreateGraphicsDevice() failed",
          " <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    Could not create graphics device."}},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        program->pre_create_window_answer = c.window_answer;
        program->pre_device_init_answer = c.device_answer;
        program->create_graphics_objects_answer = c.objects_answer;
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), c.result);
        EXPECT_EQ(StoredLines(), c.reports);
        // Without a window the mark that one was made stays clear.
        EXPECT_EQ(eng_misc_main_window_created, c.window_answer > 0 ? 1 : 0);
    }
}

TEST_F(EngProgramTest, OnlyOneWindowAtATime)
{
    OpenWindow();
    EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 0);
    char answer = 5;
    EXPECT_EQ(program->CreateMainWindow("Second", &parms, &answer), nullptr);
    EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", nullptr), 0);
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{" <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    Window already created.",
                                        " <ERROR>  ( EngProgram::CreateMainWindow )    Can only have one window at a time",
                                        " <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    No window parms"}));
}

TEST_F(EngProgramTest, ClosingTheWindowEndsTheLoopAfterItsPass)
{
    OpenWindow();
    PostMessageA(program->GetWindow()->GetWindowHandle(), WM_CLOSE, 0, 0);
    program->RunMainLoop();
    EXPECT_EQ(program->ticks, 0);
    EXPECT_TRUE(program->GetExitFlag());
    EXPECT_TRUE(WasStored(" :  QuitMainLoop@EngProgram > Exiting."));
    EXPECT_EQ(program->GetWindow()->GetWindowHandle(), nullptr);
    // The window's last position stays known after it is gone.
    int x = 0, y = 0;
    EXPECT_EQ(program->GetWindow()->GetWindowPos(&x, &y), 1);
    EXPECT_EQ(x, 440);
    EXPECT_EQ(y, 117);
}

TEST_F(EngProgramTest, ForceExitNowClosesTheWindowAndShowsTheStoredPopup)
{
    OpenWindow();
    program->ForceExitNow("Bad", "It broke", 0);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"PreDestroyDeviceCB", "PreDestroyGraphicsObjectsCB",
                                        "DestroyGraphicsObjectsCB", "PostDestroyGraphicsObjectsCB",
                                        "PostDestroyDeviceCB"}));
    EXPECT_EQ(eng_main_program, nullptr);
    EXPECT_EQ(eng_main_window, nullptr);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Bad");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "It broke");
    EXPECT_EQ(TestHooks::message_boxes[0].type, MB_OK | MB_ICONERROR);
}

TEST_F(EngProgramTest, ForceExitNowOffTheMainThreadLeavesTheCloseDownToTheLoop)
{
    OpenWindow();
    pthread_t worker;
    pthread_create(
        &worker, nullptr,
        [](void *object) -> void * {
            static_cast<EngProgram *>(object)->ForceExitNow("Net", "Gone", 0);
            return nullptr;
        },
        program);
    pthread_join(worker, nullptr);
    EXPECT_TRUE(program->GetExitFlag());
    EXPECT_NE(program->GetWindow(), nullptr);
    EXPECT_TRUE(TestHooks::message_boxes.empty());
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngProgram::ForceExitNow )    Not closing down as not the main thread"));

    program->RunMainLoop();
    program->CloseDown(1);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].text, "Gone");
}

int after_exit_calls = 0;

TEST_F(EngProgramTest, TheAfterExitCallbackRunsInsteadOfThePopup)
{
    OpenWindow();
    after_exit_calls = 0;
    EngMiscSetPopupToShowAfterExit(EMPT_INFO, "Title", "Text");
    program->ShowPopupAfterExiting();
    program->SetAfterExitCB([] { after_exit_calls++; });
    program->CloseDown(1);
    EXPECT_EQ(after_exit_calls, 1);
    EXPECT_TRUE(TestHooks::message_boxes.empty());
}

TEST_F(EngProgramTest, SuspendReleasesTheGraphicsObjectsAndResumeMakesThemAgain)
{
    OpenWindow();
    EngWindow *window = program->GetWindow();
    int64_t before = VirtualClock::now_ns;
    PostMessageA(window->GetWindowHandle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    PumpAll(window);
    EXPECT_EQ(VirtualClock::now_ns - before, 3000000000LL);
    program->DoConstantFrameRateTick();
    EXPECT_EQ(program->ticks, 0);
    EXPECT_EQ(program->renders, 0);
    PostMessageA(window->GetWindowHandle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"PreDestroyGraphicsObjectsCB", "DestroyGraphicsObjectsCB",
                                        "PostDestroyGraphicsObjectsCB", "ComputerSleepingCB(1)",
                                        "PreCreateGraphicsObjectsCB", "CreateGraphicsObjectsCB",
                                        "PostCreateGraphicsObjectsCB", "GraphicsObjectsCreatedCB",
                                        "ComputerSleepingCB(0)"}));
    program->DoConstantFrameRateTick();
    EXPECT_EQ(program->ticks, 1);
}

// The child runs the program's main loop and is interrupted, from outside
// or on a worker thread of its own. Either way the main loop closes the
// program down: the device goes with its hooks, no failure report appears,
// and the exit code is 0.
int close_down_pipe = -1;

class InterruptedProgram : public RecordingProgram {
public:
    void PostDestroyDeviceCB() override
    {
        if (write(close_down_pipe, "d", 1) != 1)
            _exit(7);
    }
};

void RunInterruptedChild(int ready_pipe, bool from_worker)
{
    ResetRuntimeForTest();
    VirtualClock::Remove();
    // Any message box here would be the failure report.
    PlatformSetMessageBoxHook([](const char *, const char *, UINT) -> int { _exit(3); });
    static InterruptedProgram program;
    _EngCreateWindowParms parms = WindowParms();
    if (program.Init(nullptr, "") != 1 ||
        program.CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms) != 1)
        _exit(4);
    if (from_worker) {
        pthread_t worker;
        pthread_create(
            &worker, nullptr,
            [](void *) -> void * {
                raise(SIGINT);
                return nullptr;
            },
            nullptr);
    } else if (write(ready_pipe, "r", 1) != 1) {
        _exit(5);
    }
    program.RunMainLoop();
    _exit(6);
}

TEST(EngProgramSignalTest, AnInterruptClosesTheProgramQuietlyWithExitCodeZero)
{
    for (bool from_worker : {false, true}) {
        int ready[2], closed[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(closed), 0);
        close_down_pipe = closed[1];
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            RunInterruptedChild(ready[1], from_worker);
        close(closed[1]);
        if (!from_worker) {
            char byte = 0;
            ASSERT_EQ(read(ready[0], &byte, 1), 1);
            kill(child, SIGINT);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        char closed_down = 0;
        EXPECT_EQ(read(closed[0], &closed_down, 1), 1) << "worker: " << from_worker;
        EXPECT_EQ(closed_down, 'd');
        close(ready[0]);
        close(ready[1]);
        close(closed[0]);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "worker: " << from_worker;
    }
}

// A close-down signalled while the start-up's own windows run (the
// updater, the settings dialog) is kept, not lost to the display's library
// nor fatal, and ends the program quietly as soon as InitCB returns.
class InterruptedAtStartProgram : public RecordingProgram {
public:
    char InitCB(const char *) override
    {
        kill(getpid(), SIGTERM);
        return IsCloseDownSignalled() ? 1 : 9;
    }
};

TEST(EngProgramSignalTest, ASignalDuringTheStartEndsTheProgramOnceInitCBReturns)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ResetRuntimeForTest();
        VirtualClock::Remove();
        PlatformSetMessageBoxHook([](const char *, const char *, UINT) -> int { _exit(3); });
        static InterruptedAtStartProgram program;
        program.Init(nullptr, "");
        _exit(6);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
