// The weekly update check at start, on the real program against the
// loopback update script: the check's small window is drawn, saying what it
// does while the script is slow and then its result; the "out of date"
// window shows the script's text,
// Download opens the download window, and the system's request to close
// (SIGTERM) while the download waits on a silent server ends the program at
// once, leaving no part file and no message box behind.
#include "tests/e2e/E2eDriver.h"
#include "tests/fixtures/ScoreServer.h"

#include <algorithm>

namespace {

using namespace e2e;

const char *kScript = "/cgi-bin/common/updater/CheckVersionV2.cgi";

class UpdaterE2eTest : public E2eTest {
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        ASSERT_TRUE(server.Start());
        m_command = {HW_LOOPBACK_SCORES_PROGRAM, server.Base()};
    }
    void TearDown() override
    {
        E2eTest::TearDown();
        server.Stop();
    }

    // The updater's window of that width is the largest shown; its place.
    bool UpdaterWindowShown(int width, int *x, int *y)
    {
        int w = 0, h = 0;
        return m_display->LargestWindow(x, y, &w, &h) && w == width;
    }

    bool Requested(const std::string &path)
    {
        for (const auto &request : server.Requests())
            if (request["path"] == path)
                return true;
        return false;
    }

    ScoreServer server;
};

// How wide the line of dark text across the middle of the check window is
// (its status text sits 22 to 42 pixels down); 0 while the window is not
// shown or not drawn: its face is light grey, never black.
int CheckWindowTextWidth(const Screen &screen, int x, int y)
{
    if (Brightness(screen.At(x + 4, y + 4)) < 600 || Brightness(screen.At(x + 395, y + 85)) < 600)
        return 0;
    int left = 400, right = -1;
    for (int row = y + 22; row < y + 42; row++)
        for (int column = x; column < x + 400; column++)
            if (Brightness(screen.At(column, row)) < 300) {
                left = std::min(left, column - x);
                right = std::max(right, column - x);
            }
    return right >= left ? right - left + 1 : 0;
}

TEST_F(UpdaterE2eTest, TheCheckWindowIsDrawnWithWhatItDoesAndThenItsResult)
{
    // The script takes its time: "Checking for updates ..." stands until it
    // answers, then "No new version exists at this time." for two seconds.
    server.Script({{kScript, {{"body", "You are using the latest version."}, {"delay", 3}}}});
    Settings()->last_update_check = {2020, 1, 1};
    ASSERT_TRUE(StartProgram(true, false));

    int x = 0, y = 0, checking = 0, result = 0;
    ASSERT_TRUE(WaitFor([&](const Screen &s) {
        checking = UpdaterWindowShown(400, &x, &y) ? CheckWindowTextWidth(s, x, y) : 0;
        return checking > 0;
    }));
    SaveShot("UpdaterChecking");
    // The longer result replaces the text in the same drawn window.
    ASSERT_TRUE(WaitFor([&](const Screen &s) {
        result = UpdaterWindowShown(400, &x, &y) ? CheckWindowTextWidth(s, x, y) : 0;
        return result > checking + 30;
    }));
    SaveShot("UpdaterNoNewVersion");
    EXPECT_TRUE(Requested(kScript));
    // Whole lines of text, inside the window.
    EXPECT_GT(checking, 100);
    EXPECT_LT(result, 380);
    EXPECT_EQ(StopProgram(), 0);
}

TEST_F(UpdaterE2eTest, SigtermInTheUpdatersWindowsEndsTheProgramAtOnce)
{
    const std::string installer = "/dl/HiveWatcherSetup202.exe";
    server.Script({{kScript, {{"body", "Version 2.02 is out. Your version is out of date.#DL:<" +
                                           server.Url(installer) + ">"}}},
                   {installer, {{"silent", true}}}});
    for (bool downloading : {false, true}) {
        SCOPED_TRACE(downloading ? "downloading from a silent server" : "the player not answering");
        // A week and more since the last check: the program checks at start.
        Settings()->last_update_check = {2020, 1, 1};
        server.ForgetRequests();
        ASSERT_TRUE(StartProgram());

        int x = 0, y = 0;
        ASSERT_TRUE(WaitFor([&](const Screen &) { return UpdaterWindowShown(640, &x, &y); }));
        if (downloading) {
            m_display->Click(x + 90, y + 370); // Download
            ASSERT_TRUE(
                WaitFor([&](const Screen &) { return UpdaterWindowShown(450, &x, &y) && Requested(installer); }));
        }
        SaveShot(downloading ? "UpdaterDownloading" : "UpdaterOutOfDate");

        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(StopProgram(5), 0);
        EXPECT_LT(SecondsSince(start), 2.0);
        EXPECT_FALSE(std::filesystem::exists(modules_test::ProductFolder() / "Download.part"));
        const std::filesystem::path desktop = std::filesystem::path(std::getenv("HOME")) / "Desktop";
        EXPECT_TRUE(!std::filesystem::exists(desktop) || std::filesystem::is_empty(desktop));
    }
}

} // namespace
