#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Folders.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Win32FilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::current_path() / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    fs::path folder;
};

std::vector<std::string> ListAll(const std::string &pattern, std::vector<bool> *folders = nullptr)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(found.cFileName);
        if (folders)
            folders->push_back(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST_F(Win32FilesTest, PathsBecomeTheSystemsForm)
{
    char out[64];
    ASSERT_TRUE(PlatformPathFromAnsi("Data\\Common\\Zo\xE9.txt", out, sizeof(out)));
    EXPECT_STREQ(out, "Data/Common/Zo\xC3\xA9.txt");
    EXPECT_FALSE(PlatformPathFromAnsi("abcdef", out, 4));
    EXPECT_FALSE(PlatformPathFromAnsi(nullptr, out, sizeof(out)));
}

TEST_F(Win32FilesTest, TheSearchListsEveryNameSortedWithoutRegardToCase)
{
    for (const char *name : {"beta.txt", "Alpha.txt", "alpha.dat", "Zeta", "\xC3\xA9t\xC3\xA9.txt"})
        std::ofstream(folder / name) << "x";
    fs::create_directories(folder / "Gamma");
    // A name that is not UTF-8 cannot be spelled in 1252 for certain: left out.
    std::ofstream(folder / "bad\xFF") << "x";

    std::vector<bool> folders;
    std::vector<std::string> names = ListAll(folder.string() + "\\*.*", &folders);
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "alpha.dat", "Alpha.txt", "beta.txt", "Gamma", "Zeta",
                                               "\xE9t\xE9.txt"}));
    EXPECT_EQ(folders, (std::vector<bool>{true, true, false, false, false, true, false, false}));
    EXPECT_EQ(ListAll(folder.string() + "/*"), names);

    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA((folder / "missing" / "*.*").string().c_str(), &found), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA((folder / "*.txt").string().c_str(), &found), INVALID_HANDLE_VALUE)
        << "only whole listings";
}

TEST_F(Win32FilesTest, MoveNeverReplacesATarget)
{
    std::ofstream(folder / "a") << "a";
    std::ofstream(folder / "b") << "b";
    EXPECT_FALSE(MoveFileA((folder / "a").string().c_str(), (folder / "b").string().c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EEXIST));
    EXPECT_TRUE(fs::exists(folder / "a"));
    EXPECT_TRUE(MoveFileA((folder / "a").string().c_str(), (folder / "c").string().c_str()));
    EXPECT_FALSE(fs::exists(folder / "a"));
}

// The lock of a program on a folder: a second lock of the file is refused,
// whichever process asks, until the first is released; the file's bytes are
// never touched, and a folder that cannot be written still lets an existing
// file be locked.
TEST_F(Win32FilesTest, ALockedFileRefusesASecondLockUntilReleased)
{
    const std::string file = (folder / "Program.lock").string();
    std::ofstream(file) << "keep";
    const int lock = PlatformLockFile(file.c_str());
    ASSERT_GE(lock, 0);
    EXPECT_EQ(PlatformLockFile(file.c_str()), PLATFORM_LOCK_HELD);
    EXPECT_NE(system(("flock -n '" + file + "' true").c_str()), 0) << "another process is refused too";
    PlatformUnlockFile(lock);
    EXPECT_EQ(system(("flock -n '" + file + "' true").c_str()), 0);
    const int again = PlatformLockFile(file.c_str());
    EXPECT_GE(again, 0);
    PlatformUnlockFile(again);
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");

    const std::string missing = (folder / "missing" / "Program.lock").string();
    EXPECT_EQ(PlatformLockFile(missing.c_str()), PLATFORM_LOCK_FAILED);
    EXPECT_EQ(errno, ENOENT);

    fs::permissions(file, fs::perms::owner_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const int read_only = PlatformLockFile(file.c_str());
    EXPECT_GE(read_only, 0);
    PlatformUnlockFile(read_only);
    fs::permissions(folder, fs::perms::owner_all);
}

TEST_F(Win32FilesTest, TheProgramFolderIsTheOneHoldingTheProgramsFile)
{
    fs::path started_in = fs::current_path();
    ASSERT_TRUE(PlatformEnterProgramFolder());
    EXPECT_EQ(fs::current_path(), fs::canonical("/proc/self/exe").parent_path());

    fs::current_path(started_in);
    PlatformSetProgramFolderForTests((started_in / "missing").c_str());
    EXPECT_FALSE(PlatformEnterProgramFolder());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(fs::current_path(), started_in);
    PlatformSetProgramFolderForTests(nullptr);
}

TEST_F(Win32FilesTest, TheLastErrorAndItsText)
{
    EXPECT_EQ(GetFileAttributesA((folder / "missing").string().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    char text[128];
    EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, text, sizeof(text), nullptr),
              0u);
    EXPECT_STREQ(text, "No such file or directory");
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0x12345, 0, text, sizeof(text), nullptr), 0u);
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, text, 5, nullptr), 4u);
    EXPECT_STREQ(text, "No s");
}

std::string FolderPath(int csidl)
{
    ITEMIDLIST *located = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &located)))
        return "(none)";
    char path[MAX_PATH];
    std::string result = SHGetPathFromIDListA(located, path) ? path : "(no path)";
    ILFree(located);
    return result;
}

TEST_F(Win32FilesTest, TheApplicationDataFolderFollowsXdg)
{
    std::string home = (folder / "home").string();
    fs::create_directories(home);
    ScopedEnvironment home_variable("HOME", home.c_str());

    {
        ScopedEnvironment data("XDG_DATA_HOME", (folder / "data").string().c_str());
        EXPECT_EQ(FolderPath(CSIDL_APPDATA), (folder / "data").string());
        EXPECT_TRUE(fs::is_directory(folder / "data")) << "made when missing";
    }
    for (const char *ignored : {"relative/data", "", static_cast<const char *>(nullptr)}) {
        ScopedEnvironment data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(FolderPath(CSIDL_APPDATA), home + "/.local/share");
    }
    EXPECT_TRUE(fs::is_directory(fs::path(home) / ".local" / "share"));
    EXPECT_EQ((fs::status(fs::path(home) / ".local").permissions() & fs::perms::all), fs::perms::owner_all);

    // 1252 cannot spell this home: the folder is known but has no path.
    std::string foreign = (folder / "\xE4\xB8\xAD").string();
    ScopedEnvironment data("XDG_DATA_HOME", foreign.c_str());
    EXPECT_EQ(FolderPath(CSIDL_APPDATA), "(no path)");
}

TEST_F(Win32FilesTest, TheDesktopFolderFollowsTheUsersDirectorySettings)
{
    std::string home = (folder / "home").string();
    fs::create_directories(fs::path(home) / ".config");
    ScopedEnvironment home_variable("HOME", home.c_str());
    ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);

    EXPECT_EQ(FolderPath(CSIDL_DESKTOPDIRECTORY), home) << "no desktop folder: home stands in";
    fs::create_directories(fs::path(home) / "Desktop");
    EXPECT_EQ(FolderPath(CSIDL_DESKTOPDIRECTORY), home + "/Desktop");

    fs::create_directories(folder / "elsewhere");
    std::ofstream(fs::path(home) / ".config" / "user-dirs.dirs")
        << "XDG_DESKTOP_DIR=\"" << (folder / "elsewhere").string() << "\"\n";
    EXPECT_EQ(FolderPath(CSIDL_DESKTOPDIRECTORY), (folder / "elsewhere").string());

    fs::create_directories(folder / "cfg");
    ScopedEnvironment other_config("XDG_CONFIG_HOME", (folder / "cfg").string().c_str());
    std::ofstream(folder / "cfg" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
    EXPECT_EQ(FolderPath(CSIDL_DESKTOPDIRECTORY), home + "/Desktop");

    ScopedEnvironment homeless("HOME", (folder / "missing").string().c_str());
    EXPECT_EQ(FolderPath(CSIDL_DESKTOPDIRECTORY), "(none)") << "neither desktop nor home";
}

} // namespace
