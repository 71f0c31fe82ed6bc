// Start-up, idle and memory figures of the real program (bench/measure.sh):
// on a private X server, from a per-user folder seeded with a player to
// continue with and settings that skip the start-up dialog, it measures
//  - the time from the program's start to its first drawn frame (the screen
//    polled until the window shows something),
//  - the CPU share of one core the main screen takes while nobody acts
//    (user and system time over ten seconds, after the screen settled),
//  - the resident memory once a game of the first garden is in play (the
//    largest seen over five seconds of play).
// Run it from an optimised build's folder; it exits with 1 when the display
// or the program cannot be had.
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "game/Program.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Headless.h"
#include "tests/fixtures/xdisplay/XDisplay.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const int WIDTH = 1024, HEIGHT = 768;

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// How many points of a coarse grid over the screen are not black.
int LitPoints(const XScreenImage &image)
{
    int lit = 0;
    for (int y = 16; y < image.height; y += 48)
        for (int x = 16; x < image.width; x += 64) {
            const uint32_t p = image.At(x, y);
            lit += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) > 60;
        }
    return lit;
}

// The share of pixels that differ between two shots.
double Changed(const XScreenImage &a, const XScreenImage &b)
{
    size_t changed = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); i++)
        changed += a.pixels[i] != b.pixels[i];
    return a.pixels.empty() ? 1.0 : static_cast<double>(changed) / a.pixels.size();
}

// The process's user and system time in seconds.
double CpuSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command's closing parenthesis; utime and stime
    // are the 12th and 13th of them.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && rest >> field; i++)
        if (i >= 12)
            ticks += std::atof(field.c_str());
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The process's resident memory in MB.
double ResidentMb(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(file, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// The per-user files the program finds at start: a player to continue with
// and a 1024 x 768 window without the start-up dialog.
bool Seed()
{
    char folder[] = "/tmp/hw-measure-XXXXXX";
    if (!mkdtemp(folder))
        return false;
    const std::string data = std::string(folder) + "/data";
    std::error_code ignored;
    std::filesystem::create_directories(data, ignored);
    setenv("HOME", folder, 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    PlatformSetHeadless(true);
    PlatformHeadlessSetWorkArea(0, 0, WIDTH, HEIGHT);
    MainInitModules();
    ResolutionSetDefaults();
    _ResolutionSettings *s = ResolutionGetSettings();
    s->show_dialog = 0;
    EngMiscGetCurrentDate(&s->last_update_check);
    s->windowed = 1;
    s->window_x = s->window_y = -1;
    s->windowed_width = s->full_screen_width = WIDTH;
    s->windowed_height = s->full_screen_height = HEIGHT;
    s->windowed_bits = s->full_screen_bits = 32;
    s->full_screen_refresh_rate = 60;
    s->cursor_type = 1;
    s->internet_test[0] = 1;
    EngSafeStrcpy(s->language, "English", sizeof(s->language));
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    if (!user.CreateNewUser("Bench", "GB", 0))
        return false;
    user.GetInfo()->options.always_load = 1;
    if (!user.Save(1))
        return false;
    EngSafeStrcpy(s->player_name, "Bench", RESOLUTION_PLAYER_NAME_SIZE);
    return ResolutionSaveSettings();
}

// Waits until the screen changed from `before` and then holds still.
bool WaitForNewScreen(XDisplay *display, const XScreenImage &before, double seconds)
{
    XScreenImage last, now;
    bool changed = false;
    for (const double end = Now() + seconds; Now() < end; Sleep(0.2)) {
        if (!display->Capture(&now))
            return false;
        if (changed && Changed(last, now) < 0.01)
            return true;
        changed = changed || Changed(before, now) > 0.10;
        last = now;
    }
    return false;
}

void Click(XDisplay *display, float x, float y)
{
    display->Click(static_cast<int>(x * WIDTH / 640), static_cast<int>(y * HEIGHT / 480));
}

} // namespace

int main(int argc, char **argv)
{
    const char *program = argc > 1 ? argv[1] : "./HiveWatcher";
    if (!Seed()) {
        std::fprintf(stderr, "the player and settings could not be seeded\n");
        return 1;
    }
    XDisplay display(WIDTH, HEIGHT);
    if (!display.Ok()) {
        std::fprintf(stderr, "no X server: %s\n", display.Error().c_str());
        return 1;
    }
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char *args[] = {const_cast<char *>(program), nullptr};
    pid_t pid = 0;
    const double started = Now();
    if (posix_spawn(&pid, program, nullptr, nullptr, args, environ) != 0) {
        std::fprintf(stderr, "%s could not be started\n", program);
        return 1;
    }
    int result = 1;
    XScreenImage screen;
    double first_frame = -1;
    for (const double end = started + 30; Now() < end && waitpid(pid, nullptr, WNOHANG) == 0;)
        if (display.Capture(&screen) && LitPoints(screen) > 4) {
            first_frame = Now() - started;
            break;
        }
    if (first_frame < 0) {
        std::fprintf(stderr, "the program never drew\n");
    } else {
        // The main screen's fades done, then nobody acts for ten seconds.
        Sleep(5);
        const double cpu_before = CpuSeconds(pid), wall_before = Now();
        Sleep(10);
        const double idle = (CpuSeconds(pid) - cpu_before) / (Now() - wall_before) * 100;

        // New Game, the first garden, Ok: the play.
        double resident = 0;
        display.Capture(&screen);
        Click(&display, 320, 225);
        bool in_play = WaitForNewScreen(&display, screen, 30) && display.Capture(&screen);
        Click(&display, 235, 200);
        in_play = in_play && WaitForNewScreen(&display, screen, 30) && display.Capture(&screen);
        Click(&display, 320, 312);
        in_play = in_play && WaitForNewScreen(&display, screen, 30);
        for (int i = 0; in_play && i < 10; i++, Sleep(0.5))
            resident = std::max(resident, ResidentMb(pid));

        std::printf("start to first drawn frame   %6.3f s   (goal <= 0.3 s)\n", first_frame);
        std::printf("idle main screen CPU         %6.1f %%   of one core (goal <= 10 %%)\n", idle);
        if (in_play)
            std::printf("resident memory in play      %6.1f MB  (goal <= 120 MB)\n", resident);
        else
            std::printf("resident memory in play      the play was not reached\n");
        result = in_play ? 0 : 1;
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return result;
}
