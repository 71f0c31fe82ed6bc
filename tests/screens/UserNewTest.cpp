// The new-player screen: the name check, the text entry with its delayed
// check, and "Continue" creating the player.
#include "tests/screens/PlayerScreensTestSupport.h"

#include "engine/core/EngMisc.h"
#include "gui/MWinButton.h"
#include "modules/Countries.h"

namespace {

using namespace player_screens_test;

TEST(UserNewIsNameValid, NameCheckTable)
{
    const struct {
        const char *name;
        char valid;
        char too_long;
    } cases[] = {
        {"Bob", 1, 0},
        {"abcdefghijklmnopqrs", 1, 0},  // 19 characters
        {"abcdefghijklmnopqrst", 0, 1}, // 20
        {"", 0, 0},
        {" Bob", 0, 0},
        {"Bob ", 0, 0},
        {"\tBob", 0, 0},
        {"Bob\t", 0, 0},
        {"Bob Smith Jr", 1, 0},
        {"Mary Ann Lee Smith", 0, 0},
        {"J.R.R", 1, 0},
        {"J.R.R.T", 0, 0},
        {"Lee-Ann", 1, 0},
        {"a-b-e-f", 0, 0},
        {"Bob_1", 0, 0},
        {"Bob/1", 0, 0},
        {"Bob\\1", 0, 0},
        {"Bob?", 0, 0},
        {"O'Neil", 0, 0},
        {"Unsettled", 0, 0},
        {"Scunthorpe", 0, 0},
        {"Farthing", 0, 0},
        {"LICHENWARE", 0, 0},
        {"Not Selected", 0, 0},
        // Names the player files cannot be named after.
        {"..", 0, 0},
        {".", 0, 0},
    };
    for (const auto &c : cases) {
        char too_long = 5;
        EXPECT_EQ(UserNewIsNameValid(c.name, 20, &too_long), c.valid) << '"' << c.name << '"';
        EXPECT_EQ(too_long, c.too_long) << '"' << c.name << '"';
    }
    EXPECT_EQ(UserNewIsNameValid(nullptr, 20, nullptr), 0);
    for (char refused : std::string("{}[]|!@#$%^&*()+:;\"<>,"))
        EXPECT_EQ(UserNewIsNameValid((std::string("Bo") + refused + "b").c_str(), 20, nullptr), 0) << refused;
}

class UserNewTest : public PlayerScreensTest {
protected:
    UserNewCC *New() { return Screens()->GetUserNewCC(); }
    MWinButton *Name() { return New()->Control(UserNewCollectionController::NAME); }

    // The text entry answered with text typed in.
    void Enter(const char *text, char result)
    {
        ASSERT_TRUE(Mwin()->IsPopupOn());
        std::strcpy(const_cast<char *>(New()->GetName()), text);
        Mwin()->PopupAnswer(result);
    }

    static std::string LogOnName()
    {
        char name[UserNewCC::NAME_SIZE] = "";
        EngMiscGetDefaultUsersName(name, UserNewCC::NAME_LIMIT);
        return name;
    }
};

TEST_F(UserNewTest, TheFirstStartProposesTheLogOnNameOnceAndAsksWhenItIsTaken)
{
    const std::string logon = LogOnName();
    ASSERT_FALSE(logon.empty());
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    EXPECT_EQ(New()->GetName(), logon);
    EXPECT_FALSE(Mwin()->IsPopupOn());
    EXPECT_STREQ(CountryGetChosenCountryCode(), CountryGetLocalCountryCode());

    // A second visit keeps the name and opens nothing.
    game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    EXPECT_EQ(New()->GetName(), logon);
    EXPECT_FALSE(Mwin()->IsPopupOn());
}

TEST_F(UserNewTest, ALogOnNameWithAPlayerFileIsDroppedAndTheEntryOpens)
{
    const std::string logon = LogOnName();
    if (!UserNewIsNameValid(logon.c_str(), 20, nullptr))
        GTEST_SKIP() << "the log-on name is no valid player name";
    SavePlayer(logon.c_str(), "FR");
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    EXPECT_STREQ(New()->GetName(), "");
    EXPECT_TRUE(Mwin()->IsPopupOn());
}

TEST_F(UserNewTest, TheEnteredNameIsCheckedOnTheFifthFrameAndCancelBringsBackThePreviousName)
{
    SavePlayer("Taken", "FR");
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    const struct {
        const char *typed;
        char result;
        const char *after;
    } cases[] = {
        {"Zoe", 1, "Zoe"},
        {"Bob_1", 1, ""},
        {"Taken", 1, ""},
        {"..", 1, ""},
        {"Ignored", 0, "<previous>"},
    };
    for (const auto &c : cases) {
        const std::string previous = New()->GetName();
        ASSERT_TRUE(Press(New(), Name()));
        Enter(c.typed, c.result);
        for (int frame = 1; frame < 5; frame++)
            New()->TickCB();
        if (c.result == 1) {
            EXPECT_STREQ(New()->GetName(), c.typed) << "not checked before the fifth frame";
        }
        New()->TickCB();
        const std::string expected = std::strcmp(c.after, "<previous>") == 0 ? previous : c.after;
        EXPECT_EQ(New()->GetName(), expected) << c.typed;
        const char *shown = Name()->GetTextP();
        EXPECT_EQ(std::string(shown ? shown : ""), expected) << c.typed;
    }
}

TEST_F(UserNewTest, ContinueCreatesThePlayerWithTheChosenCountryAndGoesToTheTitleMenu)
{
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    CountrySetChosenCountryCode("NZ");
    ASSERT_TRUE(Press(New(), Name()));
    Enter("Bob_1", 1);
    ASSERT_TRUE(Press(New(), New()->Control(UserNewCollectionController::CONTINUE)));
    EXPECT_TRUE(Mwin()->IsPopupOn()) << "refused: \"Invalid Player Name\"";
    EXPECT_FALSE(UsersFileExists("Bob_1.usr"));
    Mwin()->PopupAnswer(1);

    ASSERT_TRUE(Press(New(), Name()));
    Enter("Kiri", 1);
    ASSERT_TRUE(Press(New(), New()->Control(UserNewCollectionController::CONTINUE)));
    EXPECT_TRUE(UsersFileExists("Kiri.usr"));
    ASSERT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_STREQ(game->GetUserInfo()->name, "Kiri");
    EXPECT_STREQ(game->GetUserInfo()->country, "NZ");
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
}

// "Continue" never replaces a player: the name kept from the last visit
// (the player created then, still loaded after "Change Player"), or a name
// whose file appeared after it was entered, is refused and every byte of
// the existing player's file stays.
TEST_F(UserNewTest, ContinueRefusesANameThatHasAPlayer)
{
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    ASSERT_TRUE(Press(New(), Name()));
    Enter("Bob", 1);
    ASSERT_TRUE(Press(New(), New()->Control(UserNewCollectionController::CONTINUE)));
    ASSERT_STREQ(game->GetUserInfo()->name, "Bob");
    game->GetUserOptions()->gardens[1].unlocked_difficulty = 2;
    game->GetUserOptions()->cpu_usage = 1;
    const unsigned short bob_id = game->GetUserInfo()->player_id;
    ASSERT_TRUE(game->GetUser()->Save(1)); // as "Change Player" saves him

    const struct {
        const char *what;
        const char *typed; // null: the name kept from the last visit
    } cases[] = {
        {"kept from the last visit", nullptr},
        {"made since the entry", "Cara"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        game->GetScreens()->GotoScreen(USER_SCREEN_USERS, nullptr);
        game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
        if (c.typed) {
            ASSERT_TRUE(Press(New(), Name()));
            Enter(c.typed, 1);
            for (int frame = 0; frame < 5; frame++)
                New()->TickCB();
            ASSERT_STREQ(New()->GetName(), c.typed) << "a new name when it was entered";
            SavePlayer(c.typed, "IE");
        }
        const std::string name = New()->GetName();
        const std::string file = name + ".usr";
        const std::string before = ReadWhole(UsersFolder() / file);
        ASSERT_TRUE(Press(New(), New()->Control(UserNewCollectionController::CONTINUE)));
        ASSERT_TRUE(Mwin()->IsPopupOn());
        EXPECT_EQ(PopupText(), "That user already exists");
        Mwin()->PopupAnswer(1);
        EXPECT_EQ(Current(), USER_SCREEN_NEW);
        EXPECT_EQ(ReadWhole(UsersFolder() / file), before);
        EXPECT_EQ(New()->GetName(), name) << "kept for the player to change";
        // The loaded player is still Bob as he was.
        EXPECT_STREQ(game->GetUserInfo()->name, "Bob");
        EXPECT_EQ(game->GetUserInfo()->player_id, bob_id);
        EXPECT_EQ(game->GetUserOptions()->cpu_usage, 1);
    }
    UserClass bob(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    ASSERT_TRUE(bob.LoadUser("Bob", 0, nullptr, nullptr));
    EXPECT_EQ(bob.GetInfo()->player_id, bob_id);
    EXPECT_EQ(bob.GetInfo()->options.gardens[1].unlocked_difficulty, 2);
}

} // namespace
