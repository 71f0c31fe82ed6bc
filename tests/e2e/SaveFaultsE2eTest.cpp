// Saving on the faults a desktop really has, with the real program: a
// per-user folder on a small file system that is full or read-only (a
// tmpfs mounted over it; the tests run as root, and skip when no mount can
// be made), SIGTERM while the start-up dialog or a message box waits for
// the player, and the X server going away under a running game.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngEncryption.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <sys/mount.h>
#include <thread>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Until the file system holds no more: the rest of the folder's files can
// no longer be written.
void FillDisk(const fs::path &folder)
{
    std::ofstream filler(folder / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()))
        filler.flush();
}


class SaveFaultsE2eTest : public PlayingE2eTest {
protected:
    void TearDown() override
    {
        PlayingE2eTest::TearDown();
        MakeWritable();
        if (m_mounted)
            umount2(ProductFolder().c_str(), MNT_DETACH);
    }

    static fs::path ProductFolder() { return modules_test::ProductFolder(); }

    // The per-user folder becomes a small file system of its own.
    bool MountSmallDisk()
    {
        fs::create_directories(ProductFolder());
        if (mount("tmpfs", ProductFolder().c_str(), "tmpfs", 0, "size=1m") != 0) {
            m_mount_error = std::strerror(errno);
            return false;
        }
        m_mounted = true;
        return true;
    }

    // The running program keeps files open for writing there, so the file
    // system itself cannot turn read-only: a read-only view of it is
    // mounted over it instead, through which every new write fails.
    bool MakeReadOnly()
    {
        const std::string folder = ProductFolder().string();
        if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return false;
        m_read_only = true;
        return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }

    void MakeWritable()
    {
        if (m_read_only)
            umount2(ProductFolder().c_str(), MNT_DETACH);
        m_read_only = false;
    }

    // A saved game of the player's: the bytes are not read unless the
    // player resumes, so any will do to see that they stay.
    std::string SeedSavedGame(const char *name)
    {
        std::string bytes(64096 + 16, '\0');
        std::mt19937 random(7);
        for (char &c : bytes)
            c = static_cast<char>(random());
        WriteFile(modules_test::UsersFolder() / (std::string(name) + "_SavedGame00.dat"), bytes);
        return bytes;
    }

    // Answers a system message box with Escape once one shows (over the
    // program's window, or alone); false when none came.
    bool AnswerMessageBox(const std::string &shot, size_t windows_before)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end) {
            const std::vector<XWindowRect> shown = m_display->ShownWindows();
            if (shown.size() > windows_before) {
                // Let it draw, keep it, and answer it: without a window
                // manager the keyboard follows the pointer.
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                Screen screen;
                if (m_display->Capture(&screen))
                    XDisplay::SavePng(std::string(HW_SCREENSHOT_DIR) + "/" + shot + ".png", screen);
                m_display->MoveTo(shown.back().x + 8, shown.back().y + 8);
                Key("Escape");
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // The screen shows no window and no message box within the time given
    // (the program is gone: the driver's waits would stop at once).
    bool NothingShownWithin(double seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        Screen screen;
        do {
            if (m_display->ShownWindows().empty() && m_display->Capture(&screen) &&
                LitPoints(screen, 0, 0, 640, 480) == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < end);
        XDisplay::SavePng(std::string(HW_SCREENSHOT_DIR) + "/LeftOnScreen.png", screen);
        return false;
    }

    bool m_mounted = false, m_read_only = false;
    std::string m_mount_error;
};

#define MOUNT_OR_SKIP()                                                                                               \
    if (!MountSmallDisk())                                                                                            \
    GTEST_SKIP() << "a tmpfs cannot be mounted over the per-user folder (" << m_mount_error                          \
                 << "); these cases need root"

// A full disk while the player loads: the load's own saves fail. The player
// is told once, the program goes on, and nothing on disk is lost: the
// player's record and saved game stay as they were.
TEST_F(SaveFaultsE2eTest, AFullDiskWhileThePlayerLoadsLosesNothing)
{
    MOUNT_OR_SKIP();
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(ResolutionSaveSettings());
    const std::string saved_game = SeedSavedGame("Ada");
    const std::string record = ReadFile(modules_test::UsersFolder() / "Ada.usr");
    const std::string settings = ReadFile(modules_test::SettingsFile());
    FillDisk(ProductFolder());

    // The start-up writes the settings first: the box that says it failed
    // comes before the window, and is the only one of the run.
    ASSERT_TRUE(StartProgramToABox());
    EXPECT_TRUE(AnswerMessageBox("FullDiskStartupBox", 0));
    // The player loads (and the load's own saves fail); the saved game is
    // offered.
    const bool offered = WaitFor([](const Screen &s) { return MainScreenDrawn(s) && ResumeQuestionShown(s); });
    SaveShot("FullDiskResumeOffer");
    ASSERT_TRUE(offered);
    EXPECT_TRUE(ProgramRunning());

    // The exit save fails as well, and says nothing more.
    EXPECT_EQ(StopProgram(), 0);
    EXPECT_EQ(ReadFile(modules_test::UsersFolder() / "Ada.usr"), record);
    EXPECT_EQ(ReadFile(modules_test::UsersFolder() / "Ada_SavedGame00.dat"), saved_game);
    EXPECT_EQ(ReadFile(modules_test::SettingsFile()), settings);
}

// A game under way, then the folder turns read-only or the disk fills, and
// the player chooses "Save Game & Exit" on the pause menu: the save fails,
// the player is told in a popup and stays in the game (nothing of the play
// is lost by leaving); a SIGTERM then ends the program through one exit
// save that fails quietly, with the player's record as it was.
TEST_F(SaveFaultsE2eTest, SaveAndExitOnADiskThatCannotBeWrittenEndsOnce)
{
    MOUNT_OR_SKIP();
    for (const bool read_only : {true, false}) {
        SCOPED_TRACE(read_only ? "read-only" : "full");
        fs::remove(ProductFolder() / "filler");
        fs::remove(ProductFolder() / "Users" / "Ada_SavedGame00.dat");
        SeedPlayer("Ada", "GB", true);
        ASSERT_TRUE(ResolutionSaveSettings());

        ASSERT_TRUE(StartProgram(false));
        ASSERT_TRUE(WaitFor(MainScreenDrawn));
        ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
        ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
        const std::string record = ReadFile(modules_test::UsersFolder() / "Ada.usr");
        if (read_only)
            ASSERT_TRUE(MakeReadOnly()) << std::strerror(errno);
        else
            FillDisk(ProductFolder());

        const Screen playing = Shot();
        Key("Escape");
        Screen pause;
        ASSERT_TRUE(WaitForNewScreen(playing, &pause));
        Click(320, 437);
        Screen told;
        EXPECT_TRUE(WaitForNewScreen(pause, &told));
        EXPECT_TRUE(ProgramRunning());
        SaveShot(read_only ? "ReadOnlySaveAndExit" : "FullDiskSaveAndExit");
        EXPECT_EQ(StopProgram(), 0);
        EXPECT_EQ(ReadFile(modules_test::UsersFolder() / "Ada.usr"), record);

        MakeWritable();
    }
}

// SIGTERM while the start-up dialog waits: the program ends at once and
// takes its dialog with it.
TEST_F(SaveFaultsE2eTest, SigtermEndsTheStartupDialog)
{
    ASSERT_TRUE(StartProgram(false));
    ASSERT_TRUE(WaitFor(DialogShown));
    EXPECT_EQ(StopProgram(2), 0);
    EXPECT_TRUE(NothingShownWithin(2));
}

// SIGTERM while a message box waits (the internet test's, after PLAY): the
// program and its box are gone within a second or two.
TEST_F(SaveFaultsE2eTest, SigtermEndsAMessageBoxWithTheProgram)
{
    ASSERT_TRUE(StartProgram(false));
    ASSERT_TRUE(WaitFor(DialogShown));
    m_display->Click(WINDOWED_X, WINDOWED_Y);
    m_display->Click(PLAY_X, PLAY_Y);
    ASSERT_TRUE(WaitFor([](const Screen &s) {
        return !DialogShown(s) && !PlayersScreenDrawn(s) && LitPoints(s, 220, 180, 200, 120) > 0;
    }));
    SaveShot("MessageBoxBeforeSigterm");
    EXPECT_EQ(StopProgram(2), 0);
    EXPECT_TRUE(NothingShownWithin(2));
}

// The X server goes away under a running game: the program saves the
// player and the game, logs why, and ends.
TEST_F(SaveFaultsE2eTest, ALostDisplaySavesThePlayerAndTheGame)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    const fs::path game = modules_test::UsersFolder() / "Ada_SavedGame00.dat";
    ASSERT_FALSE(fs::exists(game));

    m_display.reset();
    EXPECT_EQ(WaitForExit(10), 1);
    std::vector<unsigned char> saved(64096);
    ASSERT_TRUE(EngEncryptionReadFromFileAndDecrypt(game.string().c_str(), saved.data(),
                                                    static_cast<unsigned>(saved.size())));
    int32_t weapons = 0;
    std::memcpy(&weapons, saved.data() + 56004, sizeof(weapons));
    EXPECT_EQ(weapons, 1);
    EXPECT_NE(ReadFile(ProductFolder() / "LogFile.txt").find("The connection to the display was lost."),
              std::string::npos)
        << ProgramLogTail();
}

} // namespace
