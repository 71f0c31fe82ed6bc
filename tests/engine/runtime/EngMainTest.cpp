#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/GameServicesDouble.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

bool HasStored(const std::string &line)
{
    for (const std::string &stored : StoredLines())
        if (stored == line)
            return true;
    return false;
}

// A program object whose start-up answers a test chooses; it records the
// command line it was given and whether its exit hook ran, and closes its
// window at its first tick.
class AnsweringProgram : public EngProgram {
public:
    static char init_answer;
    static char window_answer;
    static std::string command_line;
    static int exits;
    static int ticks;
    static std::string init_folder;

    char InitCB(const char *line) override
    {
        command_line = line ? line : "(null)";
        init_folder = std::filesystem::current_path().string();
        return init_answer;
    }
    char PreCreateWindowCB(_EngCreateWindowParms *) override { return window_answer; }
    char TickCB() override
    {
        if (ticks++ == 0)
            PostMessageA(nullptr, WM_CLOSE, 0, 0);
        return 1;
    }
    void ExitCB() override { exits++; }
};

char AnsweringProgram::init_answer = 1;
char AnsweringProgram::window_answer = 1;
std::string AnsweringProgram::command_line;
int AnsweringProgram::exits = 0;
int AnsweringProgram::ticks = 0;
std::string AnsweringProgram::init_folder;

EngProgram *CreateAnsweringProgram()
{
    return new AnsweringProgram();
}

EngProgram *FailToCreateProgram()
{
    return nullptr;
}

class EngMainTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        PlatformResetMessagesForTests();
        PlatformResetWindowsForTests();
        PlatformSetHeadless(true);
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        GameServicesDouble::Reset();
        GameServicesDouble::factory = CreateAnsweringProgram;
        AnsweringProgram::init_answer = 1;
        AnsweringProgram::window_answer = 1;
        AnsweringProgram::ticks = 0;
        AnsweringProgram::command_line.clear();
        AnsweringProgram::exits = 0;
        AnsweringProgram::init_folder.clear();
        std::remove("ErrorLog.txt");
        // The entry function enters the program's folder: here a folder of
        // the test's own, left again after the test.
        started_in = std::filesystem::current_path();
        program_folder = started_in / "program";
        std::filesystem::create_directories(program_folder);
        PlatformSetProgramFolderForTests(program_folder.c_str());
    }

    void TearDown() override
    {
        PlatformSetProgramFolderForTests(nullptr);
        std::filesystem::current_path(started_in);
    }

    std::filesystem::path started_in;
    std::filesystem::path program_folder;
};

const char FAILURE_WITH_LOG[] = "The program had to terminate prematurely.\n\nDo you wish to see the log file ?";
const char FAILURE_WITHOUT_LOG[] = "The program had to terminate prematurely. No error logs were generated.";
const char DASHES[] = "------------------------------------------------------";

TEST_F(EngMainTest, AQuietStopEndsWithoutAReport)
{
    AnsweringProgram::init_answer = -1;
    char *argv[] = {const_cast<char *>("HiveWatcher"), const_cast<char *>("CONFIGURATION"), const_cast<char *>("now")};
    EXPECT_EQ(EngMainEntry(3, argv), 0);

    EXPECT_EQ(AnsweringProgram::command_line, "CONFIGURATION now");
    EXPECT_TRUE(TestHooks::message_boxes.empty());
    EXPECT_EQ(GameServicesDouble::exit_calls, 1);
    EXPECT_EQ(eng_main_program, nullptr);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{"Exited program.", DASHES}));
}

TEST_F(EngMainTest, TheProgramStartsInItsOwnFolder)
{
    AnsweringProgram::init_answer = -1;
    char *argv[] = {const_cast<char *>("HiveWatcher")};
    EXPECT_EQ(EngMainEntry(1, argv), 0);
    EXPECT_EQ(AnsweringProgram::init_folder, program_folder.string()) << "before the program object starts";
    EXPECT_EQ(std::filesystem::current_path(), program_folder);

    // A folder that cannot be entered is reported; the run goes on where it
    // was started.
    std::filesystem::current_path(started_in);
    ResetEngineForTest();
    PlatformSetProgramFolderForTests((started_in / "missing").c_str());
    EXPECT_EQ(EngMainEntry(1, argv), 0);
    EXPECT_EQ(AnsweringProgram::init_folder, started_in.string());
    EXPECT_TRUE(HasStored(ErrorLine("EngMainEntry", "Could not enter the program's folder (No such file or directory)")));
}

TEST_F(EngMainTest, ARunEndsWithCodeZeroOnceItsWindowCloses)
{
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), 0);
    EXPECT_EQ(AnsweringProgram::ticks, 1);
    EXPECT_EQ(AnsweringProgram::exits, 1);
    EXPECT_EQ(GameServicesDouble::exit_calls, 1);
    EXPECT_TRUE(TestHooks::message_boxes.empty());
    EXPECT_EQ(eng_main_program, nullptr);
    EXPECT_EQ(StoredLines().back(), DASHES);
}

TEST_F(EngMainTest, ANegativeAnswerFromWindowCreationIsReturnedAtOnce)
{
    AnsweringProgram::window_answer = -2;
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), -2);

    // No clean-up call and no failure report.
    EXPECT_EQ(GameServicesDouble::exit_calls, 0);
    EXPECT_TRUE(TestHooks::message_boxes.empty());
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(AnsweringProgram::exits, 0);

    GameServicesDouble::program->CloseDown(1);
    delete GameServicesDouble::program;
}

TEST_F(EngMainTest, AFailedStartOffersTheLogFile)
{
    AnsweringProgram::init_answer = 0;
    TestHooks::message_box_answer = IDYES;
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), -1);

    EXPECT_TRUE(HasStored(" <ERROR>  ( MainCreateAndInitMainProgram )    Init Failed"));
    EXPECT_TRUE(HasStored(" <ERROR>  ( _WinMain@16 )    Init returned 0,  Exit -1."));
    EXPECT_TRUE(HasStored(" :  EngMiscExitProgramNow > Exiting main program."));
    EXPECT_EQ(AnsweringProgram::exits, 1);
    EXPECT_EQ(StoredLines().back(), DASHES);

    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Error Running Program");
    EXPECT_EQ(TestHooks::message_boxes[0].text, FAILURE_WITH_LOG);
    EXPECT_EQ(TestHooks::message_boxes[0].type, MB_YESNO | MB_ICONERROR);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].verb, "open");
    EXPECT_EQ(TestHooks::shell_opens[0].file, "ErrorLog.txt");
}

TEST_F(EngMainTest, DecliningTheLogFileOpensNothing)
{
    AnsweringProgram::init_answer = 0;
    TestHooks::message_box_answer = IDNO;
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), -1);
    EXPECT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_TRUE(TestHooks::shell_opens.empty());
}

TEST_F(EngMainTest, WithoutALogFileTheReportSaysSo)
{
    DebugSetLogFilename("no-such-folder/log.txt", 0);
    GameServicesDouble::factory = FailToCreateProgram;
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), -1);

    EXPECT_TRUE(HasStored(" <ERROR>  ( MainCreateAndInitMainProgram )    No memory"));
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Error Running Program");
    EXPECT_EQ(TestHooks::message_boxes[0].text, FAILURE_WITHOUT_LOG);
    EXPECT_EQ(TestHooks::message_boxes[0].type, MB_OK | MB_ICONERROR);
}

TEST_F(EngMainTest, OnlyOneProgramRunsAtATime)
{
    EngProgram running;
    char command_line[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, command_line, 1), -1);
    EXPECT_EQ(StoredLines(), std::vector<std::string>{" <ERROR>  ( _WinMain@16 )    eng_main_program already exists."});
    EXPECT_EQ(GameServicesDouble::exit_calls, 0);
}

TEST_F(EngMainTest, TheMainThreadRecord)
{
    // Not yet marked: every question is reported and answered yes.
    EXPECT_EQ(EngMainIsThisTheMainThread(), 1);
    EXPECT_EQ(EngMainIsThisTheMainThread(), 1);
    EXPECT_EQ(DebugGetNumMessages(), 2);
    EXPECT_EQ(StoredLines().back(), " <ERROR>  ( EngMainIsThisTheMainThread )    Main thread var not set");

    EngMainSetupMainThread();
    EXPECT_EQ(EngMainIsThisTheMainThread(), 1);
    char on_worker = 1;
    pthread_t worker;
    pthread_create(
        &worker, nullptr, [](void *answer) -> void * {
            *static_cast<char *>(answer) = EngMainIsThisTheMainThread();
            return nullptr;
        },
        &on_worker);
    pthread_join(worker, nullptr);
    EXPECT_EQ(on_worker, 0);
    EXPECT_EQ(DebugGetNumMessages(), 2);
}

TEST_F(EngMainTest, ExitingOnAWorkerEndsOnlyThatThread)
{
    EngMainSetupMainThread();
    bool returned = false;
    pthread_t worker;
    pthread_create(
        &worker, nullptr, [](void *flag) -> void * {
            EngMainCallExit(3);
            *static_cast<bool *>(flag) = true;
            return nullptr;
        },
        &returned);
    pthread_join(worker, nullptr);

    EXPECT_FALSE(returned);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{" :  EngMainCallExit > Exiting.", " :  Exiting thread..."}));
}

TEST_F(EngMainTest, ExitingOnTheMainThreadEndsTheProcess)
{
    EXPECT_EXIT(
        {
            EngMainSetupMainThread();
            EngMainCallExit(7);
        },
        testing::ExitedWithCode(7), "");
}

TEST_F(EngMainTest, TheTypeChecksHoldOnThisBuild)
{
    EngMainCheckInternals();
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngMainTest, WindowPixelsMapToTheVirtualScreen)
{
    eng_screen_width = 1280;
    eng_screen_height = 960;
    float vx = 0, vy = 0;
    EXPECT_EQ(EngMainConvertWindowPosToVirtualPos(640, 480, &vx, &vy), 1);
    EXPECT_FLOAT_EQ(vx, 320);
    EXPECT_FLOAT_EQ(vy, 240);
    EXPECT_EQ(EngMainConvertWindowPosToVirtualPos(100, 100, nullptr, &vy), 1);
    EXPECT_FLOAT_EQ(vy, 50);

    eng_screen_height = 0;
    EXPECT_EQ(EngMainConvertWindowPosToVirtualPos(1, 1, &vx, &vy), 0);
    eng_screen_width = 640;
    eng_screen_height = 480;
}

TEST_F(EngMainTest, TheProgramTimeFollowsTheClock)
{
    double first = EngMainUpdateProgramTime();
    EXPECT_EQ(eng_main_program_time.load(), first);
    double second = EngMainUpdateProgramTime();
    EXPECT_GE(second, first);
}

} // namespace
