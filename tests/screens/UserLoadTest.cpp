// The load-player screen: enabling by the list, loading a player, and the
// three answers to a record that does not load.
#include "tests/screens/PlayerScreensTestSupport.h"

#include "gui/MWinButton.h"
#include "modules/Countries.h"

namespace {

using namespace player_screens_test;

class UserLoadTest : public PlayerScreensTest {
protected:
    UserLoadCC *Load() { return Screens()->GetUserLoadCC(); }
    MWinButton *Control(UserLoadCollectionController::Row row) { return Load()->Control(row); }

    // Puts the panel on the player of that name.
    void Select(const char *name)
    {
        for (int i = 0; i < Load()->GetNumUserNames(); i++)
            if (std::strcmp(Load()->GetUserNameOrEmpty(i), name) == 0)
                Control(UserLoadCollectionController::PANEL)->PanelSetPos(i, 0, 0);
    }
};

TEST_F(UserLoadTest, WithoutPlayersOnlyBackWorks)
{
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
    for (auto row : {UserLoadCollectionController::PANEL, UserLoadCollectionController::LOAD,
                     UserLoadCollectionController::DELETE})
        EXPECT_FALSE(Control(row)->IsEnabled()) << row;
    EXPECT_FALSE(Control(UserLoadCollectionController::SETTINGS)->IsShown());
    EXPECT_FALSE(Control(UserLoadCollectionController::LOAD_PROGRESS)->IsShown());
    ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::BACK)));
    EXPECT_EQ(Current(), USER_SCREEN_USERS);
}

TEST_F(UserLoadTest, LoadMakesTheChosenPlayerTheGamesPlayer)
{
    SavePlayer("Ann", "IE");
    SavePlayer("Bob", "DE");
    game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
    EXPECT_TRUE(Control(UserLoadCollectionController::LOAD)->IsEnabled());
    Select("Bob");
    ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::LOAD)));
    ASSERT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_STREQ(game->GetUserInfo()->name, "Bob");
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    EXPECT_EQ(Load()->GetNumUserNames(), 0) << "the list is freed once a player is loaded";
}

TEST_F(UserLoadTest, DeleteAsksFirstAndRemovesThePlayersFilesAndSavedGames)
{
    SavePlayer("Bob", "DE");
    SavePlayer("Bobby", "DE");
    WriteUsersFile("Bob_SavedGame01.dat", "game");
    game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
    Select("Bob");
    ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::DELETE)));
    ASSERT_TRUE(Mwin()->IsPopupOn());
    Mwin()->PopupAnswer(0);
    EXPECT_TRUE(UsersFileExists("Bob.usr")) << "No keeps the player";
    ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::DELETE)));
    Mwin()->PopupAnswer(1);
    EXPECT_FALSE(UsersFileExists("Bob.usr"));
    EXPECT_FALSE(UsersFileExists("Bob_SavedGame01.dat"));
    EXPECT_TRUE(UsersFileExists("Bobby.usr"));
    EXPECT_EQ(Listed(), (std::multiset<std::string>{"Bobby/DE"})) << "the list shrinks at once";
}

// A damaged record: "Load" offers Reset, Delete and Cancel.
TEST_F(UserLoadTest, ADamagedRecordIsResetDeletedOrKept)
{
    const struct {
        char answer;
        bool record_loads, record_exists, saved_game_kept, backup_kept;
        unsigned screen;
    } cases[] = {
        {1, true, true, true, true, USER_SCREEN_NEW},     // Reset
        {2, false, false, false, false, USER_SCREEN_LOAD}, // Delete
        {0, false, true, true, true, USER_SCREEN_LOAD},    // Cancel
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        WriteUsersFile("Bob.usr", std::string(600, 'x'));
        WriteUsersFile("Bob.bak", "backup");
        WriteUsersFile("Bob_SavedGame12.dat", "game");
        CountrySetChosenCountryCode("CA");
        game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
        Select("Bob");
        ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::LOAD)));
        EXPECT_FALSE(game->GetUser()->IsLoaded());
        ASSERT_TRUE(Mwin()->IsPopupOn());
        Mwin()->PopupAnswer(c.answer);

        EXPECT_EQ(Current(), c.screen);
        EXPECT_EQ(UsersFileExists("Bob.usr"), c.record_exists);
        EXPECT_EQ(UsersFileExists("Bob.bak"), c.backup_kept);
        EXPECT_EQ(UsersFileExists("Bob_SavedGame12.dat"), c.saved_game_kept);
        UserClass check(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        char always_load = 0, country[4] = "";
        EXPECT_EQ(check.LoadUser("Bob", 1, &always_load, country) != 0, c.record_loads);
        if (c.record_loads) {
            EXPECT_STREQ(country, "CA") << "the country shown on the new-player screen";
            EXPECT_STREQ(Screens()->GetUserNewCC()->GetName(), "Bob");
        }
        game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
        game->GetUser()->UnloadUser();
        std::filesystem::remove_all(UsersFolder());
    }
}

// "Reset" makes a fresh record under the file's name: a file whose name no
// player can have is refused before anything is deleted.
TEST_F(UserLoadTest, ResetKeepsAFileWhoseNameNoPlayerCanHave)
{
    const struct {
        const char *name;
    } cases[] = {
        {"Bob_1"},
        {".."},
        {"abcdefghijklmnopqrst"}, // 20 characters
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = std::string(c.name) + ".usr";
        WriteUsersFile(file, std::string(600, 'x'));
        WriteUsersFile(std::string(c.name) + "_SavedGame00.dat", "game");
        game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
        Select(c.name);
        ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::LOAD)));
        ASSERT_TRUE(Mwin()->IsPopupOn());
        Mwin()->PopupAnswer(1); // Reset
        ASSERT_TRUE(Mwin()->IsPopupOn());
        EXPECT_EQ(PopupText(), "Invalid user name");
        Mwin()->PopupAnswer(1);
        EXPECT_EQ(Current(), USER_SCREEN_LOAD);
        EXPECT_EQ(ReadWhole(UsersFolder() / file), std::string(600, 'x'));
        EXPECT_TRUE(UsersFileExists(std::string(c.name) + "_SavedGame00.dat"));
        EXPECT_FALSE(game->GetUser()->IsLoaded());
        std::filesystem::remove_all(UsersFolder());
    }
}

// The player still loaded after "Change Player" can be deleted: it goes
// unsaved, so the exit does not bring it back, and the next start no longer
// offers to continue with it. Deleting another player leaves it as it was.
TEST_F(UserLoadTest, DeletingTheLoadedPlayerUnloadsItForGood)
{
    const struct {
        const char *deleted;
        bool still_loaded;
    } cases[] = {
        {"Ann", true},
        {"Bob", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.deleted);
        SavePlayer("Ann", "IE");
        SavePlayer("Bob", "DE");
        game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
        Select("Bob");
        ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::LOAD)));
        ASSERT_STREQ(game->GetUserInfo()->name, "Bob");

        game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
        game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
        Select(c.deleted);
        ASSERT_TRUE(Press(Load(), Control(UserLoadCollectionController::DELETE)));
        Mwin()->PopupAnswer(1);
        EXPECT_FALSE(UsersFileExists(std::string(c.deleted) + ".usr"));
        EXPECT_EQ(game->GetUser()->IsLoaded() != 0, c.still_loaded);
        const std::string named = c.still_loaded ? "Bob" : "";
        EXPECT_EQ(std::string(ResolutionGetSettings()->player_name), named);
        EXPECT_EQ(std::string(ReadWhole(modules_test::SettingsFile()).c_str() + 316), named);
        if (c.still_loaded) {
            game->GetUser()->UnloadUser();
            std::filesystem::remove_all(UsersFolder());
        }
    }

    // The run ends: nothing brings Bob back.
    program->CloseDown(1);
    delete program;
    program = nullptr;
    EXPECT_FALSE(UsersFileExists("Bob.usr"));
    EXPECT_TRUE(UsersFileExists("Ann.usr"));
    EXPECT_EQ(std::string(ReadWhole(modules_test::SettingsFile()).c_str() + 316), "");
}

} // namespace
