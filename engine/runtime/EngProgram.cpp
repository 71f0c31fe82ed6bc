#include "engine/runtime/EngProgram.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "platform/win32/Win32Time.h"

#include <csignal>
#include <cstdlib>

float eng_main_frame_time = 1.0f / 60.0f;
float eng_main_frames_per_second = 60.0f;
void *eng_main_instance = nullptr;

EngProgram::EngProgram()
    : m_exit(0), m_sleeping(0), m_popup_after_exit(0), m_window(nullptr), m_target_fps(60.0f), m_long_sleeps(0),
      m_wake(0), m_after_exit_cb(nullptr), m_gpu_sync_method(-1), m_gpu_sync_try_other(0)
{
    EngMainSetupMainThread();
    EngMiscRandSeed(GetTickCount());
    eng_main_frames_per_second = 60.0f;
    eng_main_frame_time = 1.0f / 60.0f;
    eng_main_program_time = 0.0;
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
void EngProgram::RenderCB() {}
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
    char answer = InitCB(command_line);
    if (answer > 0) {
        InstallSignalHandlers();
        return 1;
    }
    return answer;
}

char EngProgram::CreateMainWindowAndDevice(const char *, const char *class_name, _EngCreateWindowParms *parms)
{
    if (!parms) {
        DebugError("EngProgram::CreateMainWindowAndDevice", "No window parms");
        return 0;
    }
    if (m_window) {
        DebugError("EngProgram::CreateMainWindowAndDevice", "Window already created.");
        return 0;
    }
    EngSafeStrcpy(parms->class_name, class_name, sizeof(parms->class_name));
    // The main window and its device come with the window layer.
    DebugError("EngProgram::CreateMainWindowAndDevice", "Could not create main window.");
    return 0;
}

void EngProgram::RunMainLoop()
{
    while (!m_exit)
        DoConstantFrameRateTick();
}

char EngProgram::DoConstantFrameRateTick()
{
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
    TickCB();
}

void EngProgram::DoRender()
{
    // Nothing is drawn without a graphics device, which comes with the window.
}

void EngProgram::PumpMessages()
{
    // Window messages are handled by the window, once one exists.
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

void EngProgram::CloseDown(char)
{
    if (!eng_main_program)
        return;
    m_exit = 1;
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
        m_exit = 1;
        ShowPopupAfterExiting();
        return;
    }

    m_exit = 1;
    if (stored)
        EngMiscShowPopupMessage(EMPT_NONE, nullptr, nullptr);
    else if (!quiet)
        EngMainReportPrematureTermination();
    eng_main_program = nullptr;
}

void EngProgram::SignalHandler(int signal_number)
{
    if (signal_number != SIGINT && signal_number != SIGTERM)
        return;
    if (eng_main_program)
        eng_main_program->ForceExitNow(nullptr, nullptr, 1);
    std::exit(0);
}

void EngProgram::InstallSignalHandlers()
{
    std::signal(SIGABRT, SignalHandler);
    std::signal(SIGINT, SignalHandler);
    std::signal(SIGTERM, SignalHandler);
}
