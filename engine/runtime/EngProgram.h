// The one program object: runs the main loop at a constant frame rate, keeps
// the frame time that all animation reads, and calls its own virtual
// operations wherever the game takes part. The game's Program derives from it.
#pragma once

#include "engine/core/EngMisc.h"
#include "engine/runtime/EngWindow.h"

#include <atomic>

typedef void (*EngProgramAfterExitCB)();

// Input events handed to InputEventCB.
enum {
    EPIE_MOUSE_MOVE = 1,
    EPIE_MOUSE_BUTTON = 2,
    EPIE_LEFT_DOUBLE_CLICK = 3,
    EPIE_WHEEL = 4,
    EPIE_KEY_DOWN = 5,
    EPIE_KEY_UP = 6,
    EPIE_CHARACTER = 7,
};

// The length of the last main-loop pass, and its inverse.
extern float eng_main_frame_time;
extern float eng_main_frames_per_second;
extern void *eng_main_instance;

class EngProgram {
public:
    EngProgram();
    virtual ~EngProgram();

    // Positive: go on; 0: failure; negative: stop quietly.
    virtual char InitCB(const char *command_line);
    virtual char PreCreateWindowCB(_EngCreateWindowParms *parms);
    virtual char UnnamedCB();
    virtual char PreDeviceInitCB();
    virtual char PostDeviceInitCB();
    virtual char PreCreateGraphicsObjectsCB();
    virtual char CreateGraphicsObjectsCB();
    virtual char PostCreateGraphicsObjectsCB();
    virtual void PreDestroyGraphicsObjectsCB();
    virtual void DestroyGraphicsObjectsCB();
    virtual void PostDestroyGraphicsObjectsCB();
    virtual char TickCB();
    virtual void RenderCB();
    virtual char InputEventCB(int event, float a, float b);
    virtual void OrientationChangedCB(_EngOrientation orientation);
    virtual void ComputerSleepingCB(char sleeping);
    virtual void ActivatedCB(char active);
    virtual void WindowMinimisedCB(char minimised);
    virtual void GraphicsObjectsCreatedCB();
    virtual void PreDestroyDeviceCB();
    virtual void PostDestroyDeviceCB();
    virtual void ExitCB();

    char Init(void *instance, const char *command_line);
    char CreateMainWindowAndDevice(const char *title, const char *class_name, _EngCreateWindowParms *parms);
    // The window, or null with the answer of its creation in *answer.
    EngWindow *CreateMainWindow(const char *title, _EngCreateWindowParms *parms, char *answer);
    EngWindow *GetWindow() const { return m_window; }
    void RunMainLoop();
    // One pass of the main loop; false only when the program object vanished.
    char DoConstantFrameRateTick();
    void DoTick();
    void DoRender();
    void PumpMessages();

    void QuitMainLoop();
    void SetExitFlag() { m_exit = 1; }
    // A window closed for a mode toggle does not end the program.
    void ClearExitFlag() { m_exit = 0; }
    char GetExitFlag() const { return m_exit; }
    void SetLongSleeps(char on) { m_long_sleeps = on; }
    char GetLongSleeps() const { return m_long_sleeps; }
    void SetSyncWithGpuMethod(char on, int method, char try_other);
    int GetSyncWithGpuMethod() const { return m_gpu_sync_method; }
    // The device may switch to the other method when the chosen one fails.
    char GetSyncWithGpuTryOther() const { return m_gpu_sync_try_other; }
    void SetAfterExitCB(EngProgramAfterExitCB callback) { m_after_exit_cb = callback; }
    void ShowPopupAfterExiting();
    // Ends the current frame wait; the window calls it after every input event.
    void RequestWake(char) { m_wake = 1; }
    // Requests for extra frames: the constant-frame-rate loop draws every
    // pass anyway, so they have no effect.
    void RequestRenderEventDriven() {}
    void RequestRenderWhenNeeded() {}
    // Suspend (1) and resume (0) of the computer.
    void SetComputerSleeping(char sleeping);
    void GraphicsObjectsCreated();
    void ActivationChanged(char active);

    void CloseDown(char ok);
    void ForceExitNow(const char *title, const char *text, char quiet);

    // SIGINT and SIGTERM only mark the signal; the main loop then closes the
    // program quietly and ends the process with code 0.
    static void SignalHandler(int signal_number);
    static void InstallSignalHandlers();
    // Whether SIGINT or SIGTERM asked the program to close: modal loops of
    // their own (the updater's windows and download) end early on it.
    static bool IsCloseDownSignalled();
    static void ResetSignalForTests();

protected:
    void CloseDownIfSignalled();

    // Set by ForceExitNow from any thread, read by the main loop.
    std::atomic<char> m_exit;
    char m_sleeping;
    std::atomic<char> m_popup_after_exit;
    EngWindow *m_window;
    float m_target_fps;
    char m_long_sleeps;
    char m_wake;
    EngProgramAfterExitCB m_after_exit_cb;
    int m_gpu_sync_method;
    char m_gpu_sync_try_other;
};
