// The log viewer's lines read from log files the tests write, the copy's
// header and the copies that cannot reach the clipboard. Headless.
#include "modules/LogViewer.h"

#include "engine/core/EngDebug.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

const char LOG_NAME[] = "ViewerLog.txt";

class LogViewerTest : public testing::Test {
protected:
    LogViewerLines viewer;

    void SetUp() override
    {
        ResetEngineForTest();
        std::filesystem::remove(LOG_NAME);
        ASSERT_TRUE(DebugSetLogFilename(LOG_NAME, 0));
        DebugClearLogs();
    }
    void TearDown() override
    {
        viewer.FreeLogs();
        DebugSetLogFilename(nullptr, 0);
        std::filesystem::remove(LOG_NAME);
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < viewer.GetNumLines(); i++)
            lines.push_back(viewer.GetLine(i));
        return lines;
    }
};

TEST_F(LogViewerTest, ALongLogKeepsItsNewest20000LinesAfterAMark)
{
    // 25000 lines, with empty lines (bare and CR LF) between them that
    // neither show nor count.
    std::string log;
    for (int i = 0; i < 25000; i++) {
        log += "Line " + std::to_string(i) + "\n";
        if (i % 100 == 0)
            log += "\n\r\n";
    }
    WriteWhole(LOG_NAME, log);
    viewer.LoadLogs();
    ASSERT_EQ(viewer.GetNumLines(), 20001);
    EXPECT_STREQ(viewer.GetLine(0), "(Entries Truncated)");
    EXPECT_STREQ(viewer.GetLine(1), "Line 5000");
    EXPECT_STREQ(viewer.GetLine(20000), "Line 24999");
    EXPECT_STREQ(viewer.GetLine(20001), "");
    EXPECT_STREQ(viewer.GetLine(-1), "");

    EXPECT_TRUE(StoredLines().empty());

    // Loading again replaces the lines rather than adding to them.
    viewer.LoadLogs();
    EXPECT_EQ(viewer.GetNumLines(), 20001);
}

TEST_F(LogViewerTest, TheMarkAppearsOnlyWhenLinesWereLeftOut)
{
    struct Case {
        int lines;
        int shown;
        bool marked;
    };
    const Case cases[] = {{20000, 20000, false}, {20001, 20001, true}, {1, 1, false}};
    for (const Case &c : cases) {
        std::string log;
        for (int i = 0; i < c.lines; i++)
            log += "L" + std::to_string(i) + "\n";
        WriteWhole(LOG_NAME, log);
        viewer.LoadLogs();
        ASSERT_EQ(viewer.GetNumLines(), c.shown) << c.lines;
        EXPECT_EQ(std::string(viewer.GetLine(0)) == "(Entries Truncated)", c.marked) << c.lines;
        EXPECT_EQ(viewer.GetLine(c.shown - 1), "L" + std::to_string(c.lines - 1));
    }
}

TEST_F(LogViewerTest, LinesAreShownWithBarsTurnedAndLongLinesContinued)
{
    const std::string long_line = std::string(512, 'a') + std::string(88, 'b');
    WriteWhole(LOG_NAME, "first | second||\r\n\n\n" + long_line + "\n|\nlast line without an end");
    viewer.LoadLogs();
    const std::vector<std::string> expected = {"first > second>>", std::string(512, 'a'), std::string(88, 'b'), ">",
                                               "last line without an end"};
    EXPECT_EQ(Lines(), expected);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(LogViewerTest, AMissingOrEmptyLogGivesNoLines)
{
    viewer.LoadLogs();
    EXPECT_EQ(viewer.GetNumLines(), 0);
    EXPECT_STREQ(viewer.GetLine(0), "");
    WriteWhole(LOG_NAME, "\n\r\n\n");
    viewer.LoadLogs();
    EXPECT_EQ(viewer.GetNumLines(), 0);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(LogViewerTest, ClearingEmptiesTheLogAndShowsWhatFollows)
{
    WriteWhole(LOG_NAME, "old one\nold two\n");
    viewer.LoadLogs();
    ASSERT_EQ(viewer.GetNumLines(), 2);
    DebugInfo("Before clearing.");
    viewer.ClearLogs();
    ASSERT_EQ(viewer.GetNumLines(), 1);
    EXPECT_NE(std::string(viewer.GetLine(0)).find("Cleared logs."), std::string::npos) << viewer.GetLine(0);
    ASSERT_EQ(StoredLines().size(), 1u);
}

TEST_F(LogViewerTest, TheHeaderNamesProgramPlatformAndTimeWithinItsBound)
{
    char header[LOG_VIEWER_HEADER_SIZE];
    int length = LogViewerFormatHeader(header, sizeof(header), 0, "Hive Watcher", 2.01f);
    EXPECT_EQ(length, static_cast<int>(std::strlen(header)));
    const std::regex all("Log entries for Hive Watcher version 2\\.01 \\[Windows, \\d{1,2}/\\d\\d/\\d{4} "
                         "\\d{1,2}:\\d\\d\\]\n\n");
    EXPECT_TRUE(std::regex_match(header, all)) << header;
    LogViewerFormatHeader(header, sizeof(header), 1, "Hive Watcher", 2.0f);
    EXPECT_EQ(std::string(header).rfind("Selected log entries for Hive Watcher version 2.00 [Windows, ", 0), 0u)
        << header;

    // A name too long for the header is cut there, the end always kept.
    const std::string name(300, 'N');
    char guarded[LOG_VIEWER_HEADER_SIZE + 8];
    std::memset(guarded, '#', sizeof(guarded));
    EXPECT_EQ(LogViewerFormatHeader(guarded, LOG_VIEWER_HEADER_SIZE, 0, name.c_str(), 2.01f), 127);
    EXPECT_EQ(std::strlen(guarded), 127u);
    EXPECT_EQ(std::string(guarded), "Log entries for " + name.substr(0, 111));
    EXPECT_EQ(guarded[LOG_VIEWER_HEADER_SIZE], '#');
}

TEST_F(LogViewerTest, CopiesWithNothingToCopyOrNoClipboardChangeNothing)
{
    // No lines at all, or only rows that hold none.
    EXPECT_EQ(viewer.DoCopy(0, nullptr, 0, "Hive Watcher", 2.01f), LVCR_NOTHING_TO_COPY);
    WriteWhole(LOG_NAME, "one\ntwo\n");
    viewer.LoadLogs();
    const int rows[] = {5, -1};
    EXPECT_EQ(viewer.DoCopy(1, rows, 2, "Hive Watcher", 2.01f), LVCR_NOTHING_TO_COPY);
    EXPECT_EQ(viewer.DoCopy(1, nullptr, 0, "Hive Watcher", 2.01f), LVCR_NOTHING_TO_COPY);
    EXPECT_EQ(LogCount(ErrorLine("LogCC::DoCopy", "Internal error.")), 3);

    // Without the program's window there is no clipboard to open.
    DebugClearLogs();
    EXPECT_EQ(viewer.DoCopy(0, nullptr, 0, "Hive Watcher", 2.01f), LVCR_CLIPBOARD_FAILED);
    EXPECT_EQ(viewer.GetNumLines(), 2);
}

} // namespace
