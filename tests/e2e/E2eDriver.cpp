// See the header.
#include "tests/e2e/E2eDriver.h"

#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "game/Program.h"
#include "modules/UserClass.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

namespace e2e {

namespace {


void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

uint32_t GamePixel(const Screen &screen, float x, float y)
{
    const float scale = screen.width / 640.0f;
    const int px = std::min(static_cast<int>(x * scale), screen.width - 1);
    const int py = std::min(static_cast<int>(y * scale), screen.height - 1);
    return screen.At(std::max(px, 0), std::max(py, 0));
}

int Brightness(uint32_t rgb)
{
    return ((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff);
}

int LitPoints(const Screen &screen, float x, float y, float w, float h)
{
    int lit = 0;
    for (int row = 0; row < 8; row++)
        for (int column = 0; column < 8; column++)
            if (Brightness(GamePixel(screen, x + column * w / 8, y + row * h / 8)) > 60)
                lit++;
    return lit;
}

double ChangedShare(const Screen &a, const Screen &b)
{
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty())
        return 1.0;
    // Glows and sparkles shift colours a little all the time: only a change
    // the eye would call one counts.
    auto differs = [](uint32_t p, uint32_t q) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff)) > 24)
                return true;
        return false;
    };
    size_t changed = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        changed += differs(a.pixels[i], b.pixels[i]);
    return static_cast<double>(changed) / a.pixels.size();
}

void E2eTest::SetUp()
{
    ModulesTest::SetUp();
    // The modules set up as the program sets them, so the files seeded
    // here are the program's own (its cipher, its folder, its settings).
    MainResetModulesForTests();
    MainInitModules();
    ResolutionSetDefaults();
    _ResolutionSettings *s = Settings();
    s->show_dialog = 0;
    EngMiscGetCurrentDate(&s->last_update_check);
    s->windowed = 1;
    s->window_x = s->window_y = -1;
    s->windowed_width = s->full_screen_width = CLIENT_WIDTH;
    s->windowed_height = s->full_screen_height = CLIENT_HEIGHT;
    s->windowed_bits = s->full_screen_bits = 32;
    s->full_screen_refresh_rate = 60;
    s->cursor_type = 1;
    s->internet_test[0] = 1;
    EngSafeStrcpy(s->language, "English", sizeof(s->language));
    std::filesystem::create_directories(HW_SCREENSHOT_DIR);

    // Leaks of the desktop's own libraries at the program's exit are not
    // the program's.
    const std::filesystem::path suppressions = std::filesystem::absolute("lsan.supp");
    std::ofstream(suppressions) << "leak:libdbus\nleak:libX11\nleak:libfontconfig\nleak:libGLX\nleak:libLLVM\n"
                                   "leak:libglib\nleak:libgobject\nleak:libgtk-3\nleak:libgdk-3\n";
    setenv("LSAN_OPTIONS", ("suppressions=" + suppressions.string()).c_str(), 1);

    m_display = std::make_unique<XDisplay>(SCREEN_WIDTH, SCREEN_HEIGHT);
    ASSERT_TRUE(m_display->Ok()) << m_display->Error();
}

void E2eTest::TearDown()
{
    if (m_program > 0) {
        kill(-m_program, SIGKILL);
        waitpid(m_program, nullptr, 0);
        m_program = 0;
    }
    m_display.reset();
    MainResetModulesForTests();
    ModulesTest::TearDown();
}

void E2eTest::SeedPlayer(const char *name, const char *country, bool continue_with)
{
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    ASSERT_TRUE(user.CreateNewUser(name, country, 0));
    user.GetInfo()->options.always_load = continue_with ? 1 : 0;
    ASSERT_TRUE(user.Save(1));
    if (continue_with)
        EngSafeStrcpy(Settings()->player_name, name, RESOLUTION_PLAYER_NAME_SIZE);
}

std::vector<std::string> E2eTest::ProgramEnvironment() const
{
    std::vector<std::string> env;
    for (char **e = environ; *e; e++)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0)
            env.push_back(*e);
    env.push_back("DISPLAY=" + m_display->Name());
    env.push_back("SDL_AUDIODRIVER=dummy");
    return env;
}

pid_t E2eTest::SpawnProgram()
{
    std::vector<std::string> env = ProgramEnvironment();
    std::vector<char *> envp;
    for (std::string &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char *> argv;
    for (std::string &part : m_command)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    // The program leads a process group of its own, so whatever it forks
    // goes with it (a message box shows in a child that leads a group of
    // its own and ends when the program does).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t program = 0;
    const int spawned = posix_spawn(&program, argv[0], nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? program : 0;
}

bool E2eTest::StartProgram(bool write_settings, bool wait_for_picture)
{
    if (write_settings && !ResolutionSaveSettings()) {
        ADD_FAILURE() << "the settings file could not be written";
        return false;
    }
    m_program = SpawnProgram();
    if (!m_program) {
        ADD_FAILURE() << "the program could not be started";
        return false;
    }
    // The pointer rests inside the window, so keys reach it.
    m_display->MoveTo(SCREEN_WIDTH / 2, SCREEN_HEIGHT - 12);
    if (!wait_for_picture)
        return true;
    return WaitFor([](const Screen &s) { return LitPoints(s, 0, 0, 640, 480) > 4; }, 60);
}

bool E2eTest::StartProgramToABox()
{
    m_program = SpawnProgram();
    if (!m_program) {
        ADD_FAILURE() << "the program could not be started";
        return false;
    }
    return WaitFor(
        [](const Screen &s) {
            return std::any_of(s.pixels.begin(), s.pixels.end(), [](uint32_t p) { return Brightness(p) > 60; });
        },
        60);
}

bool E2eTest::ProgramRunning()
{
    if (m_program <= 0)
        return false;
    int status;
    if (waitpid(m_program, &status, WNOHANG) == 0)
        return true;
    ADD_FAILURE() << "the program ended early, "
                  << (WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                                        : "signal " + std::to_string(WTERMSIG(status)));
    m_program = 0;
    return false;
}

int E2eTest::StopProgram(int timeout_seconds)
{
    if (m_program <= 0)
        return -1;
    kill(m_program, SIGTERM);
    int status = 0;
    const double end = Seconds() + timeout_seconds;
    pid_t ended = 0;
    while ((ended = waitpid(m_program, &status, WNOHANG)) == 0 && Seconds() < end)
        Sleep(100);
    kill(-m_program, SIGKILL);
    if (ended == 0)
        waitpid(m_program, &status, 0);
    m_program = 0;
    return ended != 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int E2eTest::WaitForExit(int timeout_seconds)
{
    if (m_program <= 0)
        return -1;
    const double end = Seconds() + timeout_seconds;
    int status = 0;
    while (waitpid(m_program, &status, WNOHANG) == 0) {
        if (Seconds() > end)
            return -1;
        Sleep(100);
    }
    kill(-m_program, SIGKILL);
    m_program = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool E2eTest::FindClientArea(int *left, int *top)
{
    int width = 0, height = 0;
    return m_display->LargestWindow(left, top, &width, &height) && width == m_client_width &&
           height == m_client_height;
}

void E2eTest::ToScreen(float x, float y, int *screen_x, int *screen_y)
{
    int left = 0, top = 0, width = m_client_width, height = m_client_height;
    if (!FindClientArea(&left, &top)) {
        left = top = 0;
        width = SCREEN_WIDTH;
        height = SCREEN_HEIGHT;
    }
    *screen_x = left + static_cast<int>(x * width / 640.0f);
    *screen_y = top + static_cast<int>(y * height / 480.0f);
}

void E2eTest::Click(float x, float y, int button)
{
    int sx, sy;
    ToScreen(x, y, &sx, &sy);
    m_display->Click(sx, sy, button);
}

void E2eTest::MoveTo(float x, float y)
{
    int sx, sy;
    ToScreen(x, y, &sx, &sy);
    m_display->MoveTo(sx, sy);
}

void E2eTest::Wheel(float x, float y, int notches)
{
    // The X server's wheel is buttons 4 (up) and 5 (down), a click a notch.
    for (int i = 0; i < std::abs(notches); i++)
        Click(x, y, notches > 0 ? 4 : 5);
}

Screen E2eTest::Shot()
{
    Screen whole;
    EXPECT_TRUE(m_display->Capture(&whole)) << "the screen could not be read";
    int left, top;
    if (whole.pixels.empty() || !FindClientArea(&left, &top))
        return whole;
    int width = m_client_width, height = m_client_height;
    // Clipped to the screen, should the window reach past it.
    const int right = std::min(left + width, whole.width), bottom = std::min(top + height, whole.height);
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (right <= left || bottom <= top)
        return whole;
    Screen client;
    client.width = right - left;
    client.height = bottom - top;
    client.pixels.reserve(static_cast<size_t>(client.width) * client.height);
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++)
            client.pixels.push_back(whole.At(x, y));
    return client;
}

Screen E2eTest::PartShot(int left, int top, int width, int height)
{
    Screen client, part;
    client.width = m_client_width;
    client.height = m_client_height;
    client.pixels.assign(static_cast<size_t>(m_client_width) * m_client_height, 0);
    int client_left, client_top;
    if (!FindClientArea(&client_left, &client_top)) {
        ADD_FAILURE() << "the program's window is not shown";
        return client;
    }
    left = std::clamp(left, 0, m_client_width - 1);
    top = std::clamp(top, 0, m_client_height - 1);
    width = std::min(width, m_client_width - left);
    height = std::min(height, m_client_height - top);
    if (!m_display->Capture(&part, client_left + left, client_top + top, width, height)) {
        ADD_FAILURE() << "the screen could not be read";
        return client;
    }
    for (int y = 0; y < part.height; y++)
        std::copy_n(part.pixels.begin() + static_cast<std::ptrdiff_t>(y) * part.width, part.width,
                    client.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * m_client_width + left);
    return client;
}

bool E2eTest::ResizeWindow(int width, int height)
{
    if (!m_display->ResizeLargestWindow(width, height))
        return false;
    m_client_width = width;
    m_client_height = height;
    return true;
}

void E2eTest::SaveShot(const std::string &name)
{
    const std::string file = std::string(HW_SCREENSHOT_DIR) + "/" + name + ".png";
    EXPECT_TRUE(XDisplay::SavePng(file, Shot())) << file;
}

bool E2eTest::WaitFor(const std::function<bool(const Screen &)> &condition, double seconds)
{
    const double end = Seconds() + seconds;
    do {
        if (!ProgramRunning())
            return false;
        if (condition(Shot()))
            return true;
        Sleep(200);
    } while (Seconds() < end);
    ADD_FAILURE() << "the screen never came; the program's log ends:\n" << ProgramLogTail();
    return false;
}

std::string E2eTest::ProgramLogTail()
{
    std::ifstream file(modules_test::ProductFolder() / "LogFile.txt");
    std::string text, line;
    while (std::getline(file, line))
        text += line + "\n";
    return text.size() > 3000 ? text.substr(text.size() - 3000) : text;
}

bool E2eTest::WaitForNewScreen(const Screen &before, Screen *after, double seconds)
{
    Screen last;
    bool changed = false;
    const bool settled = WaitFor(
        [&](const Screen &now) {
            // Changed: a tenth of the screen is new; settled: two shots in a
            // row differ by less than one per cent.
            const bool still = changed && ChangedShare(last, now) < 0.01 && ChangedShare(before, now) > 0.10;
            changed = changed || ChangedShare(before, now) > 0.10;
            last = now;
            return still;
        },
        seconds);
    if (after)
        *after = last;
    return settled;
}

bool E2eTest::WaitForMovingScreen(const std::function<bool(const Screen &)> &drawn, Screen *after)
{
    if (!WaitFor(drawn))
        return false;
    // A switch fades out and in for at most 0.6 s.
    Sleep(600);
    *after = Shot();
    return drawn(*after);
}

} // namespace e2e
