// Shared by the program, window and input tests: a headless desktop, a
// clock the test moves by hand, and a program object that records its hooks
// and input events.
#pragma once

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Time.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Time passes only when the program sleeps or the test says so.
struct VirtualClock {
    static inline int64_t now_ns = 0;
    // Called after every sleep with the new time in milliseconds.
    static inline std::function<void(int64_t)> after_sleep;

    static int64_t Now() { return now_ns; }
    static void Sleep(DWORD milliseconds)
    {
        now_ns += static_cast<int64_t>(milliseconds) * 1000000;
        if (after_sleep)
            after_sleep(now_ns / 1000000);
    }
    static void Advance(int milliseconds) { now_ns += static_cast<int64_t>(milliseconds) * 1000000; }
    static void Install()
    {
        now_ns = 0;
        after_sleep = nullptr;
        PlatformSetClockHooks(Now, Sleep);
    }
    static void Remove()
    {
        after_sleep = nullptr;
        PlatformSetClockHooks(nullptr, nullptr);
    }
};

struct RecordedInput {
    int event;
    float a, b;
    bool operator==(const RecordedInput &other) const
    {
        return event == other.event && a == other.a && b == other.b;
    }
};

inline std::ostream &operator<<(std::ostream &out, const RecordedInput &input)
{
    return out << "(" << input.event << ", " << input.a << ", " << input.b << ")";
}

class RecordingProgram : public EngProgram {
public:
    std::vector<std::string> hooks;
    std::vector<RecordedInput> inputs;
    int ticks = 0;
    int renders = 0;
    // Virtual milliseconds each tick and each drawn frame take.
    int tick_ms = 0;
    int render_ms = 0;
    char pre_create_window_answer = 1;
    char pre_device_init_answer = 1;
    char create_graphics_objects_answer = 1;

    char PreCreateWindowCB(_EngCreateWindowParms *) override { return Note("PreCreateWindowCB", pre_create_window_answer); }
    char PreDeviceInitCB() override { return Note("PreDeviceInitCB", pre_device_init_answer); }
    char PostDeviceInitCB() override { return Note("PostDeviceInitCB", 1); }
    char PreCreateGraphicsObjectsCB() override { return Note("PreCreateGraphicsObjectsCB", 1); }
    char CreateGraphicsObjectsCB() override { return Note("CreateGraphicsObjectsCB", create_graphics_objects_answer); }
    char PostCreateGraphicsObjectsCB() override { return Note("PostCreateGraphicsObjectsCB", 1); }
    void PreDestroyGraphicsObjectsCB() override { Note("PreDestroyGraphicsObjectsCB", 1); }
    void DestroyGraphicsObjectsCB() override { Note("DestroyGraphicsObjectsCB", 1); }
    void PostDestroyGraphicsObjectsCB() override { Note("PostDestroyGraphicsObjectsCB", 1); }
    void GraphicsObjectsCreatedCB() override { Note("GraphicsObjectsCreatedCB", 1); }
    void PreDestroyDeviceCB() override { Note("PreDestroyDeviceCB", 1); }
    void PostDestroyDeviceCB() override { Note("PostDestroyDeviceCB", 1); }
    void ExitCB() override { Note("ExitCB", 1); }
    void OrientationChangedCB(_EngOrientation orientation) override
    {
        Note(orientation == EO_PORTRAIT ? "OrientationChangedCB(portrait)" : "OrientationChangedCB(landscape)", 1);
    }
    void ActivatedCB(char active) override { Note(active ? "ActivatedCB(1)" : "ActivatedCB(0)", 1); }
    void WindowMinimisedCB(char minimised) override
    {
        Note(minimised ? "WindowMinimisedCB(1)" : "WindowMinimisedCB(0)", 1);
    }
    void ComputerSleepingCB(char sleeping) override
    {
        Note(sleeping ? "ComputerSleepingCB(1)" : "ComputerSleepingCB(0)", 1);
    }
    char TickCB() override
    {
        ticks++;
        VirtualClock::Advance(tick_ms);
        return 1;
    }
    void RenderCB() override
    {
        renders++;
        VirtualClock::Advance(render_ms);
        EngProgram::RenderCB();
    }
    char InputEventCB(int event, float a, float b) override
    {
        inputs.push_back({event, a, b});
        return 0;
    }

    // The hooks recorded since the last call.
    std::vector<std::string> TakeHooks()
    {
        std::vector<std::string> taken;
        taken.swap(hooks);
        return taken;
    }
    std::vector<RecordedInput> TakeInputs()
    {
        std::vector<RecordedInput> taken;
        taken.swap(inputs);
        return taken;
    }

private:
    char Note(const char *hook, char answer)
    {
        hooks.push_back(hook);
        return answer;
    }
};

// The program's window settings: a 1024 x 768 window centred on the work area.
inline _EngCreateWindowParms WindowParms(char windowed = 1, int width = 1024, int height = 768)
{
    _EngCreateWindowParms parms = {-1, -1, width, height, 32, windowed, 60, 0, 0, 0, 1, 0, ""};
    return parms;
}

// Everything the window, the device and the program keep for the run, back
// as at start, on the headless desktop with the virtual clock.
inline void ResetRuntimeForTest()
{
    ResetEngineForTest();
    PlatformResetMessagesForTests();
    PlatformResetWindowsForTests();
    PlatformResetHeadlessForTests();
    PlatformSetHeadless(true);
    D3D9SetBackend(D3D9_BACKEND_RECORDING);
    D3D9RecordingReset();
    EngDeviceDX9ResetForTests();
    EngWindowResetForTests();
    eng_misc_main_window_created = 0;
    EngMiscSetPopupToShowAfterExit(EMPT_NONE, nullptr, nullptr);
    eng_device_type = EDT_DX9;
    VirtualClock::Install();
    EngMiscInitTimer_PC();
    // One second in: a program time of 0 means "never" to some records.
    VirtualClock::Advance(1000);
    EngMainUpdateProgramTime();
}

// A recording program object made fresh for each test on the headless
// desktop, and closed down after it.
class RecordingProgramTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    _EngCreateWindowParms parms = WindowParms();

    void SetUp() override
    {
        ResetRuntimeForTest();
        program = new RecordingProgram();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        VirtualClock::Remove();
    }
};

// The main window on the headless desktop, for tests of the modules that use
// it (sound and music): a recording program with its window and device,
// closed down when the helper goes. Made after ResetRuntimeForTest.
class HeadlessMainWindow {
public:
    HeadlessMainWindow()
    {
        // A program object made before may have marked the main thread.
        EngMainResetMainThreadForTests();
        m_program = std::make_unique<RecordingProgram>();
        _EngCreateWindowParms parms = WindowParms();
        EXPECT_EQ(m_program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
    }
    ~HeadlessMainWindow() { m_program->CloseDown(1); }

private:
    std::unique_ptr<RecordingProgram> m_program;
};

// Handles every queued message as the main loop would, one at a time.
inline void PumpAll(EngWindow *window)
{
    while (window->PumpMessages() == 2) {
    }
}

// The system cursor's show count (visible from 0 up).
inline int CursorCount()
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

// The device's creations and releases among the recorded calls.
inline std::vector<std::string> DeviceLifeCalls()
{
    std::vector<std::string> lines;
    for (const std::string &call : D3D9RecordingGetCalls())
        if (call.rfind("CreateDevice", 0) == 0 || call == "Release device")
            lines.push_back(call);
    return lines;
}

inline bool WasStored(const std::string &line)
{
    for (const std::string &stored : StoredLines())
        if (stored == line)
            return true;
    return false;
}
