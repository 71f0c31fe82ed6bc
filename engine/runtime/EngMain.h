// The program's entry function, the order in which it starts and stops, the
// record of the main thread, the program time and the window-to-virtual-screen
// mapping.
#pragma once

#include "platform/win32/Win32Types.h"

#include <atomic>

class EngProgram;

// The one program object; set by its constructor, cleared when it closes down.
extern EngProgram *eng_main_program;
// Seconds; the current moment of the program. Refreshed by the main loop and
// by the internet reader's worker thread, hence atomic.
extern std::atomic<double> eng_main_program_time;
// The main window's client size in pixels, and whether it is a window (1)
// rather than full screen (0); kept by the main window (EngWindow.h).
extern int eng_screen_width;
extern int eng_screen_height;
extern char eng_screen_windowed;

// Runs the program: start-up, main loop, close-down. Returns the exit code.
int WinMain(HINSTANCE instance, HINSTANCE previous, char *command_line, int show);
// The process's main(): makes the program's own folder the working folder,
// then runs WinMain with argv[1..] joined by blanks as the command line.
int EngMainEntry(int argc, char **argv);

void EngMainCheckInternals();
// 1 success, 0 failure, negative when the program declined to open its window.
char EngMainCreateMainWindowAndDevice();
void EngMainReportPrematureTermination();
void EngMainForceExit(const char *title, const char *text);
char EngMainIsThisTheMainThread();
// Never returns: ends the process on the main thread, only the calling thread elsewhere.
[[noreturn]] void EngMainCallExit(int code);
double EngMainUpdateProgramTime();
double EngMainGetTime();
char EngMainConvertWindowPosToVirtualPos(float x, float y, float *vx, float *vy);

// Marks the calling thread as the main thread; the program object's
// constructor calls it once.
void EngMainSetupMainThread();
// Clears the mark so a test can construct a new program object.
void EngMainResetMainThreadForTests();
