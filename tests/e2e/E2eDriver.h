// The ground of every end-to-end test: the real HiveWatcher program started
// on a private X server (tests/fixtures/xdisplay) from a fresh per-user
// folder, with the files a player would have seeded by the same modules the
// program uses, driven by injected clicks and keys at the game's own
// 640 x 480 coordinates, watched through screenshots.
//
// The program asks for a 1024 x 768 client area in a window with its frame;
// the screen is made just large enough for both, so the client area keeps
// its full size. While that window is shown, shots hold its client area
// alone and clicks in game units are placed on it; before (dialogs, message
// boxes) they cover the whole screen. Every screen a test passes is saved
// with SaveShot to <build>/screens/<name>.png.
#pragma once

#include "modules/Resolution.h"
#include "tests/fixtures/xdisplay/XDisplay.h"
#include "tests/modules/ModulesTestSupport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <sys/types.h>

namespace e2e {

using Screen = XScreenImage;

// The client area the program asks for, and the screen that holds it with
// the window's frame (8 pixels at the sides and below, 32 above).
constexpr int CLIENT_WIDTH = 1024, CLIENT_HEIGHT = 768;
constexpr int SCREEN_WIDTH = CLIENT_WIDTH + 16, SCREEN_HEIGHT = CLIENT_HEIGHT + 40;

// The pixel under a point given in game units (a shot's width is 640 units).
uint32_t GamePixel(const Screen &screen, float x, float y);
int Brightness(uint32_t rgb);
// How many points of an 8 x 8 grid over the area are not black.
int LitPoints(const Screen &screen, float x, float y, float w, float h);
// The share (0..1) of pixels that differ noticeably between two shots of
// one size.
double ChangedShare(const Screen &a, const Screen &b);

class E2eTest : public modules_test::ModulesTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The settings the program starts with: a 1024 x 768 window, the system
    // cursor, no dialog, the update check done today, the internet tested.
    // Change them before StartProgram; it writes them.
    _ResolutionSettings *Settings() { return ResolutionGetSettings(); }
    // A player file as the new-player screen writes it; with continue_with
    // the program continues with that player at start, straight to the
    // main screen.
    void SeedPlayer(const char *name, const char *country, bool continue_with);

    // Starts the program and waits until the screen shows something, unless
    // told not to wait (for a window too small to light the whole screen's
    // test points). The settings are written first unless the start is to
    // find none.
    bool StartProgram(bool write_settings = true, bool wait_for_picture = true);
    // Starts the program from the files as they are and waits until a
    // message box shows before any window (a start that has something to
    // tell first).
    bool StartProgramToABox();
    // The environment a started program gets: ours, on the private display,
    // with the dummy audio driver.
    std::vector<std::string> ProgramEnvironment() const;
    // Starts m_command in that environment, leading a process group of its
    // own; answers its process id, or 0 when it could not be started.
    pid_t SpawnProgram();
    bool ProgramRunning();
    // Asks the program to close (SIGTERM) and answers its exit code, or -1
    // when it did not end by itself within the time given.
    int StopProgram(int timeout_seconds = 30);
    // Waits for the program to end by itself and answers its exit code, or
    // -1 when it is still running after the time given.
    int WaitForExit(int timeout_seconds = 30);

    // At a point in game units, which may lie outside the program's window
    // (on the screen around it).
    void Click(float x, float y, int button = 1);
    void MoveTo(float x, float y);
    // The left button pressed, or let go, where the pointer is.
    void PressLeft() { m_display->Button(1, true); }
    void ReleaseLeft() { m_display->Button(1, false); }
    // Notches of the wheel away from the user (above 0) or towards, with
    // the pointer at a point.
    void Wheel(float x, float y, int notches);
    void Key(const char *keysym_name) { m_display->Key(keysym_name); }
    void Type(const std::string &text) { m_display->Type(text); }

    // Resizes the program's window to a client area of that size, as a
    // player dragging its frame would; shots and clicks follow the new size.
    bool ResizeWindow(int width, int height);

    // The program's client area (the whole screen while it is not shown).
    Screen Shot();
    // The client area with only a rectangle of it read (in its pixels), the
    // rest black: quick enough, read in a loop, to catch what shows for a
    // frame or two. Black throughout while the window is not shown.
    Screen PartShot(int left, int top, int width, int height);
    void SaveShot(const std::string &name);
    // Polls the screen until the condition holds; false when it never does,
    // with a failure that tells why (the program's death, or its log).
    bool WaitFor(const std::function<bool(const Screen &)> &condition, double seconds = 30);
    // The last lines of the program's log file, for failure messages.
    static std::string ProgramLogTail();
    // After an action that changes screens: waits until the screen differs
    // from `before` and then holds still (fades done), and answers the
    // settled shot through `after`.
    bool WaitForNewScreen(const Screen &before, Screen *after = nullptr, double seconds = 30);
    // The same for a screen that never holds still (the Players screen's
    // splash turns for ever): waits until `drawn` holds and then through the
    // switch's fade.
    bool WaitForMovingScreen(const std::function<bool(const Screen &)> &drawn, Screen *after);

    std::unique_ptr<XDisplay> m_display;
    // What StartProgram runs: the program and its arguments.
    std::vector<std::string> m_command = {HW_PROGRAM};

private:
    // The program's client area on the screen, when its window is shown.
    bool FindClientArea(int *left, int *top);
    // A point in game units on the screen, through the client area.
    void ToScreen(float x, float y, int *screen_x, int *screen_y);

    pid_t m_program = 0;
    int m_client_width = CLIENT_WIDTH, m_client_height = CLIENT_HEIGHT;
};

} // namespace e2e
