#include "engine/runtime/EngMain.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngTypes.h"
#include "engine/runtime/EngMainServices.h"
#include "engine/runtime/EngProgram.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Shell.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>

EngProgram *eng_main_program = nullptr;
std::atomic<double> eng_main_program_time{0.0};

namespace {

const char ERROR_RUNNING_TITLE[] = "Error Running Program";

// The main thread: its handle is stored during static construction, before
// the entry function runs; the program object marks the record as set.
struct MainThreadRecord {
    pthread_t thread;
    std::atomic<bool> set;
    MainThreadRecord() : thread(pthread_self()), set(false) {}
};

MainThreadRecord main_thread;

} // namespace

int WinMain(HINSTANCE instance, HINSTANCE, char *command_line, int)
{
    if (eng_main_program) {
        DebugError("_WinMain@16", "eng_main_program already exists.");
        return -1;
    }

    int exit_code = 0;
    char answer = MainCreateAndInitMainProgram(instance, command_line, &exit_code);
    if (answer != 1) {
        if (exit_code != 0) {
            DebugError("_WinMain@16", "Init returned %d,  Exit %d.", answer, exit_code);
            EngMainReportPrematureTermination();
        }
        MainDeleteMainProgram(0);
        return exit_code;
    }
    if (!eng_main_program) {
        DebugError("_WinMain@16", "eng_main_program was not created.");
        EngMainReportPrematureTermination();
        MainDeleteMainProgram(0);
        return -1;
    }

    EngMainCheckInternals();

    char created = EngMainCreateMainWindowAndDevice();
    // A program that declined to open its window ends quietly, without clean-up.
    if (created < 0)
        return created;
    if (created == 0) {
        EngMainReportPrematureTermination();
        MainDeleteMainProgram(0);
        return -1;
    }

    eng_main_program->RunMainLoop();
    MainDeleteMainProgram(1);
    return 0;
}

int EngMainEntry(int argc, char **argv)
{
    // Data and the log live beside the program: find them there whatever
    // folder the program was started from, before anything opens a file.
    if (!PlatformEnterProgramFolder())
        DebugError("EngMainEntry", "Could not enter the program's folder (%s)", std::strerror(errno));

    std::string command_line;
    for (int i = 1; i < argc; i++) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    return WinMain(nullptr, nullptr, &command_line[0], SW_SHOWNORMAL);
}

void EngMainCheckInternals()
{
    const char *where = "EngMainCheckInternals";
    DebugCheckFatal(sizeof(EngInt8) == 1, where, "sizeof(EngInt8) == 1");
    DebugCheckFatal(sizeof(EngUInt8) == 1, where, "sizeof(EngUInt8) == 1");
    DebugCheckFatal(sizeof(EngInt16) == 2, where, "sizeof(EngInt16) == 2");
    DebugCheckFatal(sizeof(EngUInt16) == 2, where, "sizeof(EngUInt16) == 2");
    DebugCheckFatal(sizeof(EngInt32) == 4, where, "sizeof(EngInt32) == 4");
    DebugCheckFatal(sizeof(EngUInt32) == 4, where, "sizeof(EngUInt32) == 4");
    DebugCheckFatal(static_cast<char>(-1) < 0, where, "char is not signed.");
}

char EngMainCreateMainWindowAndDevice()
{
    if (!eng_main_program) {
        DebugError("EngMainCreateMainWindowAndDevice", "No main program");
        return 0;
    }
    return eng_main_program->CreateMainWindowAndDevice(MainGetProgramName(), MainGetWindowClassName(),
                                                       MainGetCreateWindowParms());
}

void EngMainReportPrematureTermination()
{
    if (!EngMiscExitProgramNow(1))
        return;

    const char *log_filename = DebugGetLogFilename();
    bool have_log = log_filename && log_filename[0] && EngFileExists(log_filename, 0);

    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    for (int i = 0; i < 4; i++)
        ShowCursor(TRUE);

    if (!have_log) {
        MessageBoxA(nullptr, "The program had to terminate prematurely. No error logs were generated.",
                    ERROR_RUNNING_TITLE, MB_OK | MB_ICONERROR);
        return;
    }
    int pressed = MessageBoxA(nullptr, "The program had to terminate prematurely.\n\nDo you wish to see the log file ?",
                              ERROR_RUNNING_TITLE, MB_YESNO | MB_ICONERROR);
    if (pressed == IDYES)
        ShellExecuteA(nullptr, "open", log_filename, nullptr, "C:\\", SW_SHOWNORMAL);
}

void EngMainForceExit(const char *title, const char *text)
{
    if (eng_main_program)
        eng_main_program->ForceExitNow(title, text, 0);
}

char EngMainIsThisTheMainThread()
{
    if (!main_thread.set) {
        DebugError("EngMainIsThisTheMainThread", "Main thread var not set");
        return 1;
    }
    return pthread_equal(main_thread.thread, pthread_self()) ? 1 : 0;
}

void EngMainCallExit(int code)
{
    DebugInfoWithName("?EngMainCallExit@@YAXH@Z", "Exiting.");
    if (EngMainIsThisTheMainThread())
        std::exit(code);
    DebugInfo("Exiting thread...");
    pthread_exit(nullptr);
}

double EngMainUpdateProgramTime()
{
    double now = EngMainGetTime();
    eng_main_program_time = now;
    return now;
}

double EngMainGetTime()
{
    return EngMiscGetTime_PC();
}

char EngMainConvertWindowPosToVirtualPos(float x, float y, float *vx, float *vy)
{
    if (eng_screen_width <= 0 || eng_screen_height <= 0)
        return 0;
    if (vx)
        *vx = x * 640.0f / eng_screen_width;
    if (vy)
        *vy = y * 480.0f / eng_screen_height;
    return 1;
}

void EngMainSetupMainThread()
{
    DebugCheckFatal(!main_thread.set, "EngMainSetupMainThread", "Main thread already setup");
    main_thread.thread = pthread_self();
    main_thread.set = true;
}

void EngMainResetMainThreadForTests()
{
    main_thread.thread = pthread_self();
    main_thread.set = false;
}
