// The Players screen: what it offers with no player, with a last player
// and with a last player who is loaded always.
#include "tests/screens/PlayerScreensTestSupport.h"

#include "gui/MWinButton.h"

namespace {

using namespace player_screens_test;

class UsersTest : public PlayerScreensTest {
protected:
    UsersCC *Users() { return Screens()->GetUsersCC(); }
    MWinButton *Control(UsersCollectionController::Row row) { return Users()->Control(row); }
    bool Shown(UsersCollectionController::Row row) { return Control(row)->IsShown(); }
};

TEST_F(UsersTest, WithoutPlayersOnlyNewAndExitAreOffered)
{
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    EXPECT_FALSE(Control(UsersCollectionController::MANAGE)->IsEnabled());
    EXPECT_FALSE(Shown(UsersCollectionController::CONTINUE));
    EXPECT_FALSE(Shown(UsersCollectionController::ALWAYS_LOAD));
    EXPECT_FALSE(Shown(UsersCollectionController::LANG_FLAG));
    EXPECT_FALSE(Shown(UsersCollectionController::LOAD_PROGRESS));
    EXPECT_TRUE(Shown(UsersCollectionController::NEW));
    EXPECT_STREQ(Control(UsersCollectionController::NEW)->GetTextP(), "New Player");
    ASSERT_TRUE(Press(Users(), Control(UsersCollectionController::NEW)));
    EXPECT_EQ(Current(), USER_SCREEN_NEW);
}

TEST_F(UsersTest, ContinueLoadsTheLastPlayerAndMarksItToBeLoadedAlways)
{
    SavePlayer("Ann", "IE");
    SetLastPlayer("Ann");
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    EXPECT_TRUE(Control(UsersCollectionController::MANAGE)->IsEnabled());
    EXPECT_TRUE(Shown(UsersCollectionController::CONTINUE));
    EXPECT_STREQ(Control(UsersCollectionController::CONTINUE)->GetTextP(), "Continue Player: Ann");
    EXPECT_STREQ(Users()->GetLastCountry(), "IE");
    EXPECT_EQ(Users()->GetContinueTime(), 0);
    Control(UsersCollectionController::ALWAYS_LOAD)->CheckboxSet(1, 0);
    ASSERT_TRUE(Press(Users(), Control(UsersCollectionController::CONTINUE)));
    ASSERT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_STREQ(game->GetUserInfo()->name, "Ann");
    EXPECT_EQ(game->GetUserInfo()->options.always_load, 1);
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
}

TEST_F(UsersTest, AnAlwaysLoadPlayerIsLoadedATenthOfASecondAfterTheStart)
{
    SavePlayer("Ann", "IE", 1);
    SetLastPlayer("Ann");
    VirtualClock::Install();
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    for (auto row : {UsersCollectionController::MANAGE, UsersCollectionController::EXIT,
                     UsersCollectionController::NEW, UsersCollectionController::CONTINUE,
                     UsersCollectionController::ALWAYS_LOAD})
        EXPECT_FALSE(Shown(row)) << row;
    VirtualClock::Advance(90);
    EngMainUpdateProgramTime();
    Users()->TickCB();
    EXPECT_FALSE(game->GetUser()->IsLoaded());
    VirtualClock::Advance(10);
    EngMainUpdateProgramTime();
    Users()->TickCB();
    EXPECT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    VirtualClock::Remove();
}

TEST_F(UsersTest, AnAlwaysLoadPlayerWhoseFileFailsBringsTheButtonsBack)
{
    SavePlayer("Ann", "IE", 1);
    SetLastPlayer("Ann");
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    WriteUsersFile("Ann.usr", "damaged since the start");
    eng_main_program_time = Users()->GetContinueTime() + 1;
    Users()->TickCB();
    EXPECT_FALSE(game->GetUser()->IsLoaded());
    EXPECT_EQ(Current(), USER_SCREEN_USERS);
    for (auto row : {UsersCollectionController::EXIT, UsersCollectionController::NEW,
                     UsersCollectionController::CONTINUE})
        EXPECT_TRUE(Shown(row)) << row;
    EXPECT_TRUE(Control(UsersCollectionController::MANAGE)->IsEnabled());
    EXPECT_FALSE(Shown(UsersCollectionController::MANAGE)) << "enabled but still hidden";
    Users()->TickCB();
    EXPECT_EQ(Users()->GetContinueTime(), 0) << "tried once";
}

// The tablet's select screen, entered here by hand: a continue step that
// fails goes back to the choice instead of trying every frame.
TEST_F(UsersTest, TheSelectScreenStopsContinuingWhenTheLastPlayerFails)
{
    SavePlayer("Ann", "IE", 1);
    SetLastPlayer("Ann");
    UserSelectCC *select = Screens()->GetUserSelectCC();
    game->GetScreens()->GotoScreen(USER_SCREEN_SELECT, nullptr);
    EXPECT_EQ(select->GetState(), 1);
    EXPECT_FALSE(select->Control(UserSelectCollectionController::NEW)->IsEnabled());
    EXPECT_EQ(select->Control(UserSelectCollectionController::ALWAYS_LOAD), nullptr) << "Normal layout";
    WriteUsersFile("Ann.usr", "damaged since the start");
    eng_main_program_time = eng_main_program_time.load() + 0.1;
    select->TickCB();
    EXPECT_EQ(select->GetState(), 2);
    select->TickCB();
    EXPECT_EQ(select->GetState(), 0);
    EXPECT_FALSE(game->GetUser()->IsLoaded());
    EXPECT_TRUE(select->Control(UserSelectCollectionController::NEW)->IsEnabled());
    EXPECT_TRUE(select->Control(UserSelectCollectionController::PANEL)->IsEnabled());
    EXPECT_TRUE(Mwin()->IsPopupOn()) << "\"Unable to load user.\"";
}

// A tablet's player choice: the select screen comes first, the Players
// screen hands over to it at once, and a player picked with "Always load
// this player:" ticked is loaded and marked to be loaded always.
TEST_F(UsersTest, ATabletChoosesThePlayerOnTheSelectScreen)
{
    SavePlayer("Ann", "IE");
    SavePlayer("Bob", "GB");
    EngMiscSetTabletPlatformForTests(1);
    Mwin()->SetScreenLayout(MWIN_LAYOUT_IPHONE_PORTRAIT);
    EXPECT_EQ(Screens()->GetFirstScreenId(), USER_SCREEN_SELECT);
    game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
    ASSERT_EQ(Current(), USER_SCREEN_SELECT);

    UserSelectCC *select = Screens()->GetUserSelectCC();
    MWinButton *always = select->Control(UserSelectCollectionController::ALWAYS_LOAD);
    MWinButton *panel = select->Control(UserSelectCollectionController::PANEL);
    ASSERT_TRUE(always && panel);
    EXPECT_TRUE(always->IsShown());
    EXPECT_FALSE(select->Control(UserSelectCollectionController::DEVICE)->IsShown());
    int bob = -1;
    for (int i = 0; i < Screens()->GetUserLoadCC()->GetNumUserNames(); i++)
        if (std::string(Screens()->GetUserLoadCC()->GetUserNameOrEmpty(i)) == "Bob")
            bob = i;
    ASSERT_GE(bob, 0);
    always->CheckboxSet(1, 0);
    panel->PanelSetPos(bob, 0, 0);
    ASSERT_TRUE(Press(select, panel));
    ASSERT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_STREQ(game->GetUserInfo()->name, "Bob");
    EXPECT_EQ(game->GetUserInfo()->options.always_load, 1);
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    Mwin()->SetScreenLayout(MWIN_LAYOUT_NORMAL);
    EngMiscSetTabletPlatformForTests(0);
}

} // namespace
