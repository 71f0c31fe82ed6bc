#include "modules/Updater.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngProgram.h"
#include "modules/SWin.h"
#include "platform/curl/PlatformCurl.h"
#include "platform/ui/UiWindow.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Time.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/modules/ModulesTestSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace modules_test;

const char kScript[] = "/cgi-bin/common/updater/CheckVersionV2.cgi";

ScoreServer server;

// What the player saw in the updater's windows, and what the player does:
// the action runs each time a window waits.
std::vector<std::string> seen;
std::function<void(UiWindow *)> player;
int64_t slept_ms = 0;

// The window's control showing text, or 0.
int FindControl(UiWindow *window, const std::string &text)
{
    char buffer[4096];
    for (int id = 1; id <= SWIN_MAX_CONTROLS; id++)
        if (UiControlGetText(window, id, buffer, sizeof(buffer)) && text == buffer)
            return id;
    return 0;
}

void Watch(UiWindow *window)
{
    char buffer[4096];
    for (int id = 1; id <= SWIN_MAX_CONTROLS; id++)
        if (UiControlGetText(window, id, buffer, sizeof(buffer)) && buffer[0] &&
            (seen.empty() || seen.back() != buffer))
            seen.push_back(buffer);
    if (player)
        player(window);
}

// Presses the button when the window has it.
void Press(UiWindow *window, const char *button)
{
    if (int id = FindControl(window, button))
        UiTestClick(window, id);
}

bool Saw(const std::string &text)
{
    for (const std::string &s : seen)
        if (s.find(text) != std::string::npos)
            return true;
    return false;
}

class UpdaterNetTest : public ModulesTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }

    void SetUp() override
    {
        ModulesTest::SetUp();
        UpdaterResetForTests();
        EngServersSetUpdateScriptAddressForTests(server.Url(kScript).c_str());
        server.ForgetRequests();
        seen.clear();
        player = nullptr;
        slept_ms = 0;
        UiSetTestHook(Watch, true);
        PlatformSetClockHooks(nullptr, [](DWORD ms) { slept_ms += ms; });
        desktop = fs::path(std::getenv("HOME")) / "Desktop";
        fs::remove_all(desktop);
        fs::create_directories(desktop);
    }

    void TearDown() override
    {
        PlatformCurlSetCaFileForTests(nullptr);
        PlatformSetClockHooks(nullptr, nullptr);
        UpdaterResetForTests();
        ModulesTest::TearDown();
    }

    static bool PartFileExists() { return fs::exists(ProductFolder() / "Download.part"); }

    std::vector<std::string> DesktopFiles() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(desktop))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    bool Check() { return UpdaterCheckForNewVersion(UPN_HIVE_WATCHER, 2.01f, UPT_FULL); }

    fs::path desktop;
};

TEST_F(UpdaterNetTest, TheAnswerDecidesWhatThePlayerIsShown)
{
    const std::string too_long = "Version 2.02 is out.#DL:<http://h/" + std::string(300, 'L') + ">";
    const struct {
        std::string body;
        const char *shown;        // the check window's last text; null: the answer window opened
        const char *link;         // the download link afterwards
        std::string answer;       // the answer as kept
        const char *log;          // a logged text, or null
    } cases[] = {
        {"You have the latest version.", "No new version exists at this time.", "old", "You have the latest version.",
         nullptr},
        {"", "Check Failed.", "old", "", nullptr},
        {" X database down", "Check Failed.", "old", " X database down", "Got result < X database down>"},
        // Ten characters or fewer from the marker: no link, and nothing left to show.
        {"#DL:<abc>", "No new version exists at this time.", "old", "", nullptr},
        {"Up to date.#DL:<http://h/Setup.exe>", "No new version exists at this time.", "http://h/Setup.exe",
         "Up to date.", nullptr},
        // A marker part of 256 characters or more stays, and its link is not taken.
        {too_long, "No new version exists at this time.", "old", too_long, "Link too long <#DL:<http://h/LLL"},
        // "is out of date." after the marker is cut off with it.
        {"Fine.#DL:<http://h/S.exe> is out of date.", "No new version exists at this time.", "http://h/S.exe",
         "Fine.", nullptr},
        {"Version 2.02 is out. Your version is out of date.#DL:<http://h/New.exe>", nullptr, "http://h/New.exe",
         "Version 2.02 is out. Your version is out of date.", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body.substr(0, 60));
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        seen.clear();
        slept_ms = 0;
        UpdaterStartDownload("old"); // refused, but leaves "old" as the link
        server.Answer(kScript, c.body);
        player = [](UiWindow *w) { Press(w, "Close"); };
        EXPECT_FALSE(Check());
        EXPECT_STREQ(UpdaterGetDownloadLink(), c.link);
        EXPECT_EQ(UpdaterGetAnswer(), c.answer);
        if (c.log) {
            EXPECT_TRUE(Logged(c.log));
        }
        EXPECT_TRUE(Saw("Checking for updates ..."));
        if (c.shown) {
            EXPECT_EQ(seen.back(), c.shown);
            EXPECT_EQ(slept_ms, 2000); // shown for two seconds
        } else {
            EXPECT_EQ(seen.back(), "Download"); // the answer window, closed with Close
            EXPECT_TRUE(Saw(c.answer));
        }
        EXPECT_FALSE(modules_swin.IsCreated());
    }
    std::vector<nlohmann::ordered_json> requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0]["path"], kScript);
    EXPECT_EQ(requests[0]["query"], nlohmann::ordered_json({{"platform", "PC"},
                                                            {"program", "hivewatcher"},
                                                            {"program_type", "full"},
                                                            {"version", "2.010"}}));
}

TEST_F(UpdaterNetTest, ANewVersionIsDownloadedWithProgressAndItsFolderOpened)
{
    const std::string installer = Pattern(60000);
    server.Script({{kScript, {{"body", "Version 2.02 is out. Your version is out of date.#DL:<" +
                                           server.Url("/dl/HiveWatcherSetup202.exe") + ">"}}},
                   {"/dl/HiveWatcherSetup202.exe", {{"body", installer}, {"pieces", 6}, {"gap", 0.05}}}});
    player = [](UiWindow *w) { Press(w, "Download"); };
    EXPECT_TRUE(Check());

    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{"HiveWatcherSetup202.exe"});
    EXPECT_EQ(ReadWhole(desktop / "HiveWatcherSetup202.exe"), installer);
    EXPECT_FALSE(PartFileExists());
    std::vector<std::string> progress;
    for (const std::string &s : seen)
        if (s.rfind("Downloading HiveWatcherSetup202.exe (", 0) == 0)
            progress.push_back(s);
    EXPECT_GE(progress.size(), 3u);
    EXPECT_EQ(progress.back(), "Downloading HiveWatcherSetup202.exe (100.0%) ...");
    // Never run: the folder holding it is opened, and the window says so.
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].verb, "open");
    EXPECT_EQ(fs::path(TestHooks::shell_opens[0].file), desktop);
    EXPECT_TRUE(Saw("Download complete. Opened the folder holding it: " + desktop.string()));
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Download Complete");
    EXPECT_EQ(TestHooks::message_boxes[0].text,
              "The file \"HiveWatcherSetup202.exe\" has been placed on your Desktop.\n\nPlease remove any older "
              "versions of the program, then install the program as you did the previous version.");

    // The name is taken: the next one arrives as "Latest_", which the one after replaces.
    for (const std::string &body : {Pattern(100), Pattern(200)}) {
        server.Script({{"/dl/HiveWatcherSetup202.exe", {{"body", body}}}});
        TestHooks::message_boxes.clear();
        EXPECT_TRUE(UpdaterStartDownload(server.Url("/dl/HiveWatcherSetup202.exe").c_str()));
        EXPECT_EQ(DesktopFiles(), (std::vector<std::string>{"HiveWatcherSetup202.exe", "Latest_HiveWatcherSetup202.exe"}));
        EXPECT_EQ(ReadWhole(desktop / "Latest_HiveWatcherSetup202.exe"), body);
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        EXPECT_EQ(TestHooks::message_boxes[0].text, "The file \"HiveWatcherSetup202.exe\" has been downloaded on "
                                                    "your Desktop.\n\nDouble click it to install the program.");
    }
    EXPECT_EQ(ReadWhole(desktop / "HiveWatcherSetup202.exe"), installer);
}

TEST_F(UpdaterNetTest, ErrorPagesCutAndCancelledDownloadsLeaveNothingBehind)
{
    const struct {
        const char *what;
        nlohmann::json answer;
        bool cancel;
        const char *log;
    } cases[] = {
        {"error page", {{"status", 404}, {"body", "<html>Not Found</html>"}}, false, "Problem (from: 8  error: 22)"},
        {"server error", {{"status", 500}, {"body", Pattern(5000)}}, false, "Problem (from: 8  error: 22)"},
        {"cut", {{"body", Pattern(5000)}, {"cut", 1000}}, false, "Problem (from: 8  error: 18)"},
        {"cancelled", {{"body", Pattern(5000)}, {"pieces", 20}, {"gap", 0.05}}, true, "CANCEL"},
        {"silent server cancelled", {{"silent", true}}, true, "CANCEL"},
        // Only the file at the end of the redirects is the installer.
        {"redirect to a local file", {{"status", 302}, {"location", "file:///etc/hostname"}}, false,
         "Problem (from: 8  error: 1)"},
        {"redirect without a target", {{"status", 302}}, false, "No file received"},
        {"redirect loop", {{"status", 302}, {"location", "/dl/Setup.exe"}}, false, "Problem (from: 8  error: 47)"},
        {"nothing sent", {{"body", ""}}, false, "No file received"},
        {"endless", {{"endless", true}}, false, "The download is larger than 1048576 bytes"},
    };
    UpdaterSetDownloadLimitForTests(1 << 20);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        // An older download of that name on the desktop stays as it was.
        WriteWhole(desktop / "Setup.exe", "older");
        server.Script({{"/dl/Setup.exe", c.answer}});
        bool cancel = c.cancel;
        auto start = std::chrono::steady_clock::now();
        player = [cancel](UiWindow *w) {
            char text[256];
            if (cancel && UiControlGetText(w, 1, text, sizeof(text)) && std::strstr(text, "Downloading Setup.exe ("))
                Press(w, "Cancel");
        };
        EXPECT_TRUE(UpdaterStartDownload(server.Url("/dl/Setup.exe").c_str()));
        EXPECT_LT(SecondsSince(start), 5.0);
        EXPECT_TRUE(Logged(c.log));
        EXPECT_FALSE(PartFileExists());
        EXPECT_EQ(DesktopFiles(), std::vector<std::string>{"Setup.exe"});
        EXPECT_EQ(ReadWhole(desktop / "Setup.exe"), "older");
        EXPECT_TRUE(TestHooks::shell_opens.empty());
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        EXPECT_EQ(TestHooks::message_boxes[0].text, "The download was not completed.");
        EXPECT_EQ(TestHooks::message_boxes[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    }
}

TEST_F(UpdaterNetTest, OnlyWebLinksAreFetchedAndRedirectsAreFollowed)
{
    const std::string installer = Pattern(3000);
    server.Script({{"/dl/Moved.exe", {{"status", 302}, {"location", "/files/Setup-2.02.exe"}}},
                   {"/files/Setup-2.02.exe", {{"body", installer}}},
                   {"/dl/Twice.exe", {{"status", 301}, {"location", server.Url("/dl/Moved.exe")}}}});
    const fs::path secret = fs::path(std::getenv("HOME")) / "secret.txt";
    WriteWhole(secret, "the player's own file");
    const struct {
        std::string link;
        const char *saved; // the desktop file, or null: refused before any request
    } cases[] = {
        {"file://" + secret.string(), nullptr},
        {"FILE://" + secret.string(), nullptr},
        // A raw request to the update server's own port.
        {"gopher" + server.Base().substr(4) + "/_GET%20/dl/Moved.exe", nullptr},
        {"ftp://127.0.0.1/Setup.exe", nullptr},
        {server.Url("/dl/Moved.exe"), "Moved.exe"},
        {server.Url("/dl/Twice.exe"), "Twice.exe"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.link);
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        fs::remove_all(desktop);
        fs::create_directories(desktop);
        server.ForgetRequests();
        bool web = c.saved != nullptr;
        EXPECT_EQ(UpdaterStartDownload(c.link.c_str()), web);
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        if (web) {
            EXPECT_EQ(TestHooks::message_boxes[0].caption, "Download Complete");
            EXPECT_EQ(DesktopFiles(), std::vector<std::string>{c.saved});
            EXPECT_TRUE(ReadWhole(desktop / c.saved) == installer);
        } else {
            EXPECT_EQ(TestHooks::message_boxes[0].text, "Internal Error 3.");
            EXPECT_TRUE(Logged("Invalid link name"));
            EXPECT_TRUE(DesktopFiles().empty());
            EXPECT_TRUE(server.Requests().empty());
        }
        EXPECT_FALSE(PartFileExists());
    }
    // The download itself refuses such a link too.
    UpdaterStartDownload("file:///etc/hostname");
    EXPECT_FALSE(UpdaterDoDownload());
}

// An installer asked for over https never arrives over plain http.
TEST_F(UpdaterNetTest, AnHttpsDownloadIsNeverRedirectedToHttp)
{
    PlatformCurlSetCaFileForTests(LoopbackServer::CertificateFile().c_str());
    const std::string installer = Pattern(2000);
    server.Script({{"/dl/Secure.exe", {{"status", 302}, {"location", "/files/Setup-2.02.exe"}}},
                   {"/dl/Plain.exe", {{"status", 302}, {"location", server.Url("/files/Setup-2.02.exe")}}},
                   {"/files/Setup-2.02.exe", {{"body", installer}}}});
    EXPECT_TRUE(UpdaterStartDownload(server.TlsUrl("/dl/Secure.exe").c_str()));
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{"Secure.exe"});
    EXPECT_TRUE(ReadWhole(desktop / "Secure.exe") == installer);

    ResetEngineForTest();
    UiSetTestHook(Watch, true);
    server.ForgetRequests();
    EXPECT_TRUE(UpdaterStartDownload(server.TlsUrl("/dl/Plain.exe").c_str()));
    EXPECT_TRUE(Logged("Problem (from: 8  error: 1)"));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{"Secure.exe"});
    EXPECT_FALSE(PartFileExists());
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].text, "The download was not completed.");
}

// A close-down asked for by the system ends a download that waits on a
// silent server, and the updater's windows, without asking the player.
TEST_F(UpdaterNetTest, SigtermEndsTheWindowsAndTheDownloadAtOnce)
{
    EngProgram::InstallSignalHandlers();
    server.Script({{kScript, {{"body", "Version 2.02 is out. Your version is out of date.#DL:<" +
                                           server.Url("/dl/Setup.exe") + ">"}}},
                   {"/dl/Setup.exe", {{"silent", true}}}});
    for (bool downloading : {false, true}) {
        SCOPED_TRACE(downloading);
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        EngProgram::ResetSignalForTests();
        // The player never answers; the system asks the program to close
        // once the window named shows.
        const char *shown = downloading ? "Downloading Setup.exe (" : "Download";
        player = [shown, downloading](UiWindow *w) {
            char text[256];
            for (int id = 1; id <= SWIN_MAX_CONTROLS; id++)
                if (!EngProgram::IsCloseDownSignalled() && UiControlGetText(w, id, text, sizeof(text)) &&
                    std::strstr(text, shown) == text)
                    kill(getpid(), SIGTERM);
            if (downloading)
                Press(w, "Download");
        };
        auto start = std::chrono::steady_clock::now();
        bool went_on = Check();
        EXPECT_LT(SecondsSince(start), 3.0);
        EXPECT_TRUE(EngProgram::IsCloseDownSignalled());
        EXPECT_EQ(went_on, downloading);
        EXPECT_FALSE(modules_swin.IsCreated());
        EXPECT_FALSE(PartFileExists());
        EXPECT_TRUE(DesktopFiles().empty());
        EXPECT_TRUE(TestHooks::message_boxes.empty());
    }
    EXPECT_TRUE(Logged("The program is closing: the download ends unannounced."));
    EngProgram::ResetSignalForTests();
    for (int signal_number : {SIGABRT, SIGINT, SIGTERM})
        std::signal(signal_number, SIG_DFL);
}

// The check's read is bounded as a whole by its time-out, however the
// server stalls.
TEST_F(UpdaterNetTest, TheCheckIsBoundedByItsTimeOut)
{
    UpdaterSetReadTimeoutForTests(1);
    const struct {
        nlohmann::json answer;
        const char *shown;
    } cases[] = {
        {{{"silent", true}}, "Check Failed."},
        {{{"delay", 1.6}, {"body", "You have the latest version."}}, "Check Failed."},
        {{{"body", "You have the latest version."}, {"pieces", 2}, {"gap", 1.6}}, "Check Failed."},
        {{{"delay", 0.3}, {"body", "You have the latest version."}}, "No new version exists at this time."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.dump());
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        seen.clear();
        server.Script({{kScript, c.answer}});
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(Check());
        EXPECT_LT(SecondsSince(start), 1.8);
        EXPECT_EQ(seen.back(), c.shown);
    }
}

// A download needs room for the largest installer on the per-user folder's
// disk; a small disk refuses it before any request.
TEST_F(UpdaterNetTest, ADiskWithLessThanTheLimitFreeRefusesTheDownload)
{
    const std::string folder = ProductFolder().string();
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "a small tmpfs could not be mounted on " << folder << " (" << std::strerror(errno)
                     << "); mounting needs root";
    struct Unmount {
        std::string folder;
        ~Unmount() { umount2(folder.c_str(), MNT_DETACH); }
    } unmount{folder};
    server.Script({{"/dl/Setup.exe", {{"body", Pattern(100)}}}});
    EXPECT_TRUE(UpdaterStartDownload(server.Url("/dl/Setup.exe").c_str()));
    EXPECT_TRUE(Logged("Not enough free space for a download"));
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(DesktopFiles().empty());
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].text, "The download was not completed.");
    // Within the limit the same disk takes it.
    UpdaterSetDownloadLimitForTests(512 << 10);
    TestHooks::message_boxes.clear();
    EXPECT_TRUE(UpdaterStartDownload(server.Url("/dl/Setup.exe").c_str()));
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{"Setup.exe"});
}

TEST_F(UpdaterNetTest, HostileFileNamesStayInsideTheDownloadFolder)
{
    // The file layer reads '\\' as '/': "..\\..\\x" and an absolute path.
    const char kPayload[] = "an installer from the update server";
    const fs::path outside = fs::path(std::getenv("HOME")) / "outside.bin";
    std::string absolute = outside.string();
    std::replace(absolute.begin(), absolute.end(), '/', '\\');
    const struct {
        std::string path;
        const char *name;
    } cases[] = {
        {"/dl/..\\..\\x", "x"},
        {"/dl/" + absolute, "outside.bin"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        fs::remove_all(desktop);
        fs::create_directories(desktop);
        server.Script({{c.path, {{"body", kPayload}}}});
        EXPECT_TRUE(UpdaterStartDownload(server.Url(c.path).c_str()));
        EXPECT_EQ(DesktopFiles(), std::vector<std::string>{c.name});
        EXPECT_EQ(ReadWhole(desktop / c.name), kPayload);
        // Nothing was written outside (another program may own a file there).
        const fs::path above = desktop.parent_path().parent_path() / "x";
        EXPECT_TRUE(!fs::exists(above) || ReadWhole(above) != kPayload);
        EXPECT_FALSE(fs::exists(outside));
    }
}

TEST_F(UpdaterNetTest, TheWeeklyCheckAgainstTheDefaultAddressFailsFast)
{
    EngServersSetUpdateScriptAddressForTests(nullptr);
    _EngMiscDate last = {};
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(UpdaterDoWeeklyVersionCheck(&last, UPN_HIVE_WATCHER, 2.01f, UPT_FULL));
    // The name under ".invalid" is refused outright; no time-out was waited for.
    EXPECT_LT(SecondsSince(start), 3.0);
    EXPECT_TRUE(Logged("The server name could not be resolved."));
    EXPECT_EQ(seen.back(), "Check Failed.");
    EXPECT_EQ(slept_ms, 2000);
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    EXPECT_EQ(last.year, today.year);
    EXPECT_EQ(last.day, today.day);
}

TEST_F(UpdaterNetTest, TheCustomerLoginWindowTakesThePlaceOfADownload)
{
    server.Answer(kScript, "Version 2.02 is out. Your version is out of date.#DL:<custlogin>");
    player = [](UiWindow *w) {
        Press(w, "Download");
        Press(w, "Customer Login: My Orders");
    };
    EXPECT_TRUE(Check());
    EXPECT_TRUE(Saw("Online Customer Login Pages:"));
    EXPECT_TRUE(Logged("No link"));
    EXPECT_TRUE(DesktopFiles().empty());
    EXPECT_EQ(server.Requests().size(), 1u);
}

// The settings dialog's internet test reads the update script until it works
// or the player gives up.
TEST_F(UpdaterNetTest, TheSettingsDialogsInternetTestReadsTheUpdateScript)
{
    const struct {
        const char *what;
        bool fails_first;
        size_t boxes;
    } cases[] = {{"works at once", false, 3}, {"works on the second try", true, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineForTest();
        UiSetTestHook(Watch, true);
        server.ForgetRequests();
        ResolutionSetDefaults();
        ResolutionGetSettings()->show_dialog = 0;
        ResolutionGetSettings()->internet_test[0] = -1;
        ASSERT_TRUE(ResolutionSaveSettings());
        // A cut answer is a failed read; the player's "Try Again" finds the script mended.
        if (c.fails_first)
            server.Script({{kScript, {{"body", "ready"}, {"cut", 2}}}});
        else
            server.Answer(kScript, "ready");
        PlatformSetMessageBoxHook([](const char *text, const char *caption, UINT type) -> int {
            TestHooks::message_boxes.push_back({text, caption ? caption : "", type});
            if (std::strncmp(text, "Try Again ?", 11) != 0)
                return IDOK;
            server.Answer(kScript, "ready");
            return IDYES;
        });
        player = [](UiWindow *w) {
            char text[16];
            if (UiControlGetText(w, 1000, text, sizeof(text)) && std::strcmp(text, "&PLAY") == 0)
                UiTestClick(w, 1000);
        };
        EngProgram program;
        EXPECT_EQ(ResolutionDoDialog(), 1);
        EXPECT_EQ(ReadWhole(SettingsFile())[312], 1);
        EXPECT_EQ(server.Requests().size(), c.fails_first ? 2u : 1u);
        ASSERT_EQ(TestHooks::message_boxes.size(), c.boxes);
        EXPECT_EQ(TestHooks::message_boxes.back().text, "Connection to the internet okay.");
        if (c.fails_first) {
            EXPECT_EQ(TestHooks::message_boxes[2].text, "Could not read result from the URL");
        }
    }
    EXPECT_TRUE(server.Requests()[0]["query"].empty());
}

} // namespace
