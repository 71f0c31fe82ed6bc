// The real program on the virtual X display: with a settings file that asks
// for no dialog, in a private home folder, it opens its window on the
// Players screen with the splash picture between the logo and the buttons,
// and ends with exit code 0 when asked to close. Every screen passed is
// saved as a PNG in <build>/screens/.
#include "engine/core/EngMisc.h"
#include "modules/Resolution.h"
#include "platform/ui/UiWindow.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;

// A valid Resolution.dat of this version: a 1024 x 768 window, the system
// cursor, no dialog, the update check done today and the internet tested.
void SeedSettings()
{
    _ResolutionSettings s;
    std::memset(&s, 0, sizeof(s));
    s.settings_version = 1.5f;
    s.program_version = 2.01f;
    s.show_dialog = 0;
    EngMiscGetCurrentDate(&s.last_update_check);
    s.windowed = 1;
    s.window_x = s.window_y = -1;
    s.windowed_width = s.full_screen_width = 1024;
    s.windowed_height = s.full_screen_height = 768;
    s.windowed_bits = s.full_screen_bits = 32;
    s.full_screen_refresh_rate = 60;
    std::strcpy(s.language, "English");
    s.cursor_type = 1;
    s.music_on = 1;
    s.internet_test[0] = 1;
    fs::path folder = fs::path(std::getenv("XDG_DATA_HOME")) / "Lichenware" / "Hive Watcher";
    fs::create_directories(folder);
    std::ofstream(folder / "Resolution.dat", std::ios::binary).write(reinterpret_cast<const char *>(&s), sizeof(s));
}

struct Screen {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool Capture(const std::string &png, Screen *screen)
{
    return UiTestCaptureScreen(png.empty() ? nullptr : png.c_str(), &screen->pixels, &screen->width,
                               &screen->height);
}

// The program's 1024 x 768 window, centred on the screen: a point given in
// the game's 640 x 480 units.
uint32_t GamePixel(const Screen &screen, float x, float y)
{
    int left = (screen.width - 1024) / 2, top = (screen.height - 768) / 2;
    return screen.At(left + static_cast<int>(x * 1.6f), top + static_cast<int>(y * 1.6f));
}

int Brightness(uint32_t rgb)
{
    return ((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff);
}

// How many points of a grid over the area are not black.
int LitPoints(const Screen &screen, float x, float y, float w, float h)
{
    int lit = 0;
    for (float py = y; py < y + h; py += h / 8)
        for (float px = x; px < x + w; px += w / 8)
            if (Brightness(GamePixel(screen, px, py)) > 60)
                lit++;
    return lit;
}

// The Players screen is drawn: the splash in the middle, the "Exit Game"
// button at the bottom right, and black between them.
bool PlayersScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 230, 150, 180, 200) > 20 && LitPoints(screen, 510, 435, 110, 25) > 30 &&
           Brightness(GamePixel(screen, 450, 300)) < 60;
}

TEST(StartE2eTest, StartsOnThePlayersScreenAndClosesWithCodeZero)
{
    SeedSettings();
    const std::string shots = HW_SCREENSHOT_DIR;
    fs::create_directories(shots);
    // Leaks of the desktop's own libraries at exit are not the program's.
    const fs::path suppressions = fs::absolute("lsan.supp");
    std::ofstream(suppressions) << "leak:libdbus\nleak:libX11\nleak:libfontconfig\nleak:libGLX\nleak:libLLVM\n";
    setenv("LSAN_OPTIONS", ("suppressions=" + suppressions.string()).c_str(), 1);

    pid_t pid = 0;
    char *argv[] = {const_cast<char *>(HW_PROGRAM), nullptr};
    ASSERT_EQ(posix_spawn(&pid, HW_PROGRAM, nullptr, nullptr, argv, environ), 0);

    Screen screen;
    bool drawn = false;
    int status = 0;
    for (int i = 0; i < 240 && !drawn; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the program ended early";
        ASSERT_TRUE(Capture("", &screen));
        drawn = screen.width >= 1024 && screen.height >= 768 && PlayersScreenDrawn(screen);
    }
    // One more frame after the first full one, for the screenshot.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(Capture(shots + "/Players.png", &screen));
    EXPECT_TRUE(drawn) << "the Players screen was not drawn; see " << shots << "/Players.png";
    EXPECT_TRUE(PlayersScreenDrawn(screen));

    kill(pid, SIGTERM);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
