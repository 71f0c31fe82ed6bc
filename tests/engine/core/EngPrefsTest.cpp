#include "engine/core/EngPrefs.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EngPrefsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        PrefFolderResetForTests();
        VariousResetForTests();
        eng_screen_windowed = 1;
        data = std::getenv("XDG_DATA_HOME");
        fs::remove_all(fs::path(data) / "Lichenware");
        product = fs::path(data) / "Lichenware" / "Hive Watcher";
        main_folder = data + "\\Lichenware\\Hive Watcher";
    }

    std::string data;
    fs::path product;
    std::string main_folder; // as the program spells it
};

TEST_F(EngPrefsTest, SetupMakesTheProductFolderAndMovesTheLogIntoIt)
{
    DebugRaw("before the folder");
    EXPECT_EQ(std::string(PrefFolderSetup("Hive Watcher", 1, "LogFile.txt", 1)), main_folder);
    EXPECT_TRUE(fs::is_directory(product));
    EXPECT_EQ(std::string(DebugGetLogFilename()), main_folder + "\\LogFile.txt");

    DebugRaw("after the folder");
    EXPECT_EQ(ReadWhole(product / "LogFile.txt"), "after the folder\n");
    EXPECT_EQ(ReadWhole("ErrorLog.txt"), "before the folder\n");

    // The sub-folders the modules use.
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Users", 1)), main_folder + "\\Users");
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Scores", 1)), main_folder + "\\Scores");
    EXPECT_TRUE(fs::is_directory(product / "Users"));
    EXPECT_TRUE(fs::is_directory(product / "Scores"));
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Scores", 1)), main_folder + "\\Scores");
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Saves", 0)), main_folder + "\\Saves");
    EXPECT_FALSE(fs::exists(product / "Saves"));
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended("Resolution.dat")),
              main_folder + "\\Resolution.dat");
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{"before the folder", "after the folder"}));

    // Files reach the composed paths.
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(PrefFolderGetMainFolderWithFileAppended("Resolution.dat"), 0));
    file.Close();
    EXPECT_TRUE(fs::exists(product / "Resolution.dat"));
}

TEST_F(EngPrefsTest, ANewRunStartsItsLogAfresh)
{
    fs::create_directories(product);
    std::ofstream(product / "LogFile.txt") << "last run\n";
    PrefFolderSetup("Hive Watcher", 1, nullptr, 1);
    EXPECT_FALSE(fs::exists(product / "LogFile.txt")) << "deleted before the first entry";
    DebugRaw("this run");
    EXPECT_EQ(ReadWhole(product / "LogFile.txt"), "this run\n");
}

TEST_F(EngPrefsTest, FolderFunctionsFallBackRatherThanFail)
{
    EXPECT_STREQ(PrefFolderSetup("", 0, nullptr, 0), ".");
    EXPECT_STREQ(PrefFolderGetMainFolder(), ".");
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("PrefFolderSetup", "Invalid folder name"),
                                 ErrorLine("PrefFolderGetMainFolder", "Folder name is empty"),
                                 ErrorLine("PrefFolderGetMainFolder", "Folder name is empty"),
                             }));
    ResetEngineForTest();
    EXPECT_STREQ(PrefFolderSetup(std::string(128, 'n').c_str(), 0, nullptr, 0), ".");
    EXPECT_EQ(StoredLines()[0], ErrorLine("PrefFolderSetup", "Invalid folder name"));

    ResetEngineForTest();
    PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
    std::string long_name(130, 'f');
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended(long_name.c_str())), main_folder + "\\Temp.dat");
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended("")), main_folder);
    EXPECT_EQ(std::string(PrefFolderGetSubFolder(long_name.c_str(), 1)), main_folder);
    EXPECT_EQ(std::string(PrefFolderGetSubFolder(nullptr, 1)), main_folder);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("PrefFolderGetMainFolderWithFileAppended", "Filename too long"),
                                 ErrorLine("PrefFolderGetMainFolderWithFileAppended", "No file specified"),
                                 ErrorLine("PrefFolderGetSubFolder", "Invalid sub folder name"),
                                 ErrorLine("PrefFolderGetSubFolder", "Invalid sub folder name"),
                             }));

    // A file where the sub-folder should be.
    ResetEngineForTest();
    std::ofstream(product / "Users") << "not a folder";
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Users", 1)), main_folder);
    std::string users = main_folder + "\\Users";
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngFileCreateDirectory", "Failed to create directory <" + users + ">"),
                                 ErrorLine("PrefFolderGetSubFolder", "Could not create directory <" + users + ">"),
                             }));
}

TEST_F(EngPrefsTest, WithoutAnApplicationDataFolderFilesLandInTheWorkingFolder)
{
    std::string blocked = std::string(std::getenv("HOME")) + "/blocked";
    std::ofstream(blocked) << "a file, not a folder";
    ScopedEnvironment blocked_data("XDG_DATA_HOME", blocked + "/data");
    EXPECT_STREQ(PrefFolderSetup("Hive Watcher", 0, nullptr, 0), ".");
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngMiscGetUserApplicationDataDirectory_PC", "Could not get app data directory"),
                                 ErrorLine("PrefFolderGetMainFolder", "Could not create/get directory"),
                             }));
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended("x.dat")), ".\\x.dat");
}

TEST_F(EngPrefsTest, TheDesktopFolderOrTheWorkingFolder)
{
    std::string home = std::getenv("HOME");
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    fs::create_directories(fs::path(home) / ".config");
    fs::create_directories(fs::path(home) / "Schreibtisch");
    std::ofstream(fs::path(home) / ".config" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
           "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), home + "/Schreibtisch");

    fs::remove(fs::path(home) / ".config" / "user-dirs.dirs");
    fs::remove_all(fs::path(home) / "Desktop");
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), home) << "no desktop folder: home stands in";
    setenv("HOME", (home + "/missing").c_str(), 1);
    EXPECT_STREQ(PrefFolderGetDesktopFolder(), ".");
    EXPECT_EQ(StoredLines().back(), ErrorLine("PrefFolderGetDesktopFolder", "Could not get directory"));
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

class DirListTest : public EngPrefsTest {
protected:
    void SetUp() override
    {
        EngPrefsTest::SetUp();
        folder = fs::current_path() / "listing";
        fs::remove_all(folder);
        fs::create_directories(folder / "sub.txt");
        for (const char *name : {"b.dat", "a.txt", "C.txt", "d.TXT"})
            std::ofstream(folder / name) << name;
    }
    fs::path folder;
};

struct FilterCall {
    int count;
    std::string name;
    std::string dir;
};

char AcceptTxt(int count, const char *name, const char *dir, void *user)
{
    static_cast<std::vector<FilterCall> *>(user)->push_back({count, name, dir});
    size_t length = std::strlen(name);
    return length >= 4 && std::strcmp(name + length - 4, ".txt") == 0;
}

TEST_F(DirListTest, ListsAcceptedNamesInSortedOrderWithTheirCounts)
{
    std::vector<FilterCall> calls;
    DirList list;
    ASSERT_TRUE(list.OpenDir(folder.string().c_str(), AcceptTxt, &calls));
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    std::vector<std::string> names;
    for (std::string name = list.GetNextFilenameInDir(); !name.empty(); name = list.GetNextFilenameInDir())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "C.txt", "sub.txt"}));
    EXPECT_STREQ(list.GetNextFilenameInDir(), "") << "stays at the end";

    // Every candidate once, in order, with the count of names accepted before it.
    std::vector<std::pair<int, std::string>> seen;
    for (const FilterCall &call : calls) {
        seen.push_back({call.count, call.name});
        EXPECT_EQ(call.dir, folder.string());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{
                        {0, "a.txt"}, {1, "b.dat"}, {1, "C.txt"}, {2, "d.TXT"}, {2, "sub.txt"}}));

    // Again, without a filter.
    list.CleanupAfterGettingFilenamesInDir();
    ASSERT_TRUE(list.OpenDir(folder.string().c_str(), nullptr, nullptr));
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    names.clear();
    for (std::string name = list.GetNextFilenameInDir(); !name.empty(); name = list.GetNextFilenameInDir())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.dat", "C.txt", "d.TXT", "sub.txt"}));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(DirListTest, TheStatesRefuseCallsOutOfOrder)
{
    fs::create_directories(folder / "empty");
    DirList list;
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    list.CleanupAfterGettingFilenamesInDir();
    EXPECT_FALSE(list.OpenDir("", nullptr, nullptr));
    EXPECT_FALSE(list.OpenDir((folder / "missing").string().c_str(), nullptr, nullptr));
    ASSERT_TRUE(list.OpenDir((folder.string() + "\\empty").c_str(), nullptr, nullptr));
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    list.CleanupAfterGettingFilenamesInDir();
    list.CloseDir();
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("DirList::PrepareToGetFilenamesInDir",
                                           "Directory not opened - call DirList::OpenDir() first."),
                                 ErrorLine("DirList::GetNextFilenameInDir",
                                           "Call DirList::PrepareToGetFilenamesInDir() first."),
                                 ErrorLine("DirList::CleanupAfterGettingFilenamesInDir", "Not getting files in dir"),
                                 ErrorLine("DirList::OpenDir", "Invalid Path Passed In"),
                                 ErrorLine("DirList::OpenDir",
                                           "Directory does not exist [" + (folder / "missing").string() + "]"),
                                 ErrorLine("DirList::PrepareToGetFilenamesInDir", "Error - get filenames in progress"),
                                 ErrorLine("DirList::PrepareToGetFilenamesInDir",
                                           "Directory not opened - call DirList::OpenDir() first."),
                             }));
}

TEST_F(EngPrefsTest, GoingOnlineOpensTheAddressThroughTheShell)
{
    VariousGoOnline(nullptr, nullptr, "https://example.invalid/page", 1, 1, 1, 0);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].verb, "open");
    EXPECT_EQ(TestHooks::shell_opens[0].file, "https://example.invalid/page");
    EXPECT_EQ(TestHooks::shell_opens[0].directory, "C:\\");

    VariousGoOnlineToHomeSite(nullptr, nullptr, "forum", 0, 0, 0, 0);
    VariousGoOnlineToHomeSite(nullptr, nullptr, nullptr, 0, 0, 0, 0);
    ASSERT_EQ(TestHooks::shell_opens.size(), 3u);
    std::string site = EngServersGetMakerSiteAddress();
    EXPECT_EQ(TestHooks::shell_opens[1].file, site + "/forum");
    EXPECT_EQ(TestHooks::shell_opens[2].file, site);
    EXPECT_NE(site.find(".invalid"), std::string::npos);

    VariousGoOnlineCB(nullptr, 0, nullptr);
    EXPECT_EQ(TestHooks::shell_opens.size(), 3u) << "Cancel does nothing";
    VariousGoOnlineCB(nullptr, 1, nullptr);
    EXPECT_EQ(TestHooks::shell_opens.size(), 4u);
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngPrefsTest, AddressesTooLongOrMissingOpenNothing)
{
    VariousGoOnline(nullptr, nullptr, ("https://x.invalid/" + std::string(492, 'p')).c_str(), 0, 0, 0, 0);
    VariousGoOnlineToHomeSite(nullptr, nullptr, std::string(600, 'p').c_str(), 0, 0, 0, 0);
    VariousGoOnline(nullptr, nullptr, nullptr, 0, 0, 0, 0);
    VariousGoOnlineNow("");
    EXPECT_TRUE(TestHooks::shell_opens.empty());
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("VariousGoOnline", "Path too long"),
                                 ErrorLine("VariousGoOnline", "Path too long"),
                                 ErrorLine("VariousGoOnlineNow", "No url"),
                                 ErrorLine("VariousGoOnlineNow", "No url"),
                             }));
    // 506 characters are still accepted.
    VariousGoOnline(nullptr, nullptr, ("https://x.invalid/" + std::string(488, 'p')).c_str(), 0, 0, 0, 0);
    EXPECT_EQ(TestHooks::shell_opens.size(), 1u);
}

// Going online from a running program, on the headless desktop with the
// virtual clock: sleeps are counted, not slept.
class GoingOnlineTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetRuntimeForTest();
        VariousResetForTests();
        eng_screen_windowed = 1;
    }

    void TearDown() override { VirtualClock::Remove(); }
};

// Notes how many pages were open when the program ran its ExitCB.
class ClosingProgram : public RecordingProgram {
public:
    void ExitCB() override { opens_at_exit = TestHooks::shell_opens.size(); }
    size_t opens_at_exit = 99;
};

TEST_F(GoingOnlineTest, LeavingToGoOnlineOpensThePageAfterTheProgramHasClosed)
{
    // In full screen the full-screen flags apply: exit there, not in a window.
    eng_screen_windowed = 0;
    ClosingProgram program;
    int64_t start = VirtualClock::Now();
    VariousGoOnline(nullptr, nullptr, "https://example.invalid/new", 1, 1, 1, 0);

    EXPECT_EQ(program.opens_at_exit, 0u) << "ExitCB ran before the page opened";
    EXPECT_EQ(eng_main_program, nullptr);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    EXPECT_EQ(TestHooks::shell_opens[0].file, "https://example.invalid/new");
    EXPECT_GE(VirtualClock::Now() - start, int64_t(10000) * 1000000) << "the process lingers while the browser starts";
}

TEST_F(GoingOnlineTest, AnOkInFullScreenSwitchesToAWindowBeforeTheBrowserOpens)
{
    RecordingProgram program;
    _EngCreateWindowParms parms = WindowParms(0, 1024, 768);
    ASSERT_EQ(program.CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
    ASSERT_EQ(eng_screen_windowed, 0);
    // Without the toolkit's question the page opens at once, as the game is.
    VariousGoOnline(nullptr, nullptr, "https://example.invalid/page", 1, 1, 0, 0);
    EXPECT_EQ(eng_screen_windowed, 0);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);

    VariousGoOnlineCB(nullptr, 1, nullptr);
    EXPECT_EQ(eng_screen_windowed, 1);
    EXPECT_NE(eng_device, nullptr);
    ASSERT_EQ(TestHooks::shell_opens.size(), 2u);
    EXPECT_EQ(TestHooks::shell_opens[1].file, "https://example.invalid/page");
    EXPECT_FALSE(program.GetExitFlag());

    // In a window an OK opens the page and changes nothing else.
    VariousGoOnlineCB(nullptr, 1, nullptr);
    EXPECT_EQ(eng_screen_windowed, 1);
    EXPECT_EQ(TestHooks::shell_opens.size(), 3u);
}

} // namespace
