// A player's files on the real program: a player who has played and set an
// option is never replaced by the new-player screen's "Continue" with the
// name it still shows after "Change Player", and loads afterwards as he
// was; a second program started on the same per-user folder says so in a
// message box and ends without changing a byte there.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngEncryption.h"
#include "engine/core/EngMisc.h"
#include "modules/UserClass.h"
#include "screens/UserNew.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <thread>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

// A player's record as stored, read as the program reads it.
bool ReadRecord(const char *name, _UserInfo *record)
{
    const std::string file = (modules_test::UsersFolder() / (std::string(name) + ".usr")).string();
    return EngEncryptionReadFromFileAndDecrypt(file.c_str(), record, sizeof(*record));
}

// Every file below the per-user folder with its bytes.
std::map<std::string, std::string> FolderFiles()
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(modules_test::ProductFolder()))
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadWhole(entry.path());
    return files;
}

// The buttons of the screens passed (game units).
const float NEW_PLAYER_X = 75, NEW_PLAYER_Y = 447;
const float NAME_X = 320, NAME_Y = 217;
const float CONTINUE_X = 320, CONTINUE_Y = 447;
const float CHANGE_PLAYER_X = 235, CHANGE_PLAYER_Y = 375;
const float PAUSE_OPTIONS_X = 320, PAUSE_OPTIONS_Y = 337;
const float PAUSE_QUIT_X = 320, PAUSE_QUIT_Y = 387;
// The "Off" half of the Options screen's start-up window choice, and Back.
const float STARTUP_OFF_X = 326, STARTUP_OFF_Y = 200;
const float BACK_X = 590, BACK_Y = 455;

class PlayerFilesE2eTest : public PlayingE2eTest {};

TEST_F(PlayerFilesE2eTest, ContinueNeverReplacesAPlayerWhoHasPlayed)
{
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(PlayersScreenDrawn));
    Screen screen = Shot();

    // Bob is made on the new-player screen.
    Click(NEW_PLAYER_X, NEW_PLAYER_Y);
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    char logon[UserNewCC::NAME_SIZE] = "";
    EngMiscGetDefaultUsersName(logon, UserNewCC::NAME_LIMIT);
    if (UserNewIsNameValid(logon, UserNewCC::NAME_LIMIT, nullptr)) {
        Click(NAME_X, NAME_Y);
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    }
    Type("Bob");
    Key("Return");
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(CONTINUE_X, CONTINUE_Y);
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    _UserInfo created{};
    ASSERT_TRUE(ReadRecord("Bob", &created));

    // He plays the first garden, sets the start-up window off from the
    // pause menu's Options, and quits the game.
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    screen = Shot();
    Key("Escape");
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(PAUSE_OPTIONS_X, PAUSE_OPTIONS_Y);
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(STARTUP_OFF_X, STARTUP_OFF_Y);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SaveShot("PlayerFiles_BobsOption");
    screen = Shot();
    Click(BACK_X, BACK_Y);
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(PAUSE_QUIT_X, PAUSE_QUIT_Y);
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Key("Return"); // "Are you sure you wish to quit the game ?"
    ASSERT_TRUE(WaitFor(MainScreenDrawn));

    // "Change Player", "New Player": the screen still shows Bob.
    Click(CHANGE_PLAYER_X, CHANGE_PLAYER_Y);
    ASSERT_TRUE(WaitForMovingScreen(PlayersScreenDrawn, &screen));
    Click(NEW_PLAYER_X, NEW_PLAYER_Y);
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("PlayerFiles_NameKept");
    const std::string before = ReadWhole(modules_test::UsersFolder() / "Bob.usr");

    // "Continue" is refused with the screen's own message, a box over the
    // middle of the screen.
    const auto box_changed = [&](const Screen &from) {
        return WaitFor([&](const Screen &now) {
            screen = now;
            return ChangedIn(from, now, 205, 205, 230, 70) > 0.3;
        });
    };
    Click(CONTINUE_X, CONTINUE_Y);
    ASSERT_TRUE(box_changed(Screen(screen)));
    SaveShot("PlayerFiles_ContinueRefused");
    EXPECT_FALSE(MainScreenDrawn(screen));
    EXPECT_EQ(ReadWhole(modules_test::UsersFolder() / "Bob.usr"), before);
    Key("Return");
    ASSERT_TRUE(box_changed(Screen(screen)));
    ASSERT_TRUE(NewPlayerScreenDrawn(screen));

    // Back on the Players screen, "Continue Player: Bob" brings him back.
    Click(BACK_X - 10, CONTINUE_Y);
    ASSERT_TRUE(WaitForMovingScreen(PlayersScreenDrawn, &screen));
    SaveShot("PlayerFiles_ContinueBob");
    Click(CONTINUE_X, CONTINUE_Y);
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("PlayerFiles_BobBack");
    EXPECT_EQ(StopProgram(), 0);

    _UserInfo bob{};
    ASSERT_TRUE(ReadRecord("Bob", &bob));
    EXPECT_STREQ(bob.name, "Bob");
    EXPECT_EQ(bob.player_id, created.player_id) << "the same player, whose scores still match";
    EXPECT_EQ(bob.options.show_startup_window, 0) << "his option";
    EXPECT_EQ(bob.options.notice_showings_left, 2) << "his progress: the notice was shown once";
    EXPECT_GE(bob.options.load_count, 2);
}

TEST_F(PlayerFilesE2eTest, ASecondProgramOnTheSameFolderChangesNothing)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    SaveShot("PlayerFiles_FirstProgram");
    const auto before = FolderFiles();

    const pid_t second = SpawnProgram();
    ASSERT_NE(second, 0);
    // Its message box: a window besides the first program's.
    XWindowRect box;
    ASSERT_TRUE(WaitFor([&](const Screen &) {
        for (const XWindowRect &window : m_display->ShownWindows())
            if (window.width < CLIENT_WIDTH) {
                box = window;
                return true;
            }
        return false;
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Screen whole;
    ASSERT_TRUE(m_display->Capture(&whole));
    XDisplay::SavePng(HW_SCREENSHOT_DIR "/PlayerFiles_SecondProgramBox.png", whole);
    // Its OK button, in the middle of its lowest row (the first program's
    // window keeps the keyboard).
    m_display->Click(box.x + box.width / 2, box.y + box.height - 26);

    int status = -1;
    for (int waited = 0; waited < 300 && waitpid(second, &status, WNOHANG) == 0; waited++)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(-second, SIGKILL);
    ASSERT_TRUE(WIFEXITED(status)) << "the second program is still running";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(FolderFiles(), before);

    // The first goes on undisturbed.
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
