// The soak: the real program, built as the tests build it, driven for
// HW_SOAK_MINUTES minutes with random clicks, keys, typing, pointer moves
// and window changes (the window hidden and shown again as a minimise and
// restore do, the keyboard focus taken away and given back). It passes when
// the program never crashes or fails, its stderr holds no sanitizer report,
// its log file stays within a bound, and its exit at the end (under the leak
// checker in a sanitizer build) is clean. A player who quits the program
// through the random input only makes the soak start it again.
//
// Run by tests/soak/run.sh; the seed comes from HW_SOAK_SEED (else the
// clock) and is printed, so a failing run can be repeated.
#include "tests/e2e/E2eDriver.h"

#include <X11/Xlib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

// The log may grow while the player acts (saves, screens, refused files),
// but never by the frame: a line per frame at 60 frames a second is about
// 300 KB a minute, so a third of that is already a fault.
const double LOG_BYTES_PER_MINUTE_LIMIT = 100 * 1024;
const char STDERR_FILE[] = "program-stderr.txt";

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string ReadText(const std::string &file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Soak : public e2e::E2eTest {
protected:
    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_x)
            XCloseDisplay(m_x);
        E2eTest::TearDown();
    }

    // Starts the program with its stderr kept in a file, and waits until
    // it draws.
    bool Start()
    {
        if (!ResolutionSaveSettings())
            return false;
        std::vector<std::string> env = ProgramEnvironment();
        std::vector<char *> envp;
        for (std::string &e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, STDERR_FILE, O_WRONLY | O_CREAT | O_APPEND, 0644);
        char *argv[] = {const_cast<char *>(HW_PROGRAM), nullptr};
        const int failed = posix_spawn(&m_pid, HW_PROGRAM, &files, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&files);
        if (failed) {
            m_pid = 0;
            return false;
        }
        m_starts++;
        m_display->MoveTo(512, 760);
        for (const double end = Now() + 60; Now() < end; SleepMs(200)) {
            if (!Running())
                return false;
            if (e2e::LitPoints(Shot(), 0, 0, 640, 480) > 4)
                return true;
        }
        ADD_FAILURE() << "the program never drew; its log ends:\n" << ProgramLogTail();
        return false;
    }

    // False once the program has ended; a failure unless it ended by itself
    // with code 0 (a player's quit).
    bool Running()
    {
        if (m_pid <= 0)
            return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == 0)
            return true;
        m_pid = 0;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ADD_FAILURE() << "the program ended with "
                          << (WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                                                : "signal " + std::to_string(WTERMSIG(status)))
                          << "; its log ends:\n"
                          << ProgramLogTail() << "\nits stderr ends:\n"
                          << StderrTail();
        return false;
    }

    static std::string StderrTail()
    {
        const std::string text = ReadText(STDERR_FILE);
        return text.size() > 4000 ? text.substr(text.size() - 4000) : text;
    }

    // The program's top-level windows that are on the screen.
    std::vector<Window> ShownWindows()
    {
        std::vector<Window> shown;
        Window root_back, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_x, DefaultRootWindow(m_x), &root_back, &parent, &children, &count))
            return shown;
        for (unsigned i = 0; i < count; i++) {
            XWindowAttributes a;
            if (XGetWindowAttributes(m_x, children[i], &a) && a.map_state == IsViewable && a.width >= 100 &&
                a.height >= 50)
                shown.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return shown;
    }

    // One random action of a player or of the desktop.
    void Act()
    {
        static const char *const keys[] = {"Escape", "Return", "space", "Up",  "Down", "Left", "Right", "Tab",
                                           "BackSpace", "Delete", "p",   "s",    "1",    "2",     "F1",  "a"};
        const int pick = m_random() % 100;
        if (pick < 55) {
            Click(m_random() % 640, m_random() % 480, m_random() % 10 == 0 ? 3 : 1);
        } else if (pick < 80) {
            Key(keys[m_random() % (sizeof(keys) / sizeof(keys[0]))]);
        } else if (pick < 85) {
            std::string text;
            for (int n = 1 + m_random() % 8; n > 0; n--)
                text += static_cast<char>('a' + m_random() % 26);
            Type(text);
        } else if (pick < 90) {
            m_display->MoveTo(m_random() % 1024, m_random() % 768);
        } else if (pick < 95) {
            // Hidden and shown again, as a minimise and restore.
            std::vector<Window> shown = ShownWindows();
            if (shown.empty())
                return;
            const Window window = shown[m_random() % shown.size()];
            XUnmapWindow(m_x, window);
            XFlush(m_x);
            SleepMs(100 + m_random() % 1500);
            XMapWindow(m_x, window);
            XFlush(m_x);
            m_window_changes++;
        } else {
            // The keyboard taken by another program for a while.
            XSetInputFocus(m_x, None, RevertToNone, CurrentTime);
            XFlush(m_x);
            SleepMs(100 + m_random() % 1000);
            XSetInputFocus(m_x, PointerRoot, RevertToPointerRoot, CurrentTime);
            XFlush(m_x);
            m_window_changes++;
        }
    }

    pid_t m_pid = 0;
    Display *m_x = nullptr;
    std::mt19937 m_random;
    int m_starts = 0, m_window_changes = 0;
};

} // namespace

TEST_F(Soak, TheProgramStandsRandomInputForMinutes)
{
    const char *minutes_text = std::getenv("HW_SOAK_MINUTES");
    const double minutes = minutes_text ? std::atof(minutes_text) : 1.0;
    const char *seed_text = std::getenv("HW_SOAK_SEED");
    const unsigned seed = seed_text ? static_cast<unsigned>(std::strtoul(seed_text, nullptr, 10))
                                    : static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count());
    m_random.seed(seed);
    std::printf("soak: %.1f minutes, seed %u\n", minutes, seed);
    m_x = XOpenDisplay(m_display->Name().c_str());
    ASSERT_NE(nullptr, m_x);
    SeedPlayer("Soaker", "GB", true);
    ASSERT_TRUE(Start());

    const std::string log = (modules_test::ProductFolder() / "LogFile.txt").string();
    // The log's size over each run of the program (a start writes it anew).
    double run_start = Now();
    long log_bytes = 0, most_log_bytes = 0;
    int actions = 0;
    const double start = Now(), end = start + minutes * 60;
    while (Now() < end && !HasFailure()) {
        if (!Running()) {
            if (HasFailure())
                break;
            ASSERT_TRUE(Start());
            run_start = Now();
            continue;
        }
        Act();
        actions++;
        SleepMs(20 + m_random() % 250);
        std::error_code error;
        log_bytes = static_cast<long>(std::filesystem::file_size(log, error));
        if (error)
            log_bytes = 0;
        most_log_bytes = std::max(most_log_bytes, log_bytes);
        // Checked after the first minute of a run, when start-up's lines
        // no longer dominate.
        const double run_minutes = (Now() - run_start) / 60;
        if (run_minutes > 1) {
            ASSERT_LT(log_bytes / run_minutes, LOG_BYTES_PER_MINUTE_LIMIT)
                << "the log grows without bound; it ends:\n"
                << ProgramLogTail();
        }
    }
    ASSERT_FALSE(HasFailure());
    if (!Running()) {
        ASSERT_TRUE(Start());
    }

    SaveShot("soak_end");
    // The end: a close as the desktop asks for it, then the leak checker's
    // verdict in the exit code.
    kill(m_pid, SIGTERM);
    int status = 0;
    pid_t ended = 0;
    for (const double stop = Now() + 60; (ended = waitpid(m_pid, &status, WNOHANG)) == 0 && Now() < stop;)
        SleepMs(100);
    if (ended == m_pid)
        m_pid = 0;
    ASSERT_EQ(m_pid, 0) << "the program did not close within a minute";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the program's exit failed (status " << status << "); its stderr ends:\n"
        << StderrTail();
    const std::string errors = ReadText(STDERR_FILE);
    EXPECT_EQ(std::string::npos, errors.find("Sanitizer")) << StderrTail();
    EXPECT_EQ(std::string::npos, errors.find("runtime error")) << StderrTail();
    std::printf("soak: %d actions, %d window changes, %d starts, log at most %ld bytes in a run\n", actions,
                m_window_changes, m_starts, most_log_bytes);
}
