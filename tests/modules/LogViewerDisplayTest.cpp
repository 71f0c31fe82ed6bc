// The log viewer's copies read back from the system clipboard as another
// program sees it; under Xvfb.
#include "modules/LogViewer.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/win32/Win32TestDesktop.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

const char LOG_NAME[] = "ViewerLog.txt";

// The clipboard is opened for the program's main window: a small one.
class LogViewerDisplayTest : public testing::Test {
protected:
    EngProgram *program = nullptr;
    EngWindow *window = nullptr;
    LogViewerLines viewer;

    void SetUp() override
    {
        ResetEngineForTest();
        program = new EngProgram();
        window = new EngWindow(program, "LogViewer");
        _EngCreateWindowParms parms = {-1, -1, 64, 64, 32, 1, 60, 0, 0, 0, 0, 0, "LogViewerDisplayTest"};
        ASSERT_TRUE(window->Create(&parms));
        std::filesystem::remove(LOG_NAME);
        ASSERT_TRUE(DebugSetLogFilename(LOG_NAME, 0));
        DebugClearLogs();
    }
    void TearDown() override
    {
        viewer.FreeLogs();
        delete window;
        delete program;
        DebugSetLogFilename(nullptr, 0);
        std::filesystem::remove(LOG_NAME);
    }
};

// The clipboard's text after its header, which must match header_start.
std::string AfterHeader(const std::string &copied, const std::string &header_start)
{
    const std::regex header(header_start + " version 2\\.01 \\[Windows, \\d{1,2}/\\d\\d/\\d{4} \\d{1,2}:\\d\\d\\]\n\n");
    std::smatch found;
    if (!std::regex_search(copied, found, header) || found.position(0) != 0)
        return "(no header) " + copied;
    return copied.substr(found.length(0));
}

TEST_F(LogViewerDisplayTest, ThreeHundredSelectedLinesAreCopiedInTheListsOrder)
{
    std::string log;
    for (int i = 0; i < 400; i++)
        log += "Entry " + std::to_string(i) + " | done\n";
    WriteWhole(LOG_NAME, log);
    viewer.LoadLogs();
    ASSERT_EQ(viewer.GetNumLines(), 400);

    std::vector<int> rows;
    std::string expected;
    for (int i = 399; i >= 100; i--) {
        rows.push_back(i);
        expected += "Entry " + std::to_string(i) + " > done\n";
    }
    ASSERT_EQ(viewer.DoCopy(1, rows.data(), static_cast<int>(rows.size()), "Hive Watcher", 2.01f), LVCR_COPIED);
    EXPECT_EQ(AfterHeader(PlatformTestGetSystemClipboard(), "Selected log entries for Hive Watcher"), expected);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(LogViewerDisplayTest, CopyAllReachesOtherProgramsAsUtf8)
{
    // "Café" and "5 €" in the program's 8-bit text.
    WriteWhole(LOG_NAME, "Caf\xE9 opened\n\nPaid 5 \x80\n");
    viewer.LoadLogs();
    ASSERT_EQ(viewer.DoCopy(0, nullptr, 0, "Hive Watcher", 2.01f), LVCR_COPIED);
    EXPECT_EQ(AfterHeader(PlatformTestGetSystemClipboard(), "Log entries for Hive Watcher"),
              "Caf\xC3\xA9 opened\nPaid 5 \xE2\x82\xAC\n");

    // An over-long program name cuts the header, never the lines.
    const std::string name(200, 'N');
    ASSERT_EQ(viewer.DoCopy(0, nullptr, 0, name.c_str(), 2.01f), LVCR_COPIED);
    EXPECT_EQ(PlatformTestGetSystemClipboard(),
              "Log entries for " + name.substr(0, 111) + "Caf\xC3\xA9 opened\nPaid 5 \xE2\x82\xAC\n");
}

} // namespace
