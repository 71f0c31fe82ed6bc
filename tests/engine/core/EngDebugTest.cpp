#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "platform/win32/Win32MessageBox.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

class EngDebugTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        std::remove("ErrorLog.txt");
        eng_main_program_time = 12.5;
    }
};

struct FrontEndCase {
    const char *name;
    std::function<void()> report;
    const char *stored;
    const char *file_line;
};

TEST_F(EngDebugTest, FrontEndsStoreLabelledLinesAndWriteTimedFileLines)
{
    const FrontEndCase cases[] = {
        {"error, decorated name", [] { DebugError("?Read@EngFile@@QAEDPAXID@Z", "x"); },
         " <ERROR>  ( Read@EngFile )    x", "12.5 |  <ERROR>  ( Read@EngFile )    x"},
        {"error, plain name", [] { DebugError("MWin::RenderMain", "no %s", "desktop"); },
         " <ERROR>  ( MWin::RenderMain )    no desktop", "12.5 |  <ERROR>  ( MWin::RenderMain )    no desktop"},
        {"error code", [] { DebugErrorCode("EngMalloc", 'OMEM'); },
         " <ERROR>  ( EngMalloc )    Out of memory.", "12.5 |  <ERROR>  ( EngMalloc )    Out of memory."},
        {"check keeps the name as given", [] { DebugCheck(0, "?Keep@@YAXXZ", "failed"); },
         " <ERROR>  ( ?Keep@@YAXXZ )    failed", "12.5 |  <ERROR>  ( ?Keep@@YAXXZ )    failed"},
        {"info", [] { DebugInfo("hello %d", 7); }, " :  hello 7", "12.5 |  :  hello 7"},
        {"info with name", [] { DebugInfoWithName("?EngMainCallExit@@YAXH@Z", "Exiting."); },
         " :  EngMainCallExit > Exiting.", "12.5 |  :  EngMainCallExit > Exiting."},
        {"info with object and name", [] { DebugInfoWithObjectAndName("button", "MWin::Draw", "m"); },
         " :  button: MWin::Draw > m", "12.5 |  :  button: MWin::Draw > m"},
        {"note", [] { DebugNote(2, "n"); }, " *  n", "12.5 |  *  n"},
        {"note with name", [] { DebugNoteWithName(2, "Game::Tick", "n"); }, " *  Game::Tick > n",
         "12.5 |  *  Game::Tick > n"},
        {"warning", [] { DebugDoString("w", DMC_WARNING, 0); }, "<WARNING> w", "12.5 | <WARNING> w"},
        {"raw has no label and no time", [] { DebugRaw("raw %s", "line"); }, "raw line", "raw line"},
    };
    for (const FrontEndCase &c : cases) {
        SCOPED_TRACE(c.name);
        int before = DebugGetNumMessages();
        c.report();
        EXPECT_EQ(DebugGetNumMessages(), before + 1);
        EXPECT_EQ(LastStored(), c.stored);
        std::vector<std::string> lines = ReadLines("ErrorLog.txt");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), c.file_line);
    }
    EXPECT_EQ(ReadLines("ErrorLog.txt").size(), std::size(cases));
}

TEST_F(EngDebugTest, NothingIsStoredForEmptyRawTextsRefusedKindsOrTrueChecks)
{
    DebugRaw("%s", "");
    DebugDoString("bad kind", static_cast<_DebugMsgCode>(7), 0);
    DebugDoString("bad kind", static_cast<_DebugMsgCode>(-1), 0);
    DebugDoString(nullptr, DMC_INFO, 0);
    EXPECT_EQ(DebugCheck(1, "X", "never"), 1);
    EXPECT_EQ(DebugCheck(0, "X", "once"), 0);
    EXPECT_EQ(DebugGetNumMessages(), 1);
    EXPECT_EQ(ReadLines("ErrorLog.txt").size(), 1u);
    EXPECT_EQ(DebugGetMessageText(1), nullptr);
    EXPECT_EQ(DebugGetMessageText(-1), nullptr);
}

TEST_F(EngDebugTest, LongTextsAreCutAbove482Characters)
{
    std::string exact(482, 'a');
    DebugRaw("%s", exact.c_str());
    EXPECT_EQ(LastStored(), exact);

    std::string longer(483, 'b');
    DebugRaw("%s", longer.c_str());
    EXPECT_EQ(LastStored(), std::string(462, 'b') + " ... (TRUNCATED)");
    EXPECT_EQ(LastStored().size(), 478u);

    // Messages are formatted into 512 characters before any of this.
    std::string huge(2000, 'c');
    DebugError("Big", "%s", huge.c_str());
    EXPECT_EQ(LastStored(), " <ERROR>  ( Big )    " + std::string(451, 'c') + " ... (TRUNCATED)");
}

TEST_F(EngDebugTest, TheTwoHundredthEntryCompactsTheStoreButNotTheFile)
{
    for (int i = 0; i < 199; i++)
        DebugInfo("entry %d", i);
    EXPECT_EQ(DebugGetNumMessages(), 199);

    eng_main_program_time = 40.0;
    DebugInfo("entry %d", 199);
    ASSERT_EQ(DebugGetNumMessages(), 100);
    EXPECT_STREQ(DebugGetMessageText(0), "--- LOGS REMOVED ---");
    EXPECT_STREQ(DebugGetMessageText(1), " :  entry 101");
    EXPECT_STREQ(DebugGetMessageText(99), " :  entry 199");
    EXPECT_EQ(DebugGetMessageText(100), nullptr);

    std::vector<std::string> lines = ReadLines("ErrorLog.txt");
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.front(), "12.5 |  :  entry 0");
    EXPECT_EQ(lines.back(), "40.0 |  :  entry 199");
}

TEST_F(EngDebugTest, ClearingTheLogsStartsANewFile)
{
    DebugInfo("one");
    DebugInfo("two");
    DebugClearLogs();
    EXPECT_EQ(DebugGetNumMessages(), 0);
    DebugInfo("three");
    EXPECT_EQ(ReadLines("ErrorLog.txt"), std::vector<std::string>{"12.5 |  :  three"});
}

TEST_F(EngDebugTest, SettingTheLogFileName)
{
    // A fresh run deletes an old file of the new name; once written, it appends.
    {
        std::ofstream old("mine.txt");
        old << "old run\n";
    }
    EXPECT_EQ(DebugSetLogFilename("mine.txt", 1), 1);
    EXPECT_STREQ(DebugGetLogFilename(), "mine.txt");
    DebugInfo("first");
    EXPECT_EQ(ReadLines("mine.txt"), std::vector<std::string>{"12.5 |  :  first"});

    {
        std::ofstream other("other.txt");
        other << "kept\n";
    }
    EXPECT_EQ(DebugSetLogFilename("other.txt", 1), 1);
    DebugInfo("second");
    EXPECT_EQ(ReadLines("other.txt"), (std::vector<std::string>{"kept", "12.5 |  :  second"}));

    EXPECT_EQ(DebugSetLogFilename(std::string(256, 'n').c_str(), 1), 0);
    EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
    EXPECT_EQ(LastStored(), " <ERROR>  ( DebugSetLogFilename )    Filename too long");

    EXPECT_EQ(DebugSetLogFilename(std::string(255, 'n').c_str(), 0), 1);
    EXPECT_EQ(DebugSetLogFilename(nullptr, 0), 1);
    EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
}

TEST_F(EngDebugTest, AnUnwritableLogFileLosesOnlyTheFileLine)
{
    DebugSetLogFilename("no-such-folder/log.txt", 0);
    DebugInfo("kept in the store");
    EXPECT_EQ(LastStored(), " :  kept in the store");
    DebugSetLogFilename("ErrorLog.txt", 0);
    DebugInfo("next");
    EXPECT_EQ(ReadLines("ErrorLog.txt"), std::vector<std::string>{"12.5 |  :  next"});
}

TEST_F(EngDebugTest, ThrottledInfoLogsOncePerPeriod)
{
    double next = 0;
    EXPECT_EQ(DebugInfoThrottled(&next, 2.0, "tick"), 1);
    EXPECT_DOUBLE_EQ(next, 14.5);
    eng_main_program_time = 14.0;
    EXPECT_EQ(DebugInfoThrottled(&next, 2.0, "tick"), 0);
    eng_main_program_time = 14.5;
    EXPECT_EQ(DebugInfoThrottled(&next, 2.0, "tick"), 1);
    EXPECT_EQ(DebugInfoThrottled(nullptr, 2.0, "tick"), 0);
    EXPECT_EQ(DebugGetNumMessages(), 2);
}

TEST_F(EngDebugTest, ObjectAndNameLinesStopAtTheBufferSize)
{
    std::string object(250, 'o');
    DebugInfoWithObjectAndName(object.c_str(), std::string(255, 'n').c_str(), "m");
    DebugInfoWithObjectAndName(object.c_str(), std::string(256, 'n').c_str(), "m");
    DebugInfoWithObjectAndName(nullptr, "name", "m");
    DebugInfoWithObjectAndName("object", nullptr, "m");
    EXPECT_EQ(DebugGetNumMessages(), 1);
    EXPECT_EQ(LastStored().substr(0, 8), " :  oooo");
}

TEST_F(EngDebugTest, ReplacingAMessage)
{
    eng_main_program_time = 3.0;
    DebugInfo("first");
    DebugInfo("second");
    DebugReplaceMessage(0, "now %d", 1);
    EXPECT_STREQ(DebugGetMessageText(0), "now 1");

    // Beyond the stored entries: a blank information entry is stored instead.
    DebugReplaceMessage(5, "lost");
    EXPECT_EQ(DebugGetNumMessages(), 3);
    EXPECT_EQ(LastStored(), " :   ");
    // The file keeps what was written when the entries were stored.
    EXPECT_EQ(ReadLines("ErrorLog.txt"), (std::vector<std::string>{"3.0 |  :  first", "3.0 |  :  second", "3.0 |  :   "}));
}

TEST_F(EngDebugTest, CodeTextsAndShortenedNames)
{
    EXPECT_STREQ(DebugGetCodeText('OMEM'), "Out of memory.");
    EXPECT_STREQ(DebugGetCodeText('ALEX'), "Already exists.");
    EXPECT_STREQ(DebugGetCodeText('UPDT'), "Needs updating.");
    EXPECT_STREQ(DebugGetCodeText('UNKN'), "(Unknown)");
    EXPECT_STREQ(DebugGetCodeText('ZZZZ'), "?");
    EXPECT_STREQ(DebugGetCodeText(0), "?");

    struct {
        const char *name;
        const char *shortened;
    } names[] = {
        {"?Read@EngFile@@QAEDPAXID@Z", "Read@EngFile"},
        {"?EngMainCallExit@@YAXH@Z", "EngMainCallExit"},
        {"Plain@@Z", "Plain"},
        {"MWin::RenderMain", "MWin::RenderMain"},
        {"?NoSeparator@X", "?NoSeparator@X"},
        {"ends@", "ends@"},
        {"", ""},
    };
    for (const auto &n : names) {
        const char *result = DebugUndecorateName(n.name);
        EXPECT_STREQ(result, n.shortened) << n.name;
        if (result != n.name)
            std::free(const_cast<char *>(result));
    }
    EXPECT_EQ(DebugUndecorateName(nullptr), nullptr);
}

TEST_F(EngDebugTest, APopupEntryShowsAWarningBox)
{
    DebugDoString("careful now", DMC_POPUP, 0);
    EXPECT_EQ(LastStored(), " <POPUP>  careful now");
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Warning");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "careful now");
    EXPECT_EQ(TestHooks::message_boxes[0].type & MB_ICONMASK, MB_ICONWARNING);
}

TEST_F(EngDebugTest, FatalWithoutAProgramDoesNothing)
{
    DebugFatal("Game::Tick", "gone");
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngDebugTest, ReportsFromSeveralThreadsAreNeitherLostNorMixed)
{
    const int per_thread = 150;
    auto report = [](char tag) {
        for (int i = 0; i < per_thread; i++)
            DebugInfo("%c%04d", tag, i);
    };
    std::thread worker(report, 'w');
    report('m');
    worker.join();

    std::vector<std::string> lines = ReadLines("ErrorLog.txt");
    ASSERT_EQ(lines.size(), 2u * per_thread);
    int worker_seen = 0, main_seen = 0;
    for (const std::string &line : lines) {
        ASSERT_EQ(line.size(), std::string("12.5 |  :  m0000").size()) << line;
        (line[11] == 'w' ? worker_seen : main_seen)++;
    }
    EXPECT_EQ(worker_seen, per_thread);
    EXPECT_EQ(main_seen, per_thread);
}

// The exit paths end the process; they run in a child and leave their traces
// in the log file and in a file the message-box hook writes.
int RecordBoxToFile(const char *text, const char *caption, UINT)
{
    FILE *file = std::fopen("box.txt", "w");
    std::fprintf(file, "%s|%s", caption, text);
    std::fclose(file);
    return IDOK;
}

using EngDebugDeathTest = EngDebugTest;

TEST_F(EngDebugDeathTest, AnExitEntryClosesTheProgramShowsTheErrorAndIgnoresLaterReports)
{
    std::remove("box.txt");
    EXPECT_EXIT(
        {
            PlatformSetMessageBoxHook(RecordBoxToFile);
            EngProgram program;
            DebugFatal("Game::Tick", "bugs escaped %d", 3);
        },
        testing::ExitedWithCode(255), "");

    std::vector<std::string> lines = ReadLines("ErrorLog.txt");
    // "Exiting." from the exit call comes after the exit entry and is ignored.
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "0.0 |  <EXIT>   ( Game::Tick )     bugs escaped 3");
    EXPECT_EQ(ReadWhole("box.txt"), "INTERNAL PROGRAM ERROR|( Game::Tick )     bugs escaped 3");
}

TEST_F(EngDebugDeathTest, AFailedFatalCheckExplainsItselfAndStillLogsTheExit)
{
    std::remove("box.txt");
    EXPECT_EXIT(
        {
            PlatformSetMessageBoxHook(RecordBoxToFile);
            EngProgram program;
            eng_main_program_time = 2.0;
            DebugCheckFatal(0, "?Load@Game@@QAEXXZ", "level %d missing", 7);
        },
        testing::ExitedWithCode(255), "");

    std::vector<std::string> expected = {
        " ",
        "EXITING DUE TO FOLLOWING ERROR:",
        " ",
        "2.0 |  <ERROR>  ( Load@Game )    level 7 missing",
        "2.0 |  :  EngMainCallExit > Exiting.",
    };
    EXPECT_EQ(ReadLines("ErrorLog.txt"), expected);
    EXPECT_EQ(ReadWhole("box.txt"), "INTERNAL PROGRAM ERROR|Reason:\n\n( Load@Game )    level 7 missing");
}

} // namespace
