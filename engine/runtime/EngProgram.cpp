#include "engine/runtime/EngProgram.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Time.h"
#include "platform/win32/Win32Window.h"

#include <csignal>
#include <cstdlib>
#include <new>

float eng_main_frame_time = 1.0f / 60.0f;
float eng_main_frames_per_second = 60.0f;
void *eng_main_instance = nullptr;

namespace {

// Set by the signal handler, read by the main loop: a handler may do no more
// than this, and the signal may land on any thread.
volatile sig_atomic_t close_down_signalled = 0;

// While minimised, tick and render each give the processor back this long.
const double MINIMISED_SLEEP = 0.05;

// The display went away under the program (the X server ended): nothing can
// be drawn or asked any more, and the platform layer ends the process when
// this returns. The program saves the player and the running game as it does
// before the computer sleeps.
void DisplayLost()
{
    DebugError("EngProgram::DisplayLost", "The connection to the display was lost.");
    if (eng_main_program)
        eng_main_program->ComputerSleepingCB(1);
    DebugInfoWithName("EngProgram::DisplayLost", "Exiting main program.");
}

} // namespace

EngProgram::EngProgram()
    : m_exit(0), m_sleeping(0), m_popup_after_exit(0), m_window(nullptr), m_target_fps(60.0f), m_long_sleeps(0),
      m_wake(0), m_after_exit_cb(nullptr), m_gpu_sync_method(-1), m_gpu_sync_try_other(0)
{
    eng_device_type = EDT_DX9;
    EngMainSetupMainThread();
    eng_main_frames_per_second = 60.0f;
    eng_main_frame_time = 1.0f / 60.0f;
    eng_main_program_time = 0.0;
    EngMiscRandSeed(GetTickCount());
    eng_main_program = this;
}

EngProgram::~EngProgram()
{
    if (eng_main_program == this) {
        CloseDown(1);
        eng_main_program = nullptr;
    }
}

char EngProgram::InitCB(const char *) { return 1; }
char EngProgram::PreCreateWindowCB(_EngCreateWindowParms *) { return 1; }
char EngProgram::UnnamedCB() { return 1; }
char EngProgram::PreDeviceInitCB() { return 1; }
char EngProgram::PostDeviceInitCB() { return 1; }
char EngProgram::PreCreateGraphicsObjectsCB() { return 1; }
char EngProgram::CreateGraphicsObjectsCB() { return 1; }
char EngProgram::PostCreateGraphicsObjectsCB() { return 1; }
void EngProgram::PreDestroyGraphicsObjectsCB() {}
void EngProgram::DestroyGraphicsObjectsCB() {}
void EngProgram::PostDestroyGraphicsObjectsCB() {}
char EngProgram::TickCB() { return 1; }

void EngProgram::RenderCB()
{
    if (!eng_device)
        return;
    eng_device->SetClearColour(0.2f, 0.4f, 0.3f);
    eng_device->ClearBackBufferAndZBuffer();
}

char EngProgram::InputEventCB(int, float, float) { return 0; }
void EngProgram::OrientationChangedCB(_EngOrientation) {}
void EngProgram::ComputerSleepingCB(char) {}
void EngProgram::ActivatedCB(char) {}
void EngProgram::WindowMinimisedCB(char) {}
void EngProgram::GraphicsObjectsCreatedCB() {}
void EngProgram::PreDestroyDeviceCB() {}
void EngProgram::PostDestroyDeviceCB() {}
void EngProgram::ExitCB() {}

char EngProgram::Init(void *instance, const char *command_line)
{
    EngMainCheckInternals();
    m_window = nullptr;
    eng_main_instance = instance;
    EngMiscInitTimer_PC();
    // A reading taken before the clock started counts from another origin:
    // the screens started during start-up must see the program's own time.
    EngMainUpdateProgramTime();
    // Before the display starts, so that the display's library leaves the
    // signals to us: the updater's windows during start-up end on them too.
    InstallSignalHandlers();
    PlatformSetDisplayLostCB(DisplayLost);
    // The start-up settings list the display's modes before any window exists.
    if (!PlatformStartDisplay())
        DebugError("EngProgram::Init", "Could not start the display");
    char answer = InitCB(command_line);
    if (answer > 0) {
        CloseDownIfSignalled();
        return 1;
    }
    return answer;
}

char EngProgram::CreateMainWindowAndDevice(const char *title, const char *class_name, _EngCreateWindowParms *parms)
{
    const char *where = "EngProgram::CreateMainWindowAndDevice";
    if (!parms) {
        DebugError(where, "No window parms");
        return 0;
    }
    if (m_window) {
        DebugError(where, "Window already created.");
        return 0;
    }
    EngSafeStrcpy(parms->class_name, class_name, sizeof(parms->class_name));

    char answer = 0;
    m_window = CreateMainWindow(title, parms, &answer);
    if (!m_window) {
        if (answer < 0)
            return answer;
        DebugError(where, "Could not create main window.");
        return 0;
    }
    if (!m_window->CreateGraphicsDevice()) {
        DebugError(where, "Could not create graphics device.");
        return 0;
    }
    return 1;
}

EngWindow *EngProgram::CreateMainWindow(const char *title, _EngCreateWindowParms *parms, char *answer)
{
    if (m_window) {
        DebugError("EngProgram::CreateMainWindow", "Can only have one window at a time");
        return nullptr;
    }
    EngWindow *window = new (std::nothrow) EngWindow(this, title);
    if (!window) {
        DebugErrorCode("EngProgram::CreateMainWindow", 'OMEM');
        *answer = 0;
        return nullptr;
    }
    char created = window->Create(parms);
    if (created <= 0) {
        delete window;
        *answer = created;
        return nullptr;
    }
    *answer = 1;
    eng_misc_main_window_created = 1;
    return window;
}

void EngProgram::RunMainLoop()
{
    while (!m_exit)
        DoConstantFrameRateTick();
}

char EngProgram::DoConstantFrameRateTick()
{
    CloseDownIfSignalled();
    double start = EngMainUpdateProgramTime();
    double deadline = start + 1.0 / m_target_fps;

    PumpMessages();
    if (!m_exit) {
        DoTick();
        if (eng_main_program)
            DoRender();
        if (!eng_main_program) {
            DebugInfoWithName("?DoConstantFrameRateTick@EngProgram@@QAEDXZ", "Exiting as no eng_main_program.");
            m_exit = 1;
            return 0;
        }
    }

    double now = EngMainUpdateProgramTime();
    while (!m_wake && now < deadline && !m_exit) {
        EngMiscSleep(m_long_sleeps ? 0.010 : 0.001);
        CloseDownIfSignalled();
        PumpMessages();
        now = EngMainUpdateProgramTime();
    }
    m_wake = 0;

    eng_main_frame_time = static_cast<float>(now - start);
    if (eng_main_frame_time > 0)
        eng_main_frames_per_second = 1.0f / eng_main_frame_time;
    return 1;
}

void EngProgram::DoTick()
{
    if (m_exit || m_sleeping)
        return;
    if (m_window && m_window->IsMinimised()) {
        EngMiscSleep(MINIMISED_SLEEP);
        return;
    }
    TickCB();
    if (m_window)
        m_window->PollMouseOutsideWindow_PC();
}

void EngProgram::DoRender()
{
    if (!eng_device || m_sleeping || m_exit)
        return;
    if (m_window && m_window->IsMinimised()) {
        EngMiscSleep(MINIMISED_SLEEP);
        return;
    }
    RenderCB();
    if (m_window)
        m_window->DrawTextureCursor_PC();
    if (eng_device) {
        eng_device->SyncWithGPU();
        eng_device->SwapBuffers();
    }
}

void EngProgram::PumpMessages()
{
    if (!m_exit && m_window)
        m_window->PumpMessages();
}

void EngProgram::QuitMainLoop()
{
    DebugInfoWithName("?QuitMainLoop@EngProgram@@QAEXXZ", "Exiting.");
    m_exit = 1;
}

void EngProgram::SetSyncWithGpuMethod(char on, int method, char try_other)
{
    m_gpu_sync_try_other = try_other;
    m_gpu_sync_method = on ? method : -1;
}

void EngProgram::ShowPopupAfterExiting()
{
    if (!EngMiscIsPopupSetToShowAfterExit())
        DebugError("EngProgram::ShowPopupAfterExiting", "Popup texts are not set.");
    m_popup_after_exit = 1;
}

void EngProgram::SetComputerSleeping(char sleeping)
{
    if (sleeping) {
        if (m_window)
            m_window->DoDestroyGraphicsDevice(0);
        ComputerSleepingCB(1);
        EngMiscSleep(3.0);
        m_sleeping = 1;
        return;
    }
    m_sleeping = 0;
    if (m_window)
        m_window->DoCreateGraphicsDevice(0);
    ComputerSleepingCB(0);
}

void EngProgram::GraphicsObjectsCreated()
{
    GraphicsObjectsCreatedCB();
}

void EngProgram::ActivationChanged(char active)
{
    ActivatedCB(active);
}

void EngProgram::CloseDown(char)
{
    if (!eng_main_program)
        return;
    m_exit = 1;
    if (m_window) {
        m_window->Destroy();
        delete m_window;
        m_window = nullptr;
    }
    ExitCB();
    eng_main_program = nullptr;

    if (m_after_exit_cb) {
        EngMiscDiscardWindowMessages_PC(1.0);
        m_after_exit_cb();
    } else if (m_popup_after_exit) {
        EngMiscDiscardWindowMessages_PC(1.0);
        m_popup_after_exit = 0;
        EngMiscShowPopupMessage(EMPT_NONE, nullptr, nullptr);
    }
}

void EngProgram::ForceExitNow(const char *title, const char *text, char quiet)
{
    bool stored = title || text;
    if (stored)
        EngMiscSetPopupToShowAfterExit(EMPT_ERROR, title, text);

    if (!EngMainIsThisTheMainThread()) {
        DebugError("EngProgram::ForceExitNow", "Not closing down as not the main thread");
        // The texts and the popup flag go first: the main loop may close
        // down as soon as it sees the exit flag.
        ShowPopupAfterExiting();
        m_exit = 1;
        return;
    }

    m_exit = 1;
    if (m_window) {
        m_window->DestroyGraphicsDevice();
        delete m_window;
        m_window = nullptr;
    }
    if (stored)
        EngMiscShowPopupMessage(EMPT_NONE, nullptr, nullptr);
    else if (!quiet)
        EngMainReportPrematureTermination();
    eng_main_program = nullptr;
}

void EngProgram::CloseDownIfSignalled()
{
    if (!close_down_signalled)
        return;
    ForceExitNow(nullptr, nullptr, 1);
    std::exit(0);
}

void EngProgram::SignalHandler(int signal_number)
{
    if (signal_number == SIGINT || signal_number == SIGTERM) {
        close_down_signalled = 1;
        // A message box would hold the main thread until it is answered.
        PlatformCloseMessageBoxes();
    }
}

bool EngProgram::IsCloseDownSignalled()
{
    return close_down_signalled != 0;
}

void EngProgram::ResetSignalForTests()
{
    close_down_signalled = 0;
    PlatformReopenMessageBoxesForTests();
}

void EngProgram::InstallSignalHandlers()
{
    std::signal(SIGABRT, SignalHandler);
    std::signal(SIGINT, SignalHandler);
    std::signal(SIGTERM, SignalHandler);
}
