#include "engine/core/EngMisc.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Time.h"

#include <cstdlib>

char eng_misc_main_window_created = 0;

namespace {

struct StoredPopup {
    _EngMiscPopupType type = EMPT_NONE;
    char title[100] = "";
    char text[400] = "";
};

StoredPopup stored_popup;

struct ProgramClock {
    bool have_counter = false;
    int64_t frequency = 0;
    int64_t start = 0;
};

ProgramClock program_clock;

} // namespace

void EngMiscInitTimer_PC()
{
    int64_t frequency = 0;
    program_clock.have_counter = QueryPerformanceFrequency(&frequency) && frequency > 0;
    program_clock.frequency = frequency;
    if (program_clock.have_counter)
        QueryPerformanceCounter(&program_clock.start);
}

double EngMiscGetTime_PC()
{
    if (program_clock.have_counter) {
        int64_t count = 0;
        QueryPerformanceCounter(&count);
        return static_cast<double>(count - program_clock.start) / static_cast<double>(program_clock.frequency);
    }
    return static_cast<double>(GetTickCount()) / 1000.0;
}

void EngMiscWait(double seconds)
{
    if (seconds <= 0)
        return;
    double end = EngMainUpdateProgramTime() + seconds;
    while (EngMainUpdateProgramTime() < end)
        Sleep(10);
}

void EngMiscSleep(double seconds)
{
    if (seconds <= 0)
        return;
    Sleep(static_cast<DWORD>(seconds * 1000));
}

void EngMiscDiscardWindowMessages_PC(double max_seconds)
{
    double end = EngMainUpdateProgramTime() + max_seconds;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && EngMainUpdateProgramTime() < end) {
    }
}

void EngMiscSetPopupToShowAfterExit(_EngMiscPopupType type, const char *title, const char *text)
{
    stored_popup.type = type;
    EngSafeStrcpy(stored_popup.title, title, sizeof(stored_popup.title));
    EngSafeStrcpy(stored_popup.text, text, sizeof(stored_popup.text));
}

char EngMiscIsPopupSetToShowAfterExit()
{
    return stored_popup.type != EMPT_NONE;
}

char EngMiscShowPopupMessage(_EngMiscPopupType type, const char *title, const char *text)
{
    if (type != EMPT_NONE || title || text)
        EngMiscSetPopupToShowAfterExit(type, title, text);
    EngMiscShowPopupMessage_PC(stored_popup.type, stored_popup.title, stored_popup.text);
    stored_popup.type = EMPT_NONE;
    return 1;
}

void EngMiscShowPopupMessage_PC(_EngMiscPopupType type, const char *title, const char *text)
{
    if (eng_misc_main_window_created) {
        EngMiscDiscardWindowMessages_PC(2.0);
        for (int i = 0; i < 4; i++)
            ShowCursor(TRUE);
    }
    UINT icon = 0;
    if (type == EMPT_ERROR)
        icon = MB_ICONERROR;
    else if (type == EMPT_WARNING)
        icon = MB_ICONWARNING;
    MessageBoxA(nullptr, text, title, MB_OK | icon);
}

char EngMiscExitProgramNow(char return_to_caller)
{
    DebugInfoWithName("EngMiscExitProgramNow", "Exiting main program.");
    if (eng_main_program)
        eng_main_program->CloseDown(1);
    if (return_to_caller)
        return 1;

    // Let the queue drain for a moment so the desktop sees the window go.
    double end = EngMainUpdateProgramTime() + 4.0;
    MSG msg;
    while (EngMainUpdateProgramTime() < end && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        EngMiscSleep(0.01);
    std::exit(0);
}

void EngMiscQuitMainLoop()
{
    if (eng_main_program)
        eng_main_program->SetExitFlag();
}
