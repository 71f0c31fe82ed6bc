// The player screens' set: registration and the first screen, the list of
// saved players built from the Users folder, and the title control's place.
#include "tests/screens/PlayerScreensTestSupport.h"

#include "gui/MWinButton.h"
#include "modules/ModulesHooks.h"

namespace {

using namespace player_screens_test;

using UserScreensTest = PlayerScreensTest;

TEST_F(UserScreensTest, ThePlayersScreenComesFirstAndCountsAsAPlayerScreenOnlyWhileTheStackIsOn)
{
    HW_Screens *screens = game->GetScreens();
    EXPECT_EQ(Screens()->GetFirstScreenId(), USER_SCREEN_USERS);
    EXPECT_EQ(Screens()->IsUserScreenOn(), 0) << "on MAIN";
    screens->GotoScreen(USER_SCREEN_LOAD, nullptr);
    EXPECT_EQ(Screens()->IsUserScreenOn(), 1);
    screens->End(-1);
    ASSERT_EQ(screens->SetCurrentScreen(USER_SCREEN_USERS), 1);
    EXPECT_EQ(Screens()->IsUserScreenOn(), 0) << "the stack is off";
    Screens()->StartFirstScreen();
    EXPECT_EQ(Current(), USER_SCREEN_USERS);
    EXPECT_EQ(Screens()->IsUserScreenOn(), 1);
}

TEST_F(UserScreensTest, WithoutAUsersFolderTheListIsEmpty)
{
    Screens()->GetUserLoadCC()->SetupUserNameList();
    EXPECT_EQ(Screens()->GetUserLoadCC()->GetNumUserNames(), 0);
    EXPECT_FALSE(std::filesystem::exists(UsersFolder())) << "listing does not make the folder";
}

TEST_F(UserScreensTest, ListsEveryPlayerFileThatFitsAnEntry)
{
    SavePlayer("x", "DE");
    SavePlayer("Bob Smith", "US");
    const std::string name24(24, 'n'), name25(25, 'm');
    const struct {
        std::string file;
        const char *why;
    } others[] = {
        {".usr", "no name"},
        {"a.USR", "the extension compares exactly"},
        {"Bob Smith.bak", "not a player file"},
        {"Broken.usr", "listed, no country"},
        {name24 + ".usr", "the longest name that fits, no country"},
        {name25 + ".usr", "does not fit an entry: skipped, not cut"},
    };
    for (const auto &other : others)
        WriteUsersFile(other.file, "not a record");
    UserLoadCC *load = Screens()->GetUserLoadCC();
    load->SetupUserNameList();
    EXPECT_EQ(Listed(), (std::multiset<std::string>{"x/DE", "Bob Smith/US", "Broken/", name24 + "/"}));
    EXPECT_EQ(load->GetUserName(load->GetNumUserNames()), nullptr);
    EXPECT_STREQ(load->GetUserNameOrEmpty(-1), "");
    EXPECT_STREQ(load->GetUserCountryOrEmpty(99), "");
}

TEST_F(UserScreensTest, TheTitleControlTakesTheLayoutSizeScaledOrTheSettingsRectangle)
{
    const _ModulesParms program_parms = *ModulesGetParms();
    game->GetScreens()->GotoScreen(USER_SCREEN_LOAD, nullptr);
    MWinButton *title = Screens()->GetUserLoadCC()->Control(UserLoadCollectionController::TAR_TEXT_PIC);
    ASSERT_NE(title, nullptr);
    const struct {
        float scale;
        float rect[4];
        char keep_position;
        _Dimension expected;
    } cases[] = {
        {0, {}, 0, {120, 0, 400, 90}},
        {1.5f, {}, 0, {20, 0, 600, 90}},
        {0, {}, 1, {120, 33, 400, 90}},
        {0, {10, 20, 300, 40}, 0, {10, 20, 300, 40}},
    };
    for (const auto &c : cases) {
        _ModulesParms parms = program_parms;
        parms.title_width_factor = c.scale;
        std::memcpy(parms.title_rect, c.rect, sizeof(parms.title_rect));
        ModulesSetup(&parms, ModulesGetItemCallback());
        title->SetPosAndSize(0, 33, 5, 5);
        UserScreensSetupTitleButton(title, c.keep_position);
        _Dimension dim;
        title->GetDimension(&dim);
        EXPECT_FLOAT_EQ(dim.x, c.expected.x) << c.scale;
        EXPECT_FLOAT_EQ(dim.y, c.expected.y) << c.scale;
        EXPECT_FLOAT_EQ(dim.w, c.expected.w) << c.scale;
        EXPECT_FLOAT_EQ(dim.h, c.expected.h) << c.scale;
    }
    ModulesSetup(&program_parms, ModulesGetItemCallback());
    EXPECT_NE(title->GetAttachedPicture(), nullptr) << "the program's title picture";
}

} // namespace
